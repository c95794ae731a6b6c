#include "persistence/SourceWindowsLayout.h"

#include <algorithm>

#include "util/FileBytes.h"
#include "util/LittleEndian.h"
#include "util/SafeFileWriter.h"

namespace tessaly {

namespace {

constexpr std::size_t kCountSize = 4;
constexpr std::size_t kEntrySize = 17;
constexpr std::size_t kBounds = 0, kVisible = 16;

// Laid out on the child views' design grid (Tahoma-sized characters): the
// source beside the SFR and memory windows, the call stack and the locals
// under it.
constexpr WindowLayoutEntry kDefaults[SourceWindowsLayout::kEntryCount] = {
    {{320, 2, 470, 330}, 1},    // source
    {{320, 334, 230, 170}, 1},  // call stack
    {{552, 334, 238, 170}, 1},  // locals
};

}  // namespace

SourceWindowsLayout DefaultSourceWindowsLayout(LayoutScale scale) {
    SourceWindowsLayout layout;
    std::copy(std::begin(kDefaults), std::end(kDefaults), layout.entries.begin());
    ScaleLayoutEntries(layout.entries, scale);
    return layout;
}

std::vector<std::uint8_t> EncodeSourceWindowsLayout(const SourceWindowsLayout& layout) {
    std::vector<std::uint8_t> bytes(kCountSize + kEntrySize * SourceWindowsLayout::kEntryCount);
    le::Put32(bytes.data(), SourceWindowsLayout::kEntryCount);
    for (std::size_t i = 0; i < SourceWindowsLayout::kEntryCount; ++i) {
        std::uint8_t* entry = bytes.data() + kCountSize + kEntrySize * i;
        const WindowLayoutEntry& e = layout.entries[i];
        PutWindowBounds(entry + kBounds, e.bounds);
        entry[kVisible] = e.visible;
    }
    return bytes;
}

bool DecodeSourceWindowsLayout(std::span<const std::uint8_t> bytes, SourceWindowsLayout& layout) {
    if (bytes.size() < kCountSize) return false;
    const std::uint32_t count = le::Get32(bytes.data());
    if (count == 0 || (bytes.size() - kCountSize) / kEntrySize < count) return false;
    const std::size_t read = std::min<std::size_t>(count, SourceWindowsLayout::kEntryCount);
    for (std::size_t i = 0; i < read; ++i) {
        const std::uint8_t* entry = bytes.data() + kCountSize + kEntrySize * i;
        WindowLayoutEntry& e = layout.entries[i];
        e.bounds = GetWindowBounds(entry + kBounds);
        e.visible = entry[kVisible] == 1 ? 1 : 0;
    }
    return true;
}

bool LoadSourceWindowsLayout(const std::filesystem::path& file, SourceWindowsLayout& layout) {
    const auto text = ReadWholeFile(file);
    if (!text) return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text->data());
    return DecodeSourceWindowsLayout(std::span<const std::uint8_t>(bytes, text->size()), layout);
}

bool SaveSourceWindowsLayout(const std::filesystem::path& file, const SourceWindowsLayout& layout) {
    SafeFileWriter writer(file);
    if (!writer.IsOpen()) return false;
    const std::vector<std::uint8_t> bytes = EncodeSourceWindowsLayout(layout);
    writer.Stream().write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return writer.Commit();
}

}  // namespace tessaly
