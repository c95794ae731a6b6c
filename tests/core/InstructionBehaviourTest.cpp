#include <gtest/gtest.h>

#include <ostream>

#include "core/JumpRoutines.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::Flag;
using test::LoadCode;
using test::NewProcessor;

struct JumpCase {
    const char* name;
    std::uint16_t at;
    std::vector<std::uint8_t> code;
    std::uint8_t a;
    bool carry;
    std::uint16_t expectedPC;
    int expectedCarry;  // -1: do not check
    friend void PrintTo(const JumpCase& c, std::ostream* os) { *os << c.name; }
};

class ConditionalJumps : public testing::TestWithParam<JumpCase> {};

TEST_P(ConditionalJumps, TargetAndCarry) {
    const JumpCase& c = GetParam();
    auto p = NewProcessor();
    LoadCode(*p, c.at, c.code);
    p->usPC = c.at;
    p->WriteDirect(sfr::ACC, c.a);
    p->WriteDirect(sfr::PSW, c.carry ? psw::CY : 0);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, c.expectedPC);
    EXPECT_EQ(p->ullCyclesExecuted, 2u);  // taken or not
    if (c.expectedCarry >= 0) {
        EXPECT_EQ(Flag(*p, psw::CY), c.expectedCarry == 1);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Instructions, ConditionalJumps, testing::Values(
    JumpCase{"cjne_equal_no_jump",   0x0200, {0xB4, 0x10, 0x05}, 0x10, true,  0x0203, 0},
    JumpCase{"cjne_less_jumps_cy",   0x0200, {0xB4, 0x10, 0x05}, 0x05, false, 0x0208, 1},
    JumpCase{"cjne_greater_jumps",   0x0200, {0xB4, 0x10, 0x05}, 0x20, true,  0x0208, 0},
    JumpCase{"sjmp_self",            0x0100, {0x80, 0xFE},       0x00, false, 0x0100, -1},
    JumpCase{"sjmp_back",            0x0100, {0x80, 0x80},       0x00, false, 0x0082, -1},
    JumpCase{"jz_taken",             0x0100, {0x60, 0x10},       0x00, false, 0x0112, -1},
    JumpCase{"jz_not_taken",         0x0100, {0x60, 0x10},       0x01, false, 0x0102, -1},
    JumpCase{"jnz_taken",            0x0100, {0x70, 0x10},       0x01, false, 0x0112, -1},
    JumpCase{"jc_taken",             0x0100, {0x40, 0x10},       0x00, true,  0x0112, -1},
    JumpCase{"jc_not_taken",         0x0100, {0x40, 0x10},       0x00, false, 0x0102, -1},
    JumpCase{"jnc_taken",            0x0100, {0x50, 0xF0},       0x00, false, 0x00F2, -1},
    // The offset is read back below the advanced PC; once the PC has wrapped
    // to 0000h that address lies below 0 and reads as 0.
    JumpCase{"jc_wrapped_offset_reads_zero", 0xFFFE, {0x40, 0x05}, 0x00, true, 0x0000, -1},
    JumpCase{"ajmp_page_of_next_pc", 0x07FE, {0x41, 0x23},       0x00, false, 0x0A23, -1},
    JumpCase{"ajmp_top_bits",        0x1000, {0xE1, 0x45},       0x00, false, 0x1745, -1},
    JumpCase{"ljmp",                 0x0000, {0x02, 0xAB, 0xCD}, 0x00, false, 0xABCD, -1},
    JumpCase{"jmp_a_dptr",           0x0000, {0x73},             0x10, false, 0x0010, -1}
), [](const testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(BitJumps, JbcClearsTheBitOnlyWhenItJumps) {
    auto p = NewProcessor();
    LoadCode(*p, 0x100, {0x10, 0x00, 0x20});  // JBC 20h.0,+20h
    p->usPC = 0x100;
    p->ucIntRAM[0x20] = 0x01;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x123);
    EXPECT_EQ(p->ucIntRAM[0x20], 0x00);

    p->usPC = 0x100;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x103);
    EXPECT_EQ(p->ucIntRAM[0x20], 0x00);
}

