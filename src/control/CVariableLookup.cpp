#include "control/CVariableLookup.h"

#include <algorithm>

#include "util/Lines.h"

namespace tessaly {

bool IsCName(std::string_view name) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return !name.empty() && letter(name.front()) &&
           std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

std::variant<const CSymbol*, std::string> LookUpCVariable(const DebugInfo& info, std::string_view typed,
                                                         std::uint16_t pc) {
    const std::string_view name = Trim(typed);
    if (!IsCName(name)) return "'" + std::string(name) + "' is not a C name";
    const CFunction* function = info.FunctionAt(pc);
    if (function) {
        for (const CSymbol* local : info.LocalsAt(*function, pc)) {
            if (local->name == name) return local;
        }
    }
    if (const CSymbol* global = info.GlobalNamed(name, function ? std::string_view(function->module) : std::string_view())) {
        return global;
    }
    return "No C variable named '" + std::string(name) + "' here";
}

}  // namespace tessaly
