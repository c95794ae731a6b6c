#pragma once

#include <cstdint>

#include "core/ExecutionStatus.h"
#include "core/Processor.h"
#include "core/StepInline.h"

namespace tessaly {

// The relative-jump, AJMP and ACALL routines, shared by the engine and the
// decoder. Their job depends on ucExecutionStatus:
//  - executing: usPC has already been advanced past the instruction; the
//    routine moves it to the target (ACALL pushes the return address first);
//  - decoding: usPC still addresses the instruction; the routine only returns
//    the target so the decoder can write it as text;
//  - anything else: the routine records an error naming the status, leaves
//    usPC alone and returns it.
// All three return the target address (or usPC in the error case).

namespace jump_detail {
// Executing: the operand bytes are read back below the advanced PC. Those
// addresses are not wrapped: one below 0000h exists only just after the PC
// wrapped past FFFFh, and reads as 0.
TESSALY_STEP_INLINE inline std::uint8_t CodeBelowPC(const Processor& p, int back) {
    const int address = static_cast<int>(p.usPC) - back;
    return address < 0 ? 0 : p.ucCodeMemory[static_cast<unsigned>(address)];
}
TESSALY_STEP_INLINE inline std::uint16_t AbsoluteTarget(std::uint16_t nextPC, std::uint8_t opcode, std::uint8_t low) {
    return static_cast<std::uint16_t>((nextPC & 0xF800) | ((opcode >> 5) << 8) | low);
}
void ReportInvalidStatus(Processor& p, int routine);
}  // namespace jump_detail

TESSALY_STEP_INLINE inline std::uint16_t RelativeJump(Processor& p) {
    if (p.ucExecutionStatus == kStatusExecuting) {
        const auto offset = static_cast<std::int8_t>(jump_detail::CodeBelowPC(p, 1));
        p.usPC = static_cast<std::uint16_t>(p.usPC + offset);
        return p.usPC;
    }
    if (p.ucExecutionStatus == kStatusDecoding) {
        const std::uint8_t last = p.ucInstructionLength == 3 ? p.ucOperand2 : p.ucOperand1;
        return static_cast<std::uint16_t>(p.usPC + p.ucInstructionLength + static_cast<std::int8_t>(last));
    }
    jump_detail::ReportInvalidStatus(p, 0);
    return p.usPC;
}

TESSALY_STEP_INLINE inline std::uint16_t AbsoluteJump(Processor& p) {
    if (p.ucExecutionStatus == kStatusExecuting) {
        p.usPC = jump_detail::AbsoluteTarget(p.usPC, jump_detail::CodeBelowPC(p, 2), jump_detail::CodeBelowPC(p, 1));
        return p.usPC;
    }
    if (p.ucExecutionStatus == kStatusDecoding) {
        return jump_detail::AbsoluteTarget(static_cast<std::uint16_t>(p.usPC + 2), p.ucOpcode, p.ucOperand1);
    }
    jump_detail::ReportInvalidStatus(p, 1);
    return p.usPC;
}

TESSALY_STEP_INLINE inline std::uint16_t AbsoluteCall(Processor& p) {
    if (p.ucExecutionStatus == kStatusExecuting) {
        const std::uint16_t target =
            jump_detail::AbsoluteTarget(p.usPC, jump_detail::CodeBelowPC(p, 2), jump_detail::CodeBelowPC(p, 1));
        p.Push(static_cast<std::uint8_t>(p.usPC & 0xFF));
        p.Push(static_cast<std::uint8_t>(p.usPC >> 8));
        p.calls.Enter(p.usPC, target, p.ucIntRAM[sfr::SP]);
        p.usPC = target;
        return target;
    }
    if (p.ucExecutionStatus == kStatusDecoding) {
        return jump_detail::AbsoluteTarget(static_cast<std::uint16_t>(p.usPC + 2), p.ucOpcode, p.ucOperand1);
    }
    jump_detail::ReportInvalidStatus(p, 2);
    return p.usPC;
}

}  // namespace tessaly