TEST(BitJumps, JbAndJnbTestTheAddressedBit) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x20, 0xE7, 0x10, 0x30, 0xE7, 0x10});  // JB ACC.7; JNB ACC.7
    p->WriteDirect(sfr::ACC, 0x80);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x13);
    p->usPC = 3;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 6);
}

TEST(Calls, LcallAndRetUseTheStack) {
    auto p = NewProcessor();
    LoadCode(*p, 0x0100, {0x12, 0x20, 0x00});  // LCALL 2000h
    LoadCode(*p, 0x2000, {0x22});              // RET
    p->usPC = 0x0100;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ucIntRAM[0x08], 0x03);
    EXPECT_EQ(p->ucIntRAM[0x09], 0x01);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x09);
    EXPECT_EQ(p->usPC, 0x2000);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0103);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);
}

TEST(Calls, AcallPushesTheNextInstructionAddress) {
    auto p = NewProcessor();
    LoadCode(*p, 0x0FFE, {0x31, 0x10});  // ACALL: next PC 1000h, page 1
    p->usPC = 0x0FFE;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x1110);
    EXPECT_EQ(p->ucIntRAM[0x08], 0x00);
    EXPECT_EQ(p->ucIntRAM[0x09], 0x10);
}

TEST(Calls, RetiWithoutInterruptReportsEveryTime) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x32});
    p->WriteDirect(sfr::SP, 0x09);
    p->ucIntRAM[0x09] = 0x00;
    p->ucIntRAM[0x08] = 0x00;
    p->ExecuteInstructions(1);
    p->WriteDirect(sfr::SP, 0x09);
    p->ExecuteInstructions(1);
    ASSERT_EQ(p->lstErrors.Count(), 2u);
    EXPECT_EQ(p->lstErrors[0], "RETI encountered without an interrupt was in progress");
    EXPECT_EQ(p->lstErrors[1], "RETI encountered without an interrupt was in progress");
    EXPECT_EQ(p->usPC, 0);
}

TEST(Stack, PushAndPopOfSpItself) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xC0, 0x81, 0xD0, 0x81});  // PUSH SP; POP SP
    p->WriteDirect(sfr::SP, 0x30);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x31);
    EXPECT_EQ(p->ucIntRAM[0x31], 0x31);
    p->ucIntRAM[0x31] = 0x50;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x4F);  // the popped value, then minus 1
}

TEST(Stack, PushAboveLowerRamGoesToUpperRam) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xC0, 0xE0});  // PUSH ACC
    p->WriteDirect(sfr::SP, 0x7F);
    p->WriteDirect(sfr::ACC, 0x66);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ucIntRAM[0x100], 0x66);
    EXPECT_EQ(p->ReadDirect(sfr::P0), 0xFF);
}

TEST(CodeReads, MovcDptrReadsGuardBytesMovcPcWraps) {
    auto p = NewProcessor();
    p->ucCodeMemory[0x0000] = 0x93;  // MOVC A,@A+DPTR
    p->ucCodeMemory[0x0001] = 0x5C;
    p->WriteDirect(sfr::DPH, 0xFF);
    p->WriteDirect(sfr::DPL, 0xFF);
    p->WriteDirect(sfr::ACC, 0x01);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x00);  // guard byte, not code[0000]

    auto q = NewProcessor();
    q->ucCodeMemory[0xFFFE] = 0x83;  // MOVC A,@A+PC; next PC FFFFh
    q->ucCodeMemory[0x0000] = 0x77;
    q->usPC = 0xFFFE;
    q->WriteDirect(sfr::ACC, 0x01);
    q->ExecuteInstructions(1);
    EXPECT_EQ(q->ReadDirect(sfr::ACC), 0x77);
}

TEST(CodeReads, InstructionsAtTheTopOfMemory) {
    auto p = NewProcessor();
    p->ucCodeMemory[0xFFFF] = 0x04;  // INC A
    p->usPC = 0xFFFF;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0000);

    auto q = NewProcessor();
    q->ucCodeMemory[0xFFFF] = 0x74;  // MOV A,#data: the data is the first guard byte
    q->ucCodeMemory[0x0000] = 0x99;
    q->usPC = 0xFFFF;
    q->WriteDirect(sfr::ACC, 0x55);
    q->ExecuteInstructions(1);
    EXPECT_EQ(q->ReadDirect(sfr::ACC), 0x00);
    EXPECT_EQ(q->usPC, 0x0001);
    EXPECT_EQ(q->ucOperand1, 0x00);
}

