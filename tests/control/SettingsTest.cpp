#include <gtest/gtest.h>

#include <ostream>

#include <bit>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <limits>

#if defined(__unix__)
#include <sys/resource.h>
#endif

#include "control/Settings.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

// Known values and the bytes the settings file must hold for them, laid out
// by hand at their offsets.
SimulationSettings KnownSettings() {
    SimulationSettings s;
    s.speedDelay = 37;
    s.instructionsPerTick = 0x01020304;
    s.refreshType = 3;
    s.padding12 = {0xA0, 0xA1, 0xA2, 0xA3};
    s.crystalFrequency = 11059200.0;
    s.bulkStepCount = 0x00ABCDEF;
    s.stepTimeInUSec = 1000000000;
    s.autoLoadLabels = 1;
    s.padding33 = {0xB0, 0xB1, 0xB2};
    s.threadPriority = 6;
    s.priorityClass = 3;
    s.padding44 = {0xC0, 0xC1, 0xC2, 0xC3};
    return s;
}

SettingsImage KnownImage() {
    return {
        0x25, 0x00, 0x00, 0x00,                          // 0 speedDelay 37
        0x04, 0x03, 0x02, 0x01,                          // 4 instructionsPerTick
        0x03, 0x00, 0x00, 0x00,                          // 8 refreshType
        0xA0, 0xA1, 0xA2, 0xA3,                          // 12 padding
        0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x65, 0x41,  // 16 crystalFrequency 11059200.0
        0xEF, 0xCD, 0xAB, 0x00,                          // 24 bulkStepCount
        0x00, 0xCA, 0x9A, 0x3B,                          // 28 stepTimeInUSec 1000000000
        0x01,                                            // 32 autoLoadLabels
        0xB0, 0xB1, 0xB2,                                // 33 padding
        0x06, 0x00, 0x00, 0x00,                          // 36 threadPriority
        0x03, 0x00, 0x00, 0x00,                          // 40 priorityClass
        0xC0, 0xC1, 0xC2, 0xC3,                          // 44 padding
    };
}

std::string AsText(const SettingsImage& image) { return std::string(image.begin(), image.end()); }

void ExpectDefaults(const SimulationSettings& s) {
    EXPECT_EQ(s.speedDelay, 0u);
    EXPECT_EQ(s.instructionsPerTick, 1u);
    EXPECT_EQ(s.refreshType, 1);
    EXPECT_EQ(s.crystalFrequency, 12000000.0);
    EXPECT_EQ(s.bulkStepCount, 100);
    EXPECT_EQ(s.stepTimeInUSec, 1000u);
    EXPECT_EQ(s.autoLoadLabels, 0);
    EXPECT_EQ(s.threadPriority, 4);
    EXPECT_EQ(s.priorityClass, 2);
}

TEST(SettingsRecord, EncodesEachFieldAtItsOffset) {
    EXPECT_EQ(EncodeSettings(KnownSettings()), KnownImage());
}

TEST(SettingsRecord, DecodesEachFieldFromItsOffset) {
    const SettingsImage image = KnownImage();
    SimulationSettings s;
    DecodeSettings(image.data(), image.size(), s);
    EXPECT_EQ(s, KnownSettings());
}

TEST(SettingsRecord, LoadDefaultsSetsEveryFieldAndLeavesThePadding) {
    SimulationSettings s = KnownSettings();
    LoadDefaultSettings(s);
    ExpectDefaults(s);
    EXPECT_EQ(s.padding12, KnownSettings().padding12);
    EXPECT_EQ(s.padding33, KnownSettings().padding33);
    EXPECT_EQ(s.padding44, KnownSettings().padding44);
}

class SettingsFile : public ::testing::Test {
protected:
    test::ScratchDirectory dir;
    test::MessageRecorder recorder;
};

TEST_F(SettingsFile, SaveWritesTheFortyEightBytes) {
    EXPECT_TRUE(SaveSettings(KnownSettings(), dir.Path(), recorder));
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(dir.Read("stgcurnt.sud"), AsText(KnownImage()));
    EXPECT_EQ(SettingsFilePath(dir.Path()), dir.Path() / "stgcurnt.sud");
}

