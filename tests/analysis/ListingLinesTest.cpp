#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/ListingLines.h"
#include "util/FileBytes.h"
#include "util/Lines.h"

namespace tessaly {
namespace {

TEST(ListingLines, As31AndRelocatedListingLinesHoldTheirCode) {
    const ListingLines as31({
        "                   ; comment",                       // 1
        "0000:                      .equ    STACK, 0x5F",     // 2: no bytes
        "0000: 02 00 30     reset:  ljmp    start",           // 3
        "                   ",                                // 4
        "0030: 75 81 5F     start:  mov     sp, #STACK",      // 5
        "0033: E4           clr a",                           // 6
    });
    EXPECT_EQ(as31.BreakPointAt(1), (std::pair<int, std::uint16_t>{3, 0x0000}));
    EXPECT_EQ(as31.BreakPointAt(4), (std::pair<int, std::uint16_t>{5, 0x0030}));
    EXPECT_EQ(as31.BreakPointAt(6), (std::pair<int, std::uint16_t>{6, 0x0033}));
    EXPECT_EQ(as31.BreakPointAt(7), std::nullopt);
    EXPECT_EQ(as31.LineAt(0x0030), 5);
    EXPECT_EQ(as31.LineAt(0x0031), std::nullopt);

    const ListingLines rst({
        "      000081                        571 _main:",                               // 1: a label alone
        "                           00001F   572 \tC$c_printf.c$40$2_0$19 ==.",         // 2
        "      000081 75 08 01         [24]  574 \tmov\t_main_factorial_65536_19,#0x01", // 3
        "      000084 E4               [12]  575 \tclr\ta",                              // 4
        "      010000 E4               [12]  576 \tclr\ta",                              // 5: past 64K
    });
    EXPECT_EQ(rst.BreakPointAt(1), (std::pair<int, std::uint16_t>{3, 0x0081}));
    EXPECT_EQ(rst.LineAt(0x0084), 4);
    EXPECT_EQ(rst.BreakPointAt(5), std::nullopt);
    EXPECT_TRUE(ListingLines({"no code", "0030 75", "0030: 7", "      00003"}).Empty());
}

TEST(ListingLines, TheHelloListingPlacesItsRoutines) {
    const auto text = ReadWholeFile(std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/hello/hello.lst");
    ASSERT_TRUE(text);
    const std::vector<std::string> lines = SplitLines(*text);
    const ListingLines listing(lines);
    const auto start = listing.LineAt(0x0030);
    ASSERT_TRUE(start);
    EXPECT_NE(lines[static_cast<std::size_t>(*start - 1)].find("start:"), std::string::npos);
    const auto puts = listing.LineAt(0x004E);
    ASSERT_TRUE(puts);
    EXPECT_NE(lines[static_cast<std::size_t>(*puts - 1)].find("puts:"), std::string::npos);
}

}  // namespace
}  // namespace tessaly
