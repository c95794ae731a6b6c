#pragma once

#include <cstdint>
#include <filesystem>

namespace tessaly {

// The engine choices of the Options menu, kept in their own small file
// beside the settings so that the 48-byte settings record keeps its format:
// byte 0 the hardware-accurate serial port, byte 1 external RAM paging
// through P2, each 0 or 1; bytes 2-3 the memory reverse execution may keep,
// in megabytes, least significant first (0: no history is recorded). A file
// of two bytes, from before the history, gives the default.
struct EngineOptions {
    static constexpr std::uint16_t kDefaultHistoryMegabytes = 256;

    bool hardwareSerial = false;
    bool xramPaging = false;
    std::uint16_t historyMegabytes = kDefaultHistoryMegabytes;

    friend bool operator==(const EngineOptions&, const EngineOptions&) = default;
};

inline constexpr const char* kEngineOptionsFileName = "engopts.sud";

// The options of the file, or the defaults (both off) when there is none; a
// byte that is neither 0 nor 1 reads as off.
EngineOptions LoadEngineOptions(const std::filesystem::path& configDir);
// False when the file cannot be written (the previous one stays).
bool SaveEngineOptions(const std::filesystem::path& configDir, const EngineOptions& options);

}  // namespace tessaly
