#include <gtest/gtest.h>

#include "core/OperandAccess.h"

namespace tessaly {
namespace {

OperandUse Use(std::uint8_t opcode, std::size_t position) { return kOpcodeOperands[opcode].operands[position]; }

TEST(OperandAccess, MovDirectToDirectReadsItsSecondByteAndWritesTheFirstNamed) {
    // 85h is encoded source first: MOV dest,src keeps src in operand byte 1.
    EXPECT_EQ(Use(0x85, 0).kind, OperandKind::Direct);
    EXPECT_EQ(Use(0x85, 0).operandByte, 2);
    EXPECT_EQ(Use(0x85, 0).access, kOperandWrite);
    EXPECT_EQ(Use(0x85, 1).operandByte, 1);
    EXPECT_EQ(Use(0x85, 1).access, kOperandRead);
}

TEST(OperandAccess, ReadModifyWriteExchangesAndTestsAreTold) {
    EXPECT_EQ(Use(0x42, 0).access, kOperandRead | kOperandWrite);  // ORL dir,A
    EXPECT_EQ(Use(0xC6, 1).kind, OperandKind::Indirect);            // XCH A,@R0
    EXPECT_TRUE(Use(0xC6, 1).Writes());
    EXPECT_TRUE(Use(0xD6, 0).Writes());                             // XCHD writes A too
    EXPECT_EQ(Use(0x10, 0).access, kOperandRead | kOperandWrite);  // JBC clears its bit
    EXPECT_EQ(Use(0x20, 0).access, kOperandRead);                   // JB only tests it
    EXPECT_EQ(Use(0xB6, 0).access, kOperandRead);                   // CJNE @R0,#data,rel
    EXPECT_EQ(Use(0xD0, 0).access, kOperandWrite);                  // POP dir
    EXPECT_EQ(Use(0xC0, 0).access, kOperandRead);                   // PUSH dir
    EXPECT_EQ(Use(0xC2, 0).access, kOperandWrite);                  // CLR bit
}

TEST(OperandAccess, ExternalAndCodeSpacesAreTheirOwnKinds) {
    EXPECT_EQ(Use(0xF2, 0).kind, OperandKind::ExternalAtRi);    // MOVX @R0,A
    EXPECT_TRUE(Use(0xF2, 0).Writes());
    EXPECT_EQ(Use(0xE0, 1).kind, OperandKind::ExternalAtDptr);  // MOVX A,@DPTR
    EXPECT_TRUE(Use(0xE0, 1).Reads());
    EXPECT_EQ(Use(0x83, 1).kind, OperandKind::CodeAtAPlusPc);   // MOVC A,@A+PC
    EXPECT_EQ(Use(0x73, 0).kind, OperandKind::CodeAddress);     // JMP @A+DPTR reads no data
    EXPECT_EQ(Use(0x73, 0).access, 0);
    EXPECT_EQ(Use(0x75, 1).kind, OperandKind::Immediate);       // MOV dir,#data
    EXPECT_EQ(Use(0xA5, 0).kind, OperandKind::None);            // reserved
}

}  // namespace
}  // namespace tessaly
