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
        if (reloading_.low != 0) CountReloading<Watched>(p, cycles);
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

    // A timer in mode 2 that overflows every few cycles: counted after every
    // instruction, as cheaply as that can be, while the others are deferred.
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

    // What the plain count of mode 2 does: counts past the overflow are
    // dropped; the overflow sets the flag and, for an enabled source,
    // requests service.
    template <bool Watched>
    [[gnu::always_inline]] void CountReloading(Processor& p, unsigned cycles) {
        auto& ram = p.ucIntRAM;
        const unsigned sum = ram[reloading_.low] + cycles;
        if (sum > 0xFF) {
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
            ram[reloading_.low] = ram[reloading_.high];
        } else {
            ram[reloading_.low] = static_cast<std::uint8_t>(sum);
        }
    }

    // The instructions before this one only counted; this one is counted
    // as the plain engine counts it, with the configuration it leaves.
    void CountExactly(Processor& p, std::uint64_t now, unsigned cycles) {
        CatchUp(p, now - cycles);
        UpdateTimers(p, cycles);
        counted_ = now;
        if (deferring_ || now >= recheck_) Plan(p);
    }

    void Plan(Processor& p) {
        const int reloading = FastReloadingTimer(p, kReloadingPeriod);
        reloading_ = reloading < 0 ? ReloadingTimer{} : kReloadingTimers[reloading];
        reloadingIndex_ = reloading;
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
        if (upTo == counted_) return;
        CountBeforeTimerEvent(p, upTo - counted_, reloadingIndex_);
        counted_ = upTo;
    }

    ReloadingTimer reloading_;
    int reloadingIndex_ = -1;
    // The timers' registers (but the reloading timer's, always up to date)
    // hold their state after this many cycles.
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
