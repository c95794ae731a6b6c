#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

// Builds snapshot bytes by hand, field by field, independently of the
// writer, so tests can compare against it and forge broken files.
class SnapshotImage {
public:
    std::vector<std::uint8_t> bytes;

    SnapshotImage& U8(std::uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    SnapshotImage& U16(std::uint16_t value) { return LittleEndian(value, 2); }
    SnapshotImage& U32(std::uint32_t value) { return LittleEndian(value, 4); }
    SnapshotImage& I32(std::int32_t value) { return LittleEndian(static_cast<std::uint32_t>(value), 4); }
    SnapshotImage& U64(std::uint64_t value) { return LittleEndian(value, 8); }
    SnapshotImage& Raw(std::string_view text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    SnapshotImage& Fill(std::size_t count, std::uint8_t value) {
        bytes.insert(bytes.end(), count, value);
        return *this;
    }
    template <typename Generator>
    SnapshotImage& Pattern(std::size_t count, Generator pattern) {
        for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(pattern(i)));
        return *this;
    }
    // A text list: length, the entries each with CR LF, a zero byte.
    SnapshotImage& List(const std::vector<std::string>& entries) {
        std::string text;
        for (const std::string& entry : entries) text += entry + "\r\n";
        U32(static_cast<std::uint32_t>(text.size()));
        if (!text.empty()) Raw(text).U8(0);
        return *this;
    }

    std::string Str() const { return std::string(bytes.begin(), bytes.end()); }
    std::size_t Size() const { return bytes.size(); }

private:
    SnapshotImage& LittleEndian(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }
};

}  // namespace tessaly::test
