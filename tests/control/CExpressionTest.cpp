#include <gtest/gtest.h>

#include <string>

#include "control/CExpression.h"
#include "control/CValueText.h"
#include "support/CdbSamples.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

// Expressions over the sample program's globals (kTypesCdb): head is a
// struct node at 40h (next: a generic pointer at 40h-42h, tag at 43h), gp a
// generic pointer at 44h, xp an xdata pointer at 47h, pp a pdata pointer at
// 4Dh, pts a point[2] at 53h, grid an int[2][3] at 5Bh, xarr an int[5] in
// xdata at 0003h.
class CExpressionTest : public ::testing::Test {
protected:
    std::variant<CObject, std::string> Evaluate(std::string_view text, std::uint16_t pc = 0x020C) {
        return EvaluateCExpression(*p, CScope{&info, pc, frame}, text);
    }
    std::string Value(std::string_view text, std::uint16_t pc = 0x020C) {
        const auto result = Evaluate(text, pc);
        if (const auto* why = std::get_if<std::string>(&result)) return "error: " + *why;
        return FormatCValue(*p, info, std::get<CObject>(result));
    }
    std::string Error(std::string_view text) {
        const auto result = Evaluate(text);
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "no error";
    }

    DebugInfo info = test::ReadCdbText(test::kTypesCdb);
    std::unique_ptr<Processor> p = test::NewProcessor();
    CFrame frame;
};

TEST_F(CExpressionTest, ElementsMembersAndNestedArrays) {
    // pts[1].y: 53h + 4 + 2 = 59h; grid[1][2]: 5Bh + (3 + 2) * 2 = 65h.
    p->ucIntRAM[0x59] = 0x34;
    p->ucIntRAM[0x5A] = 0x12;
    p->ucIntRAM[0x65] = 0xFE;
    p->ucIntRAM[0x66] = 0xFF;
    EXPECT_EQ(Value("pts[1].y"), "4660");
    EXPECT_EQ(Value(" ( pts [ 0x1 ] ) . y "), "4660");
    EXPECT_EQ(Value("grid[1][2]"), "-2");
    EXPECT_EQ(Value("grid[1]"), "{0, 0, -2}");
    EXPECT_EQ(Error("grid[2][0]"), "Index 2 is out of range for int[2][3]");
    EXPECT_EQ(Error("pts[0].z"), "struct point has no member 'z'");
    EXPECT_EQ(Error("pts.x"), "'struct point[2]' is not a struct or union");
    EXPECT_EQ(Error("big[0]"), "'long' is not an array or pointer");
}

TEST_F(CExpressionTest, PointersAreFollowedIntoTheirSpaces) {
    // gp -> xdata 0005h (tag 00h), the third int of xarr: *gp reads its low byte.
    p->ucIntRAM[0x44] = 0x05;
    p->ucIntRAM[0x45] = 0x00;
    p->ucIntRAM[0x46] = 0x00;
    p->ucExtRAM[0x0005] = 'Z';
    EXPECT_EQ(Value("*gp"), "90 'Z'");
    EXPECT_EQ(Value("gp[1]"), "0");
    // xp -> xdata 0003h, xarr[0]'s low byte; pp -> pdata 07h in page 0.
    p->ucIntRAM[0x47] = 0x03;
    p->ucExtRAM[0x0003] = 7;
    EXPECT_EQ(Value("*xp"), "7");
    p->ucIntRAM[0x4D] = 0x07;
    p->ucExtRAM[0x0007] = 9;
    EXPECT_EQ(Value("*pp"), "9");
    // The generic tag 40h reaches internal RAM: head.next -> head itself.
    p->ucIntRAM[0x40] = 0x40;
    p->ucIntRAM[0x41] = 0x00;
    p->ucIntRAM[0x42] = 0x40;
    p->ucIntRAM[0x43] = 'T';
    EXPECT_EQ(Value("head.next->tag"), "84 'T'");
    EXPECT_EQ(Value("head.next->next->next->tag"), "84 'T'");
    EXPECT_EQ(Value("(*head.next).tag"), "84 'T'");
    p->ucIntRAM[0x40] = p->ucIntRAM[0x41] = p->ucIntRAM[0x42] = 0;
    EXPECT_EQ(Error("head.next->tag"), "The pointer is null");
    EXPECT_EQ(Error("*big"), "'long' is not a pointer");
    EXPECT_EQ(Error("*fn"), "A function pointer cannot be followed");
}

