#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence/CWatchNames.h"
#include "persistence/SourceWindowsLayout.h"
#include "support/ScratchDirectory.h"
#include "util/FileBytes.h"

namespace tessaly {
namespace {

using Bytes = std::vector<std::uint8_t>;

SourceWindowsLayout Sample() {
    SourceWindowsLayout layout;
    layout.entries = {{{{-3, 2, 470, 0x12345}, 1}, {{1, 2, 3, 4}, 0}, {{100, 200, 300, 400}, 1}}};
    return layout;
}

TEST(SourceWindowsLayoutFile, EntriesFollowTheirCountLittleEndian) {
    const Bytes golden = {3, 0, 0, 0,                                               // three entries
                          0xFD, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0xD6, 1, 0, 0, 0x45, 0x23, 1, 0, 1,  // source
                          1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0,                    // call stack
                          100, 0, 0, 0, 200, 0, 0, 0, 0x2C, 1, 0, 0, 0x90, 1, 0, 0, 1};        // locals
    EXPECT_EQ(EncodeSourceWindowsLayout(Sample()), golden);
    SourceWindowsLayout read;
    ASSERT_TRUE(DecodeSourceWindowsLayout(golden, read));
    EXPECT_EQ(read, Sample());
}

TEST(SourceWindowsLayoutFile, DamagedFilesChangeNothingAndOtherCountsReadWhatTheyHold) {
    const Bytes whole = EncodeSourceWindowsLayout(Sample());
    const SourceWindowsLayout defaults = DefaultSourceWindowsLayout();
    for (const Bytes& damaged : {Bytes{}, Bytes{3, 0, 0}, Bytes(whole.begin(), whole.end() - 1), Bytes{0, 0, 0, 0},
                                 Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}}) {
        SourceWindowsLayout layout = defaults;
        EXPECT_FALSE(DecodeSourceWindowsLayout(damaged, layout)) << damaged.size() << " bytes";
        EXPECT_EQ(layout, defaults);
    }
    // One entry: the others keep what they had. Four: the fourth is skipped.
    Bytes one(whole.begin(), whole.begin() + 4 + 17);
    one[0] = 1;
    SourceWindowsLayout layout = defaults;
    ASSERT_TRUE(DecodeSourceWindowsLayout(one, layout));
    EXPECT_EQ(layout.entries[0], Sample().entries[0]);
    EXPECT_EQ(layout.entries[1], defaults.entries[1]);
    Bytes four = whole;
    four[0] = 4;
    four.insert(four.end(), 17, 0xEE);
    ASSERT_TRUE(DecodeSourceWindowsLayout(four, layout));
    EXPECT_EQ(layout, Sample());
}

TEST(SourceWindowsLayoutFile, DefaultsScaleAndAFileRoundTrips) {
    const SourceWindowsLayout plain = DefaultSourceWindowsLayout();
    EXPECT_EQ(plain.entries[0], (WindowLayoutEntry{{320, 2, 470, 330}, 1}));
    EXPECT_EQ(DefaultSourceWindowsLayout({2.0, 1.5}).entries[0], (WindowLayoutEntry{{640, 3, 940, 495}, 1}));
    test::ScratchDirectory dir;
    const auto file = dir.Path() / kSourceWindowsFileName;
    SourceWindowsLayout layout = plain;
    EXPECT_FALSE(LoadSourceWindowsLayout(file, layout));
    ASSERT_TRUE(SaveSourceWindowsLayout(file, Sample()));
    ASSERT_TRUE(LoadSourceWindowsLayout(file, layout));
    EXPECT_EQ(layout, Sample());
    EXPECT_FALSE(SaveSourceWindowsLayout(dir.Path() / "no such folder" / kSourceWindowsFileName, plain));
}

TEST(CWatchNamesFile, NamesAreKeptInOrderOnceEachAndSurviveARestart) {
    test::ScratchDirectory dir;
    {
        CWatchNames names(dir.Path());
        EXPECT_TRUE(names.Add("  total "));
        EXPECT_TRUE(names.Add("count"));
        EXPECT_FALSE(names.Add("total"));
        EXPECT_FALSE(names.Add("   "));
        EXPECT_TRUE(names.Add("buffer"));
        EXPECT_TRUE(names.Remove(1));
        EXPECT_FALSE(names.Remove(2));
        EXPECT_EQ(names.Names(), (std::vector<std::string>{"total", "buffer"}));
    }
    EXPECT_EQ(ReadWholeFile(dir.Path() / kCWatchNamesFileName), "total\r\nbuffer\r\n");
    dir.Write(kCWatchNamesFileName, "a\n\n  b \r\na\r\n");  // edited by hand
    CWatchNames again(dir.Path());
    EXPECT_EQ(again.Names(), (std::vector<std::string>{"a", "b"}));
    again.Clear();
    EXPECT_EQ(ReadWholeFile(dir.Path() / kCWatchNamesFileName), "");
    CWatchNames inMemory({});
    EXPECT_TRUE(inMemory.Add("x"));
    EXPECT_EQ(inMemory.Names(), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace tessaly
