#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/ListingImport.h"
#include "util/Lines.h"
#include "support/LabelLists.h"
#include "support/ListingText.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::kCodeMarker;
using test::kNumberMarker;
using test::Labelled;
using test::SymbolLine;
using test::TableEntry;
using Labels = std::map<unsigned, std::string>;

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

const std::vector<std::string> kSymbolTable = {
    "ASM51 LISTING", "", "SYMBOL TABLE LISTING", "", SymbolLine("MAIN", kCodeMarker, "0030H  A", true),
    SymbolLine("COUNT", kNumberMarker, "0010H  A")};

const std::vector<std::string> kNameValueTable = {
    "0030           START:   NOP",
    TableEntry("START", "0030") + TableEntry("A1", "0001") + TableEntry("A2", "0002"),
    TableEntry("A3", "0003") + TableEntry("A4", "0004")};

struct ListingImportFixture : ::testing::Test {
    Workspace w;
    test::ProgressRecorder progress;
    test::MessageRecorder messages;
    test::ScratchDirectory dir;
};

TEST_F(ListingImportFixture, SymbolTableListingIsReadByTheFirstLayout) {
    const auto path = dir.Write("prog.lst", Join(kSymbolTable));
    EXPECT_TRUE(ImportListingLabels(path, w, progress, messages));
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "MAIN"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x10, "COUNT"}}));
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(ListingImportFixture, NameValueListingFallsThroughToTheSecondLayout) {
    const auto path = dir.Write("prog.lst", Join(kNameValueTable));
    EXPECT_TRUE(ImportListingLabels(path, w, progress, messages));
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "START"}}));
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{1, "A1"}, {2, "A2"}, {3, "A3"}, {4, "A4"}}));
}

TEST_F(ListingImportFixture, TableOnTheFirstLineGoesToTheSecondLayout) {
    // Layout 1 rejects a marker at character 33; layout 2 finds nothing either.
    w.lstCodeLabels.Set(5, "BEFORE");
    const std::vector<std::string> lines = {SymbolLine("MAIN", kCodeMarker, "0030")};
    EXPECT_FALSE(ImportListingLabels(lines, w, progress, messages));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "Invalid LST file");
    // The second layout ran: it cleared the code list.
    EXPECT_TRUE(Labelled(w.lstCodeLabels).empty());
}

TEST_F(ListingImportFixture, FourEntriesAreInvalidYetStayInTheLists) {
    const std::vector<std::string> lines = {TableEntry("W", "0001") + TableEntry("X", "0002") +
                                            TableEntry("Y", "0003") + TableEntry("Z", "0004")};
    EXPECT_FALSE(ImportListingLabels(lines, w, progress, messages));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "Invalid LST file");
    const Labels four{{1, "W"}, {2, "X"}, {3, "Y"}, {4, "Z"}};
    EXPECT_EQ(Labelled(w.lstNumberLabels), four);
    EXPECT_EQ(Labelled(w.lstBitLabels), four);
}

TEST_F(ListingImportFixture, SecondListingReplacesTheLabelsOfTheFirst) {
    ASSERT_TRUE(ImportListingLabels(kSymbolTable, w, progress, messages));
    ASSERT_TRUE(ImportListingLabels(kNameValueTable, w, progress, messages));
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "START"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels).count(0x10), 0u);
}

TEST_F(ListingImportFixture, BrokenSymbolTableValueIsNotHandedToTheSecondLayout) {
    std::vector<std::string> lines = kSymbolTable;
    lines.push_back(SymbolLine("BROKEN", kNumberMarker, "WXYZ"));
    // Enough name=value entries that the second layout would succeed if it ran.
    lines.insert(lines.end(), kNameValueTable.begin(), kNameValueTable.end());
    EXPECT_FALSE(ImportListingLabels(lines, w, progress, messages));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("line 7 "), std::string::npos) << messages.entries[0].text;
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "MAIN"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x10, "COUNT"}}));
    EXPECT_EQ(progress.calls.back(), "hide");
}

TEST_F(ListingImportFixture, UnreadableFileIsReportedAndChangesNothing) {
    w.lstCodeLabels.Set(1, "KEEP");
    EXPECT_FALSE(ImportListingLabels(dir.Path() / "missing.lst", w, progress, messages));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "Unable to open file");
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{1, "KEEP"}}));
    EXPECT_TRUE(progress.calls.empty());
}

TEST(SplitLines, EveryLineEndEndsALineAndTheLastAddsNone) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace tessaly
