#pragma once

#include <cstdint>

#include "core/AddressSet.h"

namespace tessaly {

class Processor;

// Runs up to `count` instructions at engine speed, stopping before one at an
// address in `stops` or once the cycle count has reached `cycleEnd`, and
// returns how many ran. It leaves everything as running them one at a time
// leaves it, but does the bookkeeping no instruction looks at in bulk: the
// timers between their events, the counters and the instruction history.
// Each choice of the engine options has its own. With a data watch (of the
// kinds of access `watchedKinds`, 0 for none) the run notes its events and
// ends after an instruction with some; there are such runs for the default
// options only, and FastRunsFor gives null for the others.
using FastRun = std::uint32_t (*)(Processor& p, std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd);

// The runs for one choice of the options: one that looks up its stops, and
// one for an empty stop set, which runs without looking (the same run for
// the rarer options).
struct FastRuns {
    FastRun withStops = nullptr;
    FastRun withoutStops = nullptr;
};

// `watchesPsw`: whether the data watch looks at any bit of PSW.
FastRuns FastRunsFor(bool hardwareSerial, bool xramPaging, std::uint8_t watchedKinds, bool watchesPsw);

// Whether the next instruction must run as a plain step before a fast run
// takes over: after an outside change P may be out of step with A, or a
// message list over its limit, which the fast steps leave alone.
bool NeedsPlainFirstStep(const Processor& p);

}  // namespace tessaly
