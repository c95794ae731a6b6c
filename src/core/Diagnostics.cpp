#include "core/Diagnostics.h"

namespace tessaly {

std::uint64_t ElapsedMicroseconds(std::uint64_t cycles, double crystalHz) {
    if (!(crystalHz > 0.0)) return 0;
    // In long double (64-bit significand on x86) the product of a cycle count
    // and 12 / f, then 10^6, lands exactly on the whole microseconds where
    // double precision would fall one short (at 12 MHz the result equals
    // cycles exactly).
    const long double periodPerCycle = 12.0L / static_cast<long double>(crystalHz);
    const long double micro = static_cast<long double>(cycles) * periodPerCycle * 1000000.0L;
    constexpr long double kLimit = 18446744073709551615.0L;
    if (micro >= kLimit) return UINT64_MAX;
    return static_cast<std::uint64_t>(micro);
}

std::string ElapsedTimeText(std::uint64_t cycles, double crystalHz) {
    std::uint64_t t = ElapsedMicroseconds(cycles, crystalHz);
    const std::uint64_t usec = t % 1000;
    t /= 1000;
    const std::uint64_t msec = t % 1000;
    t /= 1000;
    const std::uint64_t sec = t % 60;
    t /= 60;
    const std::uint64_t min = t % 60;
    const std::uint64_t hour = t / 60;
    return "Hour = " + std::to_string(hour) + " Min = " + std::to_string(min) + " Sec = " + std::to_string(sec) +
           " mSec = " + std::to_string(msec) + " USec = " + std::to_string(usec);
}

}  // namespace tessaly
