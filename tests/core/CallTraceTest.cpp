#include <gtest/gtest.h>

#include <vector>

#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

struct Open {
    std::uint16_t returnAddress, entry;
    std::uint8_t stackTop;
    int interrupt;
    friend bool operator==(const Open&, const Open&) = default;
    friend void PrintTo(const Open& o, std::ostream* os) {
        *os << std::hex << o.returnAddress << "<-" << o.entry << " @" << int(o.stackTop) << " irq " << o.interrupt;
    }
};

std::vector<Open> Frames(const Processor& p) {
    std::vector<Open> open;
    for (const auto& f : p.calls.Frames(p.ucIntRAM[sfr::SP])) {
        open.push_back({f.returnAddress, f.entry, f.stackTop, f.interrupt});
    }
    return open;
}

// A routine that calls itself until R7 counts down, entered by LCALL and
// re-entered by ACALL:
//   0000 MOV R7,#3   0002 LCALL 0010   0005 SJMP $
//   0010 DJNZ R7,0016   0012 RET   0016 ACALL 0010   0018 RET
TEST(CallTrace, RecursionOpensAndClosesOneFramePerCall) {
    auto p = NewProcessor();
    LoadCode(*p, 0x0000, {0x7F, 0x03, 0x12, 0x00, 0x10, 0x80, 0xFE});
    LoadCode(*p, 0x0010, {0xDF, 0x04, 0x22});
    LoadCode(*p, 0x0016, {0x11, 0x10, 0x22});
    p->ExecuteInstructions(7);
    ASSERT_EQ(p->usPC, 0x0012);
    EXPECT_EQ(Frames(*p), (std::vector<Open>{{0x0005, 0x0010, 0x09, -1},
                                             {0x0018, 0x0010, 0x0B, -1},
                                             {0x0018, 0x0010, 0x0D, -1}}));
    p->ExecuteInstructions(2);
    EXPECT_EQ(Frames(*p), (std::vector<Open>{{0x0005, 0x0010, 0x09, -1}}));
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0005);
    EXPECT_TRUE(Frames(*p).empty());
}

// Two pushes and a RET jump without returning: the call around them stays
// open until its own RET.
//   0000 LCALL 0030   0003 SJMP $
//   0030 MOV A,#40h  PUSH ACC  MOV A,#00h  PUSH ACC  RET      0040 RET
TEST(CallTrace, ComputedJumpThroughRetKeepsTheCallerFrame) {
    auto p = NewProcessor();
    LoadCode(*p, 0x0000, {0x12, 0x00, 0x30, 0x80, 0xFE});
    LoadCode(*p, 0x0030, {0x74, 0x40, 0xC0, 0xE0, 0x74, 0x00, 0xC0, 0xE0, 0x22});
    LoadCode(*p, 0x0040, {0x22});
    p->ExecuteInstructions(6);
    ASSERT_EQ(p->usPC, 0x0040);
    EXPECT_EQ(Frames(*p), (std::vector<Open>{{0x0003, 0x0030, 0x09, -1}}));
    p->ExecuteInstructions(1);
    EXPECT_EQ(p->usPC, 0x0003);
    EXPECT_TRUE(Frames(*p).empty());
}

// An interrupt entry is a frame of its own, naming its source and the
// interrupted instruction; moving SP below a frame ends it as a return does.
//   0000 SETB EA  SETB ET0  SETB TF0  0006 SJMP $      000B MOV SP,#07h
TEST(CallTrace, InterruptEntryAndStackResets) {
    auto p = NewProcessor();
    LoadCode(*p, 0x0000, {0xD2, 0xAF, 0xD2, 0xA9, 0xD2, 0x8D, 0x80, 0xFE});
    LoadCode(*p, 0x000B, {0x75, 0x81, 0x07});
    for (int i = 0; i < 10 && p->usPC != 0x000B; ++i) p->ExecuteInstructions(1);
    ASSERT_EQ(p->usPC, 0x000B);
    const std::vector<Open> frames = Frames(*p);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].entry, 0x000B);
    EXPECT_EQ(frames[0].interrupt, 1);
    EXPECT_EQ(frames[0].stackTop, 0x09);
    EXPECT_EQ(frames[0].returnAddress, (p->ucIntRAM[0x09] << 8) | p->ucIntRAM[0x08]);
    p->ExecuteInstructions(1);
    EXPECT_TRUE(Frames(*p).empty());
    p->FullReset();
    EXPECT_TRUE(p->calls.Frames(0xFF).empty());
}

}  // namespace
}  // namespace tessaly