TEST_F(CExpressionTest, LocalsComeBeforeGlobalsAndBadTextIsNamed) {
    // In main (pc 0109h-020Ch) the local struct point `local` at 68h.
    p->ucIntRAM[0x68] = 3;
    EXPECT_EQ(Value("local.x", 0x0109), "3");
    EXPECT_EQ(Value("local.x", 0x0087), "error: No variable named 'local'");
    EXPECT_EQ(Error("nosuch"), "No variable named 'nosuch'");
    EXPECT_EQ(Error("pts[1"), "Missing ']' in 'pts[1'");
    EXPECT_EQ(Error("pts[x]"), "Expected a number in [] in 'pts[x]'");
    EXPECT_EQ(Error("(pts[1]"), "Missing ')' in '(pts[1]'");
    EXPECT_EQ(Error("pts[1] + 1"), "Unexpected '+ 1' in 'pts[1] + 1'");
    EXPECT_EQ(Error(""), "Expected a variable name in ''");
    EXPECT_EQ(Error(std::string(100, '*') + "gp"), "The expression is nested too deeply");
    EXPECT_EQ(std::get<std::string>(EvaluateCExpression(*p, CScope{}, "gp")), "No C debug information is loaded");
}

TEST_F(CExpressionTest, TheFormAloneIsCheckedWithTheSameMessages) {
    // Well formed, whether or not the names, members and pointers lead
    // anywhere where they are evaluated.
    for (const char* text :
         {"pts[1].y", " ( pts [ 0x1 ] ) . y ", "nosuch[3].x", "head.next->next->tag", "**gp", "local"}) {
        EXPECT_EQ(CExpressionFormError(text), "") << text;
    }
    for (const char* text : {"pts[1", "pts[x]", "(pts[1]", "pts[1] + 1", "", "pts.", "1x", "pts[0].2y"}) {
        EXPECT_EQ(CExpressionFormError(text), Error(text)) << text;
    }
    EXPECT_EQ(CExpressionFormError("1x"), "'1x' is not a C name");
    EXPECT_EQ(CExpressionFormError("head->"), "Expected a member name in 'head->'");
    EXPECT_EQ(CExpressionFormError(std::string(100, '*') + "gp"), "The expression is nested too deeply");
}

TEST_F(CExpressionTest, EachChildIsNamedByAnExpressionThatReachesIt) {
    // head.next -> head itself (generic tag 40h: internal RAM).
    p->ucIntRAM[0x42] = 0x40;
    p->ucIntRAM[0x40] = 0x40;
    EXPECT_EQ(ChildExpression("pts", {"[1]", {}}), "pts[1]");
    EXPECT_EQ(ChildExpression("pts[1]", {"y", {}}), "pts[1].y");
    EXPECT_EQ(ChildExpression("head.next->next", {"tag", {}}), "head.next->next.tag");
    EXPECT_EQ(ChildExpression("*head.next", {"tag", {}}), "(*head.next).tag");
    EXPECT_EQ(ChildExpression("grid [1]", {"[2]", {}}), "(grid [1])[2]");
    // Every element and member down from these, as the windows list them.
    std::vector<std::pair<std::string, CObject>> pending;
    for (const char* root : {"pts", "grid", "head", "both", "fl", "*head.next", "xarr"}) {
        pending.emplace_back(root, std::get<CObject>(Evaluate(root)));
    }
    int reached = 0;
    while (!pending.empty()) {
        const auto [path, object] = pending.back();
        pending.pop_back();
        EXPECT_EQ(HasChildren(info, object), !ChildrenOf(info, object).empty()) << path;
        for (const CChild& child : ChildrenOf(info, object)) {
            const std::string expression = ChildExpression(path, child);
            const auto found = Evaluate(expression);
            ASSERT_TRUE(std::holds_alternative<CObject>(found)) << expression << ": " << std::get<std::string>(found);
            EXPECT_EQ(std::get<CObject>(found).address, child.object.address) << expression;
            EXPECT_EQ(std::get<CObject>(found).memory, child.object.memory) << expression;
            EXPECT_EQ(std::get<CObject>(found).type.Spelling(), child.object.type.Spelling()) << expression;
            pending.emplace_back(expression, child.object);
            ++reached;
        }
    }
    // pts 2 + 4, grid 2 + 6, head 2, both 2 + 4, fl 3, *head.next 2, xarr 5.
    EXPECT_EQ(reached, 32);
    EXPECT_FALSE(HasChildren(info, std::get<CObject>(Evaluate("big"))));
    EXPECT_FALSE(HasChildren(info, std::get<CObject>(Evaluate("gp"))));
}

}  // namespace
}  // namespace tessaly
