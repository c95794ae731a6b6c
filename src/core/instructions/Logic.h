#pragma once

#include "core/StepInline.h"
#include "core/instructions/Operands.h"

// ANL, ORL, XRL, CLR A, CPL A, the rotates and SWAP. None of them touches a flag.
namespace tessaly::ops {

struct AndOp { static std::uint8_t Apply(std::uint8_t a, std::uint8_t b) { return a & b; } };
struct OrOp { static std::uint8_t Apply(std::uint8_t a, std::uint8_t b) { return a | b; } };
struct XorOp { static std::uint8_t Apply(std::uint8_t a, std::uint8_t b) { return a ^ b; } };

// xy2h: direct := direct op A.
template <class Op>
TESSALY_STEP_INLINE inline void LogicDirectA(Processor& p) {
    Direct(p, p.ucOperand1) = Op::Apply(p.ReadDirect(p.ucOperand1), Acc(p));
}

// xy3h: direct := direct op #data (the data is the second operand byte).
template <class Op>
TESSALY_STEP_INLINE inline void LogicDirectData(Processor& p) {
    Direct(p, p.ucOperand1) = Op::Apply(p.ReadDirect(p.ucOperand1), p.ucOperand2);
}

// xy4h-xyFh: A := A op source.
template <class Op, unsigned N>
TESSALY_STEP_INLINE inline void LogicA(Processor& p) { Acc(p) = Op::Apply(Acc(p), Source<N>(p)); }

template <unsigned N> void ORL(Processor& p) { LogicA<OrOp, N>(p); }
template <unsigned N> void ANL(Processor& p) { LogicA<AndOp, N>(p); }
template <unsigned N> void XRL(Processor& p) { LogicA<XorOp, N>(p); }

TESSALY_STEP_INLINE inline void CLR_A(Processor& p) { Acc(p) = 0; }
TESSALY_STEP_INLINE inline void CPL_A(Processor& p) { Acc(p) = static_cast<std::uint8_t>(~Acc(p)); }
TESSALY_STEP_INLINE inline void RL_A(Processor& p) { Acc(p) = static_cast<std::uint8_t>((Acc(p) << 1) | (Acc(p) >> 7)); }
TESSALY_STEP_INLINE inline void RR_A(Processor& p) { Acc(p) = static_cast<std::uint8_t>((Acc(p) >> 1) | (Acc(p) << 7)); }
TESSALY_STEP_INLINE inline void SWAP_A(Processor& p) { Acc(p) = static_cast<std::uint8_t>((Acc(p) << 4) | (Acc(p) >> 4)); }

TESSALY_STEP_INLINE inline void RLC_A(Processor& p) {
    const std::uint8_t a = Acc(p);
    Acc(p) = static_cast<std::uint8_t>((a << 1) | (Carry(p) ? 1 : 0));
    SetCarry(p, a & 0x80);
}

TESSALY_STEP_INLINE inline void RRC_A(Processor& p) {
    const std::uint8_t a = Acc(p);
    Acc(p) = static_cast<std::uint8_t>((a >> 1) | (Carry(p) ? 0x80 : 0));
    SetCarry(p, a & 0x01);
}

}  // namespace tessaly::ops
