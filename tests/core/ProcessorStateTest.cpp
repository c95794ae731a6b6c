#include <gtest/gtest.h>

#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::NewProcessor;

struct SfrValue {
    std::uint8_t address;
    std::uint8_t value;
};

TEST(ProcessorReset, FullResetGivesPowerOnState) {
    auto p = NewProcessor();
    // Dirty everything first, then reset.
    p->ucIntRAM.fill(0x5A);
    p->ucExtRAM.fill(0x5A);
    p->ucCodeMemory.fill(0x5A);
    p->usPC = 0x1234;
    p->iInterruptToService = 3;
    p->iProgramSize = 77;
    p->lstErrors.Append("x");
    p->FullReset();

    const SfrValue expected[] = {{0x80, 0xFF}, {0x81, 0x07}, {0x82, 0}, {0x83, 0}, {0x87, 0}, {0x88, 0}, {0x89, 0},
                                 {0x8A, 0},    {0x8B, 0},    {0x8C, 0}, {0x8D, 0}, {0x90, 0xFF}, {0x98, 0},
                                 {0x99, 0},    {0xA0, 0xFF}, {0xA8, 0}, {0xB0, 0xFF}, {0xB8, 0},  {0xC8, 0},
                                 {0xCA, 0},    {0xCB, 0},    {0xCC, 0}, {0xCD, 0}, {0xD0, 0},    {0xE0, 0},
                                 {0xF0, 0}};
    for (const auto& sfr : expected) EXPECT_EQ(p->ReadDirect(sfr.address), sfr.value) << std::hex << int(sfr.address);
    EXPECT_EQ(p->usPC, 0);
    for (unsigned i = 0; i < 0x80; ++i) ASSERT_EQ(p->ucIntRAM[i], 0) << i;
    for (unsigned i = 0x100; i < 0x180; ++i) ASSERT_EQ(p->ucIntRAM[i], 0) << i;
    for (unsigned i = 0; i < 0x10000; ++i) ASSERT_EQ(p->ucExtRAM[i], 0) << i;
    for (unsigned i = 0; i < Processor::kCodeMemorySize; ++i) ASSERT_EQ(p->ucCodeMemory[i], 0) << i;
    EXPECT_EQ(p->iInterruptToService, -1);
    EXPECT_EQ(p->iProgramSize, 0);
    EXPECT_TRUE(p->lstErrors.Empty());
    EXPECT_TRUE(p->lstWarnings.Empty());
    EXPECT_EQ(p->lstSymbolCatalogue.Count(), 74u);
}

// The reset runs the baud-rate computation last, so with SCON = 00h (mode 0)
// both rates are fosc/12 and no warning is posted.
TEST(ProcessorReset, FullResetLeavesModeZeroBaudRates) {
    auto p = NewProcessor();
    p->SetCrystalFrequency(11059200.0);
    p->FullReset();
    EXPECT_EQ(p->iTxBaudRate, 921600);
    EXPECT_EQ(p->iRxBaudRate, 921600);
    EXPECT_EQ(p->iTxFrameTime, 8);  // trunc(8 / 921600 * 10^6)
    EXPECT_TRUE(p->lstWarnings.Empty());
}

TEST(ProcessorReset, PowerOnValuesTouchOnlyTheSfrsAndPc) {
    auto p = NewProcessor();
    p->ucIntRAM[0x30] = 0x11;
    p->ucIntRAM[0x100 + 0x10] = 0x22;
    p->ucExtRAM[0x4000] = 0x33;
    p->WriteDirect(0xC9, 0x44);  // no SFR lives here
    p->WriteDirect(sfr::SP, 0x60);
    p->WriteDirect(sfr::P1, 0x00);
    p->usPC = 0x0100;
    p->LoadPowerOnResetValues();
    EXPECT_EQ(p->usPC, 0);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);
    EXPECT_EQ(p->ReadDirect(sfr::P1), 0xFF);
    EXPECT_EQ(p->ucIntRAM[0x30], 0x11);
    EXPECT_EQ(p->ucIntRAM[0x110], 0x22);
    EXPECT_EQ(p->ucExtRAM[0x4000], 0x33);
    EXPECT_EQ(p->ReadDirect(0xC9), 0x44);
}

