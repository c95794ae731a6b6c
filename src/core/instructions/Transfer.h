#pragma once

#include "core/SerialPort.h"
#include "core/StepInline.h"
#include "core/instructions/Operands.h"

// MOV, MOVC, MOVX, PUSH, POP, XCH and XCHD.
namespace tessaly::ops {

// 74h, E6h-EFh: A := #data, @Ri or Rn.
template <unsigned N>
TESSALY_STEP_INLINE inline void MOV_A(Processor& p) { Acc(p) = Source<N>(p); }

// E5h: MOV A,direct. Reading SBUF this way is how a program receives.
TESSALY_STEP_INLINE inline void MOV_A_direct(Processor& p) {
    Acc(p) = p.ucOperand1 == sfr::SBUF ? ReceiveByte(p) : p.ReadDirect(p.ucOperand1);
}

// F6h-FFh: @Ri or Rn := A.
template <unsigned N>
TESSALY_STEP_INLINE inline void MOV_from_A(Processor& p) { Destination<N>(p) = Acc(p); }

// F5h: MOV direct,A. Writing SBUF this way is how a program transmits.
TESSALY_STEP_INLINE inline void MOV_direct_A(Processor& p) {
    if (p.ucOperand1 == sfr::SBUF) TransmitByte(p, Acc(p));
    else p.WriteDirect(p.ucOperand1, Acc(p));
}

// 76h-7Fh: @Ri or Rn := #data.
template <unsigned N>
TESSALY_STEP_INLINE inline void MOV_data(Processor& p) { Destination<N>(p) = p.ucOperand1; }

// A6h-AFh: @Ri or Rn := direct.
template <unsigned N>
TESSALY_STEP_INLINE inline void MOV_from_direct(Processor& p) { Destination<N>(p) = p.ReadDirect(p.ucOperand1); }

// 86h-8Fh: direct := @Ri or Rn; the direct address is the first operand byte.
template <unsigned N>
TESSALY_STEP_INLINE inline void MOV_direct_from(Processor& p) { p.WriteDirect(p.ucOperand1, Source<N>(p)); }

// 75h: MOV direct,#data.
TESSALY_STEP_INLINE inline void MOV_direct_data(Processor& p) { p.WriteDirect(p.ucOperand1, p.ucOperand2); }

// 85h: MOV direct,direct; the source address comes first in the code.
TESSALY_STEP_INLINE inline void MOV_direct_direct(Processor& p) { p.WriteDirect(p.ucOperand2, p.ReadDirect(p.ucOperand1)); }

TESSALY_STEP_INLINE inline void MOV_DPTR_data(Processor& p) {
    p.WriteDirect(sfr::DPH, p.ucOperand1);
    p.WriteDirect(sfr::DPL, p.ucOperand2);
}

// MOVC A,@A+PC wraps at 64K, PC being the address of the next instruction.
TESSALY_STEP_INLINE inline void MOVC_A_PC(Processor& p) {
    Acc(p) = p.ucCodeMemory[static_cast<std::uint16_t>(p.usPC + Acc(p))];
}

// MOVC A,@A+DPTR does not wrap: sums past FFFFh read the guard bytes.
TESSALY_STEP_INLINE inline void MOVC_A_DPTR(Processor& p) { Acc(p) = p.ucCodeMemory[p.GetDPTR() + Acc(p)]; }

TESSALY_STEP_INLINE inline void MOVX_A_DPTR(Processor& p) { Acc(p) = p.ReadExtRAM(p.GetDPTR()); }

// MOVX with @Ri reaches 00h-FFh only; P2 is not used as the high byte
// unless XRAM paging is on (the paged forms below).
template <unsigned I>
TESSALY_STEP_INLINE inline void MOVX_A_Ri(Processor& p) { Acc(p) = p.ReadExtRAM(Register(p, I)); }

TESSALY_STEP_INLINE inline void WriteExternal(Processor& p, std::uint16_t address) {
    p.WriteExtRAM(address, Acc(p));
    p.bExtRAMWritten = 1;
    p.iExtRAMWriteAddress = address;
}
TESSALY_STEP_INLINE inline void MOVX_DPTR_A(Processor& p) { WriteExternal(p, p.GetDPTR()); }
template <unsigned I>
TESSALY_STEP_INLINE inline void MOVX_Ri_A(Processor& p) { WriteExternal(p, Register(p, I)); }

// With XRAM paging, P2 drives the high address byte of MOVX @Ri, as its port
// pins do on the chip, and Ri the low byte.
template <unsigned I>
std::uint16_t PagedAddress(Processor& p) {
    return static_cast<std::uint16_t>((p.ucIntRAM[sfr::P2] << 8) | Register(p, I));
}
template <unsigned I>
TESSALY_STEP_INLINE inline void MOVX_A_PagedRi(Processor& p) { Acc(p) = p.ReadExtRAM(PagedAddress<I>(p)); }
template <unsigned I>
TESSALY_STEP_INLINE inline void MOVX_PagedRi_A(Processor& p) { WriteExternal(p, PagedAddress<I>(p)); }

// The source byte is read after SP moves, so PUSH SP stores the new SP.
TESSALY_STEP_INLINE inline void PUSH(Processor& p) {
    ++p.ucIntRAM[sfr::SP];
    p.WriteIndirect(p.ucIntRAM[sfr::SP], p.ReadDirect(p.ucOperand1));
}

// SP is decremented after the store, so POP SP leaves the popped value minus 1.
TESSALY_STEP_INLINE inline void POP(Processor& p) {
    p.WriteDirect(p.ucOperand1, p.ReadIndirect(p.ucIntRAM[sfr::SP]));
    --p.ucIntRAM[sfr::SP];
}

template <unsigned N>
TESSALY_STEP_INLINE inline void XCH(Processor& p) {
    std::uint8_t& other = Destination<N>(p);
    const std::uint8_t a = Acc(p);
    Acc(p) = other;
    other = a;
}

template <unsigned I>
TESSALY_STEP_INLINE inline void XCHD(Processor& p) {
    std::uint8_t& other = Indirect(p, I);
    const std::uint8_t a = Acc(p);
    Acc(p) = static_cast<std::uint8_t>((a & 0xF0) | (other & 0x0F));
    other = static_cast<std::uint8_t>((other & 0xF0) | (a & 0x0F));
}

}  // namespace tessaly::ops
