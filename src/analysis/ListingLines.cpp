#include "analysis/ListingLines.h"

#include <string_view>

#include "util/HexText.h"

namespace tessaly {

namespace {

bool HexDigits(std::string_view text, std::size_t at, std::size_t count, unsigned& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

// True when a byte of code ("75 ") follows at `at`.
bool CodeByteAt(std::string_view line, std::size_t at) {
    unsigned byte = 0;
    return HexDigits(line, at, 2, byte) && (at + 2 == line.size() || line[at + 2] == ' ' || line[at + 2] == '\t');
}

// The address of the code a listing line assembled to, when it has some.
std::optional<std::uint16_t> CodeAddress(std::string_view line) {
    unsigned address = 0;
    // as31: "0030: 75 81 5F     start:  mov sp, #STACK"
    if (line.size() >= 8 && line[4] == ':' && line[5] == ' ' && HexDigits(line, 0, 4, address) && CodeByteAt(line, 6)) {
        return static_cast<std::uint16_t>(address);
    }
    // SDCC's .rst: six blanks, six address digits, a blank, the bytes.
    if (line.size() >= 15 && line.substr(0, 6) == "      " && line[12] == ' ' && HexDigits(line, 6, 6, address) &&
        address <= 0xFFFF && CodeByteAt(line, 13)) {
        return static_cast<std::uint16_t>(address);
    }
    return std::nullopt;
}

}  // namespace

ListingLines::ListingLines(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto address = CodeAddress(lines[i]);
        if (!address) continue;
        const int line = static_cast<int>(i + 1);
        addressOfLine_[line] = *address;
        lineOfAddress_.emplace(*address, line);
    }
}

std::optional<std::pair<int, std::uint16_t>> ListingLines::BreakPointAt(int line) const {
    const auto found = addressOfLine_.lower_bound(line);
    if (found == addressOfLine_.end()) return std::nullopt;
    return *found;
}

std::optional<int> ListingLines::LineAt(std::uint16_t address) const {
    const auto found = lineOfAddress_.find(address);
    if (found == lineOfAddress_.end()) return std::nullopt;
    return found->second;
}

}  // namespace tessaly
