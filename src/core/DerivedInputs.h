#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Sfr.h"

// What the per-instruction steps derive from SFRs, and from which register
// bits. Each derived result owns one bit of the engine's change mask; a write
// that may touch one of its inputs sets that bit, and the step recomputes the
// result before it next uses it.
namespace tessaly::sfr_watch {

inline constexpr std::uint8_t kBaudRates = 0x01;   // rates and frame times
inline constexpr std::uint8_t kInterrupts = 0x02;  // the interrupt request scan
inline constexpr std::uint8_t kTimers = 0x04;      // which timers count, and how
// Not derived from registers: set while the serial port has work at every
// instruction (an invalid rate to warn about, a transmission under way).
inline constexpr std::uint8_t kSerialActivity = 0x08;
// The interrupt selection. Its other inputs, the request mask and the
// interrupts in progress, are not registers; the code that changes them
// notes it (requests, vectoring, RETI).
inline constexpr std::uint8_t kSelection = 0x10;
// Not derived from registers: set with every request, and kept while
// requests wait for service, when the choice is made again before every
// instruction; the choice clears it once no request is left.
inline constexpr std::uint8_t kPendingRequests = 0x20;
// Not derived from registers: set with every warning or error the engine
// posts, until the message lists' limits are applied after the instruction.
inline constexpr std::uint8_t kMessages = 0x40;
// Not derived from registers: set while the fast engine has work to do
// after the instruction, to enter an interrupt chosen before it or to end
// the run at a data watch's events.
inline constexpr std::uint8_t kAfterInstruction = 0x80;
inline constexpr std::uint8_t kAll = 0xFF;

struct Input {
    std::uint8_t address;
    std::uint8_t mask;  // the bits of the register the result reads
};

// Rates: SM0 and SM1, SMOD, timer 1's mode field, TR1, TR2, TCLK and RCLK,
// TH1 and RCAP2; and the crystal, which is not a register.
inline constexpr Input kRateInputs[] = {
    {sfr::SCON, 0xC0},  {sfr::PCON, 0x80}, {sfr::TMOD, 0x30},   {sfr::TCON, 0x40},
    {sfr::T2CON, 0x34}, {sfr::TH1, 0xFF},  {sfr::RCAP2L, 0xFF}, {sfr::RCAP2H, 0xFF},
};
// Timer plan: TR0 and TR1, all of TMOD (modes, C/T, GATE), the INT0 and INT1
// pins that gate timers 0 and 1, TR2 and EXEN2; and C/T2 and EXF2, which
// decide with those whether timer 2 counts or reloads at every instruction.
inline constexpr Input kTimerInputs[] = {{sfr::TCON, 0x50}, {sfr::TMOD, 0xFF}, {sfr::P3, 0x0C}, {sfr::T2CON, 0x4E}};
// Request scan: IE0, TF0, IE1, TF1; RI and TI; EXF2 and TF2; the six enables and EA.
inline constexpr Input kScanInputs[] = {{sfr::TCON, 0xAA}, {sfr::SCON, 0x03}, {sfr::T2CON, 0xC0}, {sfr::IE, 0xBF}};
// Selection: the six priority bits.
inline constexpr Input kSelectionInputs[] = {{sfr::IP, 0x3F}};

// For every direct address, the results a byte write there may change; for
// every bit address, the results a write of that one bit may change (a
// program setting TI does not disturb the baud rates).
struct Watchers {
    std::array<std::uint8_t, 256> byte{};
    std::array<std::uint8_t, 256> bit{};
};

namespace detail {
template <std::size_t N>
constexpr void Watch(Watchers& w, const Input (&inputs)[N], std::uint8_t result) {
    for (const Input& in : inputs) {
        w.byte[in.address] |= result;
        // Only the SFRs at addresses ending in 0h or 8h have bit addresses,
        // and there bit address = byte address + bit number.
        if (in.address % 8 != 0) continue;
        for (unsigned b = 0; b < 8; ++b) {
            if ((in.mask >> b) & 1) w.bit[in.address + b] |= result;
        }
    }
}
}  // namespace detail

inline constexpr Watchers kWatchers = [] {
    Watchers w;
    detail::Watch(w, kRateInputs, kBaudRates);
    detail::Watch(w, kTimerInputs, kTimers);
    detail::Watch(w, kScanInputs, kInterrupts);
    detail::Watch(w, kSelectionInputs, kSelection);
    return w;
}();

// The rates' register inputs packed one register per byte of a 64-bit key,
// so that no two inputs can ever stand for each other.
static_assert(std::size(kRateInputs) <= 8);
// No register contents give this key: the first input leaves bits clear.
inline constexpr std::uint64_t kNoRateKey = ~std::uint64_t{0};
static_assert(kRateInputs[0].mask != 0xFF);

}  // namespace tessaly::sfr_watch
