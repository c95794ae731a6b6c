#include <gtest/gtest.h>

#include <string>

#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

// Timer 0 in mode 2 (reload 9Ch) interrupting a self-loop; the routine
// counts in 30h.
//   0000 LJMP 0030          000B INC 30h / RETI
//   0030 MOV TMOD,#02h      0033 MOV TH0,#9Ch   0036 MOV TL0,#9Ch
//   0039 MOV IE,#82h        003C SETB TR0       003E SJMP $
void LoadTimerCounter(Processor& p) {
    LoadCode(p, 0x0000, {0x02, 0x00, 0x30});
    LoadCode(p, 0x000B, {0x05, 0x30, 0x32});
    LoadCode(p, 0x0030, {0x75, 0x89, 0x02, 0x75, 0x8C, 0x9C, 0x75, 0x8A, 0x9C, 0x75, 0xA8, 0x82, 0xD2, 0x8C,
                         0x80, 0xFE});
}

TEST(Programs, TimerInterruptCounter) {
    auto p = NewProcessor();
    LoadTimerCounter(*p);
    // SETB TR0 (instruction 6) leaves TL0 = 9Dh; 49 SJMPs bring it to FFh;
    // the 50th overflows (instruction 56); the routine is entered after 57.
    p->ExecuteInstructions(56);
    EXPECT_EQ(p->ReadBit(bit::TF0), 1);
    EXPECT_EQ(p->ReadDirect(sfr::TL0), 0x9C);
    EXPECT_EQ(p->usPC, 0x003E);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x000B);
    EXPECT_EQ(p->ReadBit(bit::TF0), 0);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x09);
    EXPECT_EQ(p->ucIntRAM[0x08], 0x3E);
    EXPECT_EQ(p->ucIntRAM[0x09], 0x00);
    EXPECT_EQ(p->ullCyclesExecuted, 2u + 4u * 2u + 1u + 51u * 2u);

    p->ExecuteInstructions(2);  // INC 30h, RETI
    EXPECT_EQ(p->ucIntRAM[0x30], 1);
    EXPECT_EQ(p->usPC, 0x003E);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);
    EXPECT_TRUE(p->lstInterruptsInProgress.Empty());
    EXPECT_EQ(p->ucInterruptFlags, 0);

    // From then on one entry every 51 instructions: RETI leaves TL0 = A1h,
    // 47 SJMPs reach FFh, the 48th overflows, one more before the entry.
    p->ExecuteInstructions(108 - 59);
    EXPECT_EQ(p->usPC, 0x000B);
    p->ExecuteInstructions(57 + 51 * 10 - 108);
    EXPECT_EQ(p->usPC, 0x000B);
    EXPECT_EQ(p->ucIntRAM[0x30], 10);
    EXPECT_TRUE(p->lstErrors.Empty());
    EXPECT_TRUE(p->lstWarnings.Empty());
}

// Sends "OK\n" at 9600 baud from 11.0592 MHz, polling TI.
//   0000 MOV TMOD,#20h   0003 MOV TH1,#0FDh   0006 SETB TR1    0008 MOV SCON,#50h
//   000B MOV DPTR,#0030h
//   000E CLR A   000F MOVC A,@A+DPTR   0010 JZ 001C   0012 CLR TI   0014 MOV SBUF,A
//   0016 JNB TI,$   0019 INC DPTR   001A SJMP 000E
//   001C SJMP $
//   0030 "OK\n", 0
void LoadHello(Processor& p) {
    LoadCode(p, 0x0000, {0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0xD2, 0x8E, 0x75, 0x98, 0x50, 0x90, 0x00, 0x30,
                         0xE4, 0x93, 0x60, 0x0A, 0xC2, 0x99, 0xF5, 0x99, 0x30, 0x99, 0xFD, 0xA3, 0x80, 0xF2,
                         0x80, 0xFE});
    LoadCode(p, 0x0030, {'O', 'K', '\n', 0});
}

TEST(Programs, SerialHelloPollingTi) {
    auto p = NewProcessor();
    p->SetCrystalFrequency(11059200.0);
    LoadHello(*p);
    // 5 set-up instructions; per character CLR A, MOVC, JZ, CLR TI, MOV SBUF,
    // 480 JNB (TI rises 959 cycles after the write), INC DPTR, SJMP; then
    // CLR A, MOVC, JZ to the self-loop.
    p->ExecuteInstructions(5 + 3 * 487 + 3);
    EXPECT_EQ(p->usPC, 0x001C);
    EXPECT_EQ(p->iTxLogPos, 3);
    EXPECT_EQ(p->ucTxLog[0], 'O');
    EXPECT_EQ(p->ucTxLog[1], 'K');
    EXPECT_EQ(p->ucTxLog[2], '\n');
    EXPECT_EQ(p->ReadBit(bit::TI), 1);
    EXPECT_EQ(p->iTxBaudRate, 9600);
    EXPECT_EQ(p->ullCyclesExecuted, 9u + 3u * 971u + 5u);
    EXPECT_TRUE(p->lstWarnings.Empty());
    EXPECT_TRUE(p->lstErrors.Empty());
    EXPECT_EQ(p->GetDPTR(), 0x0033);
}

TEST(Programs, SerialHelloIsOneInstructionShortOfTheSelfLoop) {
    auto p = NewProcessor();
    p->SetCrystalFrequency(11059200.0);
    LoadHello(*p);
    p->ExecuteInstructions(5 + 3 * 487 + 2);
    EXPECT_EQ(p->usPC, 0x0010);
}

// Copies a MOVC table into external RAM through @R0, then writes through @DPTR.
TEST(Programs, TableCopyToExternalRam) {
    auto p = NewProcessor();
    // 0000 MOV R0,#00h
    // 0002 MOV R2,#04h
    // 0004 loop: MOV DPTR,#0040h
    // 0007 MOV A,R0
    // 0008 MOVC A,@A+DPTR
    // 0009 MOVX @R0,A          ; external 00xx
    // 000A INC R0
    // 000B DJNZ R2,loop(0004)
    // 000D MOV DPTR,#2000h
    // 0010 MOVX @DPTR,A        ; last value also at 2000h
    // 0011 SJMP $
    LoadCode(*p, 0x0000, {0x78, 0x00, 0x7A, 0x04, 0x90, 0x00, 0x40, 0xE8, 0x93, 0xF2, 0x08, 0xDA, 0xF7,
                          0x90, 0x20, 0x00, 0xF0, 0x80, 0xFE});
    LoadCode(*p, 0x0040, {0x11, 0x22, 0x33, 0x44});
    p->ExecuteInstructions(2 + 4 * 6 + 2);
    EXPECT_EQ(p->usPC, 0x0011);
    EXPECT_EQ(p->ucExtRAM[0], 0x11);
    EXPECT_EQ(p->ucExtRAM[1], 0x22);
    EXPECT_EQ(p->ucExtRAM[2], 0x33);
    EXPECT_EQ(p->ucExtRAM[3], 0x44);
    EXPECT_EQ(p->ucExtRAM[0x2000], 0x44);
    EXPECT_EQ(p->iExtRAMWriteAddress, 0x2000);
    EXPECT_EQ(p->ReadRegister(0), 4);
    EXPECT_EQ(p->ullCyclesExecuted, 2u + 4u * (2 + 1 + 2 + 2 + 1 + 2) + 2 + 2);
}

}  // namespace
}  // namespace tessaly
