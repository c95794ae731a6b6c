#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "control/Location.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

// Catalogue indexes used below.
constexpr std::uint16_t kACC = 0, kPSW = 2, kP0 = 5, kSP = 9, kPCON = 10, kTCON = 11, kTMOD = 12, kSCON = 13,
                        kSBUF = 14, kT2CON = 15, kDPTR = 16, kT0 = 17, kT1 = 18, kRCAP2 = 20, kPC = 21, kIT0 = 22,
                        kTR1 = 28, kCY = 73;

constexpr Location Reg(std::uint16_t index) { return {LocationKind::SfrRegister, index}; }
constexpr Location Bit(std::uint16_t index) { return {LocationKind::SfrBit, index}; }

TEST(Location, ReadsTheSpaceEachKindNames) {
    auto p = NewProcessor();
    p->WriteIndirect(0x80, 0x11);  // upper RAM 80h
    p->WriteDirect(0x80, 0x22);    // P0
    p->WriteDirect(0xD0, 0x80);    // CY
    p->usPC = 0x4321;
    const struct {
        Location at;
        int width;
        std::uint16_t value;
    } cases[] = {
        {{LocationKind::InternalRAM, 0x80}, 8, 0x11}, {Reg(kP0), 8, 0x22}, {Reg(kPC), 16, 0x4321},
        {{LocationKind::BitMemory, 0xD7}, 1, 1},  // past 7Fh: the SFR bit CY
        // Keys that name nothing: a bit record as a register, a register
        // record as a bit, past the catalogue, past the internal RAM.
        {Reg(kIT0), 0, 0}, {Bit(kACC), 0, 0}, {Reg(74), 0, 0}, {{LocationKind::InternalRAM, 0x100}, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LocationWidth(*p, c.at), c.width) << static_cast<int>(c.at.kind) << "/" << c.at.key;
        EXPECT_EQ(ReadLocation(*p, c.at), c.value) << static_cast<int>(c.at.kind) << "/" << c.at.key;
    }
}

TEST(Location, WritesStoreWhereTheWriteDialogDoesAndNowhereElse) {
    auto p = NewProcessor();
    Workspace w;
    auto intRAM = p->ucIntRAM;
    auto extRAM = p->ucExtRAM;
    EXPECT_TRUE(WriteLocation(*p, w, Reg(kDPTR), 0x1234));
    EXPECT_TRUE(WriteLocation(*p, w, Reg(kT0), 0xABCD));
    EXPECT_TRUE(WriteLocation(*p, w, {LocationKind::InternalRAM, 0x80}, 0x1A5));
    EXPECT_TRUE(WriteLocation(*p, w, Bit(kCY), 2));
    EXPECT_TRUE(WriteLocation(*p, w, Reg(kSBUF), 0x41));
    EXPECT_TRUE(WriteLocation(*p, w, {LocationKind::ExternalRAM, 0xBEEF}, 0x99));
    EXPECT_FALSE(WriteLocation(*p, w, Reg(kIT0), 0xFF));
    intRAM[0x83] = 0x12;   // DPH
    intRAM[0x82] = 0x34;   // DPL
    intRAM[0x8C] = 0xAB;   // TH0
    intRAM[0x8A] = 0xCD;   // TL0; TL1 at 8Bh untouched
    intRAM[0x100] = 0xA5;  // upper RAM 80h, not P0
    intRAM[0xD0] |= 0x80;  // CY
    intRAM[0x99] = 0x41;   // SBUF, a plain byte: nothing transmitted
    extRAM[0xBEEF] = 0x99;
    EXPECT_TRUE(p->ucIntRAM == intRAM);
    EXPECT_TRUE(p->ucExtRAM == extRAM);
    EXPECT_EQ(p->bExtRAMWritten, 1);
    EXPECT_EQ(p->iExtRAMWriteAddress, 0xBEEF);
    EXPECT_EQ(p->iTxLogPos, 0);
}

TEST(Location, ProgramCounterWriteDecodesTheInstructionThere) {
    auto p = NewProcessor();
    Workspace w;
    LoadCode(*p, 0x0100, {0x74, 0x55});  // MOV A,#55h
    EXPECT_TRUE(WriteLocation(*p, w, Reg(kPC), 0x0100));
    EXPECT_EQ(p->strOpcodeBytes, "74 55");
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(0xE0), 0x55);
    EXPECT_EQ(p->usPC, 0x0102);
}