TEST(ProcessorReset, InitialiseOperationsKeepToTheirArea) {
    auto p = NewProcessor();
    p->InitializeIntRAM(0xAA);
    EXPECT_EQ(p->ucIntRAM[0x00], 0xAA);
    EXPECT_EQ(p->ucIntRAM[0x7F], 0xAA);
    EXPECT_EQ(p->ucIntRAM[0x100], 0xAA);
    EXPECT_EQ(p->ucIntRAM[0x17F], 0xAA);
    EXPECT_EQ(p->ucIntRAM[0x180], 0x00);  // spare
    EXPECT_EQ(p->ReadDirect(sfr::P0), 0xFF);  // SFRs untouched
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);

    p->InitializeExtRAM(0x55);
    EXPECT_EQ(p->ucExtRAM[0x0000], 0x55);
    EXPECT_EQ(p->ucExtRAM[0xFFFF], 0x55);
    EXPECT_EQ(p->ucExtRAM[0x10000], 0x00);  // spare

    p->InitializeIntRAM(0);
    p->InitializeBitMemory(1);
    for (unsigned a = 0; a < 0x80; ++a) EXPECT_EQ(p->ucIntRAM[a], (a >= 0x20 && a <= 0x2F) ? 0xFF : 0x00) << a;
    p->InitializeBitMemory(0);
    for (unsigned a = 0x20; a <= 0x2F; ++a) EXPECT_EQ(p->ucIntRAM[a], 0x00);
}

TEST(ProcessorReset, ResetExecutionStateClearsRunStateOnly) {
    auto p = NewProcessor();
    p->ucCodeMemory[0x10] = 0x12;
    p->ucIntRAM[0x40] = 0x99;
    p->usPC = 0x10;
    p->ullInstructionsExecuted = 5;
    p->ullCyclesExecuted = 6;
    p->ullBytesExecuted = 7;
    p->lstExecutedInstructions.Append("MOV\tA,R0");
    p->lstInterruptsInProgress.Append("1");
    p->ucInterruptFlags = 2;
    p->iTxLogPos = 9;
    p->ucTxLog[0] = 0x41;
    p->bTxInProgress = 1;
    p->strInstruction = std::string_view("NOP\t");
    p->ResetExecutionState();
    EXPECT_EQ(p->usPC, 0);
    EXPECT_EQ(p->ullInstructionsExecuted, 0u);
    EXPECT_EQ(p->ullCyclesExecuted, 0u);
    EXPECT_EQ(p->ullBytesExecuted, 0u);
    EXPECT_TRUE(p->lstExecutedInstructions.Empty());
    EXPECT_TRUE(p->lstInterruptsInProgress.Empty());
    EXPECT_EQ(p->ucInterruptFlags, 0);
    EXPECT_EQ(p->iTxLogPos, 0);
    EXPECT_EQ(p->ucTxLog[0], 0);
    EXPECT_EQ(p->bTxInProgress, 0);
    EXPECT_EQ(p->iTxBaudRate, -1);
    EXPECT_TRUE(p->strInstruction.empty());
    EXPECT_EQ(p->ucCodeMemory[0x10], 0x12);
    EXPECT_EQ(p->ucIntRAM[0x40], 0x99);
}

TEST(ProcessorAddressing, StackPastLowerRamContinuesInUpperRam) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::SP, 0x7F);
    p->Push(0xAB);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x80);
    EXPECT_EQ(p->ucIntRAM[0x100], 0xAB);
    EXPECT_EQ(p->ReadDirect(sfr::P0), 0xFF);  // not into P0

    p->WriteDirect(sfr::SP, 0xFF);
    p->Push(0xCD);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x00);
    EXPECT_EQ(p->ucIntRAM[0x00], 0xCD);

    EXPECT_EQ(p->Pop(), 0xCD);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0xFF);
}

