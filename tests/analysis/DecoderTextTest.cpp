#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "DecoderTestSupport.h"

namespace tessaly {
namespace {

using testing::DecoderBench;

struct TextCase {
    std::uint16_t pc;
    std::vector<std::uint8_t> bytes;
    const char* text;
};

// At least one row per encoding group, with every fixed register operand.
const TextCase kFamilies[] = {
    {0x0100, {0x00}, "NOP\t"},
    {0x0100, {0x01, 0x23}, "AJMP\t00023H"},
    {0x0100, {0xE1, 0xFF}, "AJMP\t007FFH"},
    {0x1234, {0xF1, 0x00}, "ACALL\t01700H"},
    {0x2000, {0x71, 0x10}, "ACALL\t02310H"},
    {0x0100, {0x02, 0x12, 0x34}, "LJMP\t01234H"},
    {0x0100, {0x12, 0xAB, 0xCD}, "LCALL\t0ABCDH"},
    {0x0100, {0x03}, "RR\tA"},
    {0x0100, {0x13}, "RRC\tA"},
    {0x0100, {0x23}, "RL\tA"},
    {0x0100, {0x33}, "RLC\tA"},
    {0x0100, {0x04}, "INC\tA"},
    {0x0100, {0x05, 0x81}, "INC\tSP"},
    {0x0100, {0x14}, "DEC\tA"},
    {0x0100, {0x15, 0x2F}, "DEC\t02FH"},
    {0x0100, {0x10, 0xD7, 0x05}, "JBC\t0D7H,00108H"},
    {0x0100, {0x20, 0x00, 0xFD}, "JB\t000H,00100H"},
    {0x0200, {0x30, 0x7F, 0x80}, "JNB\t07FH,00183H"},
    {0x0100, {0x22}, "RET\t"},
    {0x0100, {0x32}, "RETI\t"},
    {0x0100, {0x24, 0x0F}, "ADD\tA,#00FH"},
    {0x0100, {0x25, 0xE0}, "ADD\tA,ACC"},
    {0x0100, {0x34, 0xFF}, "ADDC\tA,#0FFH"},
    {0x0100, {0x35, 0x22}, "ADDC\tA,022H"},
    {0x0100, {0x40, 0x10}, "JC\t00112H"},
    {0x0100, {0x50, 0xF0}, "JNC\t000F2H"},
    {0x0300, {0x60, 0x00}, "JZ\t00302H"},
    {0x0000, {0x70, 0x7F}, "JNZ\t00081H"},
    {0x0100, {0x42, 0x90}, "ORL\tP1,A"},
    {0x0100, {0x43, 0xA0, 0x0F}, "ORL\tP2,#00FH"},
    {0x0100, {0x44, 0x01}, "ORL\tA,#001H"},
    {0x0100, {0x45, 0x7F}, "ORL\tA,07FH"},
    {0x0100, {0x52, 0xD0}, "ANL\tPSW,A"},
    {0x0100, {0x53, 0xA8, 0x7F}, "ANL\tIE,#07FH"},
    {0x0100, {0x54, 0xF0}, "ANL\tA,#0F0H"},
    {0x0100, {0x55, 0xF0}, "ANL\tA,B"},
    {0x0100, {0x62, 0x20}, "XRL\t020H,A"},
    {0x0100, {0x63, 0xB0, 0xFF}, "XRL\tP3,#0FFH"},
    {0x0100, {0x64, 0xAA}, "XRL\tA,#0AAH"},
    {0x0100, {0x65, 0xB8}, "XRL\tA,IP"},
    {0x0100, {0x72, 0xD5}, "ORL\tC,0D5H"},
    {0x0100, {0x82, 0x00}, "ANL\tC,000H"},
    {0x0100, {0xB0, 0x9A}, "ANL\tC,/09AH"},
    {0x0100, {0x73}, "JMP\t@A+DPTR"},
    {0x0100, {0x74, 0x41}, "MOV\tA,#041H"},
    {0x0100, {0x76, 0x12}, "MOV\t@R0,#012H"},
    {0x0100, {0x7F, 0x80}, "MOV\tR7,#080H"},
    {0x0100, {0x83}, "MOVC\tA,@A+PC"},
    {0x0100, {0x93}, "MOVC\tA,@A+DPTR"},
    {0x0100, {0x84}, "DIV\tAB"},
    {0x0100, {0xA4}, "MUL\tAB"},
    {0x0100, {0x85, 0xE0, 0xF0}, "MOV\tB,ACC"},
    {0x0100, {0x86, 0x99}, "MOV\tSBUF,@R0"},
    {0x0100, {0x8F, 0x8D}, "MOV\tTH1,R7"},
    {0x0100, {0x92, 0x97}, "MOV\t097H,C"},
    {0x0100, {0xA2, 0xD7}, "MOV\tC,0D7H"},
    {0x0100, {0x94, 0x01}, "SUBB\tA,#001H"},
    {0x0100, {0x95, 0x83}, "SUBB\tA,DPH"},
    {0x0100, {0xA3}, "INC\tDPTR"},
    {0x0100, {0xA6, 0x87}, "MOV\t@R0,PCON"},
    {0x0100, {0xAA, 0xCA}, "MOV\tR2,RCAP2L"},
    {0x0100, {0xB2, 0xAF}, "CPL\t0AFH"},
    {0x0100, {0xC2, 0x8C}, "CLR\t08CH"},
    {0x0100, {0xD2, 0xE0}, "SETB\t0E0H"},
    {0x0100, {0xB3}, "CPL\tC"},
    {0x0100, {0xC3}, "CLR\tC"},
    {0x0100, {0xD3}, "SETB\tC"},
    {0x0300, {0xB5, 0xCB, 0xFD}, "CJNE\tA,RCAP2H,00300H"},
    {0x0000, {0xB7, 0x10, 0x00}, "CJNE\t@R1,#010H,00003H"},
    {0x0100, {0xBA, 0x00, 0x7F}, "CJNE\tR2,#000H,00182H"},
    {0x0100, {0xC0, 0xE0}, "PUSH\tACC"},
    {0x0100, {0xD0, 0xD0}, "POP\tPSW"},
    {0x0100, {0xC4}, "SWAP\tA"},
    {0x0100, {0xD4}, "DA\tA"},
    {0x0100, {0xC5, 0xCC}, "XCH\tA,TL2"},
    {0x0100, {0xD5, 0xCD, 0xFE}, "DJNZ\tTH2,00101H"},
    {0x0100, {0xD8, 0xFE}, "DJNZ\tR0,00100H"},
    {0x0100, {0xD7}, "XCHD\tA,@R1"},
    {0x0100, {0xE0}, "MOVX\tA,@DPTR"},
    {0x0100, {0xE2}, "MOVX\tA,@R0"},
    {0x0100, {0xF0}, "MOVX\t@DPTR,A"},
    {0x0100, {0xF3}, "MOVX\t@R1,A"},
    {0x0100, {0xE4}, "CLR\tA"},
    {0x0100, {0xF4}, "CPL\tA"},
    {0x0100, {0xE5, 0x98}, "MOV\tA,SCON"},
    {0x0100, {0xF5, 0x88}, "MOV\tTCON,A"},
    {0x0100, {0xF5, 0x89}, "MOV\tTMOD,A"},
    {0x0100, {0xE5, 0x8A}, "MOV\tA,TL0"},
    {0x0100, {0xE5, 0x8B}, "MOV\tA,TL1"},
    {0x0100, {0xE5, 0x8C}, "MOV\tA,TH0"},
    {0x0100, {0xE5, 0x82}, "MOV\tA,DPL"},
    {0x0100, {0xE5, 0x80}, "MOV\tA,P0"},
    {0x0100, {0xE5, 0xC8}, "MOV\tA,T2CON"},
    {0x0100, {0xA5}, "Reserved Opcode"},
};

// The worked examples of the instruction text format.
const TextCase kExamples[] = {
    {0x0000, {0x02, 0x00, 0x30}, "LJMP\t00030H"},
    {0x0000, {0x75, 0x81, 0x5F}, "MOV\tSP,#05FH"},
    {0x0000, {0x85, 0x30, 0x40}, "MOV\t040H,030H"},
    {0x0000, {0x90, 0x12, 0x34}, "MOV\tDPTR,#01234H"},
    {0x0000, {0xD2, 0xAF}, "SETB\t0AFH"},
    {0x0000, {0xA0, 0x90}, "ORL\tC,/090H"},
    {0x0100, {0x80, 0xFE}, "SJMP\t00100H"},
    {0x0200, {0xB4, 0x0D, 0x03}, "CJNE\tA,#00DH,00206H"},
    {0x07FE, {0x41, 0x23}, "AJMP\t00A23H"},
};

void ExpectTexts(const TextCase* begin, const TextCase* end) {
    DecoderBench bench;
    for (const TextCase* c = begin; c != end; ++c) {
        EXPECT_EQ(bench.Decode(c->pc, c->bytes), c->text) << "first byte " << std::hex << int{c->bytes[0]};
    }
}

TEST(DecoderText, OneInstructionOfEveryFamily) { ExpectTexts(std::begin(kFamilies), std::end(kFamilies)); }

TEST(DecoderText, WorkedExamples) { ExpectTexts(std::begin(kExamples), std::end(kExamples)); }

// The register number comes from the low bits of the opcode in every family.
struct RegisterFamily {
    std::uint8_t first;
    int count;  // 8 for Rn, 2 for @Ri
    const char* format;
    std::vector<std::uint8_t> operands;
};

const RegisterFamily kRegisterFamilies[] = {
    {0x06, 2, "INC\t@R%d", {}},           {0x08, 8, "INC\tR%d", {}},
    {0x16, 2, "DEC\t@R%d", {}},           {0x18, 8, "DEC\tR%d", {}},
    {0x26, 2, "ADD\tA,@R%d", {}},         {0x28, 8, "ADD\tA,R%d", {}},
    {0x36, 2, "ADDC\tA,@R%d", {}},        {0x38, 8, "ADDC\tA,R%d", {}},
    {0x46, 2, "ORL\tA,@R%d", {}},         {0x48, 8, "ORL\tA,R%d", {}},
    {0x56, 2, "ANL\tA,@R%d", {}},         {0x58, 8, "ANL\tA,R%d", {}},
    {0x66, 2, "XRL\tA,@R%d", {}},         {0x68, 8, "XRL\tA,R%d", {}},
    {0x76, 2, "MOV\t@R%d,#033H", {0x33}}, {0x78, 8, "MOV\tR%d,#033H", {0x33}},
    {0x86, 2, "MOV\t033H,@R%d", {0x33}},  {0x88, 8, "MOV\t033H,R%d", {0x33}},
    {0x96, 2, "SUBB\tA,@R%d", {}},        {0x98, 8, "SUBB\tA,R%d", {}},
    {0xA6, 2, "MOV\t@R%d,033H", {0x33}},  {0xA8, 8, "MOV\tR%d,033H", {0x33}},
    {0xB6, 2, "CJNE\t@R%d,#033H,00105H", {0x33, 0x02}},
    {0xB8, 8, "CJNE\tR%d,#033H,00105H", {0x33, 0x02}},
    {0xC6, 2, "XCH\tA,@R%d", {}},         {0xC8, 8, "XCH\tA,R%d", {}},
    {0xD6, 2, "XCHD\tA,@R%d", {}},        {0xD8, 8, "DJNZ\tR%d,00133H", {0x31}},
    {0xE2, 2, "MOVX\tA,@R%d", {}},        {0xF2, 2, "MOVX\t@R%d,A", {}},
    {0xE6, 2, "MOV\tA,@R%d", {}},         {0xE8, 8, "MOV\tA,R%d", {}},
    {0xF6, 2, "MOV\t@R%d,A", {}},         {0xF8, 8, "MOV\tR%d,A", {}},
};

TEST(DecoderText, RegisterNumberFromOpcodeInEveryFamily) {
    DecoderBench bench;
    for (const RegisterFamily& f : kRegisterFamilies) {
        for (int n = 0; n < f.count; ++n) {
            std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(f.first + n)};
            bytes.insert(bytes.end(), f.operands.begin(), f.operands.end());
            char expected[40];
            std::snprintf(expected, sizeof expected, f.format, n);
            EXPECT_EQ(bench.Decode(0x0100, bytes), expected);
        }
    }
}

}  // namespace
}  // namespace tessaly
