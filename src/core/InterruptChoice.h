#pragma once

#include "core/EngineAccess.h"
#include "core/Interrupts.h"

namespace tessaly {

// Before an instruction: the source to enter once it completes, or -1. A
// request raised during this instruction is chosen at the start of the next
// one and entered after that one completes.
[[gnu::always_inline]] inline int ChooseInterrupt(Processor& p) {
    auto& derived = Derived(p);
    // The scan only ever adds request bits, and they stay until a RETI or a
    // reset (both note a change), so it has something new to find only after
    // one of the flags or enables it reads was written.
    if (derived.changes & sfr_watch::kInterrupts) {
        derived.changes &= static_cast<std::uint8_t>(~sfr_watch::kInterrupts);
        ScanInterruptRequests(p);
    }
    if (!p.ucInterruptFlags) {
        derived.changes &= static_cast<std::uint8_t>(~sfr_watch::kPendingRequests);
        p.iInterruptToService = -1;
        return -1;
    }
    // While a routine runs the mask is not empty; its selection changes only
    // with the mask, IP or the interrupts in progress.
    if (derived.changes & sfr_watch::kSelection) {
        derived.changes &= static_cast<std::uint8_t>(~sfr_watch::kSelection);
        SelectInterrupt(p);
        derived.selectedInterrupt = p.iInterruptToService;
    } else {
        p.iInterruptToService = derived.selectedInterrupt;
    }
    return p.iInterruptToService;
}

}  // namespace tessaly
