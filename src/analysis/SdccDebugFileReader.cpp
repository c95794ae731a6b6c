#include <map>
#include <string_view>

#include "analysis/CdbName.h"
#include "analysis/SymbolFile.h"

// SDCC's debug file (.cdb, written with --debug): one record a line, a
// letter and a colon first. Two kinds give the labels:
//   S:G$counter$0_0$0({1}SC:U),E,0,0     a symbol, its memory space after ")"
//   F:G$main$0_0$0({2}DF,SV:S),C,0,...   a function (code)
//   L:G$counter$0_0$0:8                  the address the linker gave it
// The scope comes first: G global, F<file> file-static, L<function> local.
// Global and file-static names are shown as the assembler names them: "_"
// and the C name, as in the map and the listings.
namespace tessaly {

namespace {

// The list for a memory-space letter; false for spaces without fixed
// addresses (stacks, registers) and for the SFR and sbit spaces, which the
// SFR catalogue names.
bool KindOfSpace(char space, LabelKind& kind) {
    switch (space) {
        case 'C': case 'D': kind = LabelKind::Code; return true;
        case 'E': case 'F': case 'G': kind = LabelKind::Number; return true;
        case 'H': kind = LabelKind::Bit; return true;
        default: return false;
    }
}

}  // namespace

bool ReadSdccDebugFile(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out) {
    std::map<std::string_view, char> spaces;
    for (const std::string& text : lines) {
        const std::string_view line = text;
        if (line.empty()) continue;
        if (!IsCdbRecord(line)) return false;
        if (line[0] != 'S' && line[0] != 'F') continue;
        const std::size_t open = line.find('(');
        const std::size_t close = line.find(')', open);
        if (open == std::string_view::npos || close == std::string_view::npos || close + 2 >= line.size() ||
            line[close + 1] != ',') {
            continue;
        }
        const std::string_view key = CdbKey(line.substr(2, open - 2));
        if (!key.empty()) spaces[key] = line[close + 2];
    }

    std::vector<ImportedSymbol> found;
    for (const std::string& text : lines) {
        const std::string_view line = text;
        if (line.size() < 2 || line[0] != 'L') continue;
        const std::size_t colon = line.rfind(':');
        if (colon <= 2) continue;
        const std::string_view name = line.substr(2, colon - 2);
        const std::string_view key = CdbKey(name);
        // Global (G$) and file-static (F<file>$) symbols; X marks a function's end.
        if (key.empty() || (key[0] != 'G' && key[0] != 'F')) continue;
        if (key[0] == 'G' && key[1] != '$') continue;
        const auto space = spaces.find(key);
        LabelKind kind{};
        if (space == spaces.end() || !KindOfSpace(space->second, kind)) continue;
        std::uint16_t value = 0;
        if (!symbols::HexAddress(line.substr(colon + 1), value)) continue;
        const std::string bare(key.substr(key.find('$') + 1));
        if (!symbols::IsSymbolName(bare) || bare.find('$') != std::string::npos) continue;
        found.push_back({"_" + bare, kind, value});
    }
    if (found.empty()) return false;
    out = std::move(found);
    return true;
}

}  // namespace tessaly
