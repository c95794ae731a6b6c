#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "persistence/WindowLayout.h"

namespace tessaly {

// The C debugging windows, by entry of their layout.
namespace source_window {
inline constexpr int kSource = 0;
inline constexpr int kCallStack = 1;
inline constexpr int kLocals = 2;
}  // namespace source_window

// Where the C debugging windows were and whether they were open. They are
// kept in files of their own, so that the 1536-byte window layout (and every
// snapshot that carries it) keeps its format.
struct SourceWindowsLayout {
    static constexpr std::size_t kEntryCount = 3;
    std::array<WindowLayoutEntry, kEntryCount> entries{};

    friend bool operator==(const SourceWindowsLayout&, const SourceWindowsLayout&) = default;
};

// All three open: the source to the right of the child views' defaults, the
// call stack and the locals below it; places and sizes scaled as the child
// views' defaults are.
SourceWindowsLayout DefaultSourceWindowsLayout(LayoutScale scale = {});

// The file: a 32-bit entry count, then for each entry its left, top, width
// and height (signed 32-bit) and a byte, 1 open or 0 closed; little-endian,
// 55 bytes for the three windows.
std::vector<std::uint8_t> EncodeSourceWindowsLayout(const SourceWindowsLayout& layout);
// False, changing nothing, when the bytes are too few for the count they
// begin with or the count is 0. A count above three (a later version's file)
// gives its first three entries; one below keeps the later entries as they
// were.
bool DecodeSourceWindowsLayout(std::span<const std::uint8_t> bytes, SourceWindowsLayout& layout);

// Written at exit and read at start-up, beside the start-up layout; the
// second is written and read by the Window menu's save and restore.
inline constexpr const char* kSourceWindowsFileName = "srcwnds.wst";
inline constexpr const char* kSavedSourceWindowsFileName = "ssrcwnds.wst";

// False, changing nothing, when the file is missing or is no such layout.
bool LoadSourceWindowsLayout(const std::filesystem::path& file, SourceWindowsLayout& layout);
bool SaveSourceWindowsLayout(const std::filesystem::path& file, const SourceWindowsLayout& layout);

}  // namespace tessaly
