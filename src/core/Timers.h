#pragma once

#include <cstddef>
#include <cstdint>

#include "core/EngineAccess.h"

namespace tessaly {

namespace timer_detail {
// Re-reads the run bits, modes and gates into the timer plan.
void PlanTimers(Processor& p);
}  // namespace timer_detail

// TL0, TL1, TH0, TH1, TL2 and TH2: the registers the timers change as they
// count, at nearly every instruction while one runs.
constexpr bool IsTimerCountRegister(std::size_t address) {
    return address == sfr::TL0 || address == sfr::TL1 || address == sfr::TH0 || address == sfr::TH1 ||
           address == sfr::TL2 || address == sfr::TH2;
}

// What CyclesBeforeTimerEvent returns while no timer counts.
inline constexpr std::uint64_t kNoTimerEvent = ~std::uint64_t{0};

// Timer 0 or 1 when it runs in mode 2 with a period under `shorterThan`
// cycles (a baud-rate timer, typically), else -1. Timer 1 first.
int FastReloadingTimer(Processor& p, unsigned shorterThan);

// Machine cycles the timers other than `except` (0 or 1; -1: none) can
// count, from their present state and configuration, before one of them
// overflows or has other work than counting (0: they need counting
// instruction by instruction).
std::uint64_t CyclesBeforeTimerEvent(Processor& p, int except = -1);

// Counts `cycles`, fewer than CyclesBeforeTimerEvent gave, in one go for
// the timers other than `except`: the registers end as counting instruction
// by instruction would leave them.
void CountBeforeTimerEvent(Processor& p, std::uint64_t cycles, int except = -1);

// Advances timers 0, 1 and 2 by `cycles` machine cycles, setting the
// overflow flags and, for enabled sources, the interrupt request bits. Only
// the timer function is modelled: a timer set to count external pulses does
// not count at all.
[[gnu::always_inline]] inline void UpdateTimers(Processor& p, unsigned cycles) {
    if (Changed(p, sfr_watch::kTimers)) timer_detail::PlanTimers(p);
    const auto count = Derived(p).timers.count;
    if (count) count(p, cycles);
}

}  // namespace tessaly
