#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <string>
#include <vector>

#include "analysis/ListingImport.h"
#include "util/Lines.h"
#include "support/LabelLists.h"
#include "support/ListingText.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::kBitMarker;
using test::kCodeMarker;
using test::kDataMarker;
using test::kNumberMarker;
using test::Labelled;
using test::SymbolLine;
using Labels = std::map<unsigned, std::string>;

// Source lines before the table, so the first marker lies well past column 35.
std::vector<std::string> Header() {
    return {"MCS-51 MACRO ASSEMBLER    DEMO", "", "LOC  OBJ            LINE     SOURCE",
            "0030 7401             5     MAIN:   MOV A,#1", "", "SYMBOL TABLE LISTING",
            "N A M E                          T Y P E  V A L U E   A T T R I B U T E S", ""};
}

std::vector<std::string> Listing(std::vector<std::string> table) {
    std::vector<std::string> lines = Header();
    lines.insert(lines.end(), table.begin(), table.end());
    return lines;
}

struct Layout1 : ::testing::Test {
    Workspace w;
    test::ProgressRecorder progress;
    test::MessageRecorder messages;

    LayoutImport Import(const std::vector<std::string>& lines) { return ImportLayout1(lines, w, progress, messages); }
};

TEST_F(Layout1, StoresEachTypeInItsListAndSkipsDataSymbols) {
    ASSERT_EQ(Import(Listing({
                  SymbolLine("COUNT", kNumberMarker, "0010H  A"),
                  SymbolLine("BUFFER", kDataMarker, "0040H  A"),
                  SymbolLine("LED", kBitMarker, "0090H  A"),
                  SymbolLine("MAIN", kCodeMarker, "0030H  A"),
                  SymbolLine("TABLE", kCodeMarker, "FF00H  A"),
              })),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "MAIN"}, {0xFF00, "TABLE"}}));
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{0x90, "LED"}}));
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x10, "COUNT"}}));
    EXPECT_EQ(w.lstCodeLabels.Count(), Workspace::kLabelCount);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Layout1, DottedLeaderEndsTheNameAndDataMarkerStoresNothing) {
    const std::string code = SymbolLine("MAIN", kCodeMarker, "0030H  A", true);
    ASSERT_EQ(code.substr(0, 8), "MAIN . .");
    ASSERT_EQ(Import(Listing({code})), LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x30, "MAIN"}}));

    Workspace other;
    ASSERT_EQ(ImportLayout1(Listing({SymbolLine("MAIN", kDataMarker, "0030H  A", true)}), other, progress, messages),
              LayoutImport::Ok);
    EXPECT_TRUE(Labelled(other.lstCodeLabels).empty());
    EXPECT_TRUE(Labelled(other.lstBitLabels).empty());
    EXPECT_TRUE(Labelled(other.lstNumberLabels).empty());
}

TEST_F(Layout1, NameIsCutAtItsFirstDotAndTrimmed) {
    ASSERT_EQ(Import(Listing({
                  SymbolLine("   PADDED", kNumberMarker, "0001H"),
                  SymbolLine("A.B", kNumberMarker, "0002H"),
                  SymbolLine("TAIL  .", kNumberMarker, "0003H"),
              })),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{1, "PADDED"}, {2, "A"}, {3, "TAIL"}}));
}

TEST_F(Layout1, BitSymbolIsStoredUnderTheDigitsAsWritten) {
    // No bit-address arithmetic: "0020" is entry 20h, "00D7" entry D7h.
    ASSERT_EQ(Import(Listing({SymbolLine("FLAG", kBitMarker, "0020H  A"), SymbolLine("CARRY", kBitMarker, "00d7")})),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstBitLabels), (Labels{{0x20, "FLAG"}, {0xD7, "CARRY"}}));
}

TEST_F(Layout1, OnlyColumns43To46FormTheValue) {
    ASSERT_EQ(Import(Listing({
                  SymbolLine("FULL", kNumberMarker, "12345678"),  // 1234, the rest is attributes
                  SymbolLine("SHORT", kNumberMarker, "7F"),       // the line ends after two digits
              })),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{0x1234, "FULL"}, {0x7F, "SHORT"}}));
}

TEST_F(Layout1, LaterEntryForTheSameValueWins) {
    ASSERT_EQ(Import(Listing({SymbolLine("FIRST", kCodeMarker, "0100"), SymbolLine("SECOND", kCodeMarker, "0100")})),
              LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x100, "SECOND"}}));
}

TEST_F(Layout1, ImportReplacesEveryEarlierLabel) {
    ASSERT_EQ(Import(Listing({SymbolLine("OLD", kCodeMarker, "0001"), SymbolLine("OLDBIT", kBitMarker, "0002"),
                              SymbolLine("OLDNUM", kNumberMarker, "0003")})),
              LayoutImport::Ok);
    ASSERT_EQ(Import(Listing({SymbolLine("NEW", kNumberMarker, "0004")})), LayoutImport::Ok);
    EXPECT_TRUE(Labelled(w.lstCodeLabels).empty());
    EXPECT_TRUE(Labelled(w.lstBitLabels).empty());
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{4, "NEW"}}));
}

TEST_F(Layout1, TextAboveTheFirstMarkerIsNotRead) {
    // A line shaped like a symbol line but without a marker, before the table.
    std::vector<std::string> lines = Listing({SymbolLine("REAL", kCodeMarker, "0002")});
    lines.insert(lines.begin() + 2, SymbolLine("FAKE", "  X ADDR  ", "0001"));
    ASSERT_EQ(Import(lines), LayoutImport::Ok);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{2, "REAL"}}));
}

