#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "core/InstructionSet.h"

namespace tessaly {
namespace {

// The MCS-51 instruction set summary (Intel 8051 family user's manual), one
// row per encoding group: opcodes first, first + step, ..., last.
struct TimingGroup {
    std::string_view name;
    int first, last, step;
    int bytes, cycles;
};

constexpr TimingGroup kDatasheet[] = {
    {"NOP", 0x00, 0x00, 1, 1, 1},
    {"AJMP addr11", 0x01, 0xE1, 0x20, 2, 2},
    {"ACALL addr11", 0x11, 0xF1, 0x20, 2, 2},
    {"LJMP addr16", 0x02, 0x02, 1, 3, 2},
    {"LCALL addr16", 0x12, 0x12, 1, 3, 2},
    {"RR/RRC/RL/RLC A", 0x03, 0x33, 0x10, 1, 1},
    {"INC/DEC A", 0x04, 0x14, 0x10, 1, 1},
    {"INC/DEC direct", 0x05, 0x15, 0x10, 2, 1},
    {"INC @Ri, Rn", 0x06, 0x0F, 1, 1, 1},
    {"DEC @Ri, Rn", 0x16, 0x1F, 1, 1, 1},
    {"JBC/JB/JNB bit,rel", 0x10, 0x30, 0x10, 3, 2},
    {"RET/RETI", 0x22, 0x32, 0x10, 1, 2},
    {"ADD/ADDC A,#data", 0x24, 0x34, 0x10, 2, 1},
    {"ADD/ADDC A,direct", 0x25, 0x35, 0x10, 2, 1},
    {"ADD A,@Ri/Rn", 0x26, 0x2F, 1, 1, 1},
    {"ADDC A,@Ri/Rn", 0x36, 0x3F, 1, 1, 1},
    {"JC/JNC/JZ/JNZ/SJMP rel", 0x40, 0x80, 0x10, 2, 2},
    {"ORL/ANL/XRL direct,A", 0x42, 0x62, 0x10, 2, 1},
    {"ORL/ANL/XRL direct,#data", 0x43, 0x63, 0x10, 3, 2},
    {"ORL/ANL/XRL A,#data", 0x44, 0x64, 0x10, 2, 1},
    {"ORL/ANL/XRL A,direct", 0x45, 0x65, 0x10, 2, 1},
    {"ORL A,@Ri/Rn", 0x46, 0x4F, 1, 1, 1},
    {"ANL A,@Ri/Rn", 0x56, 0x5F, 1, 1, 1},
    {"XRL A,@Ri/Rn", 0x66, 0x6F, 1, 1, 1},
    {"ORL/ANL C,bit", 0x72, 0x82, 0x10, 2, 2},
    {"JMP @A+DPTR", 0x73, 0x73, 1, 1, 2},
    {"MOV A,#data", 0x74, 0x74, 1, 2, 1},
    {"MOV direct,#data", 0x75, 0x75, 1, 3, 2},
    {"MOV @Ri/Rn,#data", 0x76, 0x7F, 1, 2, 1},
    {"MOVC A,@A+PC / @A+DPTR", 0x83, 0x93, 0x10, 1, 2},
    {"DIV/MUL AB", 0x84, 0xA4, 0x20, 1, 4},
    {"MOV direct,direct", 0x85, 0x85, 1, 3, 2},
    {"MOV direct,@Ri/Rn", 0x86, 0x8F, 1, 2, 2},
    {"MOV DPTR,#data16", 0x90, 0x90, 1, 3, 2},
    {"MOV bit,C", 0x92, 0x92, 1, 2, 2},
    {"SUBB A,#data/direct", 0x94, 0x95, 1, 2, 1},
    {"SUBB A,@Ri/Rn", 0x96, 0x9F, 1, 1, 1},
    {"ORL/ANL C,/bit", 0xA0, 0xB0, 0x10, 2, 2},
    {"MOV C,bit", 0xA2, 0xA2, 1, 2, 1},
    {"INC DPTR", 0xA3, 0xA3, 1, 1, 2},
    {"reserved", 0xA5, 0xA5, 1, 1, 1},
    {"MOV @Ri/Rn,direct", 0xA6, 0xAF, 1, 2, 2},
    {"CPL/CLR/SETB bit", 0xB2, 0xD2, 0x10, 2, 1},
    {"CPL/CLR/SETB C", 0xB3, 0xD3, 0x10, 1, 1},
    {"CJNE", 0xB4, 0xBF, 1, 3, 2},
    {"PUSH/POP direct", 0xC0, 0xD0, 0x10, 2, 2},
    {"SWAP/DA A", 0xC4, 0xD4, 0x10, 1, 1},
    {"XCH A,direct", 0xC5, 0xC5, 1, 2, 1},
    {"XCH A,@Ri/Rn", 0xC6, 0xCF, 1, 1, 1},
    {"DJNZ direct,rel", 0xD5, 0xD5, 1, 3, 2},
    {"XCHD A,@Ri", 0xD6, 0xD7, 1, 1, 1},
    {"DJNZ Rn,rel", 0xD8, 0xDF, 1, 2, 2},
    {"MOVX A,@DPTR / @DPTR,A", 0xE0, 0xF0, 0x10, 1, 2},
    {"MOVX A,@Ri", 0xE2, 0xE3, 1, 1, 2},
    {"MOVX @Ri,A", 0xF2, 0xF3, 1, 1, 2},
    {"CLR/CPL A", 0xE4, 0xF4, 0x10, 1, 1},
    {"MOV A,direct / direct,A", 0xE5, 0xF5, 0x10, 2, 1},
    {"MOV A,@Ri/Rn", 0xE6, 0xEF, 1, 1, 1},
    {"MOV @Ri/Rn,A", 0xF6, 0xFF, 1, 1, 1},
};

TEST(OpcodeTimings, DatasheetGroupsCoverEveryOpcodeOnce) {
    std::array<int, 256> seen{};
    for (const TimingGroup& g : kDatasheet) {
        for (int op = g.first; op <= g.last; op += g.step) ++seen[static_cast<std::size_t>(op)];
    }
    for (int op = 0; op < 256; ++op) EXPECT_EQ(seen[static_cast<std::size_t>(op)], 1) << "opcode " << std::hex << op;
}

TEST(OpcodeTimings, MatchTheMcs51Datasheet) {
    for (const TimingGroup& g : kDatasheet) {
        for (int op = g.first; op <= g.last; op += g.step) {
            const OpcodeTiming& t = kOpcodeTimings[static_cast<std::size_t>(op)];
            EXPECT_EQ(t.length, g.bytes) << g.name << ", opcode " << std::hex << op;
            EXPECT_EQ(t.cycles, g.cycles) << g.name << ", opcode " << std::hex << op;
        }
    }
}

}  // namespace
}  // namespace tessaly
