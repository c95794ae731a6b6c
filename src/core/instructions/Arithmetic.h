#pragma once

#include "core/StepInline.h"
#include "core/instructions/Operands.h"

// ADD, ADDC, SUBB, INC, DEC, MUL, DIV and DA.
namespace tessaly::ops {

TESSALY_STEP_INLINE inline void AddToAccumulator(Processor& p, unsigned v, unsigned c) {
    const unsigned x = Acc(p);
    const unsigned sum = x + v + c;
    const bool carry = sum > 0xFF;
    const bool auxCarry = (x & 0x0F) + (v & 0x0F) + c > 0x0F;
    const bool carryIntoBit7 = (x & 0x7F) + (v & 0x7F) + c > 0x7F;
    Acc(p) = static_cast<std::uint8_t>(sum);
    std::uint8_t flags = Psw(p) & static_cast<std::uint8_t>(~(psw::CY | psw::AC | psw::OV));
    if (carry) flags |= psw::CY;
    if (auxCarry) flags |= psw::AC;
    if (carry != carryIntoBit7) flags |= psw::OV;
    Psw(p) = flags;
}

template <unsigned N>
TESSALY_STEP_INLINE inline void ADD(Processor& p) { AddToAccumulator(p, Source<N>(p), 0); }

template <unsigned N>
TESSALY_STEP_INLINE inline void ADDC(Processor& p) { AddToAccumulator(p, Source<N>(p), Carry(p) ? 1 : 0); }

template <unsigned N>
TESSALY_STEP_INLINE inline void SUBB(Processor& p) {
    const unsigned x = Acc(p), v = Source<N>(p), c = Carry(p) ? 1 : 0;
    const bool borrow = x < v + c;
    const bool auxBorrow = (x & 0x0F) < (v & 0x0F) + c;
    const bool borrowFromBit7 = (x & 0x7F) < (v & 0x7F) + c;
    Acc(p) = static_cast<std::uint8_t>(x - v - c);
    std::uint8_t flags = Psw(p) & static_cast<std::uint8_t>(~(psw::CY | psw::AC | psw::OV));
    if (borrow) flags |= psw::CY;
    if (auxBorrow) flags |= psw::AC;
    if (borrow != borrowFromBit7) flags |= psw::OV;
    Psw(p) = flags;
}

template <unsigned N>
TESSALY_STEP_INLINE inline void INC(Processor& p) { ++Destination<N>(p); }

template <unsigned N>
TESSALY_STEP_INLINE inline void DEC(Processor& p) { --Destination<N>(p); }

TESSALY_STEP_INLINE inline void INC_DPTR(Processor& p) { p.IncrementDPTR(); }

TESSALY_STEP_INLINE inline void MUL_AB(Processor& p) {
    const unsigned product = unsigned{Acc(p)} * p.ucIntRAM[sfr::B];
    Acc(p) = static_cast<std::uint8_t>(product);
    p.ucIntRAM[sfr::B] = static_cast<std::uint8_t>(product >> 8);
    std::uint8_t flags = Psw(p) & static_cast<std::uint8_t>(~(psw::CY | psw::OV));
    if (product > 0xFF) flags |= psw::OV;
    Psw(p) = flags;
}

TESSALY_STEP_INLINE inline void DIV_AB(Processor& p) {
    const std::uint8_t a = Acc(p), b = p.ucIntRAM[sfr::B];
    std::uint8_t flags = Psw(p) & static_cast<std::uint8_t>(~(psw::CY | psw::OV));
    if (b != 0) {
        Acc(p) = static_cast<std::uint8_t>(a / b);
        p.ucIntRAM[sfr::B] = static_cast<std::uint8_t>(a % b);
    } else {
        Acc(p) = 0;
        p.ucIntRAM[sfr::B] = 0;
        flags |= psw::OV;
    }
    Psw(p) = flags;
}

// Decimal adjust: sets CY when a correction carries out, never clears CY and
// never touches AC.
TESSALY_STEP_INLINE inline void DA_A(Processor& p) {
    unsigned a = Acc(p);
    bool carry = Carry(p);
    if ((a & 0x0F) > 9 || (Psw(p) & psw::AC)) {
        if (a + 6 > 0xFF) carry = true;
        a = (a + 6) & 0xFF;
    }
    const unsigned high = a >> 4;
    if (high > 9 || carry) {
        if (high + 6 > 0x0F) carry = true;
        a = (a & 0x0F) | (((high + 6) & 0x0F) << 4);
    }
    Acc(p) = static_cast<std::uint8_t>(a);
    SetCarry(p, carry);
}

}  // namespace tessaly::ops
