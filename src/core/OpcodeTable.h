#pragma once

#include <array>

#include "core/Processor.h"

namespace tessaly {

using InstructionHandler = void (*)(Processor&);

// The handler of every opcode, laid out like the opcode map.
extern const std::array<InstructionHandler, 256> kInstructionHandlers;

}  // namespace tessaly
