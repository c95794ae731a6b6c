#include "control/DataBreakPoints.h"

#include <algorithm>

#include "util/HexText.h"

namespace tessaly {

namespace {

std::uint8_t ByteNow(const Processor& p, const WatchPlace& place) {
    switch (place.space) {
    case WatchSpace::Internal: return p.ucIntRAM[place.address];
    case WatchSpace::External: return p.ucExtRAM[place.address];
    case WatchSpace::Code: return p.ReadCode(place.address);
    }
    return 0;
}

bool Reaches(const WatchEvent& event, const WatchPlace& place) {
    return event.space == place.space && event.address == place.address && (event.mask & place.mask) != 0;
}

std::uint8_t ByteBefore(const Processor& p, const WatchPlace& place, const std::vector<WatchEvent>& before) {
    for (const WatchEvent& e : before) {
        if (e.space == place.space && e.address == place.address) return e.before;
    }
    return ByteNow(p, place);
}

std::string ValueText(const Processor& p, const std::vector<WatchPlace>& bytes, bool bit,
                      const std::vector<WatchEvent>& before) {
    if (bit) return (ByteBefore(p, bytes.front(), before) & bytes.front().mask) ? "1" : "0";
    std::string text;
    for (auto place = bytes.rbegin(); place != bytes.rend(); ++place) AppendHexByte(text, ByteBefore(p, *place, before));
    return text;
}

std::uint8_t AccessBits(DataAccess access) { return access == DataAccess::Read ? kWatchRead : kWatchWrite; }

}  // namespace

std::string DataStopText(const DataStop& stop) {
    std::string text = (stop.lastWrite ? "Last write: " : "Data break point: ") + stop.location;
    switch (stop.access) {
    case DataAccess::Write: text += " written " + stop.oldValue + " -> " + stop.newValue; break;
    case DataAccess::Change: text += " changed " + stop.oldValue + " -> " + stop.newValue; break;
    // What the instruction read is the value from before it ran.
    case DataAccess::Read: text += " read " + stop.oldValue; break;
    }
    text += " at " + HexText(stop.pc, 4) + "H";
    if (stop.lastWrite) text += ", instruction " + std::to_string(stop.instruction);
    return text;
}

std::string_view DataAccessText(DataAccess access) {
    switch (access) {
    case DataAccess::Write: return "write";
    case DataAccess::Read: return "read";
    case DataAccess::Change: return "change";
    }
    return "";
}

std::string WatchValueText(const Processor& p, const WatchTarget& target, const std::vector<WatchEvent>& before) {
    if (target.bytes.empty()) return "";
    return ValueText(p, target.bytes, target.bit, before);
}

bool DataBreakPoints::Add(DataBreakPoint point) {
    const bool listed = std::any_of(points_.begin(), points_.end(), [&](const DataBreakPoint& p) {
        return p.access == point.access && p.target.bytes == point.target.bytes;
    });
    if (listed || point.target.bytes.empty()) return false;
    points_.push_back(std::move(point));
    return true;
}

bool DataBreakPoints::Remove(std::size_t index) {
    if (index >= points_.size()) return false;
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void DataBreakPoints::Apply(Processor& p) {
    watch_.Clear();
    for (const DataBreakPoint& point : points_) {
        const auto& bytes = point.target.bytes;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const WatchPlace& place = bytes[i];
            if (place.space == WatchSpace::Internal) {
                watch_.WatchInternal(place.address, place.mask, AccessBits(point.access));
                continue;
            }
            // External and code bytes in a row are one range for the engine,
            // which looks its ranges up at every MOVX and MOVC.
            std::size_t last = i;
            while (last + 1 < bytes.size() && bytes[last + 1].space == place.space &&
                   bytes[last + 1].address == bytes[last].address + 1) {
                ++last;
            }
            watch_.WatchRange(place.space, place.address, bytes[last].address, AccessBits(point.access));
            i = last;
        }
    }
    watch_.Arm(p);
    p.SetDataWatch(points_.empty() ? nullptr : &watch_);
}

void DataBreakPoints::Arm(Processor& p) {
    if (p.ActiveDataWatch() == &watch_) watch_.Arm(p);
}

std::optional<DataStop> DataBreakPoints::TakeStop(const Processor& p) {
    if (!watch_.HasEvents()) return std::nullopt;
    const std::vector<WatchEvent> events = watch_.Events();
    watch_.ClearEvents();
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const DataBreakPoint& point = points_[i];
        const std::uint8_t wanted = AccessBits(point.access);
        for (const WatchPlace& place : point.target.bytes) {
            for (const WatchEvent& event : events) {
                if (event.access != wanted || !Reaches(event, place)) continue;
                // A range's bytes are values of their own.
                const std::vector<WatchPlace> value =
                    point.target.range ? std::vector<WatchPlace>{place} : point.target.bytes;
                DataStop stop;
                stop.location = point.target.range ? RangeByteName(place) : point.target.name;
                stop.access = point.access;
                stop.oldValue = ValueText(p, value, point.target.bit, events);
                stop.newValue = ValueText(p, value, point.target.bit, {});
                stop.pc = watch_.EventPc();
                stop.index = i;
                stop.instruction = p.ullInstructionsExecuted;
                if (point.access == DataAccess::Change && stop.oldValue == stop.newValue) continue;
                return stop;
            }
        }
    }
    return std::nullopt;
}

}  // namespace tessaly
