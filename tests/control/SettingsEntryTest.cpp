#include <gtest/gtest.h>

#include "control/SettingsEntry.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

SettingsEntry ValidEntry() {
    SettingsEntry e;
    e.speedPosition = 80;
    e.instructionsPerTick = "500";
    e.refreshIndex = 1;
    e.crystalFrequency = "11.0592";
    e.bulkStepCount = "250";
    e.stepTimeInUSec = "2000";
    e.autoLoadLabels = true;
    e.threadPriority = 5;
    e.priorityClass = 1;
    return e;
}

std::string MessageOf(const SettingsEntry& e) {
    const auto checked = CheckSettingsEntry(e, SimulationSettings{});
    const auto* message = std::get_if<std::string>(&checked);
    return message ? *message : std::string("(accepted)");
}

double HertzOf(const std::string& megahertz) {
    SettingsEntry e = ValidEntry();
    e.crystalFrequency = megahertz;
    const auto checked = CheckSettingsEntry(e, SimulationSettings{});
    const auto* s = std::get_if<SimulationSettings>(&checked);
    return s ? s->crystalFrequency : -1.0;
}

TEST(SettingsEntry, DefaultsShowAsTheDialogShowsThem) {
    const SettingsEntry e = EntryFromSettings(SimulationSettings{});
    EXPECT_EQ(e.speedPosition, 100);
    EXPECT_EQ(e.instructionsPerTick, "1");
    EXPECT_EQ(e.refreshIndex, 0);
    EXPECT_EQ(e.crystalFrequency, "12");
    EXPECT_EQ(e.bulkStepCount, "100");
    EXPECT_EQ(e.stepTimeInUSec, "1000");
    EXPECT_FALSE(e.autoLoadLabels);
    EXPECT_EQ(e.threadPriority, 4);
    EXPECT_EQ(e.priorityClass, 2);
}

TEST(SettingsEntry, CrystalFrequencyShowsInShortestMegahertz) {
    const struct {
        double hertz;
        const char* text;
    } cases[] = {
        {12000000.0, "12"},     {11592000.0, "11.592"}, {11059200.0, "11.0592"},
        {24000000.0, "24"},     {999999000.0, "999.999"}, {1000.0, "0.001"},
        {100.0, "0.0001"},      {10.0, "0.00001"},      {1.0, "1E-6"},
        {1.5, "1.5E-6"},        {333333333.3333333, "333.333333333333"}, {123456789.0, "123.456789"},
    };
    for (const auto& c : cases) EXPECT_EQ(CrystalFrequencyText(c.hertz), c.text) << c.hertz;
}

TEST(SettingsEntry, ValidEntryBecomesTheRecord) {
    SimulationSettings current;
    current.padding33 = {1, 2, 3};
    const auto checked = CheckSettingsEntry(ValidEntry(), current);
    ASSERT_TRUE(std::holds_alternative<SimulationSettings>(checked));
    const auto& s = std::get<SimulationSettings>(checked);
    EXPECT_EQ(s.speedDelay, 20u);
    EXPECT_EQ(s.instructionsPerTick, 500u);
    EXPECT_EQ(s.refreshType, 2);
    EXPECT_EQ(s.crystalFrequency, 11059200.0);
    EXPECT_EQ(s.bulkStepCount, 250);
    EXPECT_EQ(s.stepTimeInUSec, 2000u);
    EXPECT_EQ(s.autoLoadLabels, 1);
    EXPECT_EQ(s.threadPriority, 5);
    EXPECT_EQ(s.priorityClass, 1);
    EXPECT_EQ(s.padding33, current.padding33);
}

TEST(SettingsEntry, SpeedOfOnePercentIsDelay99) {
    SettingsEntry e = ValidEntry();
    e.speedPosition = 1;
    EXPECT_EQ(std::get<SimulationSettings>(CheckSettingsEntry(e, {})).speedDelay, 99u);
    e.speedPosition = 100;
    EXPECT_EQ(std::get<SimulationSettings>(CheckSettingsEntry(e, {})).speedDelay, 0u);
}

TEST(SettingsEntry, EntryAndRecordRoundTrip) {
    const auto s = std::get<SimulationSettings>(CheckSettingsEntry(ValidEntry(), {}));
    const SettingsEntry back = EntryFromSettings(s);
    EXPECT_EQ(back.speedPosition, 80);
    EXPECT_EQ(back.crystalFrequency, "11.0592");
    EXPECT_EQ(back.refreshIndex, 1);
    EXPECT_EQ(std::get<SimulationSettings>(CheckSettingsEntry(back, s)), s);
}

struct FieldCase {
    const char* text;
    bool accepted;
};

TEST(SettingsEntry, InstructionsPerTickMustBeOneToABillion) {
    const FieldCase cases[] = {{"1", true},   {"1000000000", true}, {" 42\t", true},    {"+7", true},
                               {"", false},   {"0", false},         {"-1", false},      {"1000000001", false},
                               {"9999999999", false}, {"12a", false}, {"1 2", false}, {"0x10", false}};
    for (const auto& c : cases) {
        SettingsEntry e = ValidEntry();
        e.instructionsPerTick = c.text;
        EXPECT_EQ(MessageOf(e), c.accepted ? "(accepted)" : std::string(kInstructionsPerTickMessage)) << c.text;
    }
}

