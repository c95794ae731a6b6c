#include <gtest/gtest.h>

#include <ostream>

#include "core/SerialPort.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

constexpr double k11059200 = 11059200.0;

// Mode 1 with timer 1 in mode 2 at TH1 = FDh: 9600 baud from 11.0592 MHz.
void Setup9600(Processor& p) {
    p.SetCrystalFrequency(k11059200);
    p.WriteDirect(sfr::SCON, 0x50);
    p.WriteDirect(sfr::TMOD, 0x20);
    p.WriteDirect(sfr::TH1, 0xFD);
    p.WriteBit(bit::TR1, 1);
    UpdateBaudRates(p);
}

struct RateCase {
    const char* name;
    double crystal;
    std::uint8_t scon, pcon, tmod, th1, tcon, t2con, rcap2h, rcap2l;
    std::int32_t tx, rx, txFrame, rxFrame;
    friend void PrintTo(const RateCase& c, std::ostream* os) { *os << c.name; }
};

class BaudRates : public testing::TestWithParam<RateCase> {};

TEST_P(BaudRates, FromModeAndClock) {
    const RateCase& c = GetParam();
    auto p = NewProcessor();
    p->SetCrystalFrequency(c.crystal);
    p->WriteDirect(sfr::SCON, c.scon);
    p->WriteDirect(sfr::PCON, c.pcon);
    p->WriteDirect(sfr::TMOD, c.tmod);
    p->WriteDirect(sfr::TH1, c.th1);
    p->WriteDirect(sfr::TCON, c.tcon);
    p->WriteDirect(sfr::T2CON, c.t2con);
    p->WriteDirect(sfr::RCAP2H, c.rcap2h);
    p->WriteDirect(sfr::RCAP2L, c.rcap2l);
    UpdateBaudRates(*p);
    EXPECT_EQ(p->iTxBaudRate, c.tx);
    EXPECT_EQ(p->iRxBaudRate, c.rx);
    EXPECT_EQ(p->iTxFrameTime, c.txFrame);
    EXPECT_EQ(p->iRxFrameTime, c.rxFrame);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Serial, BaudRates, testing::Values(
    RateCase{"mode0_12MHz",            12e6,     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 1000000, 1000000, 8, 8},
    RateCase{"mode1_timer1_9600",      k11059200, 0x50, 0x00, 0x20, 0xFD, 0x40, 0x00, 0x00, 0x00, 9600, 9600, 1041, 1041},
    RateCase{"mode1_smod_doubles",     k11059200, 0x50, 0x80, 0x20, 0xFD, 0x40, 0x00, 0x00, 0x00, 19200, 19200, 520, 520},
    RateCase{"mode3_eleven_bits",      k11059200, 0xD0, 0x00, 0x20, 0xFD, 0x40, 0x00, 0x00, 0x00, 9600, 9600, 1145, 1145},
    RateCase{"mode2_fosc_over_64",     12e6,     0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 187500, 187500, 58, 58},
    RateCase{"mode2_smod",             12e6,     0x80, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 375000, 375000, 29, 29},
    RateCase{"timer1_not_mode2",       k11059200, 0x40, 0x00, 0x10, 0xFD, 0x40, 0x00, 0x00, 0x00, -1, -1, 0, 0},
    RateCase{"timer1_stopped",         k11059200, 0x40, 0x00, 0x20, 0xFD, 0x00, 0x00, 0x00, 0x00, -1, -1, 0, 0},
    RateCase{"tclk_timer2_rx_timer1",  k11059200, 0x50, 0x00, 0x20, 0xFD, 0x40, 0x14, 0xFF, 0xDC, 9600, 9600, 1041, 1041},
    RateCase{"tclk_timer2_rx_invalid", k11059200, 0x50, 0x00, 0x00, 0x00, 0x00, 0x14, 0xFF, 0xDC, 9600, -1, 1041, 0},
    RateCase{"timer2_ignores_smod",    k11059200, 0x50, 0x80, 0x00, 0x00, 0x00, 0x34, 0xFF, 0xDC, 9600, 9600, 1041, 1041},
    RateCase{"tclk_without_tr2",       k11059200, 0x50, 0x00, 0x20, 0xFD, 0x40, 0x10, 0xFF, 0xDC, -1, 9600, 0, 1041},
    // A rate that truncates to 0 has no usable clock.
    RateCase{"rate_truncating_to_zero", 100.0,   0x50, 0x00, 0x20, 0x00, 0x40, 0x00, 0x00, 0x00, -1, -1, 0, 0}
), [](const testing::TestParamInfo<RateCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(SerialWarnings, BothRatesInvalidPostTwoLinesPerInstruction) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::SCON, 0x40);
    p->WriteDirect(sfr::TMOD, 0x10);
    p->ExecuteInstructions(2);
    ASSERT_EQ(p->lstWarnings.Count(), 4u);
    EXPECT_EQ(p->lstWarnings[0], "Tramission baud rate is invalid");
    EXPECT_EQ(p->lstWarnings[1], "Receiption baud rate is invalid");
    EXPECT_EQ(p->lstWarnings[2], "Tramission baud rate is invalid");
    EXPECT_EQ(p->lstWarnings[3], "Receiption baud rate is invalid");
}

