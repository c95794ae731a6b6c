#pragma once

#include <cstdint>

#include "core/Processor.h"

namespace tessaly {

// Executes one already fetched instruction with the serial port wired as on
// the chip: a read of SBUF as a source operand receives, a write of SBUF
// transmits. Only used while bHardwareSerial is set.
void ExecuteWithHardwareSerial(Processor& p, std::uint8_t opcode);

}  // namespace tessaly
