#pragma once

#include "core/JumpRoutines.h"
#include "core/Processor.h"

namespace tessaly::cli {

// True when the instruction at `pc` jumps to its own address: SJMP $, or an
// AJMP or LJMP whose target is the instruction itself (the usual end of a
// test program).
inline bool JumpsToItself(const Processor& p, std::uint16_t pc) {
    const std::uint8_t opcode = p.ucCodeMemory[pc];
    const std::uint8_t first = p.ucCodeMemory[pc + 1u];
    if (opcode == 0x80) return first == 0xFE;
    if (opcode == 0x02) return ((first << 8) | p.ucCodeMemory[pc + 2u]) == pc;
    if ((opcode & 0x1F) == 0x01) {
        return jump_detail::AbsoluteTarget(static_cast<std::uint16_t>(pc + 2u), opcode, first) == pc;
    }
    return false;
}

}  // namespace tessaly::cli