TEST(SerialWarnings, OneInvalidRateIsPostedOnceInARow) {
    auto p = NewProcessor();
    p->SetCrystalFrequency(k11059200);
    p->WriteDirect(sfr::SCON, 0x50);
    p->WriteDirect(sfr::TMOD, 0x20);
    p->WriteDirect(sfr::TH1, 0xFD);
    p->WriteBit(bit::TR1, 1);
    p->WriteDirect(sfr::T2CON, 0x10);  // TCLK without TR2
    p->ExecuteInstructions(5);
    ASSERT_EQ(p->lstWarnings.Count(), 1u);
    EXPECT_EQ(p->lstWarnings[0], "Tramission baud rate is invalid");
}

TEST(SerialWarnings, CrystalChangeTakesEffectAtTheNextInstruction) {
    auto p = NewProcessor();
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->iTxBaudRate, 1000000);
    p->SetCrystalFrequency(24e6);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->iTxBaudRate, 2000000);
}

TEST(SerialTransmit, TiRisesOneFrameAfterMovSbufA) {
    auto p = NewProcessor();
    Setup9600(*p);
    // MOV SBUF,A then NOPs
    LoadCode(*p, 0, {0xF5, 0x99});
    p->WriteDirect(sfr::ACC, 0x41);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ucTxLog[0], 0x41);
    EXPECT_EQ(p->iTxLogPos, 1);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x41);
    EXPECT_EQ(p->bTxInProgress, 1);
    EXPECT_EQ(p->iTxCyclesLeft, 958);  // 959 minus the transmitting instruction's cycle
    p->ExecuteInstructions(957);
    EXPECT_EQ(p->ReadBit(bit::TI), 0);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadBit(bit::TI), 1);
    EXPECT_EQ(p->bTxInProgress, 0);
    EXPECT_TRUE(p->lstWarnings.Empty());
}

// Machine cycles from a MOV SBUF,A placed at the PC (NOPs follow) until TI rises.
unsigned CyclesUntilTi(Processor& p) {
    LoadCode(p, p.usPC, {0xF5, 0x99});
    const std::uint64_t start = p.ullCyclesExecuted;
    while (!p.ReadBit(bit::TI) && p.ullCyclesExecuted - start < 5000) p.ExecuteInstructions(1);
    return static_cast<unsigned>(p.ullCyclesExecuted - start);
}

// SMOD shares nothing with SM1 but the bit position inside its register.
TEST(SerialRates, SmodSetByTheProgramDoublesTheTimer1Rate) {
    auto p = NewProcessor();
    Setup9600(*p);
    p->ExecuteInstructions(1);  // NOP at 9600
    LoadCode(*p, 1, {0x43, 0x87, 0x80});  // ORL PCON,#80h
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->iTxBaudRate, 19200);
    EXPECT_EQ(p->iRxBaudRate, 19200);
    EXPECT_EQ(p->iTxFrameTime, 520);
    EXPECT_EQ(CyclesUntilTi(*p), 479u);  // trunc(520 us * 11.0592 MHz / 12), not 959
}

