#include <gtest/gtest.h>

#include "control/Location.h"
#include "core/SerialPort.h"
#include "session/SerialFeed.h"
#include "support/DesktopRecorder.h"
#include "support/RunRecorder.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

// Serial mode 1 at 9600 baud from 11.0592 MHz: a frame of 10 bits takes
// 1041 us, 959.4 machine cycles.
struct SerialFeedTest : ::testing::Test {
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    Session session{{}, messages, desktop, runs};
    Processor& p = session.processor();
    SerialFeed feed;

    void SetUp() override {
        SimulationSettings settings = session.settings.Current();
        settings.crystalFrequency = 11059200.0;
        session.settings.Accept(settings);
        p.WriteDirect(sfr::TMOD, 0x20);
        p.WriteDirect(sfr::TH1, 0xFD);
        p.WriteBit(bit::TR1, 1);
        p.WriteDirect(sfr::SCON, 0x40);  // mode 1, reception off
        UpdateBaudRates(p);
    }
};

TEST_F(SerialFeedTest, BytesArriveOneFrameApartWhenTheProgramTakesThem) {
    feed.Add("Hi");
    EXPECT_FALSE(feed.Deliver(session)) << "REN is clear";
    p.WriteBit(bit::REN, 1);
    ASSERT_TRUE(feed.Deliver(session));
    EXPECT_EQ(p.ReadDirect(sfr::SBUF), 'H');
    EXPECT_EQ(p.ReadBit(bit::RI), 1);
    EXPECT_EQ(feed.Pending(), 1u);
    EXPECT_FALSE(feed.Deliver(session)) << "RI is still set";

    p.WriteBit(bit::RI, 0);
    p.ullCyclesExecuted += 959;
    EXPECT_FALSE(feed.Deliver(session)) << "the next frame is still on the line";
    p.ullCyclesExecuted += 1;
    ASSERT_TRUE(feed.Deliver(session));
    EXPECT_EQ(p.ReadDirect(sfr::SBUF), 'i');
    EXPECT_TRUE(feed.Empty());
    p.WriteBit(bit::RI, 0);
    p.ullCyclesExecuted += 10000;
    EXPECT_FALSE(feed.Deliver(session)) << "nothing left";
}

TEST_F(SerialFeedTest, NothingArrivesWithoutAValidReceiveRate) {
    p.WriteBit(bit::REN, 1);
    p.WriteBit(bit::TR1, 0);  // timer 1 stopped: no rate
    UpdateBaudRates(p);
    feed.Add(std::string_view("\0", 1));
    EXPECT_FALSE(feed.Deliver(session));
    EXPECT_EQ(p.ReadBit(bit::RI), 0);
    p.WriteBit(bit::TR1, 1);
    UpdateBaudRates(p);
    ASSERT_TRUE(feed.Deliver(session));
    EXPECT_EQ(p.ReadDirect(sfr::SBUF), 0);
    EXPECT_EQ(p.ReadBit(bit::RI), 1);
}

// The code memory is all NOPs; a byte that arrived after the place the
// machine goes back to is waiting again, and arrives again going forward.
TEST_F(SerialFeedTest, GoingBackBeforeAnArrivalPutsTheByteBack) {
    session.History().Restart(p);
    session.settings.Live().refreshType = 3;
    const auto runTo = [&](std::uint64_t end) {
        session.controller().SetBudget({end, UINT64_MAX});
        session.controller().StartStop();
    };
    feed.Add("AB");
    p.WriteBit(bit::REN, 1);
    ASSERT_TRUE(feed.Deliver(session));
    runTo(1000);
    session.WriteValue({LocationKind::SfrBit, *CatalogueIndex(LocationKind::SfrBit, "RI")}, 0);
    runTo(2000);
    ASSERT_TRUE(feed.Deliver(session));
    EXPECT_EQ(p.ReadDirect(sfr::SBUF), 'B');
    EXPECT_TRUE(feed.Empty());

    session.StepBack(10);
    ASSERT_EQ(p.ullInstructionsExecuted, 1990u);
    EXPECT_EQ(p.ReadDirect(sfr::SBUF), 'A');
    EXPECT_EQ(p.ReadBit(bit::RI), 0);
    feed.FollowGoingBack(p);
    EXPECT_EQ(feed.Pending(), 1u);
    ASSERT_TRUE(feed.Deliver(session)) << "a frame time has passed since A arrived";
    EXPECT_EQ(p.ReadDirect(sfr::SBUF), 'B');
}

}  // namespace
}  // namespace tessaly
