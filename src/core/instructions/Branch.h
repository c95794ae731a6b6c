#pragma once

#include "core/EngineAccess.h"
#include "core/Interrupts.h"
#include "core/JumpRoutines.h"
#include "core/Messages.h"
#include "core/StepInline.h"
#include "core/instructions/Operands.h"

// Jumps, calls, returns, CJNE and DJNZ. A conditional jump takes its cycles
// whether or not it jumps; every target is relative to the next instruction.
namespace tessaly::ops {

TESSALY_STEP_INLINE inline void NOP(Processor&) {}
TESSALY_STEP_INLINE inline void SJMP(Processor& p) { RelativeJump(p); }
TESSALY_STEP_INLINE inline void AJMP(Processor& p) { AbsoluteJump(p); }
TESSALY_STEP_INLINE inline void ACALL(Processor& p) { AbsoluteCall(p); }
TESSALY_STEP_INLINE inline void LJMP(Processor& p) { p.usPC = static_cast<std::uint16_t>((p.ucOperand1 << 8) | p.ucOperand2); }

TESSALY_STEP_INLINE inline void LCALL(Processor& p) {
    p.Push(static_cast<std::uint8_t>(p.usPC & 0xFF));
    p.Push(static_cast<std::uint8_t>(p.usPC >> 8));
    const std::uint16_t returnAddress = p.usPC;
    p.usPC = static_cast<std::uint16_t>((p.ucOperand1 << 8) | p.ucOperand2);
    p.calls.Enter(returnAddress, p.usPC, p.ucIntRAM[sfr::SP]);
}

TESSALY_STEP_INLINE inline void JMP_A_DPTR(Processor& p) { p.usPC = static_cast<std::uint16_t>(p.GetDPTR() + Acc(p)); }

TESSALY_STEP_INLINE inline void PopPC(Processor& p) {
    p.calls.Return(p.ucIntRAM[sfr::SP]);
    const std::uint8_t high = p.Pop();
    const std::uint8_t low = p.Pop();
    p.usPC = static_cast<std::uint16_t>((high << 8) | low);
}
TESSALY_STEP_INLINE inline void RET(Processor& p) { PopPC(p); }
TESSALY_STEP_INLINE inline void RETI(Processor& p) {
    PopPC(p);
    ReturnFromInterrupt(p);
}

TESSALY_STEP_INLINE inline void JC(Processor& p) {
    if (Carry(p)) RelativeJump(p);
}
TESSALY_STEP_INLINE inline void JNC(Processor& p) {
    if (!Carry(p)) RelativeJump(p);
}
TESSALY_STEP_INLINE inline void JZ(Processor& p) {
    if (Acc(p) == 0) RelativeJump(p);
}
TESSALY_STEP_INLINE inline void JNZ(Processor& p) {
    if (Acc(p) != 0) RelativeJump(p);
}
TESSALY_STEP_INLINE inline void JB(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) RelativeJump(p);
}
TESSALY_STEP_INLINE inline void JNB(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) RelativeJump(p);
}
TESSALY_STEP_INLINE inline void JBC(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) {
        p.WriteBit(p.ucOperand1, 0);
        RelativeJump(p);
    }
}

TESSALY_STEP_INLINE inline void CompareAndJump(Processor& p, std::uint8_t x, std::uint8_t y) {
    SetCarry(p, x < y);
    if (x != y) RelativeJump(p);
}
// B4h-BFh: A with #data or direct, @Ri or Rn with #data.
TESSALY_STEP_INLINE inline void CJNE_A_data(Processor& p) { CompareAndJump(p, Acc(p), p.ucOperand1); }
TESSALY_STEP_INLINE inline void CJNE_A_direct(Processor& p) { CompareAndJump(p, Acc(p), p.ReadDirect(p.ucOperand1)); }
template <unsigned N>
TESSALY_STEP_INLINE inline void CJNE_data(Processor& p) { CompareAndJump(p, Destination<N>(p), p.ucOperand1); }

TESSALY_STEP_INLINE inline void DJNZ_direct(Processor& p) {
    if (--Direct(p, p.ucOperand1) != 0) RelativeJump(p);
}
template <unsigned N>
TESSALY_STEP_INLINE inline void DJNZ(Processor& p) {
    if (--Register(p, N - 8) != 0) RelativeJump(p);
}

TESSALY_STEP_INLINE inline void Reserved(Processor& p) { PostError(p, messages::kReservedOpcode); }

}  // namespace tessaly::ops