TEST(SerialRates, ModeChangeByTheProgramWithSmodSetTakesTheNewRate) {
    struct Case {
        const char* what;
        std::uint8_t sconBefore, t2con, sconAfter;
        std::int32_t rate;
        unsigned cyclesToTi;
    };
    const Case cases[] = {
        // Timer 2 at RCAP2 = FFDCh: 9600, 1041 us a frame.
        {"mode 0 to mode 1 on timer 2", 0x00, 0x34, 0x50, 9600, 959},
        // 2 * fosc / 64, 11 bits in 31 us.
        {"mode 3 to mode 2", 0xC0, 0x00, 0x90, 345600, 28},
        // fosc / 12, 8 bits in 8 us.
        {"mode 1 to mode 0", 0x50, 0x00, 0x10, 921600, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = NewProcessor();
        p->SetCrystalFrequency(k11059200);
        p->WriteDirect(sfr::PCON, 0x80);
        p->WriteDirect(sfr::SCON, c.sconBefore);
        p->WriteDirect(sfr::T2CON, c.t2con);
        p->WriteDirect(sfr::RCAP2H, 0xFF);
        p->WriteDirect(sfr::RCAP2L, 0xDC);
        p->ExecuteInstructions(1);  // NOP at the old rates
        LoadCode(*p, 1, {0x75, 0x98, c.sconAfter});  // MOV SCON,#sconAfter
        p->ExecuteInstructions(1);
        EXPECT_EQ(p->iTxBaudRate, c.rate);
        EXPECT_EQ(p->iRxBaudRate, c.rate);
        const std::size_t warnings = p->lstWarnings.Count();
        EXPECT_EQ(CyclesUntilTi(*p), c.cyclesToTi);
        EXPECT_EQ(p->lstWarnings.Count(), warnings);
    }
}

TEST(SerialTransmit, OnlyMovDirectAFromAccumulatorTransmits) {
    auto p = NewProcessor();
    Setup9600(*p);
    // MOV SBUF,#41h; MOV SBUF,R0; MOV SBUF,30h
    LoadCode(*p, 0, {0x75, 0x99, 0x41, 0x88, 0x99, 0x85, 0x30, 0x99});
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x41);
    p->WriteRegister(0, 0x42);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x42);
    p->ucIntRAM[0x30] = 0x43;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x43);
    EXPECT_EQ(p->iTxLogPos, 0);
    EXPECT_EQ(p->bTxInProgress, 0);
    EXPECT_EQ(p->ReadBit(bit::TI), 0);
}

TEST(SerialTransmit, InvalidRateStillLogsButNeverRaisesTi) {
    auto p = NewProcessor();
    p->WriteDirect(sfr::SCON, 0x40);  // mode 1, no timer running
    UpdateBaudRates(*p);
    p->lstWarnings.Clear();
    TransmitByte(*p, 0x55);
    TransmitByte(*p, 0x56);
    EXPECT_EQ(p->iTxLogPos, 2);
    EXPECT_EQ(p->ucTxLog[1], 0x56);
    ASSERT_EQ(p->lstWarnings.Count(), 2u);  // every time
    EXPECT_EQ(p->lstWarnings[0], "Transmission Baud rate is incorrect");
    EXPECT_EQ(p->lstWarnings[1], "Transmission Baud rate is incorrect");
    EXPECT_EQ(p->bTxInProgress, 0);
}

TEST(SerialTransmit, LogWrapsAfter102400Bytes) {
    auto p = NewProcessor();
    p->iTxLogShown = 500;
    for (int i = 0; i < 102399; ++i) TransmitByte(*p, 1);
    EXPECT_EQ(p->iTxLogPos, 102399);
    EXPECT_EQ(p->iTxLogShown, 500);
    TransmitByte(*p, 0x7E);
    EXPECT_EQ(p->ucTxLog[102399], 0x7E);
    EXPECT_EQ(p->iTxLogPos, 0);
    EXPECT_EQ(p->iTxLogShown, 0);
}

TEST(SerialReceive, MovASbufReceivesWhenEnabled) {
    auto p = NewProcessor();
    Setup9600(*p);
    LoadCode(*p, 0, {0xE5, 0x99, 0xE5, 0x99});
    p->WriteDirect(sfr::SBUF, 0x5A);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x5A);
    EXPECT_EQ(p->ucRxLog[0], 0x5A);
    EXPECT_EQ(p->iRxLogPos, 1);
    EXPECT_EQ(p->ReadBit(bit::RI), 0);  // reception never touches RI
}

TEST(SerialReceive, DisabledOrInvalidReceptionGivesZeroAndOneWarning) {
    auto p = NewProcessor();
    Setup9600(*p);
    p->WriteBit(bit::REN, 0);
    p->WriteDirect(sfr::SBUF, 0x5A);
    LoadCode(*p, 0, {0xE5, 0x99, 0xE5, 0x99});
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x00);
    EXPECT_EQ(p->iRxLogPos, 0);
    ASSERT_EQ(p->lstWarnings.Count(), 1u);
    EXPECT_EQ(p->lstWarnings[0], "Receiption is disabled");

    auto q = NewProcessor();
    q->WriteDirect(sfr::SCON, 0x50);
    UpdateBaudRates(*q);
    q->lstWarnings.Clear();
    EXPECT_EQ(ReceiveByte(*q), 0);
    EXPECT_EQ(ReceiveByte(*q), 0);
    ASSERT_EQ(q->lstWarnings.Count(), 1u);
    EXPECT_EQ(q->lstWarnings[0], "Receiption Baud rate is incorrect");
}

