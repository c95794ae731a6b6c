#include <string_view>

#include "analysis/SymbolFile.h"

// The NoICE file SDCC's linker writes with -j: "DEF name 0xVALUE" lines in
// the map's order, then "LOAD program.ihx". NoICE files name addresses
// without a memory space, so every name becomes a code label, except:
// - the linker's own names and SDCC's debug names;
// - the absolute area's equates (the sfr and sbit declarations of the SFR
//   headers): the run of ascending values from 80h to FFh that follows the
//   area's ".__.ABS." name.
namespace tessaly {

namespace {

bool IsKeyword(std::string_view word) {
    if (word.empty()) return false;
    for (char c : word) {
        if (c < 'A' || c > 'Z') return false;
    }
    return true;
}

}  // namespace

bool ReadNoiceFile(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out) {
    std::vector<ImportedSymbol> found;
    bool inAbsoluteArea = false;
    unsigned lastAbsolute = 0;
    for (const std::string& text : lines) {
        const auto words = symbols::Words(text);
        if (words.empty()) continue;
        // Every line of the file is a command word and its arguments.
        if (!IsKeyword(words[0])) return false;
        if (words[0] != "DEF" || words.size() != 3) continue;
        const std::string_view name = words[1];
        std::string_view digits = words[2];
        if (digits.substr(0, 2) != "0x" && digits.substr(0, 2) != "0X") continue;
        digits.remove_prefix(2);
        std::uint16_t value = 0;
        if (!symbols::HexAddress(digits, value) || !symbols::IsSymbolName(name)) continue;

        if (name == ".__.ABS.") {
            inAbsoluteArea = true;
            lastAbsolute = 0x80;
            continue;
        }
        if (inAbsoluteArea) {
            if (value >= lastAbsolute && value <= 0xFF) {
                lastAbsolute = value;
                continue;
            }
            inAbsoluteArea = false;
        }
        if (symbols::IsLinkerName(name) || symbols::IsDebugName(name)) continue;
        found.push_back({std::string(name), LabelKind::Code, value});
    }
    if (found.empty()) return false;
    out = std::move(found);
    return true;
}

}  // namespace tessaly
