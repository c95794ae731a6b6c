#pragma once

#include <cstdint>

#include "core/EngineAccess.h"
#include "core/Processor.h"
#include "core/StepInline.h"

// Operand access and flag helpers shared by the instruction handlers.
namespace tessaly::ops {

TESSALY_STEP_INLINE inline std::uint8_t& Acc(Processor& p) { return p.ucIntRAM[sfr::ACC]; }
TESSALY_STEP_INLINE inline std::uint8_t& Psw(Processor& p) { return p.ucIntRAM[sfr::PSW]; }
TESSALY_STEP_INLINE inline std::uint8_t& Register(Processor& p, unsigned n) { return p.ucIntRAM[p.RegisterBankBase() + n]; }
// @R0 or @R1 of the selected bank, by the indirect rule.
TESSALY_STEP_INLINE inline std::uint8_t& Indirect(Processor& p, unsigned i) {
    return p.ucIntRAM[Processor::IndirectOffset(Register(p, i & 1))];
}
// A direct byte the instruction is about to write.
TESSALY_STEP_INLINE inline std::uint8_t& Direct(Processor& p, std::uint8_t address) {
    NoteDirectWrite(p, address);
    return p.ucIntRAM[address];
}

TESSALY_STEP_INLINE inline bool Carry(const Processor& p) { return (p.ucIntRAM[sfr::PSW] & psw::CY) != 0; }
TESSALY_STEP_INLINE inline void SetCarry(Processor& p, bool on) {
    Psw(p) = static_cast<std::uint8_t>(on ? (Psw(p) | psw::CY) : (Psw(p) & ~psw::CY));
}

// The operand a low opcode nibble selects in the arithmetic and logic groups:
// 4 #data, 5 direct, 6-7 @R0-@R1, 8-F R0-R7.
template <unsigned Nibble>
TESSALY_STEP_INLINE inline std::uint8_t Source(Processor& p) {
    static_assert(Nibble >= 4 && Nibble <= 15);
    if constexpr (Nibble == 4) return p.ucOperand1;
    else if constexpr (Nibble == 5) return p.ReadDirect(p.ucOperand1);
    else if constexpr (Nibble <= 7) return Indirect(p, Nibble - 6);
    else return Register(p, Nibble - 8);
}

// The writable operand of INC, DEC, XCH and the MOV forms: 5 direct,
// 6-7 @R0-@R1, 8-F R0-R7 (4 is the accumulator for INC and DEC).
template <unsigned Nibble>
TESSALY_STEP_INLINE inline std::uint8_t& Destination(Processor& p) {
    static_assert(Nibble >= 4 && Nibble <= 15);
    if constexpr (Nibble == 4) return Acc(p);
    else if constexpr (Nibble == 5) return Direct(p, p.ucOperand1);
    else if constexpr (Nibble <= 7) return Indirect(p, Nibble - 6);
    else return Register(p, Nibble - 8);
}

}  // namespace tessaly::ops