TEST(SettingsEntry, CrystalFrequencyMustBeAboveZeroAndBelowAThousand) {
    const FieldCase cases[] = {{"999.999", true}, {"0.000001", true}, {"12", true}, {" 24 ", true}, {".5", true},
                               {"5.", true},       {"1e2", true},      {"1000", false}, {"0", false}, {"", false},
                               {"-12", false},     {"abc", false},     {"nan", false},  {"inf", false}, {".", false},
                               {"1,5", false},     {"1e", false},      {"0x10", false}, {"999.99999999999999", false},
                               {"1e-330", false}};
    for (const auto& c : cases) {
        SettingsEntry e = ValidEntry();
        e.crystalFrequency = c.text;
        EXPECT_EQ(MessageOf(e), c.accepted ? "(accepted)" : std::string(kCrystalFrequencyMessage)) << c.text;
    }
}

TEST(SettingsEntry, MegahertzBecomeHertzInExtendedPrecision) {
    EXPECT_EQ(HertzOf("999.999"), 999999000.0);
    EXPECT_EQ(HertzOf("11.592"), 11592000.0);
    EXPECT_EQ(HertzOf("0.000001"), 1.0);
    EXPECT_EQ(HertzOf("1e2"), 100000000.0);
}

TEST(SettingsEntry, BulkStepCountAndStepTimeHaveTheirOwnMessages) {
    for (const char* bad : {"", "0", "1000000001", "9999999999", "x"}) {
        SettingsEntry e = ValidEntry();
        e.bulkStepCount = bad;
        EXPECT_EQ(MessageOf(e), kBulkStepCountMessage) << bad;
        e = ValidEntry();
        e.stepTimeInUSec = bad;
        EXPECT_EQ(MessageOf(e), kStepTimeMessage) << bad;
    }
}

TEST(SettingsEntry, ChecksRunInOrderAndStopAtTheFirstFailure) {
    SettingsEntry e = ValidEntry();
    e.instructionsPerTick = "";
    e.crystalFrequency = "0";
    e.bulkStepCount = "0";
    e.stepTimeInUSec = "0";
    EXPECT_EQ(MessageOf(e), kInstructionsPerTickMessage);
    e.instructionsPerTick = "1";
    EXPECT_EQ(MessageOf(e), kCrystalFrequencyMessage);
    e.crystalFrequency = "1";
    EXPECT_EQ(MessageOf(e), kBulkStepCountMessage);
    e.bulkStepCount = "1";
    EXPECT_EQ(MessageOf(e), kStepTimeMessage);
    e.stepTimeInUSec = "1";
    EXPECT_EQ(MessageOf(e), "(accepted)");
}

TEST(SettingsEntry, PositionsOutsideTheControlsAreClamped) {
    SettingsEntry e = ValidEntry();
    e.speedPosition = 0;
    e.refreshIndex = 7;
    e.threadPriority = 9;
    e.priorityClass = -1;
    const auto s = std::get<SimulationSettings>(CheckSettingsEntry(e, {}));
    EXPECT_EQ(s.speedDelay, 99u);
    EXPECT_EQ(s.refreshType, 3);
    EXPECT_EQ(s.threadPriority, 6);
    EXPECT_EQ(s.priorityClass, 1);
}

TEST(SettingsEntry, RefusedEntryShowsItsMessageAndChangesNothing) {
    test::ScratchDirectory dir;
    test::MessageRecorder recorder;
    SettingsStore store(dir.Path(), recorder);
    const SimulationSettings& settings = store.Current();
    SettingsEntry e = ValidEntry();
    e.crystalFrequency = "1000";
    EXPECT_FALSE(AcceptSettingsEntry(e, store, recorder));
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.entries[0].kind, MessageKind::Plain);
    EXPECT_EQ(recorder.entries[0].text, "Crystal frequency must be greater than 0 and less than 1000 MHz");
    EXPECT_EQ(settings, SimulationSettings{});
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "stgcurnt.sud"));
}

TEST(SettingsEntry, AcceptedEntryIsStoredAndSaved) {
    test::ScratchDirectory dir;
    test::MessageRecorder recorder;
    SettingsStore store(dir.Path(), recorder);
    const SimulationSettings& settings = store.Current();
    int applied = 0;
    store.OnApply([&](const SimulationSettings& record) { applied += record == settings; });
    EXPECT_TRUE(AcceptSettingsEntry(ValidEntry(), store, recorder));
    EXPECT_EQ(applied, 1) << "the accepted record is applied once";
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(settings.crystalFrequency, 11059200.0);
    SimulationSettings reloaded;
    EXPECT_TRUE(LoadSettings(reloaded, dir.Path()));
    EXPECT_EQ(reloaded, settings);
}

TEST(SettingsEntry, SaveFailureOnlyShowsItsMessage) {
    test::ScratchDirectory dir;
    test::MessageRecorder recorder;
    SettingsStore store(dir.Path() / "missing", recorder);
    const SimulationSettings& settings = store.Current();
    EXPECT_TRUE(AcceptSettingsEntry(ValidEntry(), store, recorder));
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.entries[0].text, "An error occured while saving current settings");
    EXPECT_EQ(settings.instructionsPerTick, 500u) << "the new values stay in force";
}

TEST(SettingsEntry, KeyFilters) {
    for (char c : std::string("0123456789\b")) {
        EXPECT_TRUE(AcceptsCountKey(c));
        EXPECT_TRUE(AcceptsFrequencyKey(c));
    }
    EXPECT_FALSE(AcceptsCountKey('.'));
    EXPECT_TRUE(AcceptsFrequencyKey('.'));
    for (char c : std::string("-+eE ,xa")) {
        EXPECT_FALSE(AcceptsCountKey(c)) << c;
        EXPECT_FALSE(AcceptsFrequencyKey(c)) << c;
    }
}

}  // namespace
}  // namespace tessaly
