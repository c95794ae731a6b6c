#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tessaly {

// `text` with a-z made upper case and every other byte kept, whatever the
// locale: file extensions and listing keywords are plain ASCII.
inline std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// One byte with A-Z made lower case, whatever the locale.
constexpr char LowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Paths, type texts and watch entries compare without regard to ASCII letter case.
inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerCase(x) == LowerCase(y); });
}

inline bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerCase(x) < LowerCase(y); });
}

}  // namespace tessaly
