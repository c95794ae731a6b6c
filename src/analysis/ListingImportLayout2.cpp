// Listing layout 2: a name=value table, entries of 23 characters side by side.
//
//   columns 1-16   name, padded with blanks
//   column 17      "="
//   columns 18-21  value, four hexadecimal digits
//   columns 22-23  two blanks
//
// A name is a code label when the listing text (upper-cased) holds three
// blanks, the name and a colon, as the label definition of a source line.
#include <algorithm>
#include <string>
#include <unordered_set>

#include "analysis/ListingImport.h"
#include "analysis/ListingImportText.h"
#include "util/AsciiCase.h"

namespace tessaly {

namespace {

constexpr std::size_t kEntryWidth = 23;
constexpr std::size_t kNameWidth = 16;

struct Entry {
    std::string_view name;
    unsigned value;
};

// Calls `store` for each complete entry of the line, left to right, and stops
// at the first that does not fit: "=" not at column 17, a value that is not
// hexadecimal, or a value not followed by two blanks.
template <typename Store>
void ForEachEntry(std::string_view line, Store&& store) {
    while (!line.empty()) {
        if (line.find('=') != kNameWidth) return;
        Entry entry{listing::Trim(listing::Columns(line, 1, kNameWidth)), 0};
        if (!listing::HexValue(listing::Columns(line, 18, 4), entry.value)) return;
        if (listing::Columns(line, 22, 2) != "  ") return;
        store(entry);
        line.remove_prefix(std::min(kEntryWidth, line.size()));
    }
}

// The table's names that occur in `upper` as "   NAME:". Looked up once per
// colon instead of once per name, so a long listing stays linear.
std::unordered_set<std::string_view> CodeLabelNames(std::string_view upper,
                                                    const std::unordered_set<std::string_view>& names) {
    std::unordered_set<std::string_view> found;
    for (std::size_t colon = upper.find(':'); colon != std::string_view::npos; colon = upper.find(':', colon + 1)) {
        for (std::size_t length = 0; length <= kNameWidth && length + 3 <= colon; ++length) {
            const std::size_t start = colon - length;
            if (upper.substr(start - 3, 3) != "   ") continue;
            const auto name = names.find(upper.substr(start, length));
            if (name != names.end()) found.insert(*name);
        }
    }
    return found;
}

}  // namespace

LayoutImport ImportLayout2(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                  MessageHost&) {
    progress.SetPosition(0);
    for (int i = 0; i < 5; ++i) progress.Show();
    int stored = 0;
    try {
        const std::string upper = UpperCase(listing::JoinLines(lines));
        std::unordered_set<std::string_view> names;
        for (const std::string& line : lines) {
            ForEachEntry(line, [&](const Entry& entry) { names.insert(entry.name); });
        }
        const auto codeNames = CodeLabelNames(upper, names);

        listing::FillUnlabelled(w.lstCodeLabels);
        listing::FillUnlabelled(w.lstNumberLabels);
        for (std::size_t j = 0; j < lines.size(); ++j) {
            ForEachEntry(lines[j], [&](const Entry& entry) {
                TextList& list = codeNames.count(entry.name) ? w.lstCodeLabels : w.lstNumberLabels;
                list.Set(entry.value, entry.name);
                ++stored;
            });
            if (j % 10 == 0) {
                progress.SetPosition(static_cast<int>(100 * j / lines.size()));
                progress.Show();
            }
        }
    } catch (...) {
        w.lstBitLabels = w.lstNumberLabels;
        progress.Hide();
        throw;
    }
    // Bit symbols are not told apart in this layout: every number may be one.
    w.lstBitLabels = w.lstNumberLabels;
    progress.Hide();
    return stored >= 5 ? LayoutImport::Ok : LayoutImport::NotRecognised;
}

}  // namespace tessaly
