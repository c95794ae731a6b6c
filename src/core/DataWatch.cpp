#include "core/DataWatch.h"

#include <algorithm>

#include "core/DerivedInputs.h"
#include "core/Processor.h"
#include "core/Timers.h"

namespace tessaly {

void DataWatch::Clear() {
    readMask_.fill(0);
    writeMask_.fill(0);
    anyInternal_ = false;
    anyRead_ = anyWrite_ = false;
    external_.clear();
    code_.clear();
    trackedCount_ = 0;
    ClearEvents();
}

void DataWatch::WatchInternal(std::uint16_t index, std::uint8_t mask, std::uint8_t access) {
    if (index >= readMask_.size() || mask == 0) return;
    if (access & kWatchRead) {
        readMask_[index] |= mask;
        anyRead_ = true;
    }
    if (access & kWatchWrite) {
        writeMask_[index] |= mask;
        anyWrite_ = true;
        // The timers count these outside any instruction's operands: they
        // are compared after every instruction as well.
        if (IsTimerCountRegister(index)) {
            const auto address = static_cast<std::uint8_t>(index);
            const auto end = tracked_.begin() + static_cast<std::ptrdiff_t>(trackedCount_);
            const auto found = std::find_if(tracked_.begin(), end, [&](const Tracked& t) { return t.address == address; });
            if (found != end) found->mask |= mask;
            else if (trackedCount_ < tracked_.size()) tracked_[trackedCount_++] = {address, mask, 0};
        }
    }
    anyInternal_ = true;
}

void DataWatch::WatchRange(WatchSpace space, std::uint16_t first, std::uint16_t last, std::uint8_t access) {
    if (space == WatchSpace::Internal) {
        for (unsigned i = first; i <= last; ++i) WatchInternal(static_cast<std::uint16_t>(i), 0xFF, access);
        return;
    }
    (space == WatchSpace::External ? external_ : code_).push_back({first, last, access});
    if (access & kWatchRead) anyRead_ = true;
    if (access & kWatchWrite) anyWrite_ = true;
}

void DataWatch::Arm(const Processor& p) {
    for (std::size_t i = 0; i < trackedCount_; ++i) tracked_[i].last = p.ucIntRAM[tracked_[i].address];
    ClearEvents();
}

void DataWatch::Record(const WatchEvent& event) {
    // One instruction reaches a byte a few times at most (XCH reads and
    // writes it, SUBB sets flags and then P follows A): keep each access
    // once, with the value from before and every bit reached.
    for (WatchEvent& e : events_) {
        if (e.space == event.space && e.address == event.address && e.access == event.access) {
            e.mask |= event.mask;
            return;
        }
    }
    if (!hasEvents_) eventPc_ = pc_;
    events_.push_back(event);
    hasEvents_ = true;
    if (runChanges_) *runChanges_ |= sfr_watch::kAfterInstruction;
}

void DataWatch::NoteExternal(const Processor& p, std::uint16_t address, std::uint8_t access) {
    for (const Range& r : external_) {
        if ((r.access & access) && address >= r.first && address <= r.last) {
            Record({WatchSpace::External, address, 0xFF, access, p.ucExtRAM[address]});
            return;
        }
    }
}

void DataWatch::NoteCode(const Processor& p, std::uint32_t address) {
    for (const Range& r : code_) {
        if ((r.access & kWatchRead) && address >= r.first && address <= r.last) {
            Record({WatchSpace::Code, static_cast<std::uint16_t>(address), 0xFF, kWatchRead, p.ReadCode(address)});
            return;
        }
    }
}

void DataWatch::NoteChange(Tracked& t, std::uint8_t now) {
    Record({WatchSpace::Internal, t.address, static_cast<std::uint8_t>((now ^ t.last) & t.mask), kWatchWrite, t.last});
    t.last = now;
}

}  // namespace tessaly
