#pragma once

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

}  // namespace tessaly
