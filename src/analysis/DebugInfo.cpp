#include "analysis/DebugInfo.h"

#include <algorithm>
#include <tuple>

namespace tessaly {

DebugInfo::DebugInfo(std::vector<std::string> modules, std::vector<CFunction> functions,
                     std::vector<CSymbol> symbols, std::vector<CStruct> structs, SourceMap lines)
    : modules_(std::move(modules)),
      functions_(std::move(functions)),
      symbols_(std::move(symbols)),
      structs_(std::move(structs)),
      lines_(std::move(lines)) {}

const CStruct* DebugInfo::StructOf(const CType& type) const {
    if (type.kind != CTypeKind::Struct || type.structIndex < 0) return nullptr;
    const auto index = static_cast<std::size_t>(type.structIndex);
    return index < structs_.size() ? &structs_[index] : nullptr;
}

const CFunction* DebugInfo::FunctionAt(std::uint16_t pc) const {
    for (const CFunction& function : functions_) {
        if (function.Contains(pc)) return &function;
    }
    return nullptr;
}

const CFunction* DebugInfo::FunctionNamed(std::string_view name) const {
    const CFunction* fileStatic = nullptr;
    for (const CFunction& function : functions_) {
        if (function.name != name) continue;
        if (!function.isStatic) return &function;
        if (!fileStatic) fileStatic = &function;
    }
    return fileStatic;
}

CSourcePosition DebugInfo::PositionAt(std::uint16_t pc) const {
    CSourcePosition position;
    position.function = FunctionAt(pc);
    if (position.function) position.line = lines_.LineAt(pc, *position.function->start, *position.function->end);
    return position;
}

std::optional<std::uint16_t> DebugInfo::BodyStart(const CFunction& function) const {
    if (!function.start) return std::nullopt;
    if (!function.end) return function.start;
    const CSourceLine* entry = nullptr;
    for (const CSourceLine& record : lines_.Lines()) {
        if (record.address < *function.start || record.address > *function.end) continue;
        if (!entry) {
            // The first record of the file at the entry names the function's line.
            if (record.address != *function.start) return function.start;
            entry = &record;
            continue;
        }
        if (record.line != entry->line || record.file != entry->file) return record.address;
    }
    return function.start;
}

const CSymbol* DebugInfo::GlobalNamed(std::string_view name, std::string_view module) const {
    const CSymbol* fileStatic = nullptr;
    for (const CSymbol& symbol : symbols_) {
        if (symbol.name != name || symbol.scope == CSymbolScope::Local) continue;
        if (symbol.type.kind == CTypeKind::Function) continue;
        if (symbol.scope == CSymbolScope::Global) return &symbol;
        if (!fileStatic && (module.empty() || symbol.module == module)) fileStatic = &symbol;
    }
    return fileStatic;
}

std::vector<const CSymbol*> DebugInfo::LocalsAt(const CFunction& function, std::uint16_t pc) const {
    const CSourcePosition position = PositionAt(pc);
    const CSourceLine* line = position.function == &function ? position.line : nullptr;
    std::vector<const CSymbol*> locals;
    for (const CSymbol& symbol : symbols_) {
        if (symbol.scope != CSymbolScope::Local || symbol.function != function.name ||
            symbol.module != function.module || symbol.IsCompilerTemporary()) {
            continue;
        }
        if (line && (symbol.level.level > line->level.level || symbol.level.block > line->level.block)) continue;
        locals.push_back(&symbol);
    }
    // Of two with one name only the innermost is visible.
    std::vector<const CSymbol*> visible;
    for (const CSymbol* symbol : locals) {
        const bool hidden = std::any_of(locals.begin(), locals.end(), [&](const CSymbol* other) {
            return other->name == symbol->name &&
                   std::tie(other->level.level, other->level.block) > std::tie(symbol->level.level, symbol->level.block);
        });
        if (!hidden) visible.push_back(symbol);
    }
    return visible;
}

}  // namespace tessaly
