#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "control/Settings.h"
#include "control/SettingsStore.h"
#include "core/MessageHost.h"

namespace tessaly {

// What the settings dialog shows and the user typed: the texts of the four
// typed fields and the positions of the other controls.
struct SettingsEntry {
    int speedPosition = 100;  // 1 to 100 per cent
    std::string instructionsPerTick;
    int refreshIndex = 0;     // item of the refresh type list, 0 to 2
    std::string crystalFrequency;  // MHz
    std::string bulkStepCount;
    std::string stepTimeInUSec;
    bool autoLoadLabels = false;
    int threadPriority = 4;   // 1 to 6
    int priorityClass = 2;    // 1 to 3
};

inline constexpr std::string_view kInstructionsPerTickMessage = "Instructions per ticks must be between 1-1000000000";
inline constexpr std::string_view kCrystalFrequencyMessage =
    "Crystal frequency must be greater than 0 and less than 1000 MHz";
inline constexpr std::string_view kBulkStepCountMessage = "Bulk step count must be between 1-1000000000";
inline constexpr std::string_view kStepTimeMessage = "Step time count must be between 1-1000000000";

// The dialog's contents for a record.
SettingsEntry EntryFromSettings(const SimulationSettings& settings);

// A crystal frequency in Hz as the dialog shows it in MHz: the shortest general
// text with 15 significant digits (12000000 gives "12", 11592000 "11.592").
std::string CrystalFrequencyText(double hertz);

// The trimmed text as a decimal 32-bit integer; -1 when it is not one.
std::int64_t ConvertDecimalText(std::string_view text);
// The trimmed text as a decimal number, in extended precision; -1 when it is
// not one.
long double ConvertFloatText(std::string_view text);

// The OK button's checks, in order: the record built from `entry` over
// `current` (whose padding it keeps), or the message of the first check that
// fails. A frequency so close to 1000 MHz that it rounds to 1 GHz in the
// record, or so small that it rounds to 0 Hz, fails like one out of range.
std::variant<SimulationSettings, std::string> CheckSettingsEntry(const SettingsEntry& entry,
                                                                const SimulationSettings& current);

// The OK button: on a failed check shows its message (a plain box), leaves
// the settings unchanged and returns false. Otherwise hands the record to
// the store, which keeps, saves and applies it, and returns true.
bool AcceptSettingsEntry(const SettingsEntry& entry, SettingsStore& settings, MessageHost& host);

// Key filters: the count fields take digits and backspace; the frequency box
// also takes the decimal point.
bool AcceptsCountKey(char key);
bool AcceptsFrequencyKey(char key);

}  // namespace tessaly
