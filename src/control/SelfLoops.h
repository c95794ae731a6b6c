#pragma once

#include <cstdint>

#include "core/AddressSet.h"
#include "core/Processor.h"

namespace tessaly {

// True when the instruction at `pc` jumps to its own address: SJMP $, or an
// AJMP or LJMP whose target is the instruction itself (the usual end of a
// test program, and SDCC's `while (1);`).
bool JumpsToItself(const Processor& p, std::uint16_t pc);

// Every address whose instruction jumps to itself. Code memory does not
// change while a program runs, so they are known up front.
AddressSet SelfLoopAddresses(const Processor& p);

}  // namespace tessaly
