#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

struct ElapsedCase {
    std::uint64_t cycles;
    double crystal;
    const char* text;
};

TEST(ElapsedTime, TextFromCyclesAndCrystal) {
    const ElapsedCase cases[] = {
        {3723004005ull, 12e6, "Hour = 1 Min = 2 Sec = 3 mSec = 4 USec = 5"},
        {1000, 11059200.0, "Hour = 0 Min = 0 Sec = 0 mSec = 1 USec = 85"},
        {0, 11059200.0, "Hour = 0 Min = 0 Sec = 0 mSec = 0 USec = 0"},
        {360000000000ull, 12e6, "Hour = 100 Min = 0 Sec = 0 mSec = 0 USec = 0"},
        {1, 24e6, "Hour = 0 Min = 0 Sec = 0 mSec = 0 USec = 0"},
        {3, 24e6, "Hour = 0 Min = 0 Sec = 0 mSec = 0 USec = 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(ElapsedTimeText(c.cycles, c.crystal), c.text) << c.cycles;
}

// At 12 MHz a machine cycle is exactly one microsecond; double precision
// would fall one microsecond short on counts like these.
TEST(ElapsedTime, TwelveMegahertzIsExactlyOneMicrosecondPerCycle) {
    for (std::uint64_t cycles : {1ull, 3ull, 7ull, 49ull, 1000003ull, 123456789ull, 3723004005ull, 9007199254740993ull}) {
        EXPECT_EQ(ElapsedMicroseconds(cycles, 12e6), cycles);
    }
}

TEST(History, AppendsTheLastDecodedTextAndEmptiesPast10000) {
    auto p = NewProcessor();  // code memory of NOPs
    p->strInstruction = std::string_view("NOP\t");
    p->ExecuteInstructions(10001);
    ASSERT_EQ(p->lstExecutedInstructions.Count(), 10001u);
    EXPECT_EQ(p->lstExecutedInstructions[10000], "NOP\t");
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->lstExecutedInstructions.Count(), 1u);
}

TEST(History, FirstLineAfterAResetIsEmpty) {
    auto p = NewProcessor();
    p->ExecuteInstructions(2);
    ASSERT_EQ(p->lstExecutedInstructions.Count(), 2u);
    EXPECT_EQ(p->lstExecutedInstructions[0], "");
    p->strInstruction = std::string_view("INC\tA");
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->lstExecutedInstructions[2], "INC\tA");
    p->strInstruction = std::string_view("DEC\tA");
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->lstExecutedInstructions[3], "DEC\tA");
}

TEST(MessageLimits, ErrorsAreEmptiedPast99999) {
    auto p = NewProcessor();
    for (int i = 0; i < 99998; ++i) p->lstErrors.Append("e");
    LoadCode(*p, 0, {0xA5, 0xA5, 0xA5});
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->lstErrors.Count(), 99999u);  // not more than the limit: kept
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->lstErrors.Count(), 0u);  // 100000 lines: emptied after the instruction
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->lstErrors.Count(), 1u);
}

TEST(MessageLimits, WarningsAreEmptiedPast99999) {
    auto p = NewProcessor();
    for (int i = 0; i < 100000; ++i) p->lstWarnings.Append("w");
    p->ExecuteInstructions(1);
    EXPECT_TRUE(p->lstWarnings.Empty());
}

// A batch on the fast engine empties a list after the very instruction that
// takes it past the limit, as single steps do: the reserved opcode adds an
// error, and a read of SBUF with reception disabled a warning.
TEST(MessageLimits, FastBatchesEmptyTheListsWhereSingleStepsDo) {
    std::size_t counts[2][2];
    for (const bool plain : {false, true}) {
        auto p = NewProcessor();
        p->UsePlainEngine(plain);
        for (int i = 0; i < 99990; ++i) p->lstErrors.Append("e");
        for (int i = 0; i < 99999; ++i) p->lstWarnings.Append("w");
        LoadCode(*p, 0, {0xA5, 0xE5, 0x99, 0x80, 0xFB});  // reserved; MOV A,SBUF; SJMP 0
        p->ExecuteInstructions(40);
        counts[plain][0] = p->lstErrors.Count();
        counts[plain][1] = p->lstWarnings.Count();
    }
    EXPECT_EQ(counts[1][0], 4u);  // emptied at the tenth error
    EXPECT_EQ(counts[1][1], 1u);  // emptied at the first warning, which then comes once in a row
    EXPECT_EQ(counts[0][0], counts[1][0]);
    EXPECT_EQ(counts[0][1], counts[1][1]);
}

TEST(Counters, CountInstructionsCyclesAndBytes) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x02, 0x00, 0x05, 0x00, 0x00, 0xA4, 0x75, 0x30, 0x01});  // LJMP 0005; MUL AB; MOV 30h,#01h
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->ullInstructionsExecuted, 3u);
    EXPECT_EQ(p->ullCyclesExecuted, 2u + 4u + 2u);
    EXPECT_EQ(p->ullBytesExecuted, 3u + 1u + 3u);
}

}  // namespace
}  // namespace tessaly
