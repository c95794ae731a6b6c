#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <string>
#include <vector>

#include "persistence/History.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

TextList ListOf(const std::vector<std::string>& lines) {
    TextList list;
    for (const std::string& line : lines) list.Append(line);
    return list;
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back(std::string("C:\\P") + std::to_string(i) + ".HEX");
    return lines;
}

struct AddCase {
    const char* what;
    std::vector<std::string> before;
    std::string path;
    HistoryAdd result;
    std::vector<std::string> after;
    friend void PrintTo(const AddCase& c, std::ostream* os) { *os << c.what; }
};

class AddToHistoryCases : public ::testing::TestWithParam<AddCase> {};

TEST_P(AddToHistoryCases, ReturnsItsCodeAndOrdersTheList) {
    const AddCase& c = GetParam();
    TextList history = ListOf(c.before);
    EXPECT_EQ(AddToHistory(history, c.path), c.result);
    EXPECT_EQ(history.Lines(), c.after);
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    History, AddToHistoryCases,
    ::testing::Values(
        AddCase{"empty", {}, "C:\\A.HEX", HistoryAdd::Added, {"C:\\A.HEX"}},
        AddCase{"room", {"x", "y"}, "z", HistoryAdd::Added, {"z", "x", "y"}},
        AddCase{"nine", Numbered(9), "new", HistoryAdd::Added, Concat({"new"}, Numbered(9))},
        AddCase{"full", Numbered(10), "new", HistoryAdd::AddedDroppingLast, Concat({"new"}, Numbered(9))},
        // Twelve lines from a file: only the tenth is dropped.
        AddCase{"twelve",
                Numbered(12),
                "new",
                HistoryAdd::AddedDroppingLast,
                {"new", "C:\\P1.HEX", "C:\\P2.HEX", "C:\\P3.HEX", "C:\\P4.HEX", "C:\\P5.HEX", "C:\\P6.HEX",
                 "C:\\P7.HEX", "C:\\P8.HEX", "C:\\P9.HEX", "C:\\P11.HEX", "C:\\P12.HEX"}},
        AddCase{"top", {"a", "b"}, "a", HistoryAdd::MovedToTop, {"a", "b"}},
        AddCase{"fourth",
                Numbered(6),
                "C:\\P4.HEX",
                HistoryAdd::MovedToTop,
                {"C:\\P4.HEX", "C:\\P1.HEX", "C:\\P2.HEX", "C:\\P3.HEX", "C:\\P5.HEX", "C:\\P6.HEX"}},
        AddCase{"case", {"d:\\x.bin", "c:\\prog.hex"}, "C:\\PROG.HEX", HistoryAdd::MovedToTop, {"c:\\prog.hex", "d:\\x.bin"}},
        AddCase{"last of ten", Numbered(10), "c:\\p10.hex", HistoryAdd::MovedToTop, Concat({"C:\\P10.HEX"}, Numbered(9))}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (c == ' ') c = '_';
        }
        return name;
    });

TEST(AddToHistory, ElevenProgramsLeaveTheTenNewest) {
    TextList history;
    for (int i = 1; i <= 11; ++i) AddToHistory(history, std::string("P") + std::to_string(i));
    ASSERT_EQ(history.Count(), 10u);
    EXPECT_EQ(history[0], "P11");
    EXPECT_EQ(history[9], "P2");
}

struct HistoryFile : ::testing::Test {
    test::ScratchDirectory dir;
    std::filesystem::path File() const { return dir.Path() / "flmitms.sud"; }
};

TEST_F(HistoryFile, SavedAsOneLinePerPathEndedByCrLf) {
    ASSERT_TRUE(SaveHistory(dir.Path(), ListOf({"C:\\A.HEX", "b.bin"})));
    EXPECT_EQ(dir.Read("flmitms.sud"), "C:\\A.HEX\r\nb.bin\r\n");
    TextList loaded = ListOf({"stale"});
    EXPECT_TRUE(LoadHistory(dir.Path(), loaded));
    EXPECT_EQ(loaded.Lines(), (std::vector<std::string>{"C:\\A.HEX", "b.bin"}));
}

TEST_F(HistoryFile, MissingFileGivesAnEmptyHistory) {
    TextList history = ListOf({"stale"});
    EXPECT_TRUE(LoadHistory(dir.Path(), history));
    EXPECT_TRUE(history.Empty());
}

