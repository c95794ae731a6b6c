#pragma once

#include <cstdint>
#include <string>

#include "core/Processor.h"

namespace tessaly {

// Whole microseconds that `cycles` machine cycles take at `crystalHz` (one
// machine cycle is 12 crystal periods), computed in extended precision.
std::uint64_t ElapsedMicroseconds(std::uint64_t cycles, double crystalHz);

// "Hour = h Min = m Sec = s mSec = ms USec = us" for `cycles` at `crystalHz`.
std::string ElapsedTimeText(std::uint64_t cycles, double crystalHz);

// Most lines the history holds before the next append empties it.
inline constexpr std::size_t kHistoryLimit = 10000;
// Most lines a message list holds after an instruction before it is emptied.
inline constexpr std::size_t kMessageListLimit = 99999;

// Empties lstWarnings, then lstErrors, when they hold more than the limit.
[[gnu::always_inline]] inline void ApplyMessageListLimits(Processor& p) {
    if (p.lstWarnings.Count() > kMessageListLimit) p.lstWarnings.Clear();
    if (p.lstErrors.Count() > kMessageListLimit) p.lstErrors.Clear();
}

}  // namespace tessaly
