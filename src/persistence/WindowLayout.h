#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tessaly {

struct WindowBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// Where one window was and whether it was open. The run-time window
// reference of the stored entry is kept by the GUI, not here: in a file those
// four bytes mean nothing.
struct WindowLayoutEntry {
    WindowBounds bounds;
    std::uint8_t visible = 0;

    friend bool operator==(const WindowLayoutEntry&, const WindowLayoutEntry&) = default;
};

// The windows of the layout by entry: the nine child views first, then the
// dialogs and tool windows that exist for the whole run.
namespace layout_window {
inline constexpr int kExecutionStatus = 0;
inline constexpr int kSfrWindow = 1;
inline constexpr int kInternalRam = 2;
inline constexpr int kExternalRam = 3;
inline constexpr int kBitMemory = 4;
inline constexpr int kActiveWatch = 5;
inline constexpr int kTerminal = 6;
inline constexpr int kWarnings = 7;
inline constexpr int kErrors = 8;
inline constexpr int kSettings = 9;
inline constexpr int kListViewer = 10;
inline constexpr int kDisassembly = 11;
inline constexpr int kBreakPoints = 12;
inline constexpr int kAddBreakPoint = 13;
inline constexpr int kAddWatch = 14;
inline constexpr int kGeneralRead = 15;
inline constexpr int kGeneralWrite = 16;
inline constexpr int kInitIntRam = 17;
inline constexpr int kInitExtRam = 18;
inline constexpr int kInitBitMemory = 19;
inline constexpr int kSendByte = 20;
inline constexpr int kProgressLabels = 21;
}  // namespace layout_window

// The positions of the 22 windows and the program loaded at the last exit.
// Entries 0-8 are the child views (execution status, SFRs, internal RAM,
// external RAM, bit memory, active watch, terminal, warnings, errors), which
// exist only while open; entries 9-21 are the dialogs and tool windows.
struct WindowLayout {
    static constexpr std::size_t kEntryCount = 22;
    static constexpr std::size_t kChildViewCount = 9;
    // The longest path the 1000-byte field holds with its terminating zero.
    static constexpr std::size_t kMaxFileName = 999;

    std::array<WindowLayoutEntry, kEntryCount> entries{};
    // 1 when the start-up layout came from its file; nothing reads it.
    std::uint8_t layoutFileRead = 0;
    std::string lastFileName;
    std::uint8_t reopenLastFile = 0;

    friend bool operator==(const WindowLayout&, const WindowLayout&) = default;
};

// How much larger than the default bounds' design the windows are drawn:
// the ratio of the system font's average character width and height to
// those of the small font the defaults were laid out for.
struct LayoutScale {
    double x = 1.0;
    double y = 1.0;
};

// Sets all 22 entries to their defaults, their places and sizes scaled; the
// last-file fields stay.
void LoadDefaultLayout(WindowLayout& layout, LayoutScale scale = {});

// Places and sizes drawn for the design grid, scaled (never made smaller).
void ScaleLayoutEntries(std::span<WindowLayoutEntry> entries, LayoutScale scale);

// Left, top, width and height as four little-endian 32-bit words, as every
// layout file stores a window's bounds.
void PutWindowBounds(std::uint8_t* at, const WindowBounds& bounds);
WindowBounds GetWindowBounds(const std::uint8_t* at);

// The 1536-byte block of the layout files and snapshots, little-endian.
inline constexpr std::size_t kWindowLayoutBlockSize = 1536;
using WindowLayoutBlock = std::array<std::uint8_t, kWindowLayoutBlockSize>;

WindowLayoutBlock EncodeWindowLayout(const WindowLayout& layout);
// Every one of the 22 entries is read whatever entry count the block claims;
// the block has room for 22 and no more. A path without its zero byte ends
// at the end of its field.
void DecodeWindowLayout(std::span<const std::uint8_t, kWindowLayoutBlockSize> block, WindowLayout& layout);

// The start-up layout "inwpssz.wst", read at start-up and written at exit.
// Loading is false after falling back to the defaults (no file, or a file
// too short to be a layout); saving is false when the file is not written.
bool LoadStartupLayout(const std::filesystem::path& configDir, WindowLayout& layout);
bool SaveStartupLayout(const std::filesystem::path& configDir, const WindowLayout& layout);

// The layout saved on request, "sinwpssl.wst". A failed save is false (the
// caller shows "Cannot save windows status"); a failed restore is false
// after falling back to the defaults without a message.
bool SaveWindowsStatus(const std::filesystem::path& configDir, const WindowLayout& layout);
bool RestoreWindowsStatus(const std::filesystem::path& configDir, WindowLayout& layout);

inline constexpr const char* kStartupLayoutFileName = "inwpssz.wst";
inline constexpr const char* kSavedLayoutFileName = "sinwpssl.wst";

}  // namespace tessaly
