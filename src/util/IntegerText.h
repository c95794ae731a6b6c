#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <type_traits>

namespace tessaly {

// The whole of `text` as an unsigned number in `base` (digits of either
// case); nothing for an empty text, a sign, a prefix, any other character or a
// value that does not fit in T.
template <class T>
std::optional<T> ParseUnsigned(std::string_view text, int base = 10) {
    static_assert(std::is_unsigned_v<T>);
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    T value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace tessaly
