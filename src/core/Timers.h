#pragma once

#include "core/Processor.h"

namespace tessaly {

// Advances timers 0, 1 and 2 by the machine cycles of the instruction just
// executed (ucInstructionCycles), setting the overflow flags and, for enabled
// sources, the interrupt request bits. Only the timer function is modelled:
// a timer set to count external pulses does not count at all.
// The timers' work when at least one of them may count.
void UpdateRunningTimers(Processor& p, std::uint8_t tcon, std::uint8_t t2con);

inline void UpdateTimers(Processor& p) {
    const std::uint8_t tcon = p.ucIntRAM[sfr::TCON];
    const std::uint8_t t2con = p.ucIntRAM[sfr::T2CON];
    // Nothing counts while TR0, TR1 and TR2 are 0, and timer 2 reloads or
    // captures without running only when EXEN2 is set.
    if ((tcon & 0x50) == 0 && (t2con & 0x0C) == 0) return;
    UpdateRunningTimers(p, tcon, t2con);
}

}  // namespace tessaly
