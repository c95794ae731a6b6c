#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// Upper-case hexadecimal digits by value, as every hex text of the program
// writes them.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of one hexadecimal digit of either case; -1 for any other byte.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The low `digits` hexadecimal digits of `value`, upper case, zero-padded
// ("00FF" for 255 with 4 digits).
inline std::string HexText(std::uint32_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits > 0 ? digits : 0), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kHexDigits[value & 0xF];
    return text;
}

// Appends the two digits of one byte.
inline void AppendHexByte(std::string& text, std::uint8_t byte) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0xF];
}

}  // namespace tessaly