TEST(SerialRates, RecomputedAfterInvalidation) {
    auto p = NewProcessor();
    p->ExecuteInstructions(1);
    // A snapshot restores the rate fields directly and invalidates them: the
    // next instruction derives them from the registers again.
    p->iTxBaudRate = 1234;
    p->iRxFrameTime = 99;
    p->InvalidateDerivedState();
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->iTxBaudRate, 1000000);
    EXPECT_EQ(p->iRxFrameTime, 8);
}

TEST(SerialRates, FollowEveryWayAProgramWritesTheRateRegisters) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> code;
    };
    // Each leaves timer 1 in mode 2 at FDh running with SCON in mode 1, from a
    // state where one input was missing.
    const Case cases[] = {
        {"SETB TR1", {0xD2, 0x8E}},
        {"ORL TCON,#40h", {0x43, 0x88, 0x40}},
        {"MOV TH1,A", {0xF5, 0x8D}},
        {"INC TH1", {0x05, 0x8D}},
        {"XCH A,TMOD", {0xC5, 0x89}},
        {"POP SCON", {0xD0, 0x98}},
    };
    for (const auto& c : cases) {
        auto p = NewProcessor();
        Setup9600(*p);
        const std::string what = c.what;
        if (what == "SETB TR1" || what == "ORL TCON,#40h") p->WriteBit(bit::TR1, 0);
        if (what == "MOV TH1,A") {
            p->WriteDirect(sfr::TH1, 0x00);
            p->WriteDirect(sfr::ACC, 0xFD);
        }
        if (what == "INC TH1") p->WriteDirect(sfr::TH1, 0xFC);
        if (what == "XCH A,TMOD") {
            p->WriteDirect(sfr::TMOD, 0x10);
            p->WriteDirect(sfr::ACC, 0x20);
        }
        if (what == "POP SCON") {
            p->WriteDirect(sfr::SCON, 0x00);
            p->ucIntRAM[0x07] = 0x50;
        }
        p->ExecuteInstructions(1);  // settle on the incomplete set-up
        p->usPC = 0;
        test::LoadCode(*p, 0, c.code);
        p->ExecuteInstructions(1);
        EXPECT_EQ(p->iTxBaudRate, 9600) << c.what;
        EXPECT_EQ(p->iRxBaudRate, 9600) << c.what;
    }
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

TEST(HardwareSerial, EveryAccessToSbufReachesThePort) {
    auto p = test::NewProcessor();
    EXPECT_FALSE(p->HardwareSerial());
    p->SetHardwareSerial(true);
    EXPECT_TRUE(p->HardwareSerial());
    Setup9600(*p);
    // MOV SBUF,#41h; ADD A,SBUF; PUSH SBUF; XCH A,SBUF; MOV R0,SBUF
    test::LoadCode(*p, 0, {0x75, 0x99, 0x41, 0x25, 0x99, 0xC0, 0x99, 0xC5, 0x99, 0xA8, 0x99});
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->iTxLogPos, 1);
    EXPECT_EQ(p->ucTxLog[0], 0x41);
    EXPECT_EQ(p->bTxInProgress, 1);

    p->ExecuteInstructions(2);  // two receptions of the byte SBUF holds
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x41);
    EXPECT_EQ(p->ucIntRAM[0x08], 0x41);  // pushed
    EXPECT_EQ(p->iRxLogPos, 2);

    p->WriteDirect(sfr::ACC, 0x55);
    p->ExecuteInstructions(1);  // XCH reads (receives) and writes (transmits)
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x41);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x55);
    EXPECT_EQ(p->iRxLogPos, 3);
    EXPECT_EQ(p->iTxLogPos, 2);
    EXPECT_EQ(p->ucTxLog[1], 0x55);

    p->WriteBit(bit::REN, 0);
    p->ExecuteInstructions(1);  // reception disabled: 00h, SBUF keeps its byte
    EXPECT_EQ(p->ReadRegister(0), 0x00);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x55);
    ASSERT_FALSE(p->lstWarnings.Empty());
    EXPECT_EQ(p->lstWarnings.Last(), "Receiption is disabled");

    p->SetHardwareSerial(false);
    EXPECT_FALSE(p->HardwareSerial());
}

}  // namespace
}  // namespace tessaly
