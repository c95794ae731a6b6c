#include <gtest/gtest.h>

#include "control/SerialLog.h"
#include "core/SerialPort.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::NewProcessor;

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(SerialLog, UnshownBytesAreTakenOnceAndAgainAfterTheCursorsAreForgotten) {
    auto p = NewProcessor();
    TransmitByte(*p, 0x41);
    TransmitByte(*p, 0x42);
    const auto first = TakeUnshownBytes(*p, SerialLogSide::Transmit);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1], 0x42);
    EXPECT_EQ(p->iTxLogShown, 2);
    EXPECT_TRUE(TakeUnshownBytes(*p, SerialLogSide::Transmit).empty());
    EXPECT_TRUE(TakeUnshownBytes(*p, SerialLogSide::Receive).empty());

    TransmitByte(*p, 0x43);
    const auto next = TakeUnshownBytes(*p, SerialLogSide::Transmit);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0], 0x43);

    ForgetShownSerialBytes(*p);
    EXPECT_EQ(TakeUnshownBytes(*p, SerialLogSide::Transmit).size(), 3u);
    EXPECT_EQ(RecordedBytes(*p, SerialLogSide::Transmit).size(), 3u);
}

TEST(SerialLog, ClearingOneRecordLeavesTheOtherAndTheSerialRegisters) {
    auto p = NewProcessor();
    TransmitByte(*p, 0x41);
    p->ucRxLog[0] = 0x55;
    p->iRxLogPos = 1;
    ClearSerialLog(*p, SerialLogSide::Transmit);
    EXPECT_EQ(p->iTxLogPos, 0);
    EXPECT_EQ(p->iTxLogShown, 0);
    EXPECT_EQ(p->ucTxLog[0], 0);
    EXPECT_EQ(p->ReadDirect(sfr::SBUF), 0x41);
    EXPECT_EQ(p->bTxInProgress, 1);
    EXPECT_EQ(p->iRxLogPos, 1);
    EXPECT_EQ(p->ucRxLog[0], 0x55);
}

TEST(SerialLog, HexAndTextRenderings) {
    EXPECT_EQ(SerialBytesAsHex(Bytes("AB\x0d")), "41 42 0D ");
    bool afterCR = false;
    EXPECT_EQ(SerialBytesAsText(Bytes("Hi\r"), afterCR), "Hi\n");
    EXPECT_TRUE(afterCR);
    // The LF of a CR LF split between two calls makes no second break.
    EXPECT_EQ(SerialBytesAsText(Bytes("\nx\ny\r\r\x07~\x7f"), afterCR), "x\ny\n\n.~.");
    EXPECT_FALSE(afterCR);
}

}  // namespace
}  // namespace tessaly
