#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "util/LittleEndian.h"
#include "persistence/WindowLayout.h"
#include "support/ScratchDirectory.h"

namespace tessaly {
namespace {

struct DefaultRow {
    std::size_t index;
    WindowLayoutEntry entry;
};

TEST(WindowLayoutDefaults, EveryEntryHasItsDefaultAndTheFileFieldsStay) {
    WindowLayout layout;
    layout.lastFileName = "C:\\PROG.HEX";
    layout.reopenLastFile = 1;
    layout.layoutFileRead = 1;
    LoadDefaultLayout(layout);
    const DefaultRow rows[] = {
        {0, {1, 284, 318, 174, 1}},   {1, {1, 2, 310, 281, 1}},     {2, {355, 38, 351, 284, 1}},
        {3, {312, 1, 395, 297, 1}},   {4, {394, 60, 266, 283, 1}},  {5, {313, 81, 481, 351, 1}},
        {6, {338, 103, 437, 398, 1}}, {7, {372, 126, 300, 300, 1}}, {8, {403, 149, 300, 300, 1}},
        {9, {47, 62, 546, 438, 0}},   {10, {4, 297, 330, 254, 0}},  {11, {2, 93, 800, 477, 0}},
        {12, {250, 150, 319, 273, 0}}, {13, {268, 235, 264, 130, 0}}, {14, {253, 250, 295, 169, 0}},
        {15, {186, 88, 300, 373, 0}}, {16, {186, 112, 300, 374, 0}}, {17, {250, 150, 300, 110, 0}},
        {18, {250, 150, 301, 111, 0}}, {19, {249, 243, 301, 114, 0}}, {20, {250, 241, 222, 144, 0}},
        {21, {186, 228, 428, 143, 0}},
    };
    for (const DefaultRow& row : rows) EXPECT_EQ(layout.entries[row.index], row.entry) << "entry " << row.index;
    EXPECT_EQ(layout.lastFileName, "C:\\PROG.HEX");
    EXPECT_EQ(layout.reopenLastFile, 1);
    EXPECT_EQ(layout.layoutFileRead, 1);
}

WindowLayout SampleLayout() {
    WindowLayout layout;
    for (std::size_t i = 0; i < WindowLayout::kEntryCount; ++i) {
        const auto n = static_cast<std::int32_t>(i);
        layout.entries[i] = {n * 10 - 5, n * 100 + 1, 0x12345 + n, 70000 + n, static_cast<std::uint8_t>(i % 2)};
    }
    layout.layoutFileRead = 1;
    layout.lastFileName = "C:\\work\\blink.hex";
    layout.reopenLastFile = 1;
    return layout;
}

TEST(WindowLayoutBlock, FieldsSitAtTheirOffsetsLittleEndian) {
    const WindowLayoutBlock block = EncodeWindowLayout(SampleLayout());
    EXPECT_EQ(le::Get32(&block[0]), 22u);
    for (std::size_t i = 0; i < 22; ++i) {
        const std::uint8_t* entry = &block[4 + 24 * i];
        const auto n = static_cast<std::int32_t>(i);
        EXPECT_EQ(le::Get32(entry), 0u) << "window reference of entry " << i;
        EXPECT_EQ(le::GetSigned32(entry + 4), n * 10 - 5);
        EXPECT_EQ(le::GetSigned32(entry + 8), n * 100 + 1);
        EXPECT_EQ(le::GetSigned32(entry + 12), 0x12345 + n);
        EXPECT_EQ(le::GetSigned32(entry + 16), 70000 + n);
        EXPECT_EQ(entry[20], i % 2);
        EXPECT_EQ(entry[21] | entry[22] | entry[23], 0);
    }
    // Entry 0's left of -5 is stored as two's complement, low byte first.
    EXPECT_EQ(block[8], 0xFB);
    EXPECT_EQ(block[11], 0xFF);
    // Entry 1's width 0x12346: 46 23 01 00.
    EXPECT_EQ(block[4 + 24 + 12], 0x46);
    EXPECT_EQ(block[4 + 24 + 13], 0x23);
    EXPECT_EQ(block[4 + 24 + 14], 0x01);
    EXPECT_EQ(block[532], 1);
    const std::string path(reinterpret_cast<const char*>(&block[533]));
    EXPECT_EQ(path, "C:\\work\\blink.hex");
    EXPECT_TRUE(std::all_of(&block[533 + path.size()], &block[1533], [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(block[1533], 1);
    EXPECT_EQ(block[1534] | block[1535], 0);
}

TEST(WindowLayoutBlock, DecodeAndEncodeRoundTripByteForByte) {
    const WindowLayout layout = SampleLayout();
    const WindowLayoutBlock block = EncodeWindowLayout(layout);
    WindowLayout decoded;
    DecodeWindowLayout(block, decoded);
    EXPECT_EQ(decoded, layout);
    EXPECT_EQ(EncodeWindowLayout(decoded), block);
}

TEST(WindowLayoutBlock, MeaninglessBytesAreIgnoredOnReading) {
    WindowLayoutBlock block = EncodeWindowLayout(SampleLayout());
    block[4] = 0xAA;         // entry 0's window reference
    block[4 + 21] = 0xBB;    // entry 0's padding
    block[533 + 40] = 'J';   // after the path's zero
    block[1534] = 0xCC;      // block padding
    WindowLayout decoded;
    DecodeWindowLayout(block, decoded);
    EXPECT_EQ(decoded, SampleLayout());
}

TEST(WindowLayoutBlock, AnyEntryCountIsReadAsTwentyTwo) {
    for (std::uint32_t count : {0u, 7u, 23u, 1000u, 0xFFFFFFFFu}) {
        WindowLayoutBlock block = EncodeWindowLayout(SampleLayout());
        le::Put32(&block[0], count);
        WindowLayout decoded;
        DecodeWindowLayout(block, decoded);
        EXPECT_EQ(decoded, SampleLayout()) << count;
        EXPECT_EQ(le::Get32(&EncodeWindowLayout(decoded)[0]), 22u);
    }
}

TEST(WindowLayoutBlock, PathWithoutZeroByteEndsWithItsField) {
    WindowLayoutBlock block = EncodeWindowLayout(SampleLayout());
    std::fill(&block[533], &block[1533], std::uint8_t{'P'});
    WindowLayout decoded;
    DecodeWindowLayout(block, decoded);
    EXPECT_EQ(decoded.lastFileName, std::string(1000, 'P'));
    EXPECT_EQ(decoded.reopenLastFile, 1);
    // Written back it keeps its terminating zero inside the field.
    const WindowLayoutBlock again = EncodeWindowLayout(decoded);
    EXPECT_EQ(again[1531], 'P');
    EXPECT_EQ(again[1532], 0);
    EXPECT_EQ(again[1533], 1);
}

struct LayoutFiles : ::testing::Test {
    test::ScratchDirectory dir;
};

TEST_F(LayoutFiles, StartupLayoutWithoutFileFallsBackToDefaults) {
    WindowLayout layout = SampleLayout();
    EXPECT_FALSE(LoadStartupLayout(dir.Path(), layout));
    WindowLayout defaults;
    LoadDefaultLayout(defaults);
    EXPECT_EQ(layout.entries, defaults.entries);
    EXPECT_EQ(layout.layoutFileRead, 0);
    EXPECT_EQ(layout.lastFileName, "C:\\work\\blink.hex");
}

TEST_F(LayoutFiles, StartupLayoutSavedAtExitIsWhereTheWindowsComeBack) {
    WindowLayout atExit;
    LoadDefaultLayout(atExit);
    atExit.entries[1] = {640, 480, 310, 281, 1};  // the SFR window moved
    atExit.lastFileName = "/home/u/blink.hex";
    atExit.reopenLastFile = 1;
    ASSERT_TRUE(SaveStartupLayout(dir.Path(), atExit));
    const auto bytes = dir.Read("inwpssz.wst");
    ASSERT_EQ(bytes.size(), 1536u);
    const WindowLayoutBlock expected = EncodeWindowLayout(atExit);
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));

    WindowLayout next;
    EXPECT_TRUE(LoadStartupLayout(dir.Path(), next));
    EXPECT_EQ(next.layoutFileRead, 1);
    EXPECT_EQ(next.entries, atExit.entries);
    EXPECT_EQ(next.lastFileName, "/home/u/blink.hex");
    EXPECT_EQ(next.reopenLastFile, 1);
}

TEST_F(LayoutFiles, ShortLayoutFileIsNotALayout) {
    dir.Write("inwpssz.wst", std::string(1535, '\x7F'));
    WindowLayout layout;
    EXPECT_FALSE(LoadStartupLayout(dir.Path(), layout));
    EXPECT_EQ(layout.entries[0], (WindowLayoutEntry{1, 284, 318, 174, 1}));
}

TEST_F(LayoutFiles, SavedStatusRestoresOrFallsBackToDefaults) {
    WindowLayout layout = SampleLayout();
    EXPECT_FALSE(RestoreWindowsStatus(dir.Path(), layout));
    EXPECT_EQ(layout.entries[11], (WindowLayoutEntry{2, 93, 800, 477, 0}));

    ASSERT_TRUE(SaveWindowsStatus(dir.Path(), SampleLayout()));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "sinwpssl.wst"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "inwpssz.wst"));
    EXPECT_TRUE(RestoreWindowsStatus(dir.Path(), layout));
    EXPECT_EQ(layout, SampleLayout());
}

TEST_F(LayoutFiles, SavingIntoAMissingDirectoryFails) {
    EXPECT_FALSE(SaveStartupLayout(dir.Path() / "absent", SampleLayout()));
    EXPECT_FALSE(SaveWindowsStatus(dir.Path() / "absent", SampleLayout()));
}

TEST_F(LayoutFiles, FailedSaveLeavesThePreviousFileAndNoTemporary) {
    // A directory in the file's place makes the final rename fail.
    std::filesystem::create_directory(dir.Path() / "sinwpssl.wst");
    dir.Write("sinwpssl.wst/keep", std::string("x"));
    EXPECT_FALSE(SaveWindowsStatus(dir.Path(), SampleLayout()));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "sinwpssl.wst" / "keep"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace tessaly
