#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DecoderTestSupport.h"
#include "core/ExecutionStatus.h"
#include "core/InstructionSet.h"

namespace tessaly {
namespace {

using testing::DecoderBench;

TEST(DecoderFields, OpcodeBytesTextHasOneUpperCasePairPerInstructionByte) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* hex;
    };
    const Case cases[] = {
        {{0xE4, 0xAB, 0xCD}, "E4"},
        {{0x80, 0xFE, 0x77}, "80 FE"},
        {{0x02, 0x00, 0x30}, "02 00 30"},
        {{0x12, 0xAB, 0xCD}, "12 AB CD"},
        {{0xA5, 0x0A, 0x0B}, "A5"},
    };
    DecoderBench bench;
    for (const Case& c : cases) {
        bench.Decode(0x0400, c.bytes);
        EXPECT_EQ(bench.p->strOpcodeBytes, c.hex);
    }
}

TEST(DecoderFields, AlwaysReadsThreeBytesWhateverTheLength) {
    DecoderBench bench;
    bench.Decode(0x1000, {0x00, 0x5A, 0xC3});
    EXPECT_EQ(bench.p->ucOpcode, 0x00);
    EXPECT_EQ(bench.p->ucOperand1, 0x5A);
    EXPECT_EQ(bench.p->ucOperand2, 0xC3);
    EXPECT_EQ(bench.p->ucInstructionLength, 1);
}

TEST(DecoderFields, LengthCyclesAndBytesFollowTheTimingTableForEveryOpcode) {
    DecoderBench bench;
    for (int op = 0; op < 256; ++op) {
        bench.Decode(0x2000, {static_cast<std::uint8_t>(op), 0x11, 0x22});
        const OpcodeTiming& t = kOpcodeTimings[static_cast<std::size_t>(op)];
        EXPECT_EQ(bench.p->ucInstructionLength, t.length) << std::hex << op;
        EXPECT_EQ(bench.p->ucInstructionCycles, t.cycles) << std::hex << op;
        EXPECT_EQ(bench.p->strOpcodeBytes.size(), t.length * 3u - 1u) << std::hex << op;
    }
}

TEST(DecoderFields, LeavesThePcAloneAndTheStatusAtDecoding) {
    for (std::uint8_t startStatus : {kStatusReset, kStatusExecuting}) {
        DecoderBench bench;
        bench.p->ucExecutionStatus = startStatus;
        // Jumps of every computed kind: relative, 11-bit and long.
        for (std::vector<std::uint8_t> bytes : {std::vector<std::uint8_t>{0x80, 0x10}, {0xB4, 0x01, 0xF0}, {0x11, 0x00},
                                                {0x21, 0x40}, {0x12, 0x00, 0x00}}) {
            bench.Decode(0x3456, bytes);
            EXPECT_EQ(bench.p->usPC, 0x3456);
            EXPECT_EQ(bench.p->ucExecutionStatus, kStatusDecoding);
        }
        // A jump routine entered in the wrong mode would have reported it.
        EXPECT_EQ(bench.p->lstErrors.Count(), 0u);
        // Decoding ACALL must not push a return address.
        EXPECT_EQ(bench.p->ucIntRAM[0x81], 0x07);
    }
}

TEST(DecoderFields, OperandsPastTheTopOfCodeMemoryComeFromTheGuardBytes) {
    DecoderBench bench;
    // Bytes at 0000 would give a different text if the read wrapped.
    bench.p->ucCodeMemory[0x0000] = 0x12;
    bench.p->ucCodeMemory[0x0001] = 0x34;
    EXPECT_EQ(bench.Decode(0xFFFF, {0x02}), "LJMP\t00000H");
    EXPECT_EQ(bench.p->ucOperand1, 0x00);
    EXPECT_EQ(bench.p->ucOperand2, 0x00);
    EXPECT_EQ(bench.p->strOpcodeBytes, "02 00 00");
    EXPECT_EQ(bench.Decode(0xFFFE, {0x75, 0x81}), "MOV\tSP,#000H");
}

TEST(DecoderFields, RelativeTargetWrapsPastTheTopOfMemory) {
    DecoderBench bench;
    EXPECT_EQ(bench.Decode(0xFFFE, {0x40, 0x05}), "JC\t00005H");
    EXPECT_EQ(bench.Decode(0x0000, {0x80, 0xFD}), "SJMP\t0FFFFH");
}

TEST(DecoderFields, AbsoluteJumpPageComesFromTheFollowingInstruction) {
    DecoderBench bench;
    EXPECT_EQ(bench.Decode(0x07FE, {0x41, 0x23}), "AJMP\t00A23H");
    EXPECT_EQ(bench.Decode(0x07FD, {0x41, 0x23}), "AJMP\t00223H");
    EXPECT_EQ(bench.Decode(0xFFFE, {0xF1, 0xFF}), "ACALL\t007FFH");
}

TEST(DecoderFields, ReservedOpcodeReportsAnErrorOnEveryDecode) {
    DecoderBench bench;
    bench.Decode(0x0500, {0xA5});
    bench.Decode(0x0500, {0xA5});
    ASSERT_EQ(bench.p->lstErrors.Count(), 2u);
    EXPECT_EQ(bench.p->lstErrors[0], "Reserved Opcode encountered");
    EXPECT_EQ(bench.p->lstErrors[1], "Reserved Opcode encountered");
    EXPECT_EQ(bench.p->strInstruction.str(), "Reserved Opcode");
    EXPECT_EQ(bench.p->ucInstructionLength, 1);
    EXPECT_EQ(bench.p->ucInstructionCycles, 1);
}

TEST(DecoderFields, OnlyTheReservedOpcodeReportsAnError) {
    DecoderBench bench;
    for (int op = 0; op < 256; ++op) {
        if (op != kReservedOpcode) bench.Decode(0x0600, {static_cast<std::uint8_t>(op), 0x00, 0x00});
    }
    EXPECT_EQ(bench.p->lstErrors.Count(), 0u);
}

}  // namespace
}  // namespace tessaly
