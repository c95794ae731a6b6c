#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/ListingImport.h"

namespace tessaly::test {

inline constexpr std::string_view kCodeMarker = "  C ADDR  ";
inline constexpr std::string_view kBitMarker = "  B ADDR  ";
inline constexpr std::string_view kNumberMarker = "    NUMB  ";
inline constexpr std::string_view kDataMarker = "  D ADDR  ";

// A symbol-table line of the type-column layout: the name in columns 1-32
// (padded with blanks, or with a ". . ." leader), the marker in 33-42, the
// value from 43 on.
inline std::string SymbolLine(std::string_view name, std::string_view marker, std::string_view value,
                              bool dottedLeader = false) {
    std::string line(name);
    if (dottedLeader) {
        while (line.size() < 32) line += (line.size() - name.size()) % 2 == 0 ? ' ' : '.';
    }
    line.resize(32, ' ');
    line += marker;
    line += value;
    return line;
}

// One 23-character entry of the name=value layout.
inline std::string TableEntry(std::string_view name, std::string_view value) {
    std::string entry(name);
    entry.resize(16, ' ');
    return entry + "=" + std::string(value) + "  ";
}

// Records the calls the importers make on the progress window.
class ProgressRecorder : public ImportProgress {
public:
    void SetPosition(int percent) override { calls.push_back("bar " + std::to_string(percent)); }
    void Show() override { calls.push_back("show"); }
    void Hide() override { calls.push_back("hide"); }

    std::vector<std::string> calls;
};

}  // namespace tessaly::test