// Where the first marker stands decides whether this layout takes the file.
struct MarkerPositionCase {
    std::size_t position;  // 1-based character position in the whole text
    LayoutImport result;
    friend void PrintTo(const MarkerPositionCase& c, std::ostream* os) { *os << "marker at " << c.position; }
};

class Layout1MarkerPosition : public ::testing::TestWithParam<MarkerPositionCase> {};

TEST_P(Layout1MarkerPosition, FirstMarkerBefore35IsRejected) {
    const auto [position, expected] = GetParam();
    // The marker on the first line, at `position`.
    std::string first(position - 1, 'X');
    first += std::string(kCodeMarker) + "0030";
    Workspace w;
    w.lstCodeLabels.Set(7, "KEEP");
    test::ProgressRecorder progress;
    test::MessageRecorder messages;
    EXPECT_EQ(ImportLayout1(std::vector<std::string>{first}, w, progress, messages), expected);
    if (expected == LayoutImport::NotRecognised) {
        EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{7, "KEEP"}}));
        EXPECT_TRUE(progress.calls.empty());
    } else {
        EXPECT_FALSE(progress.calls.empty());
        EXPECT_EQ(Labelled(w.lstCodeLabels).count(7), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Boundary, Layout1MarkerPosition,
                         ::testing::Values(MarkerPositionCase{1, LayoutImport::NotRecognised},
                                           MarkerPositionCase{33, LayoutImport::NotRecognised},
                                           MarkerPositionCase{34, LayoutImport::NotRecognised},
                                           MarkerPositionCase{35, LayoutImport::Ok}, MarkerPositionCase{60, LayoutImport::Ok}));

TEST_F(Layout1, MarkerAtColumn33OfTheFirstLineIsRejectedUntouched) {
    const std::vector<std::string> lines = {SymbolLine("MAIN", kCodeMarker, "0030"),
                                            SymbolLine("LOOP", kCodeMarker, "0040")};
    w.lstNumberLabels.Set(1, "KEEP");
    EXPECT_EQ(Import(lines), LayoutImport::NotRecognised);
    EXPECT_EQ(Labelled(w.lstNumberLabels), (Labels{{1, "KEEP"}}));
    EXPECT_TRUE(Labelled(w.lstCodeLabels).empty());
}

TEST_F(Layout1, NoMarkerAtAllIsRejected) {
    EXPECT_EQ(Import(Header()), LayoutImport::NotRecognised);
    EXPECT_EQ(Import({}), LayoutImport::NotRecognised);
    EXPECT_TRUE(progress.calls.empty());
}

TEST_F(Layout1, ValueThatIsNotHexEndsTheImportNamingTheLine) {
    const std::vector<std::string> lines = Listing({
        SymbolLine("GOOD", kCodeMarker, "0010H"),
        SymbolLine("BAD", kCodeMarker, "00G0H"),
        SymbolLine("NEVER", kCodeMarker, "0020H"),
    });
    EXPECT_EQ(Import(lines), LayoutImport::BadValue);
    EXPECT_EQ(Labelled(w.lstCodeLabels), (Labels{{0x10, "GOOD"}}));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].kind, MessageKind::Error);
    const std::string& text = messages.entries[0].text;
    // Header() has 8 lines, so BAD is line 10 of the file.
    EXPECT_NE(text.find("line 10 "), std::string::npos) << text;
    EXPECT_NE(text.find("'0x00G0' is not a valid integer value"), std::string::npos) << text;
    EXPECT_EQ(progress.calls.back(), "hide");
}

TEST_F(Layout1, EmptyValueColumnsAreNotAValue) {
    EXPECT_EQ(Import(Listing({SymbolLine("EMPTY", kNumberMarker, "")})), LayoutImport::BadValue);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("'0x' is not a valid integer value"), std::string::npos);
}

TEST_F(Layout1, LineNumberCountsFromTheFileWhenTheMarkerIsLeftOfColumn33) {
    // The first marker at column 20 of line 3: the kept text starts in line 2.
    std::vector<std::string> lines = {"first line of a long header text", std::string(40, '-'),
                                      std::string(19, ' ') + std::string(kNumberMarker)};
    lines.push_back(SymbolLine("OOPS", kNumberMarker, "ZZZZ"));
    EXPECT_EQ(Import(lines), LayoutImport::BadValue);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("line 4 "), std::string::npos) << messages.entries[0].text;
}

TEST_F(Layout1, ProgressShowsFiveTimesThenEveryTenthLineThenHides) {
    std::vector<std::string> table;
    for (int i = 0; i < 25; ++i) table.push_back(SymbolLine(std::string("S") + std::to_string(i), kNumberMarker, "0001"));
    // The kept text starts at the first table line: 25 lines, i = 0, 10, 20.
    ASSERT_EQ(Import(Listing(table)), LayoutImport::Ok);
    const std::vector<std::string> expected = {"bar 0", "show", "show", "show", "show", "show", "bar 0",
                                               "show",  "bar 40", "show", "bar 80", "show", "hide"};
    EXPECT_EQ(progress.calls, expected);
}

TEST_F(Layout1, LineEndsOfAnyKindGiveTheSameLabels) {
    const auto lines = Listing({SymbolLine("MAIN", kCodeMarker, "0030"), SymbolLine("LED", kBitMarker, "0091")});
    for (const char* end : {"\n", "\r", "\r\n"}) {
        std::string text;
        for (const std::string& line : lines) text += line + end;
        Workspace fresh;
        ASSERT_EQ(ImportLayout1(SplitLines(text), fresh, progress, messages), LayoutImport::Ok) << end;
        EXPECT_EQ(Labelled(fresh.lstCodeLabels), (Labels{{0x30, "MAIN"}}));
        EXPECT_EQ(Labelled(fresh.lstBitLabels), (Labels{{0x91, "LED"}}));
    }
}

}  // namespace
}  // namespace tessaly
