#pragma once

#include <cstdint>

#include "core/EngineAccess.h"

namespace tessaly {

namespace timer_detail {
// Re-reads the run bits, modes and gates into the timer plan.
void PlanTimers(Processor& p);
}  // namespace timer_detail

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
