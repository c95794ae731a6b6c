#pragma once

#include "core/Processor.h"

namespace tessaly {

// Advances timers 0, 1 and 2 by the machine cycles of the instruction just
// executed (ucInstructionCycles), setting the overflow flags and, for enabled
// sources, the interrupt request bits. Only the timer function is modelled:
// a timer set to count external pulses does not count at all.
void UpdateTimers(Processor& p);

}  // namespace tessaly
