#include <gtest/gtest.h>

#include "control/BreakCondition.h"
#include "control/BreakConditionText.h"

namespace tessaly {
namespace {

BreakCondition Condition(const char* text) {
    auto parsed = ParseBreakCondition(text);
    if (auto* why = std::get_if<std::string>(&parsed)) ADD_FAILURE() << *why;
    return std::get<BreakCondition>(parsed);
}

TEST(BreakCondition, ReadsEachOperatorAndEachWayOfWritingTheValue) {
    const struct {
        const char* text;
        const char* left;
        CompareOp op;
        std::int64_t right;
    } cases[] = {
        {"ACC == 5", "ACC", CompareOp::Equal, 5},
        {"30H!=0x1F", "30H", CompareOp::NotEqual, 0x1F},
        {" count <= -3 ", "count", CompareOp::LessEqual, -3},
        {"list[2].value >= 0FFH", "list[2].value", CompareOp::GreaterEqual, 0xFF},
        {"TL0 < 10", "TL0", CompareOp::Less, 10},
        {"X:1234H > 7", "X:1234H", CompareOp::Greater, 7},
        {"PSW & 80H", "PSW", CompareOp::AnyBitOf, 0x80},
    };
    for (const auto& c : cases) {
        const BreakCondition condition = Condition(c.text);
        EXPECT_EQ(condition.left, c.left) << c.text;
        EXPECT_EQ(condition.op, c.op) << c.text;
        EXPECT_EQ(condition.right, c.right) << c.text;
    }
}

TEST(BreakCondition, RefusesWhatItCannotReadWithTheReason) {
    const auto why = [](const char* text) { return std::get<std::string>(ParseBreakCondition(text)); };
    EXPECT_EQ(why("count"), "'count': a condition is LOCATION OP VALUE, OP one of == != < <= > >= &");
    EXPECT_EQ(why("== 3"), "'== 3': the condition names nothing before ==");
    EXPECT_EQ(why("count == three"), "'count == three': the value after == is not a number");
}

TEST(BreakCondition, ComparesSignedValues) {
    EXPECT_TRUE(ConditionHolds(Condition("x < 0"), -1));
    EXPECT_FALSE(ConditionHolds(Condition("x < 0"), 0));
    EXPECT_TRUE(ConditionHolds(Condition("x >= -2"), -2));
    EXPECT_TRUE(ConditionHolds(Condition("x & 0x81"), 0x80));
    EXPECT_FALSE(ConditionHolds(Condition("x & 0x81"), 0x7E));
}

TEST(HitCondition, StopsOnTheHitsItNames) {
    const auto stopsAt = [](const char* text) {
        const HitCondition condition = std::get<HitCondition>(ParseHitCondition(text));
        std::string hits;
        for (std::uint64_t n = 1; n <= 7; ++n) hits += HitStops(condition, n) ? '1' : '.';
        return hits;
    };
    EXPECT_EQ(stopsAt("3"), "..1....");
    EXPECT_EQ(stopsAt("==3"), "..1....");
    EXPECT_EQ(stopsAt(">=3"), "..11111");
    EXPECT_EQ(stopsAt(">3"), "...1111");
    EXPECT_EQ(stopsAt("%3"), "..1..1.");
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseHitCondition("0")));
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseHitCondition("%0")));
}

// What a dialog shows again reads back as the same condition.
TEST(BreakConditionText, WritesWhatWasReadInOneSpelling) {
    EXPECT_EQ(BreakConditionText(Condition("ACC==0x1F")), "ACC == 31");
    EXPECT_EQ(BreakConditionText(Condition("  counter.n <= -2 ")), "counter.n <= -2");
    EXPECT_EQ(BreakConditionText(Condition("PSW & 80H")), "PSW & 128");
    for (const char* typed : {"7", ">=7", ">7", "%7"}) {
        const auto hits = ParseHitCondition(typed);
        ASSERT_TRUE(std::holds_alternative<HitCondition>(hits)) << typed;
        EXPECT_EQ(HitConditionText(std::get<HitCondition>(hits)), typed);
    }
    EXPECT_EQ(HitConditionText(std::get<HitCondition>(ParseHitCondition("==7"))), "7");
}

TEST(BreakPointConditions, CountOnlyTheHitsWhoseConditionHolds) {
    BreakPointConditions conditions;
    conditions.Set(0x100, {Condition("A == 1"), HitCondition{HitCondition::Kind::Equal, 2}, 0});
    std::int64_t a = 0;
    const BreakPointConditions::Evaluator evaluate = [&](std::string_view) { return a; };
    EXPECT_FALSE(conditions.Stops(0x100, evaluate));  // condition false: no hit
    a = 1;
    EXPECT_FALSE(conditions.Stops(0x100, evaluate));  // first hit
    EXPECT_TRUE(conditions.Stops(0x100, evaluate));   // second hit
    EXPECT_EQ(conditions.Find(0x100)->hitCount, 2u);
    EXPECT_TRUE(conditions.Stops(0x200, evaluate));   // no entry: always stops

    // A condition that cannot be read stops, and says why.
    const BreakPointConditions::Evaluator unreadable = [](std::string_view) { return std::string("No variable named 'A'"); };
    conditions.Set(0x300, {Condition("A == 1"), std::nullopt, 0});
    std::string why;
    EXPECT_TRUE(conditions.Stops(0x300, unreadable, &why));
    EXPECT_EQ(why, "No variable named 'A'");
}

}  // namespace
}  // namespace tessaly
