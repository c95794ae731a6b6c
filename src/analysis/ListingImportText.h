#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Workspace.h"
#include "util/HexText.h"
#include "core/TextList.h"
#include "util/Lines.h"

// Text helpers shared by the two listing layouts.
namespace tessaly {
class ImportProgress;
}

namespace tessaly::listing {

// `count` characters from the 1-based column `first`, or what the line holds of them.
inline std::string_view Columns(std::string_view line, std::size_t first, std::size_t count) {
    if (first - 1 >= line.size()) return {};
    return line.substr(first - 1, count);
}

// Blanks and control characters off both ends, as the assembler pads with either.
using tessaly::Trim;

// "0x" followed by `digits` as a number: one or more hexadecimal digits and
// nothing else. The columns hold at most four, so any value indexes a list.
inline bool HexValue(std::string_view digits, unsigned& value) {
    if (digits.empty()) return false;
    unsigned v = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) return false;
        v = v * 16 + static_cast<unsigned>(d);
    }
    value = v;
    return true;
}

// The lines joined with CR LF after each, whatever line ends the file used.
std::string JoinLines(const std::vector<std::string>& lines);

// Empties a label list and refills it with one "~" per 16-bit value.
void FillUnlabelled(TextList& list);

}  // namespace tessaly::listing
