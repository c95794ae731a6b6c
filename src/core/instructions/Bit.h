#pragma once

#include "core/instructions/Operands.h"

// Operations on CY and on addressable bits.
namespace tessaly::ops {

inline void CLR_C(Processor& p) { SetCarry(p, false); }
inline void SETB_C(Processor& p) { SetCarry(p, true); }
inline void CPL_C(Processor& p) { SetCarry(p, !Carry(p)); }
inline void CLR_bit(Processor& p) { p.WriteBit(p.ucOperand1, 0); }
inline void SETB_bit(Processor& p) { p.WriteBit(p.ucOperand1, 1); }
inline void CPL_bit(Processor& p) { p.WriteBit(p.ucOperand1, !p.ReadBit(p.ucOperand1)); }

inline void ANL_C_bit(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) SetCarry(p, false);
}
inline void ANL_C_notbit(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) SetCarry(p, false);
}
inline void ORL_C_bit(Processor& p) {
    if (p.ReadBit(p.ucOperand1)) SetCarry(p, true);
}
inline void ORL_C_notbit(Processor& p) {
    if (!p.ReadBit(p.ucOperand1)) SetCarry(p, true);
}
inline void MOV_C_bit(Processor& p) { SetCarry(p, p.ReadBit(p.ucOperand1)); }
inline void MOV_bit_C(Processor& p) { p.WriteBit(p.ucOperand1, Carry(p)); }

}  // namespace tessaly::ops
