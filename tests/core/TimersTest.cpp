#include <gtest/gtest.h>

#include "core/Timers.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::NewProcessor;

// Runs the timer step as if an instruction of `cycles` machine cycles had just executed.
void Tick(Processor& p, std::uint8_t cycles) { UpdateTimers(p, cycles); }

TEST(Timer0, Mode1OverflowsPastFFFF) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteDirect(sfr::TH0, 0xFF);
    p->WriteDirect(sfr::TL0, 0xFE);
    p->WriteBit(bit::TR0, 1);
    Tick(*p, 2);
    EXPECT_EQ(p->GetTimer0(), 0x0000);
    EXPECT_EQ(p->ReadBit(bit::TF0), 1);
    EXPECT_EQ(p->ucInterruptFlags, 0);  // ET0 = 0: flag only
}

TEST(Timer0, Mode1CarriesIntoHighByte) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteDirect(sfr::TL0, 0xFF);
    p->WriteBit(bit::TR0, 1);
    Tick(*p, 4);
    EXPECT_EQ(p->GetTimer0(), 0x0103);
    EXPECT_EQ(p->ReadBit(bit::TF0), 0);
}

TEST(Timer0, Mode0DropsTheUpperBitsOfTl0) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TL0, 0xE5);
    p->WriteBit(bit::TR0, 1);
    Tick(*p, 1);
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x06);
    EXPECT_EQ(p->ReadDirect(sfr::TH0), 0x00);
}

TEST(Timer0, Mode0CarriesThirteenBits) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TL0, 0x1F);
    p->WriteDirect(sfr::TH0, 0xFF);
    p->WriteBit(bit::TR0, 1);
    Tick(*p, 2);
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x01);
    EXPECT_EQ(p->ReadDirect(sfr::TH0), 0x00);
    EXPECT_EQ(p->ReadBit(bit::TF0), 1);
}

TEST(Timer0, Mode2ReloadDropsTheRemainder) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x02);
    p->WriteDirect(sfr::TH0, 0x80);
    p->WriteDirect(sfr::TL0, 0xFF);
    p->WriteBit(bit::TR0, 1);
    Tick(*p, 2);
    EXPECT_EQ(p->ReadBit(bit::TF0), 1);
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x80);
}

TEST(Timer0, Mode3SplitsIntoTwoEightBitTimers) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x03);
    p->WriteDirect(sfr::TL0, 0x10);
    p->WriteDirect(sfr::TH0, 0xFF);
    p->WriteBit(bit::TR1, 1);  // TR0 stays 0
    p->WriteBit(bit::ET1, 1);
    Tick(*p, 2);
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x10);
    EXPECT_EQ(p->ReadDirect(sfr::TH0), 0x01);
    EXPECT_EQ(p->ReadBit(bit::TF1), 1);
    EXPECT_EQ(p->ReadBit(bit::TF0), 0);
    EXPECT_EQ(p->ucInterruptFlags, 0x08);

    p->WriteBit(bit::TR0, 1);
    p->WriteDirect(sfr::TL0, 0xFF);
    Tick(*p, 1);
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x00);
    EXPECT_EQ(p->ReadBit(bit::TF0), 1);
    EXPECT_EQ(p->ReadDirect(sfr::TH0), 0x02);
}

TEST(Timer1, Mode3HoldsItsCount) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x30);
    p->WriteDirect(sfr::TL1, 0x12);
    p->WriteDirect(sfr::TH1, 0x34);
    p->WriteBit(bit::TR1, 1);
    Tick(*p, 4);
    EXPECT_EQ(p->GetTimer1(), 0x3412);
}

TEST(Timer1, CountsWhileTimer0IsSplit) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x23);  // timer 1 mode 2, timer 0 mode 3
    p->WriteDirect(sfr::TH1, 0xF0);
    p->WriteDirect(sfr::TL1, 0xFF);
    p->WriteBit(bit::TR1, 1);
    Tick(*p, 1);
    EXPECT_EQ(p->ReadDirect(sfr::TL1), 0xF0);
    EXPECT_EQ(p->ReadBit(bit::TF1), 1);
    EXPECT_EQ(p->ReadDirect(sfr::TH0), 0x01);  // TH0 runs on TR1 too
}

