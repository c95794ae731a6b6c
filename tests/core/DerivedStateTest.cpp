#include <gtest/gtest.h>

#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

// The timers, the interrupt scan and the serial port keep what they derive
// from their control registers; every way a program writes those registers
// must reach them at the next instruction.

TEST(DerivedState, ProgramStartsAndStopsATimer) {
    auto p = NewProcessor();
    // MOV TMOD,#01h; SETB TR0; NOP; CLR TR0; NOP
    LoadCode(*p, 0, {0x75, 0x89, 0x01, 0xD2, 0x8C, 0x00, 0xC2, 0x8C, 0x00});
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->GetTimer0(), 1);  // SETB TR0 counts its own cycle
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->GetTimer0(), 2);
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->GetTimer0(), 2);
}

TEST(DerivedState, ProgramChangesTheModeOfARunningTimer) {
    auto p = NewProcessor();
    // ORL TCON,#10h; MOV TMOD,#02h; NOP
    LoadCode(*p, 0, {0x43, 0x88, 0x10, 0x75, 0x89, 0x02, 0x00});
    p->WriteDirect(sfr::TL0, 0xFC);
    p->WriteDirect(sfr::TH0, 0x80);
    p->ExecuteInstructions(1);  // mode 0: TL0 keeps 5 bits
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x1E);
    p->ExecuteInstructions(1);  // mode 2
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x20);
}

TEST(DerivedState, GateFollowsPortWrites) {
    auto p = NewProcessor();
    // CLR P3.2; NOP; SETB P3.2; NOP
    LoadCode(*p, 0, {0xC2, 0xB2, 0x00, 0xD2, 0xB2, 0x00});
    p->WriteDirect(sfr::TMOD, 0x09);
    p->WriteBit(bit::TR0, 1);
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->GetTimer0(), 0);
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->GetTimer0(), 2);
}

TEST(DerivedState, EnablingInterruptsServesAPendingFlag) {
    auto p = NewProcessor();
    p->ucCodeMemory[0x0B] = 0x32;
    // SETB TF0 (as a program would); NOP; MOV IE,#82h; NOP
    LoadCode(*p, 0x100, {0xD2, 0x8D, 0x00, 0x75, 0xA8, 0x82, 0x00});
    p->usPC = 0x100;
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->ucInterruptFlags, 0);
    p->ExecuteInstructions(2);  // requested at the NOP after MOV IE, entered after it
    EXPECT_EQ(p->usPC, 0x000B);
}

TEST(DerivedState, RawWritesCountAfterInvalidation) {
    auto p = NewProcessor();
    p->ExecuteInstructions(1);
    // Direct writes into the block, as a snapshot restore does.
    p->ucIntRAM[sfr::TMOD] = 0x01;
    p->ucIntRAM[sfr::TCON] = 0x10;
    p->ucIntRAM[sfr::IE] = 0x82;
    p->ucIntRAM[sfr::TCON] |= 0x20;  // TF0
    p->ucIntRAM[sfr::SCON] = 0x40;
    p->InvalidateDerivedState();
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->GetTimer0(), 1);
    EXPECT_EQ(p->ucInterruptFlags, 0x02);
    EXPECT_EQ(p->iTxBaudRate, -1);
}

TEST(DerivedState, CopiesKeepTheirOwnPlan) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteBit(bit::TR0, 1);
    p->ExecuteInstructions(1);
    auto copy = std::make_unique<Processor>(*p);
    copy->ExecuteInstructions(3);
    EXPECT_EQ(copy->GetTimer0(), 4);
    EXPECT_EQ(p->GetTimer0(), 1);
}

}  // namespace
}  // namespace tessaly
