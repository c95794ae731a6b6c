#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tessaly::test {

// One Intel HEX record line with a correct checksum; `count` defaults to the
// number of data bytes.
inline std::string HexRecord(std::uint16_t address, std::uint8_t type, const std::vector<std::uint8_t>& data,
                             int count = -1) {
    std::vector<std::uint8_t> bytes;
    bytes.push_back(static_cast<std::uint8_t>(count < 0 ? data.size() : static_cast<std::size_t>(count)));
    bytes.push_back(static_cast<std::uint8_t>(address >> 8));
    bytes.push_back(static_cast<std::uint8_t>(address & 0xFF));
    bytes.push_back(type);
    bytes.insert(bytes.end(), data.begin(), data.end());
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
    bytes.push_back(static_cast<std::uint8_t>(0x100 - sum));
    std::string line = ":";
    char pair[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        line += pair;
    }
    return line;
}

inline const std::string kEndOfFile = ":00000001FF";

// Bytes first, first + 1, ... (wrapping at 256), `n` of them.
inline std::vector<std::uint8_t> Ramp(std::size_t n, std::uint8_t first = 1) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

}  // namespace tessaly::test
