#include <gtest/gtest.h>

#include "control/SelfLoops.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

TEST(SelfLoops, OnlyJumpsToTheirOwnAddressCount) {
    auto p = test::NewProcessor();
    auto put = [&](std::uint16_t at, std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t b : bytes) p->ucCodeMemory[at++] = b;
    };
    put(0x0010, {0x80, 0xFE});        // SJMP $
    put(0x0020, {0x80, 0xFD});        // SJMP $-1
    put(0x0030, {0x02, 0x00, 0x30});  // LJMP 0030H
    put(0x0040, {0x02, 0x00, 0x30});  // LJMP 0030H
    put(0x0750, {0xE1, 0x50});        // AJMP 0750H: page bits 111 in the opcode
    put(0x0850, {0xE1, 0x50});        // AJMP 0F50H from page 0800H
    // A jump that straddles the end of code memory reads the guard bytes.
    put(0xFFFF, {0x80});
    EXPECT_TRUE(JumpsToItself(*p, 0x0010));
    EXPECT_FALSE(JumpsToItself(*p, 0x0020));
    EXPECT_TRUE(JumpsToItself(*p, 0x0030));
    EXPECT_FALSE(JumpsToItself(*p, 0x0040));
    EXPECT_TRUE(JumpsToItself(*p, 0x0750));
    EXPECT_FALSE(JumpsToItself(*p, 0x0850));
    EXPECT_FALSE(JumpsToItself(*p, 0xFFFF));
    std::vector<std::uint16_t> all;
    SelfLoopAddresses(*p).ForEach([&](std::uint16_t a) { all.push_back(a); });
    EXPECT_EQ(all, (std::vector<std::uint16_t>{0x0010, 0x0030, 0x0750}));
}

}  // namespace
}  // namespace tessaly
