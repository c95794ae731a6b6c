#include <gtest/gtest.h>

#include <random>
#include <set>

#include "control/BreakPoints.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

std::vector<std::string> ListOf(const BreakPoints& points) { return points.List().Lines(); }

TEST(BreakPointText, IsHexWithPrefixAndFourUpperCaseDigits) {
    EXPECT_EQ(BreakPoints::Text(0x0000), "0x0000");
    EXPECT_EQ(BreakPoints::Text(0x1A2B), "0x1A2B");
    EXPECT_EQ(BreakPoints::Text(0x00FF), "0x00FF");
    EXPECT_EQ(BreakPoints::Text(0xFFFF), "0xFFFF");
    EXPECT_EQ(BreakPoints::DisplayText(0x1A2B), "1A2BH");
    EXPECT_EQ(BreakPoints::DisplayText(0x0009), "0009H");
}

TEST(BreakPointText, ParsesOnlyTheFixedForm) {
    const struct {
        const char* text;
        std::optional<std::uint16_t> address;
    } cases[] = {
        {"0x1A2B", 0x1A2B}, {"0X1A2B", 0x1A2B}, {"0x1a2b", 0x1A2B}, {"0x0000", 0x0000}, {"0xFFFF", 0xFFFF},
        {"", std::nullopt}, {"0x", std::nullopt}, {"0x123", std::nullopt}, {"0x12345", std::nullopt},
        {"1A2B", std::nullopt}, {"001A2B", std::nullopt}, {"0x1G2B", std::nullopt}, {" 0x1A2B", std::nullopt},
        {"0x1A2B ", std::nullopt}, {"1x1A2B", std::nullopt}, {"0x-123", std::nullopt}, {"0x+123", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(BreakPoints::ParseText(c.text), c.address) << '"' << c.text << '"';
}

TEST(BreakPoints, AddKeepsTheListSortedByAddress) {
    BreakPoints points;
    for (std::uint16_t a : {0x0100, 0x000A, 0xFFFF, 0x0000, 0x00A0, 0x1000}) EXPECT_TRUE(points.Add(a));
    EXPECT_EQ(ListOf(points), (std::vector<std::string>{"0x0000", "0x000A", "0x00A0", "0x0100", "0x1000", "0xFFFF"}));
    EXPECT_EQ(points.AddressAt(2), 0x00A0);
    EXPECT_TRUE(points.Contains(0x00A0));
    EXPECT_FALSE(points.Contains(0x00A1));
}

TEST(BreakPoints, AddingAnAddressTwiceLeavesOneEntry) {
    BreakPoints points;
    EXPECT_TRUE(points.Add(0x1234));
    EXPECT_FALSE(points.Add(0x1234));
    EXPECT_EQ(points.Count(), 1u);
    EXPECT_EQ(ListOf(points), std::vector<std::string>{"0x1234"});
}

TEST(BreakPoints, DeleteByAddressAndByRow) {
    BreakPoints points;
    for (std::uint16_t a : {1, 2, 3, 4}) points.Add(a);
    EXPECT_TRUE(points.Delete(2));
    EXPECT_FALSE(points.Delete(2));
    EXPECT_TRUE(points.DeleteAt(2));  // the entry 0x0004
    EXPECT_EQ(ListOf(points), (std::vector<std::string>{"0x0001", "0x0003"}));
    EXPECT_FALSE(points.Contains(4));
    EXPECT_FALSE(points.DeleteAt(2));
    EXPECT_TRUE(points.DeleteAt(0));
    EXPECT_EQ(ListOf(points), std::vector<std::string>{"0x0003"});
}

TEST(BreakPoints, ToggleAddsThenRemoves) {
    BreakPoints points;
    EXPECT_TRUE(points.Toggle(0x40));
    EXPECT_TRUE(points.Contains(0x40));
    EXPECT_FALSE(points.Toggle(0x40));
    EXPECT_FALSE(points.Contains(0x40));
    EXPECT_TRUE(points.Empty());
}

TEST(BreakPoints, ClearEmptiesListAndLookUp) {
    BreakPoints points;
    points.Add(7);
    points.Add(0xFFFF);
    points.Clear();
    EXPECT_TRUE(points.Empty());
    EXPECT_FALSE(points.Contains(7));
    EXPECT_FALSE(points.Contains(0xFFFF));
    EXPECT_TRUE(points.Add(7));
}

TEST(BreakPoints, SetFromLinesSortsDropsDuplicatesAndDropsWhatIsNotABreakPoint) {
    BreakPoints points;
    points.Add(0x9999);
    points.SetFromLines({"0x2000", "0x0010", "0x2000", "0x00ff", "0X0011", "", "garbage", "0x12", "0x123456", "1234",
                         "0x0010"});
    EXPECT_EQ(ListOf(points), (std::vector<std::string>{"0x0010", "0x0011", "0x00FF", "0x2000"}));
    EXPECT_FALSE(points.Contains(0x9999));
    EXPECT_TRUE(points.Contains(0x00FF));
    points.SetFromLines({});
    EXPECT_TRUE(points.Empty());
}

TEST(BreakPoints, ListRoundTripsThroughSetFromLines) {
    BreakPoints points;
    for (std::uint16_t a : {0xC000, 0x0003, 0x7FFF}) points.Add(a);
    BreakPoints copy;
    copy.SetFromLines(points.List().Lines());
    EXPECT_TRUE(copy == points);
    EXPECT_EQ(copy.List(), points.List());
}

TEST(BreakPoints, EveryAddressCanBeABreakPoint) {
    BreakPoints points;
    for (std::uint32_t a = 0; a < 0x10000; ++a) points.Add(static_cast<std::uint16_t>(a));
    EXPECT_EQ(points.Count(), 65536u);
    EXPECT_EQ(points.List()[0], "0x0000");
    EXPECT_EQ(points.List()[0xABCD], "0xABCD");
    EXPECT_EQ(points.List().Last(), "0xFFFF");
}

TEST(BreakPoints, ListAndLookUpAgreeAfterRandomEdits) {
    BreakPoints points;
    std::set<std::uint16_t> model;
    std::mt19937 random(12345);
    for (int step = 0; step < 3000; ++step) {
        const auto address = static_cast<std::uint16_t>(random() % 64 * 1000);
        switch (random() % 4) {
            case 0: EXPECT_EQ(points.Add(address), model.insert(address).second); break;
            case 1: EXPECT_EQ(points.Delete(address), model.erase(address) == 1); break;
            case 2: {
                const bool listedAfter = model.count(address) == 0;
                if (listedAfter) model.insert(address);
                else model.erase(address);
                EXPECT_EQ(points.Toggle(address), listedAfter);
                break;
            }
            default:
                if (!model.empty()) {
                    const std::size_t row = random() % model.size();
                    model.erase(std::next(model.begin(), static_cast<std::ptrdiff_t>(row)));
                    EXPECT_TRUE(points.DeleteAt(row));
                }
        }
    }
    std::vector<std::string> expected;
    for (auto a : model) expected.push_back(BreakPoints::Text(a));
    EXPECT_EQ(ListOf(points), expected);
    for (std::uint32_t a = 0; a < 0x10000; a += 1000) {
        const auto address = static_cast<std::uint16_t>(a);
        EXPECT_EQ(points.Contains(address), model.count(address) == 1) << a;
    }
}

TEST(CheckBreakPoint, HitReturnsOneAndArmsTheSkipFlag) {
    auto p = test::NewProcessor();
    BreakPoints points;
    points.Add(0x0123);
    p->usPC = 0x0123;
    EXPECT_TRUE(points.CheckBreakPoint(*p));
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);
}

TEST(CheckBreakPoint, MissReturnsMinusOneAndChangesNothing) {
    auto p = test::NewProcessor();
    BreakPoints points;
    points.Add(0x0123);
    p->usPC = 0x0124;
    EXPECT_FALSE(points.CheckBreakPoint(*p));
    EXPECT_EQ(p->bSkipBreakPointOnce, 0);
    p->bSkipBreakPointOnce = 1;
    EXPECT_FALSE(points.CheckBreakPoint(*p));
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);
}

