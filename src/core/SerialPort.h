#pragma once

#include <array>
#include <cstdint>

#include "core/Processor.h"

namespace tessaly {

// Serial port: baud rates from the mode, SMOD, timer 1 or timer 2 and the
// crystal; transmission timing so that TI rises one frame after SBUF is
// written; the logs of every byte sent and received; the rate warnings.

// Recomputes iTxBaudRate, iRxBaudRate and both frame times, then posts the
// invalid-rate warnings.
void UpdateBaudRates(Processor& p);


// MOV SBUF,A and the terminal's send-byte command.
void TransmitByte(Processor& p, std::uint8_t value);

// MOV A,SBUF: the byte the accumulator receives.
std::uint8_t ReceiveByte(Processor& p);

namespace serial_detail {

// The register bits the rates depend on, packed into one word. Byte loads on
// purpose: a wide load across TL0-TH1 would wait on the timers' byte stores
// of the same instruction.
inline std::uint64_t RateRegisters(const Processor& p) {
    const auto& ram = p.ucIntRAM;
    return std::uint64_t{ram[sfr::SCON] & 0xC0u} | std::uint64_t{ram[sfr::PCON] & 0x80u} >> 1 |
           std::uint64_t{ram[sfr::TMOD] & 0x30u} << 8 | std::uint64_t{ram[sfr::TCON] & 0x40u} << 8 |
           std::uint64_t{ram[sfr::T2CON] & 0x34u} << 16 | std::uint64_t{ram[sfr::TH1]} << 24 |
           std::uint64_t{ram[sfr::RCAP2L]} << 32 | std::uint64_t{ram[sfr::RCAP2H]} << 40;
}

void RecomputeRates(Processor& p);
// The serial port's per-instruction work once something needs it.
void Step(Processor& p, unsigned cycles);

}  // namespace serial_detail

// The per-instruction step, after the timers: rates, then the transmission
// count-down by the instruction's `cycles` machine cycles. The rates are a pure
// function of a few register bits and the crystal, so nothing needs doing
// while those stay unchanged, the rates are valid and nothing is being sent.
inline void UpdateSerialPort(Processor& p, unsigned cycles) {
    if (p.ucSfrChanges & (sfr_watch::kBaudRates | sfr_watch::kSerialActivity)) serial_detail::Step(p, cycles);
}

}  // namespace tessaly
