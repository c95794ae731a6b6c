#pragma once

#include <array>

#include "core/InstructionStep.h"
#include "core/instructions/Arithmetic.h"
#include "core/instructions/Bit.h"
#include "core/instructions/Branch.h"
#include "core/instructions/Logic.h"
#include "core/instructions/Transfer.h"

namespace tessaly {

namespace opcode_handlers_detail {
using namespace ops;

// One handler serves a family: the template argument is the low nibble of the
// opcode, which selects #data (4), direct (5), @R0/@R1 (6, 7) or R0-R7 (8-F).
#define NIBBLES_6_TO_F(H) H<6>, H<7>, H<8>, H<9>, H<10>, H<11>, H<12>, H<13>, H<14>, H<15>
#define NIBBLES_4_TO_F(H) H<4>, H<5>, NIBBLES_6_TO_F(H)
#define NIBBLES_8_TO_F(H) H<8>, H<9>, H<10>, H<11>, H<12>, H<13>, H<14>, H<15>

// clang-format off
inline constexpr std::array<InstructionHandler, 256> kHandlerMap = {
/* 0x */ NOP,           AJMP,  LJMP,                   RR_A,        NIBBLES_4_TO_F(INC),
/* 1x */ JBC,           ACALL, LCALL,                  RRC_A,       NIBBLES_4_TO_F(DEC),
/* 2x */ JB,            AJMP,  RET,                    RL_A,        NIBBLES_4_TO_F(ADD),
/* 3x */ JNB,           ACALL, RETI,                   RLC_A,       NIBBLES_4_TO_F(ADDC),
/* 4x */ JC,            AJMP,  LogicDirectA<OrOp>,     LogicDirectData<OrOp>,  NIBBLES_4_TO_F(ORL),
/* 5x */ JNC,           ACALL, LogicDirectA<AndOp>,    LogicDirectData<AndOp>, NIBBLES_4_TO_F(ANL),
/* 6x */ JZ,            AJMP,  LogicDirectA<XorOp>,    LogicDirectData<XorOp>, NIBBLES_4_TO_F(XRL),
/* 7x */ JNZ,           ACALL, ORL_C_bit,              JMP_A_DPTR,  MOV_A<4>,      MOV_direct_data,   NIBBLES_6_TO_F(MOV_data),
/* 8x */ SJMP,          AJMP,  ANL_C_bit,              MOVC_A_PC,   DIV_AB,        MOV_direct_direct, NIBBLES_6_TO_F(MOV_direct_from),
/* 9x */ MOV_DPTR_data, ACALL, MOV_bit_C,              MOVC_A_DPTR, NIBBLES_4_TO_F(SUBB),
/* Ax */ ORL_C_notbit,  AJMP,  MOV_C_bit,              INC_DPTR,    MUL_AB,        Reserved,          NIBBLES_6_TO_F(MOV_from_direct),
/* Bx */ ANL_C_notbit,  ACALL, CPL_bit,                CPL_C,       CJNE_A_data,   CJNE_A_direct,     NIBBLES_6_TO_F(CJNE_data),
/* Cx */ PUSH,          AJMP,  CLR_bit,                CLR_C,       SWAP_A,        XCH<5>,            NIBBLES_6_TO_F(XCH),
/* Dx */ POP,           ACALL, SETB_bit,               SETB_C,      DA_A,          DJNZ_direct,       XCHD<0>, XCHD<1>, NIBBLES_8_TO_F(DJNZ),
/* Ex */ MOVX_A_DPTR,   AJMP,  MOVX_A_Ri<0>,           MOVX_A_Ri<1>, CLR_A,        MOV_A_direct,      NIBBLES_6_TO_F(MOV_A),
/* Fx */ MOVX_DPTR_A,   ACALL, MOVX_Ri_A<0>,           MOVX_Ri_A<1>, CPL_A,        MOV_direct_A,      NIBBLES_6_TO_F(MOV_from_A),
};
// clang-format on

#undef NIBBLES_6_TO_F
#undef NIBBLES_4_TO_F
#undef NIBBLES_8_TO_F

// MOVX @Ri with P2 as the high address byte.
inline constexpr std::array<InstructionHandler, 256> kPagedXramHandlerMap = [] {
    auto map = kHandlerMap;
    map[0xE2] = MOVX_A_PagedRi<0>;
    map[0xE3] = MOVX_A_PagedRi<1>;
    map[0xF2] = MOVX_PagedRi_A<0>;
    map[0xF3] = MOVX_PagedRi_A<1>;
    return map;
}();

}  // namespace opcode_handlers_detail

// The handler of every opcode, with MOVX @Ri paged through P2 or not.
template <bool PagedXram>
inline constexpr const std::array<InstructionHandler, 256>& kHandlersFor =
    PagedXram ? opcode_handlers_detail::kPagedXramHandlerMap : opcode_handlers_detail::kHandlerMap;

}  // namespace tessaly