TEST_F(SettingsFile, LoadThenSaveGivesTheSameBytes) {
    dir.Write("stgcurnt.sud", AsText(KnownImage()));
    SimulationSettings s;
    EXPECT_TRUE(LoadSettings(s, dir.Path()));
    EXPECT_EQ(s, KnownSettings());
    dir.Write("stgcurnt.sud", "");
    EXPECT_TRUE(SaveSettings(s, dir.Path(), recorder));
    EXPECT_EQ(dir.Read("stgcurnt.sud"), AsText(KnownImage()));
}

TEST_F(SettingsFile, MissingFileLoadsTheDefaults) {
    SimulationSettings s = KnownSettings();
    EXPECT_FALSE(LoadSettings(s, dir.Path()));
    ExpectDefaults(s);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "stgcurnt.sud")) << "loading never creates the file";
}

TEST_F(SettingsFile, MissingDirectoryLoadsTheDefaults) {
    SimulationSettings s = KnownSettings();
    EXPECT_FALSE(LoadSettings(s, dir.Path() / "nowhere"));
    ExpectDefaults(s);
}

TEST_F(SettingsFile, ShortFileLeavesTheRestOfTheRecordAsItWas) {
    dir.Write("stgcurnt.sud", std::string("\x05\x00\x00\x00\x0A\x00\x00\x00", 8));
    SimulationSettings s = KnownSettings();
    EXPECT_TRUE(LoadSettings(s, dir.Path()));
    EXPECT_EQ(s.speedDelay, 5u);
    EXPECT_EQ(s.instructionsPerTick, 10u);
    SimulationSettings expected = KnownSettings();
    expected.speedDelay = 5;
    expected.instructionsPerTick = 10;
    EXPECT_EQ(s, expected);
}

TEST_F(SettingsFile, EmptyFileChangesNothing) {
    dir.Write("stgcurnt.sud", "");
    SimulationSettings s = KnownSettings();
    EXPECT_TRUE(LoadSettings(s, dir.Path()));
    EXPECT_EQ(s, KnownSettings());
}

TEST_F(SettingsFile, FileCutInsideTheCrystalFrequencyMixesItsBytes) {
    std::string bytes = AsText(KnownImage()).substr(0, 20);
    bytes[16] = '\x01';
    dir.Write("stgcurnt.sud", bytes);
    SimulationSettings s;  // 12 MHz: 00 00 00 00 60 E3 66 41
    EXPECT_TRUE(LoadSettings(s, dir.Path()));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s.crystalFrequency), 0x4166E36000000001u);
    EXPECT_EQ(s.bulkStepCount, 100) << "beyond the cut the record is as it was";
}

TEST_F(SettingsFile, LongerFileReadsOnlyTheRecord) {
    dir.Write("stgcurnt.sud", AsText(KnownImage()) + "trailing bytes");
    SimulationSettings s;
    EXPECT_TRUE(LoadSettings(s, dir.Path()));
    EXPECT_EQ(s, KnownSettings());
}

