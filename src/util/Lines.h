#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Calls `line` for each line of `text`. Lines end at CR, LF or CR LF; a final
// line break adds no empty line.
template <class LineFunction>
void ForEachLine(std::string_view text, LineFunction&& line) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            line(text.substr(start));
            return;
        }
        line(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

// The lines of `text`, split as ForEachLine splits them.
inline std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

// `text` without the blanks and control characters at its ends: the padding
// of listing columns, and what entry boxes drop around a typed value.
inline std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

// The backspace key as the entry boxes' key filters receive it.
inline constexpr char kBackspace = '\b';

}  // namespace tessaly
