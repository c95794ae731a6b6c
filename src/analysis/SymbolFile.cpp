#include "analysis/SymbolFile.h"

#include <array>

#include "analysis/ListingImportText.h"
#include "util/AsciiCase.h"
#include "util/IntegerText.h"

namespace tessaly {

SymbolFileKind SymbolFileKindOf(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    if (SameIgnoringCase(extension, ".map")) return SymbolFileKind::SdccMap;
    if (SameIgnoringCase(extension, ".noi")) return SymbolFileKind::SdccNoice;
    if (SameIgnoringCase(extension, ".cdb")) return SymbolFileKind::SdccDebug;
    if (SameIgnoringCase(extension, ".rst")) return SymbolFileKind::SdccRelocatedListing;
    return SymbolFileKind::Listing;
}

int LabelRank(std::string_view name) {
    // "00105$": digits and a closing dollar.
    if (name.size() >= 2 && name.back() == '$') {
        bool digits = true;
        for (char c : name.substr(0, name.size() - 1)) digits = digits && c >= '0' && c <= '9';
        if (digits) return 0;
    }
    return 1;
}

bool LabelReplaces(std::string_view name, std::string_view current) {
    return current == Workspace::kNoLabel || LabelRank(name) >= LabelRank(current);
}

namespace {

TextList& ListOf(Workspace& w, LabelKind kind) {
    switch (kind) {
        case LabelKind::Code: return w.lstCodeLabels;
        case LabelKind::Bit: return w.lstBitLabels;
        case LabelKind::Number: break;
    }
    return w.lstNumberLabels;
}

}  // namespace

void StoreSymbols(const std::vector<ImportedSymbol>& symbols, Workspace& w) {
    listing::FillUnlabelled(w.lstCodeLabels);
    listing::FillUnlabelled(w.lstBitLabels);
    listing::FillUnlabelled(w.lstNumberLabels);
    for (const ImportedSymbol& symbol : symbols) {
        TextList& list = ListOf(w, symbol.kind);
        if (LabelReplaces(symbol.name, list[symbol.value])) list.Set(symbol.value, symbol.name);
    }
}

void MergeLabels(Workspace& into, const Workspace& from) {
    const std::array<std::pair<TextList*, const TextList*>, 3> lists{{
        {&into.lstCodeLabels, &from.lstCodeLabels},
        {&into.lstBitLabels, &from.lstBitLabels},
        {&into.lstNumberLabels, &from.lstNumberLabels},
    }};
    for (auto [target, source] : lists) {
        for (std::size_t v = 0; v < Workspace::kLabelCount; ++v) {
            const std::string& name = (*source)[v];
            if (name != Workspace::kNoLabel && LabelReplaces(name, (*target)[v])) target->Set(v, name);
        }
    }
}

namespace symbols {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
        const std::size_t start = i;
        while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool HexAddress(std::string_view digits, std::uint16_t& value) {
    if (digits.size() > 8) return false;
    const auto parsed = ParseUnsigned<std::uint16_t>(digits, 16);
    if (!parsed) return false;
    value = *parsed;
    return true;
}

bool IsLinkerName(std::string_view name) {
    if (name.empty() || name.front() == '.') return true;
    if (name.size() < 3 || (name[0] != 's' && name[0] != 'l') || name[1] != '_') return false;
    for (char c : name.substr(2)) {
        const bool upper = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!upper) return false;
    }
    return true;
}

bool IsSymbolName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '_' || c == '$' || c == '.';
        if (!word) return false;
    }
    return !(name.front() >= '0' && name.front() <= '9') || LabelRank(name) == 0;
}

bool IsDebugName(std::string_view name) {
    const std::size_t dollar = name.find('$');
    return dollar != std::string_view::npos && LabelRank(name) != 0;
}

namespace {

bool HasWord(std::string_view text, std::string_view word) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'))) ++i;
        const std::size_t start = i;
        while (i < text.size() && ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'))) ++i;
        if (i > start && SameIgnoringCase(text.substr(start, i - start), word)) return true;
    }
    return false;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

LabelKind AreaKind(std::string_view name, std::string_view attributes) {
    if (HasWord(attributes, "CODE")) return LabelKind::Code;
    if (HasWord(attributes, "BIT")) return LabelKind::Bit;
    if (HasWord(attributes, "DATA") || HasWord(attributes, "XDATA")) return LabelKind::Number;
    // Areas declared again without attributes, named as SDCC names them.
    for (std::string_view code : {"HOME", "CSEG", "GSINIT", "GSFINAL", "CONST", "XINIT", "CABS", "_CODE"}) {
        if (StartsWith(name, code)) return LabelKind::Code;
    }
    if (name == "BSEG" || name == "BIT_BANK") return LabelKind::Bit;
    return LabelKind::Number;
}

}  // namespace symbols

}  // namespace tessaly
