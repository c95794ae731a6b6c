#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Processor.h"

namespace tessaly {

// The three memories an instruction reaches by data.
enum class WatchSpace : std::uint8_t {
    Internal,  // ucIntRAM: lower RAM, SFR bytes, upper RAM (index 0-17Fh)
    External,  // external RAM, 0000h-FFFFh
    Code,      // code memory, read by MOVC
};

inline constexpr std::uint8_t kWatchRead = 1;
inline constexpr std::uint8_t kWatchWrite = 2;

// One access the engine saw to a watched place: which byte, which of its
// bits, read or written, and what the byte held before the instruction.
struct WatchEvent {
    WatchSpace space = WatchSpace::Internal;
    std::uint16_t address = 0;  // ucIntRAM index, external or code address
    std::uint8_t mask = 0xFF;   // the bits reached: a bit instruction reaches one
    std::uint8_t access = 0;    // kWatchRead or kWatchWrite
    std::uint8_t before = 0;
};

// What the engine watches for while data break points are set: for every
// internal byte the bits a read or a write of which must be reported, and
// the external and code ranges. The instruction steps made for watching
// note each access that reaches them (explicit operands, the accumulator
// and flags an instruction uses, the stack of PUSH, POP, calls, returns and
// interrupt entries, MOVX in both forms, MOVC). What the hardware changes
// by itself counts as a write too: the timers' counting registers are
// compared after every instruction, and the rarer stores (timer and serial
// flags, flags cleared by vectoring, a timer 2 capture, the parity flag)
// are noted where they happen. A run stops after an instruction with
// events; the owner reads and clears them.
class DataWatch {
public:
    struct Range {
        std::uint16_t first = 0;
        std::uint16_t last = 0;
        std::uint8_t access = 0;
    };

    void Clear();
    // Watches `mask` bits of the internal byte at `index` (0-17Fh).
    void WatchInternal(std::uint16_t index, std::uint8_t mask, std::uint8_t access);
    void WatchRange(WatchSpace space, std::uint16_t first, std::uint16_t last, std::uint8_t access);
    bool Empty() const { return !anyInternal_ && external_.empty() && code_.empty(); }
    // Whether any bit of the internal byte at `index` is watched.
    bool WatchesInternal(std::uint16_t index) const { return (readMask_[index] | writeMask_[index]) != 0; }
    // The kinds of access watched (kWatchRead, kWatchWrite): the engine runs
    // steps that note those only.
    std::uint8_t WatchedKinds() const {
        return static_cast<std::uint8_t>((anyRead_ ? kWatchRead : 0) | (anyWrite_ ? kWatchWrite : 0));
    }

    // The values the SFR comparison starts from: the machine as it is now.
    void Arm(const Processor& p);

    const std::vector<WatchEvent>& Events() const { return events_; }
    bool HasEvents() const { return hasEvents_; }
    // The address of the instruction the events come from.
    std::uint16_t EventPc() const { return eventPc_; }
    void ClearEvents() {
        events_.clear();
        hasEvents_ = false;
    }

    // --- the engine's side --------------------------------------------------
    // Called before the instruction changes the byte at `ram[index]`.
    [[gnu::always_inline]] void NoteInternal(const std::uint8_t* ram, std::size_t index, std::uint8_t mask,
                                             std::uint8_t access) {
        const std::uint8_t watched = (access == kWatchRead ? readMask_ : writeMask_)[index] & mask;
        if (watched) Record({WatchSpace::Internal, static_cast<std::uint16_t>(index), watched, access, ram[index]});
    }
    // Before the timers, the serial port, interrupt vectoring or the parity
    // flag store `value` in the SFR byte at `index`: the watched bits it
    // changes are told as written.
    [[gnu::always_inline]] void NoteHardwareStore(const std::uint8_t* ram, std::size_t index, std::uint8_t value) {
        const auto changed = static_cast<std::uint8_t>((ram[index] ^ value) & writeMask_[index]);
        if (changed) Record({WatchSpace::Internal, static_cast<std::uint16_t>(index), changed, kWatchWrite, ram[index]});
    }
    void NoteExternal(const Processor& p, std::uint16_t address, std::uint8_t access);
    void NoteCode(const Processor& p, std::uint32_t address);
    // Before the instruction at `pc`: the address its events are told with.
    [[gnu::always_inline]] void BeginInstruction(std::uint16_t pc) { pc_ = pc; }
    // After the instruction (and any interrupt entry): the comparison of the
    // timers' counting registers.
    [[gnu::always_inline]] void EndInstruction(const Processor& p) {
        for (std::size_t i = 0; i < trackedCount_; ++i) {
            Tracked& t = tracked_[i];
            const std::uint8_t now = p.ucIntRAM[t.address];
            if ((now ^ t.last) & t.mask) NoteChange(t, now);
        }
    }
    // Whether a timer's counting register is watched, so that the counting
    // has to happen after every instruction.
    bool WatchesTimerCounts() const { return trackedCount_ != 0; }
    bool HasExternal() const { return !external_.empty(); }
    bool HasCode() const { return !code_.empty(); }
    // While a fast run goes, an event also marks its change bits (see
    // sfr_watch::kAfterInstruction), which its loop looks at after every
    // instruction anyway; null outside the run.
    void MarkEventsIn(std::uint8_t* changes) { runChanges_ = changes; }

private:
    void Record(const WatchEvent& event);
    struct Tracked {
        std::uint8_t address;
        std::uint8_t mask;
        std::uint8_t last;
    };
    // An instruction that wrote the byte has noted it already, with the
    // value from before; a change from elsewhere is noted here.
    void NoteChange(Tracked& t, std::uint8_t now);

    std::array<std::uint8_t, 512> readMask_{};
    std::array<std::uint8_t, 512> writeMask_{};
    bool anyInternal_ = false;
    bool anyRead_ = false;
    bool anyWrite_ = false;
    std::vector<Range> external_;
    std::vector<Range> code_;
    // The watched SFR bytes hardware writes, and what each held after the
    // last instruction.
    std::array<Tracked, 16> tracked_{};
    std::size_t trackedCount_ = 0;
    std::vector<WatchEvent> events_;
    bool hasEvents_ = false;
    std::uint8_t* runChanges_ = nullptr;
    std::uint16_t eventPc_ = 0;
    std::uint16_t pc_ = 0;
};

// The hardware's side of NoteHardwareStore, at no cost while nothing is
// watched: for the byte at `address`, and for the bit at `bitAddress`.
inline void NoteHardwareStore(Processor& p, std::uint8_t address, std::uint8_t value) {
    if (DataWatch* watch = p.ActiveDataWatch()) [[unlikely]] watch->NoteHardwareStore(p.ucIntRAM.data(), address, value);
}
inline void NoteHardwareBit(Processor& p, std::uint8_t bitAddress, bool value) {
    if (DataWatch* watch = p.ActiveDataWatch()) [[unlikely]] {
        const Processor::BitLocation& at = p.BitMap[bitAddress];
        const std::uint8_t byte = p.ucIntRAM[at.address];
        watch->NoteHardwareStore(p.ucIntRAM.data(), at.address,
                                 static_cast<std::uint8_t>(value ? byte | at.mask : byte & ~at.mask));
    }
}

}  // namespace tessaly