TEST(ExternalRam, MovxWithRiIgnoresP2AndMarksTheWrite) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xF2, 0xE3, 0xF0, 0xE0});  // MOVX @R0,A; MOVX A,@R1; MOVX @DPTR,A; MOVX A,@DPTR
    p->WriteRegister(0, 0x12);
    p->WriteRegister(1, 0x12);
    p->WriteDirect(sfr::P2, 0x34);
    p->WriteDirect(sfr::ACC, 0xAB);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ucExtRAM[0x0012], 0xAB);
    EXPECT_EQ(p->ucExtRAM[0x3412], 0x00);
    EXPECT_EQ(p->bExtRAMWritten, 1);
    EXPECT_EQ(p->iExtRAMWriteAddress, 0x0012);
    p->WriteDirect(sfr::ACC, 0);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0xAB);
    p->WriteDirect(sfr::DPH, 0xBE);
    p->WriteDirect(sfr::DPL, 0xEF);
    p->WriteDirect(sfr::ACC, 0x5C);
    p->bExtRAMWritten = 0;
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ucExtRAM[0xBEEF], 0x5C);
    EXPECT_EQ(p->iExtRAMWriteAddress, 0xBEEF);
    EXPECT_EQ(p->bExtRAMWritten, 1);
    p->WriteDirect(sfr::ACC, 0);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x5C);
    EXPECT_EQ(p->ullCyclesExecuted, 8u);
}

// SDCC's start-up code copies initialised xdata with MOVX @R0,A and steps
// pages with INC P2; with paging on, P2 is the high address byte.
TEST(ExternalRam, PagingTakesTheHighByteFromP2) {
    struct Case {
        bool paging;
        std::uint16_t written;  // where MOVX @R1,A lands with P2 = 12h
        std::uint8_t read;      // what MOVX A,@R0 reads after INC P2
    };
    const Case cases[] = {{false, 0x0080, 0xC5}, {true, 0x1280, 0x3A}};
    for (bool wired : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "paging " << c.paging << ", hardware serial " << wired);
            auto p = NewProcessor();
            p->SetXramPaging(c.paging);
            p->SetHardwareSerial(wired);
            p->FullReset();  // the options are not processor state
            EXPECT_EQ(p->XramPaging(), c.paging);
            EXPECT_EQ(p->HardwareSerial(), wired);
            LoadCode(*p, 0, {0xF3, 0x05, 0xA0, 0xE2});  // MOVX @R1,A; INC P2; MOVX A,@R0
            p->WriteRegister(0, 0x80);
            p->WriteRegister(1, 0x80);
            p->WriteDirect(sfr::P2, 0x12);
            p->WriteDirect(sfr::ACC, 0xC5);
            p->ucExtRAM[0x1380] = 0x3A;
            p->ExecuteInstructions(1);
            EXPECT_EQ(p->ucExtRAM[c.written], 0xC5);
            EXPECT_EQ(p->ucExtRAM[c.written ^ 0x1200], 0x00);
            EXPECT_EQ(p->bExtRAMWritten, 1);
            EXPECT_EQ(p->iExtRAMWriteAddress, c.written);
            p->ExecuteInstructions(2);
            EXPECT_EQ(p->ReadDirect(sfr::ACC), c.read);
            EXPECT_EQ(p->ullCyclesExecuted, 5u);
        }
    }
}

TEST(DataMoves, MovDirectDirectTakesTheSourceFirst) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x85, 0x30, 0x40, 0x75, 0x50, 0x99, 0x90, 0x12, 0x34});
    p->ucIntRAM[0x30] = 0x77;
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->ucIntRAM[0x40], 0x77);
    EXPECT_EQ(p->ucIntRAM[0x50], 0x99);
    EXPECT_EQ(p->GetDPTR(), 0x1234);
    EXPECT_EQ(p->ullCyclesExecuted, 6u);
    EXPECT_EQ(p->ullBytesExecuted, 9u);
}

