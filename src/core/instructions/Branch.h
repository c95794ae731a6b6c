#pragma once

#include "core/Interrupts.h"
#include "core/JumpRoutines.h"
#include "core/Messages.h"
#include "core/instructions/Operands.h"

// Jumps, calls, returns, CJNE and DJNZ. A conditional jump takes its cycles
// whether or not it jumps; every target is relative to the next instruction.
namespace tessaly::ops {

[[gnu::always_inline]] inline void NOP(Processor&) {}
[[gnu::always_inline]] inline void SJMP(Processor& p) { RelativeJump(p); }
[[gnu::always_inline]] inline void AJMP(Processor& p) { AbsoluteJump(p); }
[[gnu::always_inline]] inline void ACALL(Processor& p) { AbsoluteCall(p); }
[[gnu::always_inline]] inline void LJMP(Processor& p) { p.usPC = static_cast<std::uint16_t>((p.ucOperand1 << 8) | p.ucOperand2); }

[[gnu::always_inline]] inline void LCALL(Processor& p) {
    p.Push(static_cast<std::uint8_t>(p.usPC & 0xFF));
    p.Push(static_cast<std::uint8_t>(p.usPC >> 8));
    const std::uint16_t returnAddress = p.usPC;
    p.usPC = static_cast<std::uint16_t>((p.ucOperand1 << 8) | p.ucOperand2);
    p.calls.Enter(returnAddress, p.usPC, p.ucIntRAM[sfr::SP]);
}

[[gnu::always_inline]] inline void JMP_A_DPTR(Processor& p) { p.usPC = static_cast<std::uint16_t>(p.GetDPTR() + Acc(p)); }

[[gnu::always_inline]] inline void PopPC(Processor& p) {
    p.calls.Return(p.ucIntRAM[sfr::SP]);
    const std::uint8_t high = p.Pop();
    const std::uint8_t low = p.Pop();
    p.usPC = static_cast<std::uint16_t>((high << 8) | low);
}
[[gnu::always_inline]] inline void RET(Processor& p) { PopPC(p); }
[[gnu::always_inline]] inline void RETI(Processor& p) {
    PopPC(p);
    ReturnFromInterrupt(p);
}

[[gnu::always_inline]] inline void JC(Processor& p) {
    if (Carry(p)) RelativeJump(p);
}
[[gnu::always_inline]] inline void JNC(Processor& p) {
    if (!Carry(p)) RelativeJump(p);
}
[[gnu::always_inline]] inline void JZ(Processor& p) {
    if (Acc(p) == 0) RelativeJump(p);
}
[[gnu::always_inline]] inline void JNZ(Processor& p) {
    if (Acc(p) != 0) RelativeJump(p);
}
[[gnu::always_inline]] inline void JB(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) RelativeJump(p);
}
[[gnu::always_inline]] inline void JNB(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) RelativeJump(p);
}
[[gnu::always_inline]] inline void JBC(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) {
        p.WriteBit(p.ucOperand1, 0);
        RelativeJump(p);
    }
}

[[gnu::always_inline]] inline void CompareAndJump(Processor& p, std::uint8_t x, std::uint8_t y) {
    SetCarry(p, x < y);
    if (x != y) RelativeJump(p);
}
// B4h-BFh: A with #data or direct, @Ri or Rn with #data.
[[gnu::always_inline]] inline void CJNE_A_data(Processor& p) { CompareAndJump(p, Acc(p), p.ucOperand1); }
[[gnu::always_inline]] inline void CJNE_A_direct(Processor& p) { CompareAndJump(p, Acc(p), p.ReadDirect(p.ucOperand1)); }
template <unsigned N>
[[gnu::always_inline]] inline void CJNE_data(Processor& p) { CompareAndJump(p, Destination<N>(p), p.ucOperand1); }

[[gnu::always_inline]] inline void DJNZ_direct(Processor& p) {
    if (--Direct(p, p.ucOperand1) != 0) RelativeJump(p);
}
template <unsigned N>
[[gnu::always_inline]] inline void DJNZ(Processor& p) {
    if (--Register(p, N - 8) != 0) RelativeJump(p);
}

[[gnu::always_inline]] inline void Reserved(Processor& p) { p.lstErrors.Append(messages::kReservedOpcode); }

}  // namespace tessaly::ops
