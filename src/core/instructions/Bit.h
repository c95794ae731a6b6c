#pragma once

#include "core/instructions/Operands.h"

// Operations on CY and on addressable bits.
namespace tessaly::ops {

[[gnu::always_inline]] inline void CLR_C(Processor& p) { SetCarry(p, false); }
[[gnu::always_inline]] inline void SETB_C(Processor& p) { SetCarry(p, true); }
[[gnu::always_inline]] inline void CPL_C(Processor& p) { SetCarry(p, !Carry(p)); }
[[gnu::always_inline]] inline void CLR_bit(Processor& p) { p.WriteBit(p.ucOperand1, 0); }
[[gnu::always_inline]] inline void SETB_bit(Processor& p) { p.WriteBit(p.ucOperand1, 1); }
[[gnu::always_inline]] inline void CPL_bit(Processor& p) { p.WriteBit(p.ucOperand1, !p.ReadBit(p.ucOperand1)); }

[[gnu::always_inline]] inline void ANL_C_bit(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) SetCarry(p, false);
}
[[gnu::always_inline]] inline void ANL_C_notbit(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) SetCarry(p, false);
}
[[gnu::always_inline]] inline void ORL_C_bit(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) SetCarry(p, true);
}
[[gnu::always_inline]] inline void ORL_C_notbit(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) SetCarry(p, true);
}
[[gnu::always_inline]] inline void MOV_C_bit(Processor& p) { SetCarry(p, p.ReadBit(p.ucOperand1)); }
[[gnu::always_inline]] inline void MOV_bit_C(Processor& p) { p.WriteBit(p.ucOperand1, Carry(p)); }

}  // namespace tessaly::ops
