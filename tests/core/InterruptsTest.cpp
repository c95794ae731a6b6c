#include <gtest/gtest.h>

#include <ostream>

#include "core/Interrupts.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::MessageRecorder;
using test::NewProcessor;

// A program of NOPs with a RETI at every vector.
std::unique_ptr<Processor> NopsWithVectors() {
    auto p = NewProcessor();
    for (std::uint16_t v : kInterruptVectors) p->ucCodeMemory[v] = 0x32;
    for (std::uint16_t a = 0x100; a < 0x200; ++a) p->ucCodeMemory[a] = 0x00;
    p->usPC = 0x100;
    return p;
}

TEST(InterruptEntry, TimerOverflowIsEnteredAfterTheNextInstruction) {
    auto p = NewProcessor();
    // 0100: NOP (overflows), 0101: NOP, 0102: NOP
    p->usPC = 0x100;
    p->ucCodeMemory[0x0B] = 0x32;
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteDirect(sfr::TH0, 0xFF);
    p->WriteDirect(sfr::TL0, 0xFF);
    p->WriteBit(bit::TR0, 1);
    p->WriteDirect(sfr::IE, 0x82);

    p->ExecuteInstructions(1);  // instruction k: overflow
    EXPECT_EQ(p->usPC, 0x101);
    EXPECT_EQ(p->ReadBit(bit::TF0), 1);
    p->ExecuteInstructions(1);  // instruction k+1, then vectoring
    EXPECT_EQ(p->usPC, 0x000B);
    EXPECT_EQ(p->ReadBit(bit::TF0), 0);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x09);
    EXPECT_EQ(p->ucIntRAM[0x08], 0x02);  // low byte of the resume address first
    EXPECT_EQ(p->ucIntRAM[0x09], 0x01);
    ASSERT_EQ(p->lstInterruptsInProgress.Count(), 1u);
    EXPECT_EQ(p->lstInterruptsInProgress[0], "1");
    EXPECT_EQ(p->ullInstructionsExecuted, 2u);  // vectoring is not an instruction
    EXPECT_EQ(p->ullCyclesExecuted, 2u);

    p->ExecuteInstructions(1);  // RETI
    EXPECT_EQ(p->usPC, 0x102);
    EXPECT_TRUE(p->lstInterruptsInProgress.Empty());
    EXPECT_EQ(p->ucInterruptFlags, 0);
}

TEST(InterruptEntry, EqualPrioritiesEnterTheLowerNumberFirst) {
    auto p = NopsWithVectors();
    p->WriteDirect(sfr::IE, 0x8A);  // EA, ET0, ET1
    p->WriteBit(bit::TF0, 1);
    p->WriteBit(bit::TF1, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x000B);
    p->ExecuteInstructions(1);  // RETI of timer 0; timer 1 chosen at its start waits
    EXPECT_EQ(p->usPC, 0x101);
    p->ExecuteInstructions(1);  // next instruction, then timer 1 is entered
    EXPECT_EQ(p->usPC, 0x001B);
}

TEST(InterruptEntry, LowerNumberPreemptsAtTheSamePriority) {
    auto p = NopsWithVectors();
    p->ucCodeMemory[0x13] = 0x00;  // external 1 routine: NOPs
    p->ucCodeMemory[0x14] = 0x00;
    p->WriteDirect(sfr::IE, 0x85);  // EA, EX0, EX1
    p->WriteBit(bit::IE1, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0013);
    p->WriteBit(bit::IE0, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0003);
    ASSERT_EQ(p->lstInterruptsInProgress.Count(), 2u);
    EXPECT_EQ(p->lstInterruptsInProgress[0], "2");
    EXPECT_EQ(p->lstInterruptsInProgress[1], "0");
}

TEST(InterruptEntry, LowPriorityWaitsForHighPriorityService) {
    auto p = NopsWithVectors();
    p->ucCodeMemory[0x0B] = 0x00;
    p->ucCodeMemory[0x0C] = 0x00;
    p->ucCodeMemory[0x0D] = 0x32;
    p->WriteDirect(sfr::IE, 0x83);  // EA, EX0, ET0
    p->WriteBit(bit::PT0, 1);
    p->WriteBit(bit::TF0, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x000B);
    p->WriteBit(bit::IE0, 1);
    p->ExecuteInstructions(2);  // two NOPs of the timer routine, no preemption
    EXPECT_EQ(p->usPC, 0x000D);
    EXPECT_EQ(p->lstInterruptsInProgress.Count(), 1u);
    p->ExecuteInstructions(1);  // RETI
    EXPECT_EQ(p->usPC, 0x101);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0003);
}

