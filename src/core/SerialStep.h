#pragma once

#include <cstdint>

#include "core/EngineAccess.h"
#include "core/SerialPort.h"

namespace tessaly {

namespace serial_detail {

// The register inputs of the rates, one register per byte. Byte loads on
// purpose: a wide load across TL0-TH1 would wait on the timers' byte stores
// of the same instruction.
inline std::uint64_t RateKey(const Processor& p) {
    std::uint64_t key = 0;
    unsigned shift = 0;
    for (const sfr_watch::Input& in : sfr_watch::kRateInputs) {
        key |= std::uint64_t{static_cast<std::uint8_t>(p.ucIntRAM[in.address] & in.mask)} << shift;
        shift += 8;
    }
    return key;
}

// The serial port's per-instruction work once something needs it.
void Step(Processor& p, unsigned cycles);

// Step's most common case done inline: a byte being sent at valid rates
// that the instruction's `cycles` do not finish. False, having done
// nothing, in every other case.
[[gnu::always_inline]] inline bool CountDownQuietly(Processor& p, unsigned cycles) {
    if (Changed(p, sfr_watch::kBaudRates) || !p.bTxInProgress || (p.iTxBaudRate | p.iRxBaudRate) < 0 ||
        p.iTxCyclesLeft <= static_cast<std::int32_t>(cycles)) {
        return false;
    }
    p.iTxCyclesLeft -= static_cast<std::int32_t>(cycles);
    return true;
}

}  // namespace serial_detail

// The per-instruction step, after the timers: rates, then the transmission
// count-down by the instruction's `cycles` machine cycles. The rates are a pure
// function of a few register bits and the crystal, so nothing needs doing
// while those stay unchanged, the rates are valid and nothing is being sent.
[[gnu::always_inline]] inline void UpdateSerialPort(Processor& p, unsigned cycles) {
    if (Changed(p, sfr_watch::kBaudRates | sfr_watch::kSerialActivity) && !serial_detail::CountDownQuietly(p, cycles)) {
        serial_detail::Step(p, cycles);
    }
}

}  // namespace tessaly
