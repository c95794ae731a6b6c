#include <gtest/gtest.h>

#include "core/TextList.h"

namespace tessaly {
namespace {

TEST(TextList, AppendReadAndDeleteLast) {
    TextList list;
    list.Append("a");
    list.Append("bb");
    list.Append("a");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0], "a");
    EXPECT_EQ(list[1], "bb");
    EXPECT_EQ(list.Last(), "a");
    list.DeleteLast();
    EXPECT_EQ(list.Last(), "bb");
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

TEST(TextList, OnceInARowComparesWithTheLastLineOnly) {
    TextList list;
    list.AppendOnceInARow("x");
    list.AppendOnceInARow("x");
    list.AppendOnceInARow("y");
    list.AppendOnceInARow("x");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"x", "y", "x"}));
}

TEST(TextList, WholeTextEndsEveryLineWithCrLf) {
    TextList list;
    EXPECT_EQ(list.Text(), "");
    list.Append("a");
    list.Append("b");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

TEST(TextList, SetTextSplitsOnAnyLineBreak) {
    TextList list;
    list.SetText("a\r\nb\nc\rd\r\n");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    list.SetText("one\r\n\r\nthree");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"one", "", "three"}));
    list.SetText("");
    EXPECT_TRUE(list.Empty());
}

TEST(TextList, TrackedTextFollowsEveryAssignment) {
    TextList list;
    TrackedText text;
    list.Append(text);
    text = std::string_view("MOV\tA,R0");
    list.Append(text);
    list.Append(text);
    text = std::string_view("NOP\t");
    list.Append(text);
    list.Append("plain");
    TrackedText copy = text;
    list.Append(copy);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"", "MOV\tA,R0", "MOV\tA,R0", "NOP\t", "plain", "NOP\t"}));
}

TEST(TextList, TrackedTextSurvivesPoolResets) {
    TextList list;
    TrackedText text;
    text = std::string_view("first");
    list.Append(text);
    // Enough distinct lines to make Clear() drop the pool.
    for (int i = 0; i < 5000; ++i) list.Append(std::to_string(i));
    list.Clear();
    list.Append("other");
    list.Append(text);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"other", "first"}));
}

TEST(TextList, CopiesAreIndependentAndCompareByText) {
    TextList a;
    a.Append("x");
    TextList b = a;
    b.Append("y");
    EXPECT_EQ(a.Count(), 1u);
    EXPECT_FALSE(a == b);
    a.Append("y");
    EXPECT_TRUE(a == b);
}

// Revision and count grow by the same amount only when lines were appended;
// every other change must show as more revision than count.
TEST(TextListRevision, OnlyAppendsGrowRevisionAndCountAlike) {
    const struct {
        const char* what;
        void (*change)(TextList&);
        bool onlyAppends;
    } cases[] = {
        {"append", [](TextList& l) { l.Append("d"); }, true},
        {"append tracked", [](TextList& l) {
             TrackedText t;
             t = std::string_view("d");
             l.Append(t);
             l.Append(t);
         }, true},
        {"set same text", [](TextList& l) { l.Set(0, "a"); }, false},
        {"clear", [](TextList& l) { l.Clear(); }, false},
        {"insert", [](TextList& l) { l.Insert(1, "x"); }, false},
        {"emptied and refilled alike", [](TextList& l) {
             l.Clear();
             for (const char* t : {"a", "b", "c"}) l.Append(t);
         }, false},
        {"assigned a longer list", [](TextList& l) {
             TextList other;
             for (const char* t : {"p", "q", "r", "s"}) other.Append(t);
             l = other;
         }, false},
    };
    for (const auto& c : cases) {
        TextList list;
        for (const char* t : {"a", "b", "c"}) list.Append(t);
        const auto revision = list.Revision();
        const auto count = static_cast<std::int64_t>(list.Count());
        c.change(list);
        const auto revisionGrowth = static_cast<std::int64_t>(list.Revision() - revision);
        const auto countGrowth = static_cast<std::int64_t>(list.Count()) - count;
        EXPECT_GT(revisionGrowth, 0) << c.what;
        if (c.onlyAppends) EXPECT_EQ(revisionGrowth, countGrowth) << c.what;
        else EXPECT_GT(revisionGrowth, countGrowth) << c.what;
    }
}

TEST(TextListRevision, CopiesKeepItAndMovesChangeTheSource) {
    TextList source;
    TrackedText text;
    text = std::string_view("kept");
    source.Append(text);
    const auto revision = source.Revision();
    TextList copy = source;
    EXPECT_EQ(copy.Revision(), revision);
    TextList target(std::move(source));
    EXPECT_EQ(target.Lines(), std::vector<std::string>{"kept"});
    EXPECT_TRUE(source.Empty());
    EXPECT_GT(source.Revision(), revision);
    // Its tracked line belonged to the pool that moved away.
    source.Append(text);
    EXPECT_EQ(source.Lines(), std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace tessaly
