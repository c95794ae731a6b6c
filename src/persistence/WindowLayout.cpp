#include "persistence/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "util/LittleEndian.h"
#include "util/SafeFileWriter.h"

namespace tessaly {

namespace {

// Offsets in the 1536-byte block.
constexpr std::size_t kCountOffset = 0;
constexpr std::size_t kEntriesOffset = 4;
constexpr std::size_t kEntrySize = 24;
constexpr std::size_t kFileReadOffset = 532;
constexpr std::size_t kFileNameOffset = 533;
constexpr std::size_t kFileNameSize = 1000;
constexpr std::size_t kReopenOffset = 1533;

// Offsets in one 24-byte entry; bytes 0-3 (the window reference) and 21-23
// are written as zeros.
constexpr std::size_t kBounds = 4, kVisible = 20;

constexpr WindowLayoutEntry kDefaults[WindowLayout::kEntryCount] = {
    {{1, 284, 318, 174}, 1},    // execution status
    {{1, 2, 310, 281}, 1},      // SFR window
    {{355, 38, 351, 284}, 1},   // internal RAM
    {{312, 1, 395, 297}, 1},    // external RAM
    {{394, 60, 266, 283}, 1},   // bit memory
    {{313, 81, 481, 351}, 1},   // active watch
    {{338, 103, 437, 398}, 1},  // terminal
    {{372, 126, 300, 300}, 1},  // warnings
    {{403, 149, 300, 300}, 1},  // errors
    {{47, 62, 546, 438}, 0},    // settings
    {{4, 297, 330, 254}, 0},    // list viewer
    {{2, 93, 800, 477}, 0},     // disassembly
    {{250, 150, 319, 273}, 0},  // break points
    {{268, 235, 264, 130}, 0},  // add break point
    {{253, 250, 295, 169}, 0},  // add active watch
    {{186, 88, 300, 373}, 0},   // general read
    {{186, 112, 300, 374}, 0},  // general write
    {{250, 150, 300, 110}, 0},  // initialise internal RAM
    {{250, 150, 301, 111}, 0},  // initialise external RAM
    {{249, 243, 301, 114}, 0},  // initialise bit memory
    {{250, 241, 222, 144}, 0},  // send byte serially
    {{186, 228, 428, 143}, 0},  // label import progress
};

bool ReadBlock(const std::filesystem::path& file, WindowLayout& layout) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    WindowLayoutBlock block{};
    in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
    // A short file is not a layout; its missing tail would place windows at random.
    if (in.gcount() != static_cast<std::streamsize>(block.size())) return false;
    DecodeWindowLayout(block, layout);
    return true;
}

bool WriteBlock(const std::filesystem::path& file, const WindowLayout& layout) {
    SafeFileWriter writer(file);
    if (!writer.IsOpen()) return false;
    const WindowLayoutBlock block = EncodeWindowLayout(layout);
    writer.Stream().write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
    return writer.Commit();
}

}  // namespace

void ScaleLayoutEntries(std::span<WindowLayoutEntry> entries, LayoutScale scale) {
    const auto scaled = [](std::int32_t value, double factor) {
        return static_cast<std::int32_t>(std::lround(value * std::max(1.0, factor)));
    };
    for (WindowLayoutEntry& entry : entries) {
        WindowBounds& b = entry.bounds;
        b = {scaled(b.left, scale.x), scaled(b.top, scale.y), scaled(b.width, scale.x), scaled(b.height, scale.y)};
    }
}

void PutWindowBounds(std::uint8_t* at, const WindowBounds& bounds) {
    le::Put32(at, static_cast<std::uint32_t>(bounds.left));
    le::Put32(at + 4, static_cast<std::uint32_t>(bounds.top));
    le::Put32(at + 8, static_cast<std::uint32_t>(bounds.width));
    le::Put32(at + 12, static_cast<std::uint32_t>(bounds.height));
}

WindowBounds GetWindowBounds(const std::uint8_t* at) {
    return {le::GetSigned32(at), le::GetSigned32(at + 4), le::GetSigned32(at + 8), le::GetSigned32(at + 12)};
}

void LoadDefaultLayout(WindowLayout& layout, LayoutScale scale) {
    std::copy(std::begin(kDefaults), std::end(kDefaults), layout.entries.begin());
    ScaleLayoutEntries(layout.entries, scale);
}

WindowLayoutBlock EncodeWindowLayout(const WindowLayout& layout) {
    WindowLayoutBlock block{};
    le::Put32(&block[kCountOffset], WindowLayout::kEntryCount);
    for (std::size_t i = 0; i < WindowLayout::kEntryCount; ++i) {
        std::uint8_t* entry = &block[kEntriesOffset + kEntrySize * i];
        const WindowLayoutEntry& e = layout.entries[i];
        PutWindowBounds(entry + kBounds, e.bounds);
        entry[kVisible] = e.visible;
    }
    block[kFileReadOffset] = layout.layoutFileRead;
    const std::size_t length = std::min(layout.lastFileName.size(), WindowLayout::kMaxFileName);
    std::copy_n(layout.lastFileName.begin(), length, block.begin() + kFileNameOffset);
    block[kReopenOffset] = layout.reopenLastFile;
    return block;
}

void DecodeWindowLayout(std::span<const std::uint8_t, kWindowLayoutBlockSize> block, WindowLayout& layout) {
    for (std::size_t i = 0; i < WindowLayout::kEntryCount; ++i) {
        const std::uint8_t* entry = &block[kEntriesOffset + kEntrySize * i];
        WindowLayoutEntry& e = layout.entries[i];
        e.bounds = GetWindowBounds(entry + kBounds);
        e.visible = entry[kVisible];
    }
    layout.layoutFileRead = block[kFileReadOffset];
    const auto name = block.subspan(kFileNameOffset, kFileNameSize);
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    layout.lastFileName.assign(name.begin(), end);
    layout.reopenLastFile = block[kReopenOffset];
}

bool LoadStartupLayout(const std::filesystem::path& configDir, WindowLayout& layout) {
    if (!ReadBlock(configDir / kStartupLayoutFileName, layout)) {
        LoadDefaultLayout(layout);
        layout.layoutFileRead = 0;
        return false;
    }
    layout.layoutFileRead = 1;
    return true;
}

bool SaveStartupLayout(const std::filesystem::path& configDir, const WindowLayout& layout) {
    return WriteBlock(configDir / kStartupLayoutFileName, layout);
}

bool SaveWindowsStatus(const std::filesystem::path& configDir, const WindowLayout& layout) {
    return WriteBlock(configDir / kSavedLayoutFileName, layout);
}

bool RestoreWindowsStatus(const std::filesystem::path& configDir, WindowLayout& layout) {
    if (ReadBlock(configDir / kSavedLayoutFileName, layout)) return true;
    LoadDefaultLayout(layout);
    return false;
}

}  // namespace tessaly
