#include "control/WatchList.h"

#include <algorithm>

#include "util/AsciiCase.h"
#include "util/HexText.h"
#include "util/IntegerText.h"

namespace tessaly {

namespace {

unsigned HighestAddress(LocationKind kind) {
    switch (kind) {
    case LocationKind::InternalRAM: return 0xFF;
    case LocationKind::BitMemory: return 0x7F;
    default: return 0xFFFF;
    }
}

std::string_view RangeMessage(LocationKind kind) {
    switch (kind) {
    case LocationKind::InternalRAM: return "Invalid Address\r\nPlease enter a valid address( 0-FF )";
    case LocationKind::BitMemory: return "Invalid Address\r\nPlease enter a valid address( 0-7F )";
    default: return "Invalid Address\r\nPlease enter a valid address( 0-FFFF )";
    }
}

// A bit as the watch window shows it in all three value columns.
std::string BitText(std::uint16_t value) { return value ? "1 " : "0 "; }

std::string BinaryText(std::uint16_t value, int digits) {
    std::string text;
    for (int bit = digits - 1; bit >= 0; --bit) text += ((value >> bit) & 1) ? '1' : '0';
    return text;
}

}  // namespace

std::string WatchList::EntryText(const Location& at) {
    std::string entry(LocationTypeText(at.kind));
    entry += kSeparator;
    entry += HexText(at.key, LocationKeyDigits(at.kind));
    return entry;
}

std::optional<Location> WatchList::ParseEntry(std::string_view entry) {
    const auto separator = entry.find(kSeparator);
    if (separator == std::string_view::npos) return std::nullopt;
    const auto kind = LocationKindFromText(entry.substr(0, separator));
    if (!kind) return std::nullopt;
    const std::string_view key = entry.substr(separator + kSeparator.size());
    if (key.size() != static_cast<std::size_t>(LocationKeyDigits(*kind))) return std::nullopt;
    const auto value = ParseUnsigned<std::uint16_t>(key, 16);
    if (!value) return std::nullopt;
    return Location{*kind, *value};
}

bool WatchList::Add(const Location& at) {
    if (at.key > (LocationKeyDigits(at.kind) == 2 ? 0xFFu : 0xFFFFu)) return false;
    const std::string entry = EntryText(at);
    std::size_t place = list_.Count();
    for (std::size_t i = 0; i < list_.Count(); ++i) {
        if (SameIgnoringCase(list_[i], entry)) return false;
        if (place == list_.Count() && LessIgnoringCase(entry, list_[i])) place = i;
    }
    list_.Insert(place, entry);
    return true;
}

WatchAdd WatchList::AddName(LocationKind kind, std::string& name, MessageHost& host) {
    if (kind == LocationKind::SfrRegister || kind == LocationKind::SfrBit) return WatchAdd::SfrKind;
    const auto length = static_cast<std::size_t>(LocationKeyDigits(kind));
    name = UpperCase(std::move(name));
    if (name.size() < length) name.insert(0, length - name.size(), '0');
    const auto address = ParseUnsigned<std::uint32_t>(name, 16);
    if (!address) {
        host.Tell(MessageKind::Error, "'0x" + name + "' is not a valid integer value");
        return WatchAdd::NotANumber;
    }
    if (*address > HighestAddress(kind)) {
        host.Tell(MessageKind::Plain, std::string(RangeMessage(kind)));
        return WatchAdd::OutOfRange;
    }
    name = HexText(*address, static_cast<int>(length));
    return Add(Location{kind, static_cast<std::uint16_t>(*address)}) ? WatchAdd::Added : WatchAdd::AlreadyListed;
}

bool WatchList::DeleteRow(std::size_t row) {
    if (row == 0 || row > list_.Count()) return false;
    list_.Delete(row - 1);
    return true;
}

std::string WatchList::CountText() const { return "Total Count = " + std::to_string(list_.Count()); }

const std::vector<std::optional<Location>>& WatchList::Locations() const {
    // A list's revision and count together tell every change apart.
    if (list_.Revision() != parsedRevision_ || list_.Count() != parsedCount_) {
        locations_.clear();
        locations_.reserve(list_.Count());
        for (std::size_t i = 0; i < list_.Count(); ++i) locations_.push_back(ParseEntry(list_[i]));
        parsedRevision_ = list_.Revision();
        parsedCount_ = list_.Count();
    }
    return locations_;
}

std::vector<WatchList::Row> WatchList::Rows(const Processor& p) const {
    std::vector<Row> rows;
    rows.reserve(list_.Count() + 1);
    rows.push_back({std::string(kHeader[0]), std::string(kHeader[1]), std::string(kHeader[2]),
                    std::string(kHeader[3]), std::string(kHeader[4]), std::string(kHeader[5])});
    if (list_.Empty()) {
        rows.emplace_back();
        return rows;
    }
    for (std::size_t i = 0; i < list_.Count(); ++i) {
        const std::string_view entry = list_[i];
        Row row;
        row[0] = std::to_string(i + 1);
        const auto separator = entry.find(kSeparator);
        row[2] = std::string(entry.substr(0, separator));
        if (separator != std::string_view::npos) row[1] = std::string(entry.substr(separator + kSeparator.size()));

        const std::optional<Location>& at = Locations()[i];
        const int width = at ? LocationWidth(p, *at) : 0;
        if (width != 0) {
            row[1] = LocationName(p, *at);
            const std::uint16_t value = ReadLocation(p, *at);
            if (width == 1) {
                row[3] = row[4] = row[5] = BitText(value);
            } else {
                // External RAM bytes show as wide as a register pair.
                const bool wide = width == 16 || at->kind == LocationKind::ExternalRAM;
                row[3] = HexText(value, wide ? 4 : 2);
                row[4] = std::to_string(value);
                row[5] = BinaryText(value, wide ? 16 : 8);
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tessaly
