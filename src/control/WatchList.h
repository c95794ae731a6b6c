#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control/Location.h"
#include "core/MessageHost.h"
#include "core/Processor.h"
#include "core/TextList.h"

namespace tessaly {

// The active watch list, lstActiveWatch: one entry per watched location, the
// type text, "~|*" and the key (an SFR's catalogue index in four upper-case
// hex digits; an internal RAM or bit memory address in two; an external RAM
// address in four). Kept in case-insensitive text order without duplicates, so
// bit memory comes first, then external RAM, internal RAM, SFR bits and SFR
// registers, each by key.
// How a typed address fared in WatchList::AddName.
enum class WatchAdd {
    Added = 1,
    AlreadyListed = 2,
    NotANumber = -1,
    OutOfRange = -2,
    SfrKind = -3,
};

class WatchList {
public:
    static constexpr std::string_view kSeparator = "~|*";
    static constexpr std::array<std::string_view, 6> kHeader = {"SNo.", "Name", "Type", "Hex", "Decimal", "Binary"};
    using Row = std::array<std::string, 6>;

    // The entry text of a location ("Internal RAM~|*30").
    static std::string EntryText(const Location& at);
    // The location an entry names: a type text (any letter case), the
    // separator and exactly the key digits of that type in hexadecimal.
    // Nothing for any other text.
    static std::optional<Location> ParseEntry(std::string_view entry);

    // The entries as the snapshot file stores them. A snapshot may load them
    // in any order; adding and deleting still work on such a list.
    TextList& List() { return list_; }
    const TextList& List() const { return list_; }
    std::size_t Count() const { return list_.Count(); }

    // Adds the location's entry in its place; false, changing nothing, when it
    // is already listed or its key does not fit the key digits of its kind.
    bool Add(const Location& at);

    // The dialogs' Add for a typed memory address. `name` is upper-cased and
    // padded with "0" on the left to the kind's name length (the dialog shows
    // it so), then read as hexadecimal and range-checked. A text that is not
    // a number gets the conversion message (naming the text tried, "0x" and
    // the name); an address out of range the kind's "Invalid Address"
    // message. SFR kinds are added by catalogue index instead.
    WatchAdd AddName(LocationKind kind, std::string& name, MessageHost& host);

    // Deletes the entry shown in grid row `row` (row 0 is the header); false
    // when the row shows no entry.
    bool DeleteRow(std::size_t row);
    void Clear() { list_.Clear(); }

    // "Total Count = n".
    std::string CountText() const;
    // The grid as the watch window shows it: the header row, then one row per
    // entry, or one empty row when there is none. An entry that names no
    // location (a damaged snapshot) keeps its row, showing its type and key
    // and no value, so that row numbers still match the entries.
    std::vector<Row> Rows(const Processor& p) const;

    // The location each entry names (nothing for a damaged entry), parsed
    // once per change of the list rather than at every refresh.
    const std::vector<std::optional<Location>>& Locations() const;

private:
    TextList list_;
    mutable std::vector<std::optional<Location>> locations_;
    mutable std::uint64_t parsedRevision_ = UINT64_MAX;
    mutable std::size_t parsedCount_ = 0;
};

}  // namespace tessaly
