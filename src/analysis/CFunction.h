#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/CType.h"

namespace tessaly {

// One F: record with the start and end labels the linker placed.
struct CFunction {
    std::string name;
    std::string module;
    bool isStatic = false;
    CType type;  // Function, its target the result
    // The first byte of the function and the address of its last instruction
    // (the RET or RETI that the end label marks).
    std::optional<std::uint16_t> start;
    std::optional<std::uint16_t> end;
    bool isInterrupt = false;
    int interruptNumber = 0;
    int registerBank = 0;  // the bank a __using function switches to
    // Keeps locals or parameters on a stack: SDCC gives such functions a
    // frame size, or places one of their symbols on the stack.
    bool reentrant = false;

    bool Contains(std::uint16_t pc) const { return start && end && pc >= *start && pc <= *end; }
};

}  // namespace tessaly