TEST(DataMoves, ExchangeForms) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xC5, 0x30, 0xD6, 0xCA});  // XCH A,30h; XCHD A,@R0; XCH A,R2
    p->WriteDirect(sfr::ACC, 0x12);
    p->ucIntRAM[0x30] = 0x34;
    p->WriteRegister(0, 0x40);
    p->ucIntRAM[0x40] = 0xAB;
    p->WriteRegister(2, 0x99);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x34);
    EXPECT_EQ(p->ucIntRAM[0x30], 0x12);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x3B);
    EXPECT_EQ(p->ucIntRAM[0x40], 0xA4);
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ReadDirect(sfr::ACC), 0x99);
    EXPECT_EQ(p->ReadRegister(2), 0x3B);
}

TEST(DataMoves, DjnzOnRegisterAndDirect) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xDA, 0xFE});  // DJNZ R2,$
    p->WriteRegister(2, 3);
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->ReadRegister(2), 0);
    EXPECT_EQ(p->usPC, 2);
    EXPECT_EQ(p->ullCyclesExecuted, 6u);

    auto q = NewProcessor();
    LoadCode(*q, 0, {0xD5, 0x90, 0xFD});  // DJNZ P1,$ (port byte itself)
    q->ExecuteInstructions(1);
    EXPECT_EQ(q->ReadDirect(sfr::P1), 0xFE);
    EXPECT_EQ(q->usPC, 0);
}

TEST(DataMoves, LogicOnDirectBytes) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x53, 0x90, 0x0F, 0x42, 0x30, 0x63, 0x30, 0xFF});  // ANL P1,#0Fh; ORL 30h,A; XRL 30h,#FFh
    p->WriteDirect(sfr::ACC, 0x81);
    p->ucIntRAM[0x30] = 0x10;
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->ReadDirect(sfr::P1), 0x0F);
    EXPECT_EQ(p->ucIntRAM[0x30], static_cast<std::uint8_t>(~0x91));
    EXPECT_EQ(p->ullCyclesExecuted, 2u + 1u + 2u);
}

TEST(BitOperations, CarryLogicWithBits) {
    struct Case {
        std::uint8_t opcode;
        bool bitValue;
        bool carryIn;
        bool carryOut;
    };
    const Case cases[] = {
        {0x82, false, true, false}, {0x82, true, true, true},   {0x82, true, false, false},   // ANL C,bit
        {0xB0, true, true, false},  {0xB0, false, true, true},                                // ANL C,/bit
        {0x72, true, false, true},  {0x72, false, false, false}, {0x72, false, true, true},   // ORL C,bit
        {0xA0, false, false, true}, {0xA0, true, false, false},                               // ORL C,/bit
        {0xA2, true, false, true},  {0xA2, false, true, false},                               // MOV C,bit
    };
    for (const auto& c : cases) {
        auto p = NewProcessor();
        LoadCode(*p, 0, {c.opcode, 0x00});
        p->ucIntRAM[0x20] = c.bitValue ? 1 : 0;
        p->WriteDirect(sfr::PSW, c.carryIn ? psw::CY : 0);
        p->ExecuteInstructions(1);
        EXPECT_EQ(Flag(*p, psw::CY), c.carryOut) << std::hex << int(c.opcode) << " bit " << c.bitValue;
    }
}

TEST(BitOperations, SetClearComplementAndMoveCarry) {
    auto p = NewProcessor();
    // SETB 20h.3; CPL 20h.3; CPL 20h.4; SETB C; MOV 21h.0,C; CLR C; CPL C; CLR 20h.4
    LoadCode(*p, 0, {0xD2, 0x03, 0xB2, 0x03, 0xB2, 0x04, 0xD3, 0x92, 0x08, 0xC3, 0xB3, 0xC2, 0x04});
    p->ExecuteInstructions(3);
    EXPECT_EQ(p->ucIntRAM[0x20], 0x10);
    p->ExecuteInstructions(2);
    EXPECT_EQ(p->ucIntRAM[0x21], 0x01);
    p->ExecuteInstructions(1);
    EXPECT_FALSE(Flag(*p, psw::CY));
    p->ExecuteInstructions(1);
    EXPECT_TRUE(Flag(*p, psw::CY));
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->ucIntRAM[0x20], 0x00);
}

