#pragma once

#include "core/StepInline.h"
#include "core/instructions/Operands.h"

// Operations on CY and on addressable bits.
namespace tessaly::ops {

TESSALY_STEP_INLINE inline void CLR_C(Processor& p) { SetCarry(p, false); }
TESSALY_STEP_INLINE inline void SETB_C(Processor& p) { SetCarry(p, true); }
TESSALY_STEP_INLINE inline void CPL_C(Processor& p) { SetCarry(p, !Carry(p)); }
TESSALY_STEP_INLINE inline void CLR_bit(Processor& p) { p.WriteBit(p.ucOperand1, 0); }
TESSALY_STEP_INLINE inline void SETB_bit(Processor& p) { p.WriteBit(p.ucOperand1, 1); }
TESSALY_STEP_INLINE inline void CPL_bit(Processor& p) { p.WriteBit(p.ucOperand1, !p.ReadBit(p.ucOperand1)); }

TESSALY_STEP_INLINE inline void ANL_C_bit(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) SetCarry(p, false);
}
TESSALY_STEP_INLINE inline void ANL_C_notbit(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) SetCarry(p, false);
}
TESSALY_STEP_INLINE inline void ORL_C_bit(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) SetCarry(p, true);
}
TESSALY_STEP_INLINE inline void ORL_C_notbit(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) SetCarry(p, true);
}
TESSALY_STEP_INLINE inline void MOV_C_bit(Processor& p) { SetCarry(p, p.ReadBit(p.ucOperand1)); }
TESSALY_STEP_INLINE inline void MOV_bit_C(Processor& p) { p.WriteBit(p.ucOperand1, Carry(p)); }

}  // namespace tessaly::ops
