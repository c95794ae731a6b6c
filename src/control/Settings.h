#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/MessageHost.h"

namespace tessaly {

// The simulation settings. The settings file is the 48-byte little-endian
// image of this record (offsets in Settings.cpp); the padding bytes are kept
// so that a file read and written again comes back byte for byte.
struct SimulationSettings {
    std::uint32_t speedDelay = 0;           // 100 minus the speed percentage; 0 = full speed
    std::uint32_t instructionsPerTick = 1;  // per tick of a free run
    std::int32_t refreshType = 1;           // 1 each instruction, 2 each tick, 3 manual
    std::array<std::uint8_t, 4> padding12{};
    double crystalFrequency = 12000000.0;   // Hz
    std::int32_t bulkStepCount = 100;
    std::uint32_t stepTimeInUSec = 1000;
    std::uint8_t autoLoadLabels = 0;
    std::array<std::uint8_t, 3> padding33{};
    std::int32_t threadPriority = 4;        // 1 to 6
    std::int32_t priorityClass = 2;         // 1 to 3
    std::array<std::uint8_t, 4> padding44{};

    friend bool operator==(const SimulationSettings&, const SimulationSettings&) = default;
};

inline constexpr std::size_t kSettingsRecordSize = 48;
inline constexpr std::string_view kSettingsFileName = "stgcurnt.sud";
inline constexpr std::uint32_t kMaxCount = 1000000000;
inline constexpr double kMaxCrystalFrequency = 1000000000.0;  // Hz, exclusive

using SettingsImage = std::array<std::uint8_t, kSettingsRecordSize>;

SettingsImage EncodeSettings(const SimulationSettings& settings);
// Reads the first `size` bytes of `bytes` (at most 48) over the record; the
// fields beyond them keep their values, a field cut in two is mixed.
void DecodeSettings(const std::uint8_t* bytes, std::size_t size, SimulationSettings& settings);

// Puts the default values into every field; the padding is not touched.
void LoadDefaultSettings(SimulationSettings& settings);

// Every field outside its valid range (a crystal frequency that is not above 0
// and below 1 GHz, NaN included; zero counts; a refresh type or priority out
// of its positions; a label flag other than 0 or 1) gets its default, so that
// no later division or loop can go wrong. Returns the number of fields mended.
int MendSettings(SimulationSettings& settings);

std::filesystem::path SettingsFilePath(const std::filesystem::path& configDirectory);

// Reads the settings file of `configDirectory` over the record (a short file
// leaves the rest as it was) and mends any value out of range. False after
// loading the defaults when the file cannot be opened.
bool LoadSettings(SimulationSettings& settings, const std::filesystem::path& configDirectory);

// Writes the 48-byte record. False after showing "An error occured while
// saving current settings".
bool SaveSettings(const SimulationSettings& settings, const std::filesystem::path& configDirectory,
                 MessageHost& host);

}  // namespace tessaly