TEST(ReservedOpcode, RecordsAnErrorEachTimeAndContinues) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0xA5, 0xA5, 0xA5});
    p->ExecuteInstructions(3);
    ASSERT_EQ(p->lstErrors.Count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(p->lstErrors[i], "Reserved Opcode encountered");
    EXPECT_EQ(p->usPC, 3);
    EXPECT_EQ(p->ullInstructionsExecuted, 3u);
    EXPECT_EQ(p->ullCyclesExecuted, 3u);
}

TEST(Engine, ZeroCountChangesNothing) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x04});
    EXPECT_EQ(p->ExecuteInstructions(0), 1);
    EXPECT_EQ(p->usPC, 0);
    EXPECT_EQ(p->ullInstructionsExecuted, 0u);
    EXPECT_EQ(p->ucExecutionStatus, 0);
    EXPECT_TRUE(p->lstExecutedInstructions.Empty());
}

TEST(Engine, LeavesTheExecutedInstructionDecodedFields) {
    auto p = NewProcessor();
    LoadCode(*p, 0, {0x75, 0x30, 0x41});
    EXPECT_EQ(p->ExecuteInstructions(1), 1);
    EXPECT_EQ(p->ucExecutionStatus, 1);
    EXPECT_EQ(p->ucOpcode, 0x75);
    EXPECT_EQ(p->ucOperand1, 0x30);
    EXPECT_EQ(p->ucOperand2, 0x41);
    EXPECT_EQ(p->ucInstructionLength, 3);
    EXPECT_EQ(p->ucInstructionCycles, 2);
}

// The shared jump routines refuse to act in any mode but executing or decoding.
TEST(JumpRoutines, InvalidStatusIsReportedAndNothingMoves) {
    auto p = NewProcessor();
    p->usPC = 0x0102;
    p->ucCodeMemory[0x0100] = 0x11;
    p->ucCodeMemory[0x0101] = 0x05;
    for (std::uint8_t status : {std::uint8_t{0}, std::uint8_t{3}}) {
        p->lstErrors.Clear();
        p->ucExecutionStatus = status;
        EXPECT_EQ(RelativeJump(*p), 0x0102);
        EXPECT_EQ(AbsoluteJump(*p), 0x0102);
        EXPECT_EQ(AbsoluteCall(*p), 0x0102);
        EXPECT_EQ(p->usPC, 0x0102);
        EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);  // the call pushed nothing
        const std::string n = std::to_string(status);
        ASSERT_EQ(p->lstErrors.Count(), 3u);
        EXPECT_EQ(p->lstErrors[0], "Invalid S1B ucExecutionStatus( " + n + " )");
        EXPECT_EQ(p->lstErrors[1], "Invalid jmp ucExecutionStatus( " + n + " )");
        EXPECT_EQ(p->lstErrors[2], "Invalid call ucExecutionStatus( " + n + " )");
    }
}

TEST(JumpRoutines, DecodingComputesTargetsWithoutMoving) {
    auto p = NewProcessor();
    p->usPC = 0x07FE;
    p->ucExecutionStatus = 2;
    p->ucOpcode = 0x41;
    p->ucOperand1 = 0x23;
    p->ucInstructionLength = 2;
    EXPECT_EQ(AbsoluteJump(*p), 0x0A23);
    EXPECT_EQ(AbsoluteCall(*p), 0x0A23);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);
    p->usPC = 0xFFFE;
    p->ucOperand1 = 0x05;
    EXPECT_EQ(RelativeJump(*p), 0x0005);
    p->ucInstructionLength = 3;
    p->ucOperand2 = 0xFD;
    p->usPC = 0x0016;
    EXPECT_EQ(RelativeJump(*p), 0x0016);
    EXPECT_EQ(p->usPC, 0x0016);
    EXPECT_TRUE(p->lstErrors.Empty());
}

}  // namespace
}  // namespace tessaly