TEST(InterruptEntry, HighPriorityPreemptsLowPriority) {
    auto p = NopsWithVectors();
    p->ucCodeMemory[0x03] = 0x00;
    p->ucCodeMemory[0x04] = 0x00;
    p->WriteDirect(sfr::IE, 0x8B);  // EA, EX0, ET0, ET1
    p->WriteBit(bit::IE0, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0003);
    p->WriteBit(bit::PT1, 1);
    p->WriteBit(bit::TF1, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x001B);
    // A source never preempts itself.
    p->WriteBit(bit::TF1, 1);
    p->ExecuteInstructions(1);  // RETI of timer 1 ...
    EXPECT_EQ(p->usPC, 0x0004);
}

TEST(InterruptEntry, SerialFlagLeftSetReentersAfterReti) {
    auto p = NopsWithVectors();
    p->WriteDirect(sfr::IE, 0x90);  // EA, ES
    p->WriteBit(bit::RI, 1);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0023);
    EXPECT_EQ(p->ReadBit(bit::RI), 1);  // the serial flags are not cleared by vectoring
    p->ExecuteInstructions(1);           // RETI
    EXPECT_EQ(p->usPC, 0x101);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0023);
}

TEST(InterruptEntry, EaClearStillServesABitAlreadyInTheMask) {
    auto p = NopsWithVectors();
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteDirect(sfr::TH0, 0xFF);
    p->WriteDirect(sfr::TL0, 0xFF);
    p->WriteBit(bit::TR0, 1);
    p->WriteBit(bit::ET0, 1);  // EA = 0
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->usPC, 0x000B);

    auto q = NopsWithVectors();
    q->WriteDirect(sfr::TMOD, 0x01);
    q->WriteDirect(sfr::TH0, 0xFF);
    q->WriteDirect(sfr::TL0, 0xFF);
    q->WriteBit(bit::TR0, 1);  // ET0 = 0
    q->ExecuteInstructions(2);
    EXPECT_EQ(q->usPC, 0x102);
    EXPECT_EQ(q->ReadBit(bit::TF0), 1);
}

TEST(InterruptEntry, ScanNeedsEaAndTheEnableBit) {
    auto p = NewProcessor();
    p->WriteBit(bit::TF2, 1);
    p->WriteBit(bit::ET2, 1);
    ScanInterruptRequests(*p);
    EXPECT_EQ(p->ucInterruptFlags, 0);
    p->WriteBit(bit::EA, 1);
    ScanInterruptRequests(*p);
    EXPECT_EQ(p->ucInterruptFlags, 0x20);
    p->ucInterruptFlags = 0;
    p->WriteBit(bit::TF2, 0);
    p->WriteBit(bit::EXF2, 1);
    ScanInterruptRequests(*p);
    EXPECT_EQ(p->ucInterruptFlags, 0x20);
    p->ucInterruptFlags = 0;
    p->WriteBit(bit::ET2, 0);
    p->WriteBit(bit::TI, 1);
    ScanInterruptRequests(*p);
    EXPECT_EQ(p->ucInterruptFlags, 0);
}

TEST(InterruptEntry, VectorsOfAllSources) {
    for (int n = 0; n < 6; ++n) {
        auto p = NewProcessor();
        p->usPC = 0x1234;
        VectorInterrupt(*p, n);
        EXPECT_EQ(p->usPC, kInterruptVectors[n]);
        EXPECT_EQ(p->lstInterruptsInProgress.Last(), std::to_string(n));
    }
    EXPECT_STREQ(InterruptEnableName(0), "EX0");
    EXPECT_STREQ(InterruptEnableName(4), "ES");
    EXPECT_STREQ(InterruptEnableName(5), "ET2");
}

TEST(InterruptEntry, GarbageInProgressEntryNeverCrashes) {
    auto p = NopsWithVectors();
    p->lstInterruptsInProgress.Append("x7");
    p->ucInterruptFlags = 0x01;
    p->iInterruptToService = 9;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x101);
    ReturnFromInterrupt(*p);
    EXPECT_TRUE(p->lstInterruptsInProgress.Empty());
}

