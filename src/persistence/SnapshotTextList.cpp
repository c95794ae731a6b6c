#include "persistence/SnapshotTextList.h"

#include <algorithm>
#include <string>

#include "util/LittleEndian.h"

namespace tessaly {

void WriteListText(std::ostream& out, const std::string& text) {
    std::uint8_t length[4];
    le::Put32(length, static_cast<std::uint32_t>(text.size()));
    out.write(reinterpret_cast<const char*>(length), 4);
    if (text.empty()) return;
    // The zero byte after the text comes from c_str().
    out.write(text.c_str(), static_cast<std::streamsize>(text.size() + 1));
}

bool ReadListText(SnapshotInput& in, std::string& text) {
    text.clear();
    std::uint8_t length[4];
    if (!in.Read(length)) return false;
    const std::uint64_t size = le::Get32(length);
    if (size == 0) return true;
    // Checked before allocating: a length beyond the file means a file cut
    // short or forged, never a reason to reserve gigabytes.
    if (size + 1 > in.Remaining()) {
        in.Exhaust();
        return false;
    }
    text.assign(static_cast<std::size_t>(size + 1), '\0');
    if (!in.Read(text.data(), text.size())) {
        text.clear();
        return false;
    }
    // The byte after the text is meant to be zero; a forged one is not text either.
    text.resize(std::min<std::size_t>(text.find('\0'), static_cast<std::size_t>(size)));
    return true;
}

}  // namespace tessaly
