#pragma once

#include <array>
#include <cstdint>

#include "core/Processor.h"

namespace tessaly {

// Executes one already fetched instruction with the serial port wired as on
// the chip: a read of SBUF as a source operand receives, a write of SBUF
// transmits.
void ExecuteWithHardwareSerial(Processor& p, std::uint8_t opcode);

// The handler table the engine uses while the serial port is wired so: every
// entry runs its opcode through ExecuteWithHardwareSerial.
extern const std::array<void (*)(Processor&), 256> kWiredSerialHandlers;

}  // namespace tessaly
