#include <string_view>

#include "analysis/SymbolFile.h"

// SDCC's linker map: a block per area, headed by the area's name, address,
// size and attributes, then its global symbols, one a line, each value
// prefixed by a memory-space letter ("C:" code) where the linker gives one:
//
//   Area                                    Addr        Size        Decimal Bytes (Attributes)
//   --------------------------------        ----        ----        ------- ----- ------------
//   CSEG                                00000062    000008ED =        2285. bytes (REL,CON,CODE)
//
//         Value  Global                              Global Defined In Module
//         -----  --------------------------------   ------------------------
//   C:   00000081  _main                              c_printf
//
// The absolute area ".ABS." holds the equates of the SFR headers (sfr and
// sbit declarations), which the SFR catalogue names already: it is skipped.
namespace tessaly {

namespace {

struct Area {
    std::string_view name;
    std::string_view attributes;
};

bool IsRule(std::string_view line) {
    const auto words = symbols::Words(line);
    return !words.empty() && words.front().find_first_not_of('-') == std::string_view::npos;
}

Area AreaOf(std::string_view line) {
    const auto words = symbols::Words(line);
    Area area;
    if (!words.empty()) area.name = words[0] == "." && words.size() > 1 ? words[1] : words[0];
    const std::size_t open = line.rfind('(');
    const std::size_t close = line.rfind(')');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        area.attributes = line.substr(open + 1, close - open - 1);
    }
    return area;
}

}  // namespace

bool ReadSdccMap(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out) {
    std::vector<ImportedSymbol> found;
    bool sawArea = false;
    bool inArea = false;   // between an area's line and the next header
    bool expectArea = false;
    Area area;
    for (const std::string& text : lines) {
        const std::string_view line = text;
        const auto words = symbols::Words(line);
        if (words.empty()) continue;
        if (words[0] == "Area" && line.find("Attributes") != std::string_view::npos) {
            expectArea = true;
            inArea = false;
            continue;
        }
        if (expectArea) {
            if (IsRule(line)) continue;
            area = AreaOf(line);
            expectArea = false;
            inArea = true;
            sawArea = true;
            continue;
        }
        if (!inArea || words.size() < 2) continue;

        // "C:   00000081  _main  module", "C:0081 _main" or "00000008  _counter".
        std::string_view letter;
        std::string_view digits = words[0];
        std::size_t next = 1;
        if (digits.size() >= 2 && digits[1] == ':') {
            letter = digits.substr(0, 1);
            digits.remove_prefix(2);
            if (digits.empty()) {
                digits = words[1];
                next = 2;
            }
        }
        if (next >= words.size()) continue;
        std::uint16_t value = 0;
        if (!symbols::HexAddress(digits, value)) continue;
        const std::string_view name = words[next];
        if (!symbols::IsSymbolName(name) || symbols::IsLinkerName(name) || symbols::IsDebugName(name)) continue;
        if (area.name == ".ABS.") continue;
        const LabelKind kind = letter == "C" ? LabelKind::Code : symbols::AreaKind(area.name, area.attributes);
        found.push_back({std::string(name), kind, value});
    }
    if (!sawArea || found.empty()) return false;
    out = std::move(found);
    return true;
}

}  // namespace tessaly