// A dialog's write of a control register must leave the engine as the same
// change made by an instruction does: the timer set-up and serial rates it
// derived before the write have to be derived again.
TEST(Location, ControlRegisterWritesReachTheEngine) {
    struct Write {
        Location at;
        std::uint16_t value;
    };
    const struct {
        const char* what;
        std::vector<Write> writes;
        std::vector<std::uint8_t> sameByInstructions;
        // The last instruction already runs under the new setting.
        std::uint32_t lastInstructionCycles;
        int rate;
        std::uint16_t timer0;
    } cases[] = {
        {"timer 0 in mode 1", {{Reg(kTMOD), 0x01}, {Reg(kTCON), 0x10}},
         {0x75, 0x89, 0x01, 0x75, 0x88, 0x10}, 2, 921600, 22},  // serial mode 0: crystal / 12
        {"serial mode 1 on timer 1, SMOD", {{Reg(kSCON), 0x50}, {Reg(kTMOD), 0x20}, {Reg(kT1), 0xFDFD},
                                            {Reg(kPCON), 0x80}, {Bit(kTR1), 1}},
         {0x75, 0x98, 0x50, 0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0x75, 0x8B, 0xFD, 0x75, 0x87, 0x80, 0xD2, 0x8E},
         1, 19200, 0},
        {"serial mode 1 on timer 2", {{Reg(kRCAP2), 0xFFDC}, {Reg(kSCON), 0x50}, {Reg(kT2CON), 0x34}},
         {0x75, 0xCB, 0xFF, 0x75, 0xCA, 0xDC, 0x75, 0x98, 0x50, 0x75, 0xC8, 0x34}, 2, 9600, 0},
    };
    constexpr std::uint32_t kLeadingNops = 3, kCountedNops = 20;
    for (const auto& c : cases) {
        auto byWrite = NewProcessor();
        auto byCode = NewProcessor();
        Workspace w;
        for (Processor* p : {byWrite.get(), byCode.get()}) p->SetCrystalFrequency(11059200.0);
        LoadCode(*byCode, kLeadingNops, c.sameByInstructions);

        // Both run first, so the engine has derived its state from the reset values.
        byWrite->ExecuteInstructions(kLeadingNops);
        for (const auto& write : c.writes) ASSERT_TRUE(WriteLocation(*byWrite, w, write.at, write.value)) << c.what;
        byWrite->ExecuteInstructions(c.lastInstructionCycles + kCountedNops);  // a NOP is one cycle
        byCode->ExecuteInstructions(kLeadingNops);
        while (byCode->usPC < kLeadingNops + c.sameByInstructions.size()) byCode->ExecuteInstructions(1);
        byCode->ExecuteInstructions(kCountedNops);

        EXPECT_EQ(byWrite->GetTimer0(), c.timer0) << c.what;
        EXPECT_EQ(byWrite->iTxBaudRate, c.rate) << c.what;
        EXPECT_EQ(byWrite->iRxBaudRate, c.rate) << c.what;
        const std::array<std::uint16_t, 3> timersByWrite = {byWrite->GetTimer0(), byWrite->GetTimer1(),
                                                            byWrite->GetTimer2()};
        const std::array<std::uint16_t, 3> timersByCode = {byCode->GetTimer0(), byCode->GetTimer1(),
                                                           byCode->GetTimer2()};
        EXPECT_EQ(timersByWrite, timersByCode) << c.what;
        EXPECT_EQ(byWrite->iTxBaudRate, byCode->iTxBaudRate) << c.what;
        EXPECT_EQ(byWrite->ReadDirect(0x88), byCode->ReadDirect(0x88)) << c.what;  // overflow flags alike
    }
}

TEST(Location, BitCaptions) {
    auto p = NewProcessor();
    const auto psw = BitCaptions(*p, Reg(kPSW));
    ASSERT_EQ(psw.size(), 8u);
    EXPECT_EQ(psw[7], "CY-PSW.7 - Carry flag");
    EXPECT_EQ(psw[1], "PSW.1");
    EXPECT_EQ(BitCaptions(*p, Reg(kSCON))[7], "SM0-Serial mode control bit 0");
    EXPECT_EQ(BitCaptions(*p, Reg(kSP)),
              (std::vector<std::string>{"Bit0", "Bit1", "Bit2", "Bit3", "Bit4", "Bit5", "Bit6", "Bit7"}));
    const auto dptr = BitCaptions(*p, Reg(kDPTR));
    ASSERT_EQ(dptr.size(), 16u);
    EXPECT_EQ(dptr[15], "Bit15");
    EXPECT_TRUE(BitCaptions(*p, Bit(kCY)).empty());
}

}  // namespace
}  // namespace tessaly