#if defined(__unix__)
TEST_F(SettingsFile, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(SaveSettings(KnownSettings(), dir.Path(), recorder));
    const std::string before = dir.Read("stgcurnt.sud");

    // A file-size limit below the record makes the write fail, like a full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = SaveSettings(SimulationSettings{}, dir.Path(), recorder);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.entries[0].text, "An error occured while saving current settings");
    EXPECT_EQ(dir.Read("stgcurnt.sud"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}
#endif

TEST_F(SettingsFile, SaveIntoAMissingDirectoryFailsWithItsMessage) {
    EXPECT_FALSE(SaveSettings(KnownSettings(), dir.Path() / "nowhere", recorder));
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.entries[0].text, "An error occured while saving current settings");
    EXPECT_EQ(recorder.entries[0].kind, MessageKind::Plain);
}

// One field of a stored record out of range: that field alone gets its default.
struct CorruptCase {
    const char* name;
    std::size_t offset;
    std::vector<std::uint8_t> bytes;
    void (*check)(const SimulationSettings&);
    friend void PrintTo(const CorruptCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<std::uint8_t> Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::uint8_t> Le64(double d) {
    const auto v = std::bit_cast<std::uint64_t>(d);
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return bytes;
}

std::vector<CorruptCase> CorruptCases() {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    auto speed = [](const SimulationSettings& s) { EXPECT_EQ(s.speedDelay, 0u); };
    auto perTick = [](const SimulationSettings& s) { EXPECT_EQ(s.instructionsPerTick, 1u); };
    auto refresh = [](const SimulationSettings& s) { EXPECT_EQ(s.refreshType, 1); };
    auto crystal = [](const SimulationSettings& s) { EXPECT_EQ(s.crystalFrequency, 12000000.0); };
    auto bulk = [](const SimulationSettings& s) { EXPECT_EQ(s.bulkStepCount, 100); };
    auto stepTime = [](const SimulationSettings& s) { EXPECT_EQ(s.stepTimeInUSec, 1000u); };
    auto labels = [](const SimulationSettings& s) { EXPECT_EQ(s.autoLoadLabels, 0); };
    auto thread = [](const SimulationSettings& s) { EXPECT_EQ(s.threadPriority, 4); };
    auto priorityClass = [](const SimulationSettings& s) { EXPECT_EQ(s.priorityClass, 2); };
    return {
        {"SpeedDelay100", 0, Le32(100), speed},
        {"SpeedDelayHuge", 0, Le32(0xFFFFFFFF), speed},
        {"PerTickZero", 4, Le32(0), perTick},
        {"PerTickTooMany", 4, Le32(1000000001), perTick},
        {"RefreshZero", 8, Le32(0), refresh},
        {"RefreshFour", 8, Le32(4), refresh},
        {"RefreshNegative", 8, Le32(0xFFFFFFFF), refresh},
        {"CrystalZero", 16, Le64(0.0), crystal},
        {"CrystalNegative", 16, Le64(-12.0), crystal},
        {"CrystalNaN", 16, Le64(kNaN), crystal},
        {"CrystalInfinite", 16, Le64(kInf), crystal},
        {"CrystalOneGigahertz", 16, Le64(1e9), crystal},
        {"BulkZero", 24, Le32(0), bulk},
        {"BulkNegative", 24, Le32(0xFFFFFFFF), bulk},
        {"BulkTooMany", 24, Le32(1000000001), bulk},
        {"StepTimeZero", 28, Le32(0), stepTime},
        {"StepTimeTooLong", 28, Le32(0xFFFFFFFF), stepTime},
        {"LabelsTwo", 32, {2}, labels},
        {"ThreadZero", 36, Le32(0), thread},
        {"ThreadSeven", 36, Le32(7), thread},
        {"ClassZero", 40, Le32(0), priorityClass},
        {"ClassFour", 40, Le32(4), priorityClass},
    };
}

class SettingsCorrupt : public SettingsFile, public ::testing::WithParamInterface<CorruptCase> {};

TEST_P(SettingsCorrupt, FieldOutOfRangeFallsBackToItsDefault) {
    const CorruptCase& c = GetParam();
    SettingsImage image = KnownImage();
    std::copy(c.bytes.begin(), c.bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(c.offset));
    dir.Write("stgcurnt.sud", AsText(image));
    SimulationSettings s;
    EXPECT_TRUE(LoadSettings(s, dir.Path()));
    c.check(s);
    // Every other field keeps the stored value.
    SettingsImage mended = EncodeSettings(s);
    const SettingsImage known = KnownImage();
    for (std::size_t i = 0; i < kSettingsRecordSize; ++i) {
        if (i < c.offset || i >= c.offset + c.bytes.size()) {
            EXPECT_EQ(mended[i], known[i]) << "byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, SettingsCorrupt, ::testing::ValuesIn(CorruptCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsMend, LimitsThemselvesAreKept) {
    SimulationSettings s;
    s.speedDelay = 99;
    s.instructionsPerTick = 1000000000;
    s.refreshType = 3;
    s.crystalFrequency = 999999999.0;
    s.bulkStepCount = 1;
    s.stepTimeInUSec = 1;
    s.autoLoadLabels = 1;
    s.threadPriority = 1;
    s.priorityClass = 3;
    const SimulationSettings before = s;
    EXPECT_EQ(MendSettings(s), 0);
    EXPECT_EQ(s, before);
    s.crystalFrequency = 1e-300;
    EXPECT_EQ(MendSettings(s), 0) << "any frequency above 0 is usable";
}

TEST(SettingsMend, CountsTheFieldsItMends) {
    SettingsImage image{};  // all zero: every count and position out of range
    SimulationSettings s;
    DecodeSettings(image.data(), image.size(), s);
    EXPECT_EQ(MendSettings(s), 7);
    ExpectDefaults(s);
}

}  // namespace
}  // namespace tessaly
