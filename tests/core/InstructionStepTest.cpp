#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "core/InstructionSet.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

constexpr std::uint16_t kStart = 0x1000;

// Opcodes that leave the PC somewhere else than after their own bytes even
// when every relative offset is 0: the absolute jumps and calls, the
// returns and JMP @A+DPTR.
bool JumpsAway(unsigned opcode) {
    if ((opcode & 0x0F) == 0x01) return true;  // AJMP, ACALL
    static const std::set<unsigned> kOthers = {0x02, 0x12, 0x22, 0x32, 0x73};
    return kOthers.count(opcode) != 0;
}

std::unique_ptr<Processor> MachineAt(unsigned opcode, std::uint8_t operand1, std::uint8_t operand2) {
    auto p = NewProcessor();
    LoadCode(*p, kStart, {static_cast<std::uint8_t>(opcode), operand1, operand2, 0xA7});
    p->usPC = kStart;
    // Timer 0 counts machine cycles in mode 1 (interrupts stay disabled).
    p->WriteDirect(sfr::TMOD, 0x01);
    p->WriteDirect(sfr::TCON, 0x10);
    return p;
}

TEST(InstructionStep, EveryOpcodeAdvancesPcCountersAndTimerByItsOwnLengthAndCycles) {
    for (unsigned opcode = 0; opcode < 256; ++opcode) {
        // A zero second and third byte make every relative jump land after
        // the instruction, taken or not.
        auto p = MachineAt(opcode, 0x00, 0x00);
        p->ExecuteInstructions(1);
        const OpcodeTiming timing = kOpcodeTimings[opcode];
        SCOPED_TRACE(testing::Message() << "opcode " << std::hex << opcode);
        EXPECT_EQ(p->ullInstructionsExecuted, 1u);
        EXPECT_EQ(p->ullBytesExecuted, timing.length);
        EXPECT_EQ(p->ullCyclesExecuted, timing.cycles);
        EXPECT_EQ(p->ucInstructionLength, timing.length);
        EXPECT_EQ(p->ucInstructionCycles, timing.cycles);
        EXPECT_EQ(p->ucOpcode, opcode);
        EXPECT_EQ(p->ucExecutionStatus, 1);
        EXPECT_EQ(p->ucIntRAM[sfr::TL0], timing.cycles);
        if (!JumpsAway(opcode)) {
            EXPECT_EQ(p->usPC, kStart + timing.length);
        }
    }
}

TEST(InstructionStep, OperandFieldsHoldTheTwoBytesAfterTheOpcode) {
    for (unsigned opcode = 0; opcode < 256; ++opcode) {
        auto p = MachineAt(opcode, 0x3C, 0x5A);
        p->ExecuteInstructions(1);
        EXPECT_EQ(p->ucOperand1, 0x3C) << std::hex << opcode;
        EXPECT_EQ(p->ucOperand2, 0x5A) << std::hex << opcode;
    }
}

// Wiring the serial port may change only what happens at SBUF: with
// operands that name other addresses, every opcode leaves the same machine.
TEST(InstructionStep, WiredSerialStepsMatchThePlainOnesAwayFromSbuf) {
    for (unsigned opcode = 0; opcode < 256; ++opcode) {
        auto plain = MachineAt(opcode, 0x3C, 0x5A);
        auto wired = MachineAt(opcode, 0x3C, 0x5A);
        for (auto* p : {plain.get(), wired.get()}) {
            p->WriteDirect(sfr::ACC, 0x96);
            p->WriteDirect(0x3C, 0x21);
            p->WriteDirect(0x5A, 0x42);
            p->WriteDirect(sfr::SBUF, 0x77);
        }
        wired->SetHardwareSerial(true);
        plain->ExecuteInstructions(1);
        wired->ExecuteInstructions(1);
        SCOPED_TRACE(testing::Message() << "opcode " << std::hex << opcode);
        EXPECT_EQ(wired->usPC, plain->usPC);
        EXPECT_EQ(wired->ullCyclesExecuted, plain->ullCyclesExecuted);
        EXPECT_TRUE(wired->ucIntRAM == plain->ucIntRAM);
        EXPECT_TRUE(wired->ucExtRAM == plain->ucExtRAM);
        EXPECT_EQ(wired->iTxLogPos, plain->iTxLogPos);
        EXPECT_EQ(wired->iRxLogPos, plain->iRxLogPos);
        EXPECT_EQ(wired->lstErrors.Count(), plain->lstErrors.Count());
    }
}

}  // namespace
}  // namespace tessaly
