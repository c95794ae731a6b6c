#pragma once

#include <string>

namespace tessaly {

// `text` with a-z made upper case and every other byte kept, whatever the
// locale: file extensions and listing keywords are plain ASCII.
inline std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace tessaly