// A run as the execution loops make it: the test before every instruction,
// at most `limit` instructions. Returns the number executed.
int RunUntilBreak(Processor& p, const BreakPoints& points, int limit) {
    int executed = 0;
    while (executed < limit && !points.StopsBeforeInstruction(p)) {
        p.ExecuteInstructions(1);
        ++executed;
    }
    return executed;
}

TEST(CheckBreakPoint, RunStopsAtTheBreakPointAndResumesPastIt) {
    auto p = test::NewProcessor();  // code memory all NOP
    BreakPoints points;
    points.Add(0x0003);
    EXPECT_EQ(RunUntilBreak(*p, points, 100), 3);
    EXPECT_EQ(p->usPC, 0x0003);
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);
    EXPECT_EQ(RunUntilBreak(*p, points, 5), 5) << "the instruction at the break point runs once on resume";
    EXPECT_EQ(p->usPC, 0x0008);
    EXPECT_EQ(p->bSkipBreakPointOnce, 0);
}

TEST(CheckBreakPoint, BreakPointWhereTheRunStartsStopsBeforeAnyInstruction) {
    auto p = test::NewProcessor();
    BreakPoints points;
    points.Add(0x0000);
    EXPECT_EQ(RunUntilBreak(*p, points, 10), 0);
    EXPECT_EQ(p->ullInstructionsExecuted, 0u);
    EXPECT_EQ(RunUntilBreak(*p, points, 10), 10);
    EXPECT_EQ(p->ullInstructionsExecuted, 10u);
}

TEST(CheckBreakPoint, SingleStepAfterAStopKeepsTheFlagForTheNextRun) {
    auto p = test::NewProcessor();
    BreakPoints points;
    points.Add(0x0002);
    points.Add(0x0003);
    EXPECT_EQ(RunUntilBreak(*p, points, 100), 2);
    p->ExecuteInstructions(1);  // a single step: no test, the flag stays
    EXPECT_EQ(p->usPC, 0x0003);
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);
    EXPECT_EQ(RunUntilBreak(*p, points, 4), 4) << "the first instruction of the next run is not tested";
    EXPECT_EQ(p->usPC, 0x0007);
}

TEST(CheckBreakPoint, AddedDuringARunTakesEffectAtTheNextInstruction) {
    auto p = test::NewProcessor();
    BreakPoints points;
    EXPECT_EQ(RunUntilBreak(*p, points, 2), 2);
    points.Add(0x0004);
    EXPECT_EQ(RunUntilBreak(*p, points, 100), 2);
    EXPECT_EQ(p->usPC, 0x0004);
}

}  // namespace
}  // namespace tessaly
