#include <gtest/gtest.h>

#include "DecoderTestSupport.h"
#include "analysis/NearestCodeLabel.h"

namespace tessaly {
namespace {

// "label+distance" of what the search finds, or "none".
std::string Near(const Workspace& w, std::uint16_t address, std::uint16_t reach = 0x1000) {
    const auto near = NearestCodeLabel(w, address, reach);
    return near ? near->label + "+" + std::to_string(near->distance) : "none";
}

TEST(NearestCodeLabel, TheLabelAtOrBelowTheAddressWithinReach) {
    Workspace w;
    testing::SetLabel(w.lstCodeLabels, 0x0000, "RESET");
    testing::SetLabel(w.lstCodeLabels, 0x0123, "_putchar");
    testing::SetLabel(w.lstCodeLabels, 0x0140, "_printf");
    testing::SetLabel(w.lstNumberLabels, 0x0130, "COUNT");  // not a code label
    EXPECT_EQ(Near(w, 0x0123), "_putchar+0");
    EXPECT_EQ(Near(w, 0x0130), "_putchar+13");
    EXPECT_EQ(Near(w, 0x013F), "_putchar+28");
    EXPECT_EQ(Near(w, 0x0140), "_printf+0");
    EXPECT_EQ(Near(w, 0x0122), "RESET+290");
    // The reach counts the distance itself: 1140h is 1000h past _printf.
    EXPECT_EQ(Near(w, 0x1140), "_printf+4096");
    EXPECT_EQ(Near(w, 0x1141), "none");
    EXPECT_EQ(Near(w, 0x0150, 0x0F), "none");
    EXPECT_EQ(Near(w, 0xFFFF, 0xFFFF), "_printf+65215");
    EXPECT_EQ(Near(Workspace(), 0x0000), "none");
}

}  // namespace
}  // namespace tessaly
