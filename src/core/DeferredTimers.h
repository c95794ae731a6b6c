#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/DataWatch.h"
#include "core/EngineAccess.h"
#include "core/Timers.h"

namespace tessaly {

// The timers of one batch of instructions, counted in bulk. Between their
// events they do nothing but count, so instead of adding every instruction's
// cycles to their registers, the batch notes how far they have been counted
// and brings them up to date only where that is seen: before an instruction
// reads or writes a count register, when an instruction reaches the next
// overflow, when their configuration or the serial port's rates may have
// changed, and at the end of the batch. The registers, flags and requests
// come out as counting instruction by instruction leaves them.
//
// A timer in mode 2 that overflows every few cycles (a baud-rate timer) has
// an event at nearly every instruction, so it has a count-down of its own:
// each instruction takes its cycles off the cycles left before the next
// overflow, and the overflow sets the flag, requests service where enabled
// and starts the count again from the reload value. Its low byte is written
// from the count-down wherever the other registers are brought up to date.
class DeferredTimers {
public:
    // With `mayDefer` false the timers are counted instruction by
    // instruction all along. The deadline never passes `cycleEnd`, the run's
    // cycle limit, so an instruction that reaches the limit is past it.
    DeferredTimers(Processor& p, bool mayDefer, std::uint64_t cycleEnd)
        : counted_(p.ullCyclesExecuted), end_(cycleEnd), mayDefer_(mayDefer) {
        Plan(p);
    }

    // Before an instruction that reads or writes the direct byte `address`,
    // `now` cycles into the run.
    [[gnu::always_inline]] void BeforeDirectAccess(Processor& p, std::uint8_t address, std::uint64_t now) {
        if (!kCountRegisters[address]) return;
        CatchUp(p, now);
        deadline_ = 0;  // the instruction may change the distance to the overflow
    }

    // After an instruction of `cycles` machine cycles that ended `now`
    // cycles into the run. Watched: a data watch notes the hardware's stores.
    template <bool Watched>
    [[gnu::always_inline]] void AfterInstruction(Processor& p, std::uint64_t now, unsigned cycles) {
        if (BeforeDeadline(now) && !Changed(p, sfr_watch::kTimers | sfr_watch::kBaudRates)) [[likely]] {
            CountReloadingTimer<Watched>(p, cycles);
            return;
        }
        CountExactly(p, now, cycles);
    }
    // AfterInstruction's own parts, for a caller that has looked at the
    // changes already: whether an instruction that ended `now` leaves the
    // timers deferred (while nothing changed their configuration), and the
    // count of a fast baud-rate timer, the one count each instruction adds.
    [[gnu::always_inline]] bool BeforeDeadline(std::uint64_t now) const { return now < deadline_; }
    template <bool Watched>
    [[gnu::always_inline]] void CountReloadingTimer(Processor& p, unsigned cycles) {
        reloadingLeft_ -= cycles;
        if (reloadingLeft_ <= 0) [[unlikely]] OverflowReloading<Watched>(p);
    }

    // Brings the registers up to date at the end of the batch.
    void Finish(Processor& p) { CatchUp(p, p.ullCyclesExecuted); }

private:
    static constexpr std::array<bool, 256> kCountRegisters = [] {
        std::array<bool, 256> registers{};
        for (std::size_t address = 0; address < registers.size(); ++address) {
            registers[address] = IsTimerCountRegister(address);
        }
        return registers;
    }();
    // Deferring pays only while the next event is at least this far off;
    // when it is closer, the instructions up to it and a little past
    // count the timers as the plain steps do.
    static constexpr std::uint64_t kShortestDeferral = 16;
    // A mode 2 timer with a period under this is counted as it goes.
    static constexpr unsigned kReloadingPeriod = 64;

    // A timer in mode 2 that overflows every few cycles: counted down after
    // every instruction while the others are deferred.
    struct ReloadingTimer {
        std::uint8_t low = 0;  // 0: none
        std::uint8_t high = 0;
        std::uint8_t flagMask = 0;
        std::uint8_t enableMask = 0;
    };
    static constexpr ReloadingTimer kReloadingTimers[2] = {
        {sfr::TL0, sfr::TH0, MaskOf(bit::TF0), MaskOf(bit::ET0)},
        {sfr::TL1, sfr::TH1, MaskOf(bit::TF1), MaskOf(bit::ET1)},
    };

