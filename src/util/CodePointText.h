#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tessaly {

// The machine's texts are single bytes: each becomes the character of that
// code point, in UTF-8, so that JSON writers and protocol clients take any
// byte and none is lost to a UTF-8 check.
inline std::string BytesAsCodePoints(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::uint8_t byte : bytes) {
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

inline std::string BytesAsCodePoints(std::string_view bytes) {
    return BytesAsCodePoints({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace tessaly
