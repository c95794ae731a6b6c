#pragma once

#include <cstdint>

#include "core/Processor.h"

namespace tessaly {

// Serial port: baud rates from the mode, SMOD, timer 1 or timer 2 and the
// crystal; transmission timing so that TI rises one frame after SBUF is
// written; the logs of every byte sent and received; the rate warnings.
// The per-instruction step is UpdateSerialPort (core/SerialStep.h).

// Recomputes iTxBaudRate, iRxBaudRate and both frame times, then posts the
// invalid-rate warnings.
void UpdateBaudRates(Processor& p);

// MOV SBUF,A and the terminal's send-byte command.
void TransmitByte(Processor& p, std::uint8_t value);

// MOV A,SBUF: the byte the accumulator receives.
std::uint8_t ReceiveByte(Processor& p);

}  // namespace tessaly
