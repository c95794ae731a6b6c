#pragma once

#include <array>
#include <cstdint>

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
    explicit DeferredTimers(Processor& p) : counted_(p.ullCyclesExecuted) { Plan(p); }

    // False while the events come too close together for deferring to pay
    // (a fast baud-rate timer overflows every few cycles): then the plain
    // steps count the timers and AfterPlainStep follows them.
    bool Deferring() const { return recheck_ == 0; }

    // Before an instruction that reads or writes the direct byte `address`.
    [[gnu::always_inline]] void BeforeDirectAccess(Processor& p, std::uint8_t address) {
        if (!kCountRegisters[address]) return;
        CatchUp(p, p.ullCyclesExecuted);
        deadline_ = 0;  // the instruction may change the distance to the overflow
    }

    // After an instruction of `cycles` machine cycles, its cycles counted in
    // ullCyclesExecuted.
    [[gnu::always_inline]] void AfterInstruction(Processor& p, unsigned cycles) {
        const std::uint64_t now = p.ullCyclesExecuted;
        if (now < deadline_ && !Changed(p, sfr_watch::kTimers | sfr_watch::kBaudRates)) [[likely]] return;
        // The instructions before this one only counted; this one is counted
        // as the plain engine counts it, with the configuration it leaves.
        CatchUp(p, now - cycles);
        UpdateTimers(p, cycles);
        counted_ = now;
        Plan(p);
    }

    // After a plain step, which counted the timers itself.
    [[gnu::always_inline]] void AfterPlainStep(Processor& p) {
        counted_ = p.ullCyclesExecuted;
        if (counted_ >= recheck_) Plan(p);
    }

    // Brings the registers up to date at the end of the batch.
    void Finish(Processor& p) { CatchUp(p, p.ullCyclesExecuted); }

private:
    // TL0, TL1, TH0, TH1, TL2 and TH2: what the timers change as they count.
    static constexpr std::array<bool, 256> kCountRegisters = [] {
        std::array<bool, 256> registers{};
        for (std::uint8_t address : {sfr::TL0, sfr::TL1, sfr::TH0, sfr::TH1, sfr::TL2, sfr::TH2}) registers[address] = true;
        return registers;
    }();
    // Deferring pays only while events are at least this far apart; when
    // they are closer, the distance is looked at again after a while.
    static constexpr std::uint64_t kShortestDeferral = 64;
    static constexpr std::uint64_t kRecheckAfter = 1024;

    void Plan(Processor& p) {
        const std::uint64_t cycles = CyclesBeforeTimerEvent(p);
        if (cycles < kShortestDeferral) {
            recheck_ = counted_ + kRecheckAfter;
        } else {
            deadline_ = cycles > kNoTimerEvent - counted_ ? kNoTimerEvent : counted_ + cycles;
            recheck_ = 0;
        }
    }
    void CatchUp(Processor& p, std::uint64_t upTo) {
        if (upTo == counted_) return;
        CountBeforeTimerEvent(p, upTo - counted_);
        counted_ = upTo;
    }

    // The timers' registers hold their state after this many cycles.
    std::uint64_t counted_;
    // While deferring: the first cycle count at which an instruction needs
    // the timers counted exactly.
    std::uint64_t deadline_ = 0;
    // While not deferring: when to look at the distance to the next event
    // again (0 while deferring).
    std::uint64_t recheck_ = 0;
};

}  // namespace tessaly