    // The count-down while there is no reloading timer: more cycles than
    // any run can have.
    static constexpr std::int64_t kNoReload = std::int64_t{1} << 62;

    // What the plain count of mode 2 does at the overflow: counts past it
    // are dropped, so the count starts again from the reload value; the
    // flag is set and, for an enabled source, service requested.
    template <bool Watched>
    [[gnu::always_inline]] void OverflowReloading(Processor& p) {
        auto& ram = p.ucIntRAM;
        // A baud-rate timer rarely has its interrupt enabled.
        if (const auto requests = static_cast<std::uint8_t>(ram[sfr::IE] & reloading_.enableMask)) {
            RequestInterrupts(p, requests);
        }
        if constexpr (Watched) {
            // Only a flag that was clear changes.
            if (!(ram[sfr::TCON] & reloading_.flagMask)) {
                p.ActiveDataWatch()->NoteHardwareStore(ram.data(), sfr::TCON, ram[sfr::TCON] | reloading_.flagMask);
            }
        }
        ram[sfr::TCON] |= reloading_.flagMask;
        reloadingLeft_ = reloadingPeriod_;
    }
    // The count-down from the reloading timer's low byte, and back. Once
    // written, the byte holds the count until it is read again after the
    // instruction, which may write the byte itself (or the reload value:
    // the period is read here too).
    void ReadReloadingCount(const Processor& p) {
        if (reloading_.low == 0) {
            reloadingLeft_ = kNoReload;
        } else {
            reloadingLeft_ = 0x100 - p.ucIntRAM[reloading_.low];
            reloadingPeriod_ = 0x100 - p.ucIntRAM[reloading_.high];
        }
        countingDown_ = true;
    }
    void WriteReloadingCount(Processor& p) {
        if (countingDown_ && reloading_.low != 0) {
            p.ucIntRAM[reloading_.low] = static_cast<std::uint8_t>(0x100 - reloadingLeft_);
        }
        countingDown_ = false;
    }

    // The instructions before this one only counted; this one is counted
    // as the plain engine counts it, with the configuration it leaves.
    void CountExactly(Processor& p, std::uint64_t now, unsigned cycles) {
        CatchUp(p, now - cycles);
        UpdateTimers(p, cycles);
        counted_ = now;
        if (deferring_ || now >= recheck_) Plan(p);
        else ReadReloadingCount(p);
    }

    void Plan(Processor& p) {
        const int reloading = FastReloadingTimer(p, kReloadingPeriod);
        reloading_ = reloading < 0 ? ReloadingTimer{} : kReloadingTimers[reloading];
        reloadingIndex_ = reloading;
        ReadReloadingCount(p);
        const std::uint64_t cycles = CyclesBeforeTimerEvent(p, reloading);
        deferring_ = mayDefer_ && cycles >= kShortestDeferral;
        if (deferring_) {
            // The next event, or the end of the run if that comes first.
            deadline_ = counted_ + std::min(cycles, counted_ < end_ ? end_ - counted_ : 0);
        } else {
            // Every instruction counted exactly until the events are far
            // enough apart again.
            deadline_ = 0;
            recheck_ = counted_ + std::max(cycles + 1, kShortestDeferral);
        }
    }
    void CatchUp(Processor& p, std::uint64_t upTo) {
        WriteReloadingCount(p);
        if (upTo == counted_) return;
        CountBeforeTimerEvent(p, upTo - counted_, reloadingIndex_);
        counted_ = upTo;
    }

    ReloadingTimer reloading_;
    int reloadingIndex_ = -1;
    // Cycles before the reloading timer overflows, and whether that or its
    // low byte holds the count.
    std::int64_t reloadingLeft_ = kNoReload;
    std::int64_t reloadingPeriod_ = 0;
    bool countingDown_ = false;
    // The timers' registers (but the reloading timer's) hold their state
    // after this many cycles.
    std::uint64_t counted_;
    std::uint64_t end_;
    // The first cycle count at which an instruction needs the timers counted
    // exactly: 0 while not deferring, for every instruction.
    std::uint64_t deadline_ = 0;
    bool mayDefer_;
    bool deferring_ = false;
    // While not deferring: when to look at the distance to the next event
    // again.
    std::uint64_t recheck_ = 0;
};

}  // namespace tessaly
