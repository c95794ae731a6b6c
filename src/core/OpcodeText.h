#pragma once

#include <array>
#include <string_view>

namespace tessaly {

// How the decoder writes one opcode: the mnemonic and an operand pattern.
//
// The pattern is a comma-separated list of tokens; each token that is not one
// of the following is copied as it stands (A, C, AB, DPTR, @DPTR, @A+DPTR, ...):
//   Rn, @Ri        register from the opcode's low three bits / low bit
//   dir1, dir2     direct address in operand byte 1 / 2
//   #1, #2         immediate byte in operand byte 1 / 2
//   #16            immediate word, operand byte 1 high, byte 2 low
//   bit1, /bit1    bit address in operand byte 1, plain / complemented
//   addr16         long code address, operand byte 1 high, byte 2 low
//   addr11         AJMP/ACALL target within the 2 KB page
//   rel            relative target from the instruction's last byte
struct OpcodeText {
    std::string_view mnemonic;
    std::string_view operands;
};

namespace opcode_text_detail {
constexpr OpcodeText T(std::string_view mnemonic, std::string_view operands) { return {mnemonic, operands}; }
}  // namespace opcode_text_detail

#define X2(e) e, e
#define X8(e) e, e, e, e, e, e, e, e
// Columns 4-F of the arithmetic and logic rows: the source is #data, direct,
// @R0/@R1 or R0-R7, chosen by the low nibble.
#define SOURCE_COLUMNS(m) T(m, "A,#1"), T(m, "A,dir1"), X2(T(m, "A,@Ri")), X8(T(m, "A,Rn"))

// Indexed by opcode. The reserved opcode A5 has an empty mnemonic.
// clang-format off
inline constexpr std::array<OpcodeText, 256> kOpcodeTexts = [] {
    using opcode_text_detail::T;
    return std::array<OpcodeText, 256>{
/* 0x */ T("NOP", ""),             T("AJMP", "addr11"),  T("LJMP", "addr16"),  T("RR", "A"),
         T("INC", "A"),            T("INC", "dir1"),     X2(T("INC", "@Ri")),  X8(T("INC", "Rn")),
/* 1x */ T("JBC", "bit1,rel"),     T("ACALL", "addr11"), T("LCALL", "addr16"), T("RRC", "A"),
         T("DEC", "A"),            T("DEC", "dir1"),     X2(T("DEC", "@Ri")),  X8(T("DEC", "Rn")),
/* 2x */ T("JB", "bit1,rel"),      T("AJMP", "addr11"),  T("RET", ""),         T("RL", "A"),
         SOURCE_COLUMNS("ADD"),
/* 3x */ T("JNB", "bit1,rel"),     T("ACALL", "addr11"), T("RETI", ""),        T("RLC", "A"),
         SOURCE_COLUMNS("ADDC"),
/* 4x */ T("JC", "rel"),           T("AJMP", "addr11"),  T("ORL", "dir1,A"),   T("ORL", "dir1,#2"),
         SOURCE_COLUMNS("ORL"),
/* 5x */ T("JNC", "rel"),          T("ACALL", "addr11"), T("ANL", "dir1,A"),   T("ANL", "dir1,#2"),
         SOURCE_COLUMNS("ANL"),
/* 6x */ T("JZ", "rel"),           T("AJMP", "addr11"),  T("XRL", "dir1,A"),   T("XRL", "dir1,#2"),
         SOURCE_COLUMNS("XRL"),
/* 7x */ T("JNZ", "rel"),          T("ACALL", "addr11"), T("ORL", "C,bit1"),   T("JMP", "@A+DPTR"),
         T("MOV", "A,#1"),         T("MOV", "dir1,#2"),  X2(T("MOV", "@Ri,#1")), X8(T("MOV", "Rn,#1")),
         // MOV direct,direct is encoded source first, destination second.
/* 8x */ T("SJMP", "rel"),         T("AJMP", "addr11"),  T("ANL", "C,bit1"),   T("MOVC", "A,@A+PC"),
         T("DIV", "AB"),           T("MOV", "dir2,dir1"), X2(T("MOV", "dir1,@Ri")), X8(T("MOV", "dir1,Rn")),
/* 9x */ T("MOV", "DPTR,#16"),     T("ACALL", "addr11"), T("MOV", "bit1,C"),   T("MOVC", "A,@A+DPTR"),
         SOURCE_COLUMNS("SUBB"),
/* Ax */ T("ORL", "C,/bit1"),      T("AJMP", "addr11"),  T("MOV", "C,bit1"),   T("INC", "DPTR"),
         T("MUL", "AB"),           T("", ""),            X2(T("MOV", "@Ri,dir1")), X8(T("MOV", "Rn,dir1")),
/* Bx */ T("ANL", "C,/bit1"),      T("ACALL", "addr11"), T("CPL", "bit1"),     T("CPL", "C"),
         T("CJNE", "A,#1,rel"),    T("CJNE", "A,dir1,rel"), X2(T("CJNE", "@Ri,#1,rel")), X8(T("CJNE", "Rn,#1,rel")),
/* Cx */ T("PUSH", "dir1"),        T("AJMP", "addr11"),  T("CLR", "bit1"),     T("CLR", "C"),
         T("SWAP", "A"),           T("XCH", "A,dir1"),   X2(T("XCH", "A,@Ri")), X8(T("XCH", "A,Rn")),
/* Dx */ T("POP", "dir1"),         T("ACALL", "addr11"), T("SETB", "bit1"),    T("SETB", "C"),
         T("DA", "A"),             T("DJNZ", "dir1,rel"), X2(T("XCHD", "A,@Ri")), X8(T("DJNZ", "Rn,rel")),
/* Ex */ T("MOVX", "A,@DPTR"),     T("AJMP", "addr11"),  X2(T("MOVX", "A,@Ri")),
         T("CLR", "A"),            T("MOV", "A,dir1"),   X2(T("MOV", "A,@Ri")), X8(T("MOV", "A,Rn")),
/* Fx */ T("MOVX", "@DPTR,A"),     T("ACALL", "addr11"), X2(T("MOVX", "@Ri,A")),
         T("CPL", "A"),            T("MOV", "dir1,A"),   X2(T("MOV", "@Ri,A")), X8(T("MOV", "Rn,A")),
    };
}();
// clang-format on

// A short row would leave zero entries at the end of the map: only A5 may be empty.
static_assert([] {
    int empty = 0;
    for (const OpcodeText& entry : kOpcodeTexts) empty += entry.mnemonic.empty() ? 1 : 0;
    return empty == 1 && kOpcodeTexts[0xA5].mnemonic.empty();
}());

#undef SOURCE_COLUMNS
#undef X8
#undef X2

}  // namespace tessaly