TEST_F(HistoryFile, AnyLineEndIsAccepted) {
    dir.Write("flmitms.sud", "a\nb\rc");
    TextList history;
    LoadHistory(dir.Path(), history);
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(HistoryFile, ClearLeavesAnEmptyFile) {
    TextList history = ListOf({"a", "b"});
    ASSERT_TRUE(SaveHistory(dir.Path(), history));
    EXPECT_TRUE(ClearHistory(dir.Path(), history));
    EXPECT_TRUE(history.Empty());
    ASSERT_TRUE(std::filesystem::exists(File()));
    EXPECT_EQ(std::filesystem::file_size(File()), 0u);
}

TEST_F(HistoryFile, FailedSaveIsReportedAndKeepsThePreviousFile) {
    EXPECT_FALSE(SaveHistory(dir.Path() / "absent", ListOf({"a"})));
    std::filesystem::create_directory(File());
    EXPECT_FALSE(SaveHistory(dir.Path(), ListOf({"a"})));
    EXPECT_TRUE(std::filesystem::is_directory(File()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A File menu as name -> (caption, visible); names not present are missing.
class FakeMenu : public HistoryMenu {
public:
    std::map<std::string, std::pair<std::string, bool>, std::less<>> items;
    bool separatorPresent = true;
    bool separatorVisible = true;

    bool SetItem(std::string_view name, std::string_view caption, bool visible) override {
        const auto item = items.find(name);
        if (item == items.end()) return false;
        item->second = {std::string(caption), visible};
        return true;
    }
    bool SetSeparatorVisible(std::string_view name, bool visible) override {
        if (!separatorPresent || name != "muiLastSeparator") return false;
        separatorVisible = visible;
        return true;
    }
};

FakeMenu FullMenu() {
    FakeMenu menu;
    for (int n = 1; n <= 10; ++n) menu.items[std::string("muiOpenedFile") + std::to_string(n)] = {"old", true};
    return menu;
}

TEST(RebuildHistoryMenu, EmptyHistoryHidesEverything) {
    FakeMenu menu = FullMenu();
    test::MessageRecorder messages;
    EXPECT_EQ(RebuildHistoryMenu(TextList{}, menu, messages), HistoryMenuRebuild::Empty);
    for (const auto& [name, item] : menu.items) {
        EXPECT_EQ(item.first, "") << name;
        EXPECT_FALSE(item.second) << name;
    }
    EXPECT_FALSE(menu.separatorVisible);
    EXPECT_TRUE(messages.entries.empty());
}

TEST(RebuildHistoryMenu, EntriesFillTheFirstItemsAndShowTheSeparator) {
    FakeMenu menu = FullMenu();
    test::MessageRecorder messages;
    EXPECT_EQ(RebuildHistoryMenu(ListOf({"C:\\A.HEX", "C:\\B.HEX"}), menu, messages), HistoryMenuRebuild::Shown);
    EXPECT_EQ(menu.items["muiOpenedFile1"], (std::pair<std::string, bool>{"C:\\A.HEX", true}));
    EXPECT_EQ(menu.items["muiOpenedFile2"], (std::pair<std::string, bool>{"C:\\B.HEX", true}));
    EXPECT_EQ(menu.items["muiOpenedFile3"], (std::pair<std::string, bool>{"", false}));
    EXPECT_TRUE(menu.separatorVisible);
}

TEST(RebuildHistoryMenu, TwelveEntriesFillTenItemsThenComplain) {
    FakeMenu menu = FullMenu();
    test::MessageRecorder messages;
    EXPECT_EQ(RebuildHistoryMenu(ListOf(Numbered(12)), menu, messages), HistoryMenuRebuild::ItemForEntryMissing);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "Unable to load opened files menu item( 11 )");
    EXPECT_EQ(menu.items["muiOpenedFile10"], (std::pair<std::string, bool>{"C:\\P10.HEX", true}));
    EXPECT_FALSE(menu.separatorVisible);
}

TEST(RebuildHistoryMenu, MissingItemsAndSeparatorAreReported) {
    test::MessageRecorder messages;
    FakeMenu noFourth = FullMenu();
    noFourth.items.erase("muiOpenedFile4");
    EXPECT_EQ(RebuildHistoryMenu(ListOf({"a"}), noFourth, messages), HistoryMenuRebuild::ItemToClearMissing);
    FakeMenu noSeparator = FullMenu();
    noSeparator.separatorPresent = false;
    EXPECT_EQ(RebuildHistoryMenu(ListOf({"a"}), noSeparator, messages), HistoryMenuRebuild::SeparatorMissing);
    ASSERT_EQ(messages.entries.size(), 2u);
    EXPECT_EQ(messages.entries[0].text, "Unable to find opened files menu item( 4 )");
    EXPECT_EQ(messages.entries[1].text, "Unable to find last separator");
}

}  // namespace
}  // namespace tessaly