TEST(ProcessorAddressing, RegisterBanksFollowPsw) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::PSW, 0x18);
    p->WriteRegister(7, 0x77);
    EXPECT_EQ(p->ucIntRAM[0x1F], 0x77);
    EXPECT_EQ(p->RegisterBankBase(), 24);
    p->WriteDirect(sfr::PSW, 0x08);
    p->WriteRegister(0, 0x88);
    EXPECT_EQ(p->ucIntRAM[0x08], 0x88);
    p->WriteRegister(9, 0x99);  // above 7 selects R0
    EXPECT_EQ(p->ucIntRAM[0x08], 0x99);
}

TEST(ProcessorAddressing, BitAddressesMapToBytesAndMasks) {
    auto p = NewProcessor();
    struct Case {
        std::uint8_t bit, address, mask;
    };
    const Case cases[] = {{0x00, 0x20, 0x01}, {0x07, 0x20, 0x80}, {0x08, 0x21, 0x01}, {0x7F, 0x2F, 0x80},
                          {0xD7, 0xD0, 0x80}, {0xE3, 0xE0, 0x08}, {0x8D, 0x88, 0x20}, {0xAF, 0xA8, 0x80}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.bit));
        p->InitializeIntRAM(0);
        const std::uint8_t before = p->ReadDirect(c.address);
        p->WriteBit(c.bit, 5);  // any non-zero sets
        EXPECT_EQ(p->ReadDirect(c.address), before | c.mask);
        EXPECT_EQ(p->ReadBit(c.bit), 1);
        p->WriteBit(c.bit, 0);
        EXPECT_EQ(p->ReadDirect(c.address), before & ~c.mask);
        EXPECT_EQ(p->ReadBit(c.bit), 0);
    }
}

TEST(ProcessorAddressing, IndirectAbove7FReachesUpperRamNotSfrs) {
    auto p = NewProcessor();
    p->ucIntRAM[0x100 + 0x10] = 0x42;  // upper RAM 90h
    EXPECT_EQ(p->ReadIndirect(0x90), 0x42);
    EXPECT_EQ(p->ReadDirect(0x90), 0xFF);  // P1
    p->WriteIndirect(0x20, 0x13);
    EXPECT_EQ(p->ReadDirect(0x20), 0x13);
}

TEST(ProcessorAddressing, DptrIncrementCarriesAndWraps) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::DPL, 0xFF);
    p->WriteDirect(sfr::DPH, 0x12);
    p->IncrementDPTR();
    EXPECT_EQ(p->GetDPTR(), 0x1300);
    p->WriteDirect(sfr::DPL, 0xFF);
    p->WriteDirect(sfr::DPH, 0xFF);
    p->IncrementDPTR();
    EXPECT_EQ(p->GetDPTR(), 0x0000);
}

TEST(ProcessorAddressing, SixteenBitPairsAreHighByteFirst) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TH0, 0x12);
    p->WriteDirect(sfr::TL0, 0x34);
    p->WriteDirect(sfr::TH1, 0x56);
    p->WriteDirect(sfr::TL1, 0x78);
    p->WriteDirect(sfr::TH2, 0x9A);
    p->WriteDirect(sfr::TL2, 0xBC);
    p->WriteDirect(sfr::RCAP2H, 0xDE);
    p->WriteDirect(sfr::RCAP2L, 0xF0);
    EXPECT_EQ(p->GetTimer0(), 0x1234);
    EXPECT_EQ(p->GetTimer1(), 0x5678);
    EXPECT_EQ(p->GetTimer2(), 0x9ABC);
    EXPECT_EQ(p->GetRCAP2(), 0xDEF0);
}

TEST(ProcessorTables, ParityTable) {
    auto p = NewProcessor();
    EXPECT_EQ(p->ucParity[0x00], 0);
    EXPECT_EQ(p->ucParity[0x01], 1);
    EXPECT_EQ(p->ucParity[0x03], 0);
    EXPECT_EQ(p->ucParity[0x80], 1);
    EXPECT_EQ(p->ucParity[0xFF], 0);
    EXPECT_EQ(p->ucParity[0xFE], 1);
}

}  // namespace
}  // namespace tessaly
