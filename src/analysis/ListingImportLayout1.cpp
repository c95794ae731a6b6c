// Listing layout 1: a symbol table whose lines carry a type column.
//
//   columns 1-32   name, maybe followed by a dotted leader ". . . ."
//   columns 33-42  "  C ADDR  ", "  B ADDR  ", "    NUMB  " (others are skipped)
//   columns 43-46  value, four hexadecimal digits; the rest of the line is ignored
#include <algorithm>
#include <array>
#include <string>

#include "analysis/Decoder.h"
#include "analysis/ListingImport.h"
#include "analysis/ListingImportText.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

// Data-address symbols only help to find the table; they are never stored.
constexpr std::string_view kDataMarker = "  D ADDR  ";
constexpr std::size_t kNameWidth = 32;

// The first character of the table: a marker needs a full name column in
// front of it, and a marker at the very start of the text (the table on the
// first line) is left to layout 2.
constexpr std::size_t kFirstMarkerPosition = 35;

TextList* ListFor(std::string_view type, Workspace& w) {
    if (type == kCodePlaceholder) return &w.lstCodeLabels;
    if (type == kBitPlaceholder) return &w.lstBitLabels;
    if (type == kNumberPlaceholder) return &w.lstNumberLabels;
    return nullptr;
}

std::string_view NameOf(std::string_view line) {
    std::string_view name = listing::Trim(listing::Columns(line, 1, kNameWidth));
    // The dotted leader "MAIN . . . ." ends the name at its first dot.
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos) name = listing::Trim(name.substr(0, dot));
    return name;
}

struct HideOnExit {
    ImportProgress& progress;
    ~HideOnExit() { progress.Hide(); }
};

}  // namespace

LayoutImport ImportLayout1(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                           MessageHost& messages) {
    const std::string text = listing::JoinLines(lines);
    std::size_t first = std::string::npos;
    for (std::string_view marker : {kCodePlaceholder, kDataMarker, kBitPlaceholder, kNumberPlaceholder}) {
        first = std::min(first, text.find(marker));
    }
    // 1-based position of the first marker.
    if (first == std::string::npos || first + 1 < kFirstMarkerPosition) return LayoutImport::NotRecognised;

    progress.SetPosition(0);
    for (int i = 0; i < 5; ++i) progress.Show();
    HideOnExit hide{progress};

    // From the column-1 position of the marker's line on.
    const std::size_t keepFrom = first - kNameWidth;
    const auto linesBefore = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(keepFrom), '\n');
    const std::vector<std::string> kept = SplitLines(std::string_view(text).substr(keepFrom));

    listing::FillUnlabelled(w.lstCodeLabels);
    listing::FillUnlabelled(w.lstBitLabels);
    listing::FillUnlabelled(w.lstNumberLabels);

    for (std::size_t i = 0; i < kept.size(); ++i) {
        const std::string_view line = kept[i];
        if (TextList* list = ListFor(listing::Columns(line, 33, 10), w)) {
            const std::string_view digits = listing::Columns(line, 43, 4);
            unsigned value = 0;
            if (!listing::HexValue(digits, value)) {
                messages.Tell(MessageKind::Error, "Invalid label value in line " +
                                                      std::to_string(linesBefore + static_cast<long>(i) + 1) +
                                                      " of the listing\r\n'0x" + std::string(digits) +
                                                      "' is not a valid integer value");
                return LayoutImport::BadValue;
            }
            list->Set(value, NameOf(line));
        }
        if (i % 10 == 0) {
            progress.SetPosition(static_cast<int>(100 * i / kept.size()));
            progress.Show();
        }
    }
    return LayoutImport::Ok;
}

}  // namespace tessaly
