#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "analysis/ListingImport.h"
#include "support/LabelLists.h"
#include "support/ListingText.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::Labelled;
using test::TableEntry;
using Labels = std::map<unsigned, std::string>;

std::vector<std::string> Source() {
    return {"                        ORG     0",         "0000 020030             LJMP    START",
            "0030 7401      START:   MOV     A,#1",      "0032 80FE      LOOP:    SJMP    LOOP",
            "0034           DONE     EQU     $",         "",
            "SYMBOL TABLE",                              ""};
}

std::vector<std::string> Listing(std::vector<std::string> table) {
    std::vector<std::string> lines = Source();
    lines.insert(lines.end(), table.begin(), table.end());
    return lines;
}

struct Layout2 : ::testing::Test {
    Workspace w;
    test::ProgressRecorder progress;
    test::MessageRecorder messages;

    LayoutImport Import(const std::vector<std::string>& lines) { return ImportLayout2(lines, w, progress, messages); }
};

TEST_F(Layout2, NamesDefinedAsLabelsInTheSourceBecomeCodeLabels) {
    ASSERT_EQ(Import(Listing({
                  TableEntry("COUNT", "0010") + TableEntry("DONE", "0034") + TableEntry("LOOP", "0032"),
                  TableEntry("START", "0030") + TableEntry("VALUE", "00FF") + TableEntry("TOP", "FF00"),
              })),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "START"}, {0x32, "LOOP"}}));
    const Labels numbers{{0x10, "COUNT"}, {0x34, "DONE"}, {0xFF, "VALUE"}, {0xFF00, "TOP"}};
    EXPECT_EQ(Labelled(w.lstNumberLabels), numbers);
    EXPECT_EQ(Labelled(w.lstBitLabels), numbers);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Layout2, CodeLabelNeedsThreeBlanksBeforeAndAColonAfter) {
    ASSERT_EQ(Import({
                  "  TWO:",       // two blanks only
                  "   NOCOLON ",  // no colon
                  "   YES:",
                  "xx   ALSO:",
                  TableEntry("TWO", "0001") + TableEntry("NOCOLON", "0002") + TableEntry("YES", "0003"),
                  TableEntry("ALSO", "0004") + TableEntry("FILL", "0005"),
              }),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{3, "YES"}, {4, "ALSO"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{1, "TWO"}, {2, "NOCOLON"}, {5, "FILL"}}));
}

TEST_F(Layout2, OnlyUpperCaseTableNamesCanBeCodeLabels) {
    // The text is searched upper-cased, the name as the table writes it.
    ASSERT_EQ(Import({"   start:", "   Loop:", "   DONE:",
                      TableEntry("start", "0030") + TableEntry("Loop", "0032") + TableEntry("DONE", "0034"),
                      TableEntry("A", "0001") + TableEntry("B", "0002")}),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x34, "DONE"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels).at(0x30), "start");
    EXPECT_EQ(Labelled(w.lstNumberLabels).at(0x32), "Loop");
}

TEST_F(Layout2, LastEntryOfALineNeedsItsTwoBlanks) {
    std::string line = TableEntry("ONE", "0001") + TableEntry("TWO", "0002") + TableEntry("THREE", "0003");
    line.resize(line.size() - 2);  // THREE loses its trailing blanks
    ASSERT_EQ(Import({line, TableEntry("FOUR", "0004") + TableEntry("FIVE", "0005") + TableEntry("SIX", "0006")}),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstNumberLabels),
              (Labels{{1, "ONE"}, {2, "TWO"}, {4, "FOUR"}, {5, "FIVE"}, {6, "SIX"}}));
}

TEST_F(Layout2, ExactlyFiveEntriesSucceedAndFourFailButStay) {
    const std::string four = TableEntry("A", "0001") + TableEntry("B", "0002") + TableEntry("C", "0003") +
                             TableEntry("D", "0004");
    EXPECT_EQ(Import({four}), LayoutImport::NotRecognised);
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}}));
    EXPECT_EQ(w.lstBitLabels, w.lstNumberLabels);

    EXPECT_EQ(Import({four + TableEntry("E", "0005")}), LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstNumberLabels).size(), 5u);
}

TEST_F(Layout2, EqualsSignOffColumn17SkipsTheLine) {
    ASSERT_EQ(Import({
                  "NAME=0001  ",                                        // "=" at column 5
                  std::string(" ") + TableEntry("SHIFTED", "0002"),     // "=" at column 18
                  "NOEQUALS        -0003  ",                            // no "=" at all
                  TableEntry("A", "0011") + TableEntry("B", "0012") + TableEntry("C", "0013"),
                  TableEntry("D", "0014") + TableEntry("E", "0015"),
              }),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstNumberLabels),
              (Labels{{0x11, "A"}, {0x12, "B"}, {0x13, "C"}, {0x14, "D"}, {0x15, "E"}}));
}

TEST_F(Layout2, ValueThatIsNotHexSkipsTheRestOfItsLineSilently) {
    ASSERT_EQ(Import({
                  TableEntry("A", "0001") + TableEntry("BAD", "00X2") + TableEntry("LOST", "0003"),
                  TableEntry("B", "0004") + TableEntry("C", "0005") + TableEntry("D", "0006"),
                  TableEntry("E", "0007"),
              }),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstNumberLabels),
              (Labels{{1, "A"}, {4, "B"}, {5, "C"}, {6, "D"}, {7, "E"}}));
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Layout2, BitListBecomesACopyOfTheNumberListEvenOnFailure) {
    w.lstBitLabels.Set(0x20, "OLDBIT");
    w.lstCodeLabels.Set(0x40, "OLDCODE");
    EXPECT_EQ(Import({"nothing here"}), LayoutImport::NotRecognised);
    EXPECT_TRUE(Labelled(w.lstBitLabels).empty());
    EXPECT_TRUE(Labelled(w.lstCodeLabels).empty());
    EXPECT_EQ(w.lstBitLabels.Count(), Workspace::kLabelCount);
    EXPECT_EQ(progress.calls.back(), "hide");
}

TEST_F(Layout2, ProgressShowsFiveTimesThenEveryTenthLineThenHides) {
    std::vector<std::string> lines(21, "no entry");
    ASSERT_EQ(Import(lines), LayoutImport::NotRecognised);
    const std::vector<std::string> expected = {"bar 0",  "show", "show",   "show", "show", "show", "bar 0",
                                               "show",   "bar 47", "show", "bar 95", "show", "hide"};
    EXPECT_EQ(progress.calls, expected);
}

TEST_F(Layout2, LongListingStaysLinearAndCorrect) {
    // Many names and many colons: each name found once, wherever it is.
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i) lines.push_back(std::string("0000 00    L") + std::to_string(i) + ":   NOP");
    for (int i = 0; i < 2000; i += 2) {
        std::string name = std::string("L") + std::to_string(i);
        std::string other = std::string("N") + std::to_string(i);
        char value[5];
        std::snprintf(value, sizeof value, "%04X", i);
        char next[5];
        std::snprintf(next, sizeof next, "%04X", i + 1);
        lines.push_back(TableEntry(name, value) + TableEntry(other, next));
    }
    ASSERT_EQ(Import(lines), LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels).size(), 1000u);
    EXPECT_EQ(Labelled(w.lstNumberLabels).size(), 1000u);
    EXPECT_EQ(w.lstCodeLabels[0x7CE], "L1998");
    EXPECT_EQ(w.lstNumberLabels[0x7CF], "N1998");
}

}  // namespace
}  // namespace tessaly
