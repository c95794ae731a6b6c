#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "analysis/ListingImport.h"
#include "analysis/SymbolFile.h"
#include "util/Lines.h"
#include "SilentMessages.h"

namespace tessaly::fuzz {

// Arbitrary bytes through one symbol-file reader, then through the import
// that dispatches to it: names are never empty, the lists keep one entry per
// 16-bit value, and an import either stores or reports.
template <bool (*Read)(const std::vector<std::string>&, std::vector<ImportedSymbol>&)>
int FuzzSymbolFile(SymbolFileKind kind, const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    NoImportProgress progress;
    SilentMessages messages;
    const auto lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<ImportedSymbol> symbols;
    if (Read(lines, symbols)) {
        if (symbols.empty()) __builtin_trap();
        for (const ImportedSymbol& symbol : symbols) {
            if (symbol.name.empty() || symbol.name == Workspace::kNoLabel) __builtin_trap();
        }
    } else if (!symbols.empty()) {
        __builtin_trap();
    }
    ImportSymbolLines(kind, lines, workspace, progress, messages);
    for (const TextList* list : {&workspace.lstCodeLabels, &workspace.lstBitLabels, &workspace.lstNumberLabels}) {
        if (list->Count() != Workspace::kLabelCount) __builtin_trap();
    }
    return 0;
}

}  // namespace tessaly::fuzz