TEST(TimerGates, GateAndCounterSelectStopCounting) {
    struct Case {
        const char* what;
        std::uint8_t tmod;
        std::uint8_t p3;
        bool counts;
    };
    const Case cases[] = {
        {"gate with INT0 low", 0x09, 0xFB, false},
        {"gate with INT0 high", 0x09, 0xFF, true},
        {"counter select", 0x05, 0xFF, false},
    };
    for (const auto& c : cases) {
        auto p = NewProcessor();
        p->WriteDirect(sfr::TMOD, c.tmod);
        p->WriteDirect(sfr::P3, c.p3);
        p->WriteBit(bit::TR0, 1);
        Tick(*p, 1);
        EXPECT_EQ(p->GetTimer0(), c.counts ? 1 : 0) << c.what;
    }
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x90);  // timer 1 gated, mode 1
    p->WriteDirect(sfr::P3, 0xF7);    // INT1 low
    p->WriteBit(bit::TR1, 1);
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer1(), 0);
    p->WriteDirect(sfr::TMOD, 0x50);  // timer 1 counter
    p->WriteDirect(sfr::P3, 0xFF);
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer1(), 0);
}

TEST(Timer0, OverflowRequestsEvenWithEaClear) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteDirect(sfr::TH0, 0xFF);
    p->WriteDirect(sfr::TL0, 0xFF);
    p->WriteBit(bit::TR0, 1);
    p->WriteBit(bit::ET0, 1);
    Tick(*p, 1);
    EXPECT_EQ(p->ucInterruptFlags, 0x02);
}

TEST(Timer2, BaudRateGeneratorReloadsWithoutTf2) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::T2CON, 0x14);  // TCLK, TR2
    p->WriteDirect(sfr::TH2, 0xFF);
    p->WriteDirect(sfr::TL2, 0xFF);
    p->WriteDirect(sfr::RCAP2H, 0xFF);
    p->WriteDirect(sfr::RCAP2L, 0xDC);
    p->WriteBit(bit::ET2, 1);
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer2(), 0xFFDC);
    EXPECT_EQ(p->ReadBit(bit::TF2), 0);
    EXPECT_EQ(p->ucInterruptFlags, 0);
}

TEST(Timer2, AutoReloadOverflowSetsTf2AndRequests) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::T2CON, 0x04);
    p->WriteDirect(sfr::TH2, 0xFF);
    p->WriteDirect(sfr::TL2, 0xFE);
    p->WriteDirect(sfr::RCAP2H, 0x12);
    p->WriteDirect(sfr::RCAP2L, 0x34);
    p->WriteBit(bit::ET2, 1);
    Tick(*p, 2);
    EXPECT_EQ(p->GetTimer2(), 0x1234);
    EXPECT_EQ(p->ReadBit(bit::TF2), 1);
    EXPECT_EQ(p->ucInterruptFlags, 0x20);
}

TEST(Timer2, CaptureWrapsAndCapturesOnExf2) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::T2CON, 0x05);  // CAP2, TR2
    p->WriteDirect(sfr::TH2, 0xFF);
    p->WriteDirect(sfr::TL2, 0xFF);
    p->WriteDirect(sfr::RCAP2H, 0x55);
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer2(), 0x0000);
    EXPECT_EQ(p->ReadBit(bit::TF2), 1);
    EXPECT_EQ(p->GetRCAP2(), 0x5500);

    p->WriteDirect(sfr::T2CON, 0x4D);  // + EXEN2, EXF2
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer2(), 0x0001);
    EXPECT_EQ(p->GetRCAP2(), 0x0001);
}

TEST(Timer2, ExternalReloadRepeatsWhileStopped) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::T2CON, 0x48);  // EXEN2, EXF2, TR2 = 0
    p->WriteDirect(sfr::RCAP2H, 0xAB);
    p->WriteDirect(sfr::RCAP2L, 0xCD);
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer2(), 0xABCD);
    p->WriteDirect(sfr::TL2, 0);
    Tick(*p, 1);
    EXPECT_EQ(p->GetTimer2(), 0xABCD);
    EXPECT_EQ(p->ReadBit(bit::EXF2), 1);  // never cleared by the timer
}

TEST(Timer2, CounterSelectNeverCounts) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::T2CON, 0x06);  // CNT2, TR2
    Tick(*p, 4);
    EXPECT_EQ(p->GetTimer2(), 0);
}

TEST(Timers, EngineAdvancesByInstructionCycles) {
    auto p = NewProcessor();
    test::LoadCode(*p, 0, {0xA4, 0x00, 0x02, 0x00, 0x00});  // MUL AB (4), NOP (1), LJMP 0000 (2)
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteBit(bit::TR0, 1);
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->GetTimer0(), 7);
}

}  // namespace
}  // namespace tessaly