struct ForceCase {
    InterruptButton button;
    std::uint8_t flagBit;
    std::uint8_t enableBit;
    std::uint8_t request;
    const char* prompt;
    friend void PrintTo(const ForceCase& c, std::ostream* os) { *os << "button " << static_cast<int>(c.button); }
};

class ForcedInterrupts : public testing::TestWithParam<ForceCase> {};

TEST_P(ForcedInterrupts, PromptsAndRequests) {
    const ForceCase& c = GetParam();
    const std::string global = "Global interrupt is disabled\r\nStill Ignore this and proceed ?";

    // EA and the enable both 0, answer Yes twice: flag and request set.
    {
        auto p = NewProcessor();
        MessageRecorder host;
        EXPECT_TRUE(ForceInterrupt(*p, c.button, host));
        ASSERT_EQ(host.entries.size(), 2u);
        EXPECT_EQ(host.entries[0].text, global);
        EXPECT_EQ(host.entries[0].kind, MessageKind::Warning);
        EXPECT_TRUE(host.entries[0].question);
        EXPECT_EQ(host.entries[1].text, c.prompt);
        EXPECT_EQ(p->ReadBit(c.flagBit), 1);
        EXPECT_EQ(p->ucInterruptFlags, c.request);
    }
    // No to the global prompt: nothing changes.
    {
        auto p = NewProcessor();
        MessageRecorder host;
        host.answers = {false};
        EXPECT_FALSE(ForceInterrupt(*p, c.button, host));
        EXPECT_EQ(host.entries.size(), 1u);
        EXPECT_EQ(p->ReadBit(c.flagBit), 0);
        EXPECT_EQ(p->ucInterruptFlags, 0);
    }
    // EA set, enable clear, answer No: the flag stays set, no request.
    {
        auto p = NewProcessor();
        p->WriteBit(bit::EA, 1);
        MessageRecorder host;
        host.answers = {false};
        EXPECT_FALSE(ForceInterrupt(*p, c.button, host));
        ASSERT_EQ(host.entries.size(), 1u);
        EXPECT_EQ(host.entries[0].text, c.prompt);
        EXPECT_EQ(p->ReadBit(c.flagBit), 1);
        EXPECT_EQ(p->ucInterruptFlags, 0);
    }
    // Everything enabled: no prompt at all.
    {
        auto p = NewProcessor();
        p->WriteBit(bit::EA, 1);
        p->WriteBit(c.enableBit, 1);
        MessageRecorder host;
        EXPECT_TRUE(ForceInterrupt(*p, c.button, host));
        EXPECT_TRUE(host.entries.empty());
        EXPECT_EQ(p->ucInterruptFlags, c.request);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Buttons, ForcedInterrupts, testing::Values(
    ForceCase{InterruptButton::External0, bit::IE0, bit::EX0, 0x01, "External Interrupt 0 is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::Timer0, bit::TF0, bit::ET0, 0x02, "Timer 0 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::External1, bit::IE1, bit::EX1, 0x04, "External Interrupt 1 is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::Timer1, bit::TF1, bit::ET1, 0x08, "Timer 1 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::Receive, bit::RI, bit::ES, 0x10, "Serial Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::Transmit, bit::TI, bit::ES, 0x10, "Serial Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::Timer2, bit::TF2, bit::ET2, 0x20, "Timer 2 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    ForceCase{InterruptButton::Capture, bit::EXF2, bit::ET2, 0x20, "Timer 2 Interrupt is disabled\r\nStill Ignore this and interrupt ?"}));
// clang-format on

TEST(ForcedInterrupts, ForcedTimer2WithEnableClearIsEnteredOnYesOnly) {
    auto no = NopsWithVectors();
    no->WriteBit(bit::EA, 1);
    MessageRecorder refuse;
    refuse.answers = {false};
    ForceInterrupt(*no, InterruptButton::Timer2, refuse);
    no->ExecuteInstructions(2);
    EXPECT_EQ(no->usPC, 0x102);
    EXPECT_EQ(no->ReadBit(bit::TF2), 1);

    auto yes = NopsWithVectors();
    MessageRecorder accept;  // EA = 0 too: Yes to both
    ForceInterrupt(*yes, InterruptButton::Timer2, accept);
    yes->ExecuteInstructions(1);
    EXPECT_EQ(yes->usPC, 0x002B);
}

}  // namespace
}  // namespace tessaly
