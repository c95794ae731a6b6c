#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

using CodeImage = std::array<std::uint8_t, Processor::kCodeMemorySize>;

// Results of the Intel HEX reader.
enum class HexLoad {
    Ok,
    FileMissing,
    InvalidMarker,
    InvalidCharacterCount,
    InvalidDataByte,
    ChecksumIncorrect,
    ExtendedAddress,
    NoLines,
    RecordTooShort,
    RecordTooLong,
    Unreadable,
};

// Longest record a line may hold: count, address, type, data and checksum.
inline constexpr std::size_t kHexRecordBufferSize = 300;

// Loads an Intel HEX file (16-bit addressing) into the first 64K of `code`.
// `highestAddress` is written only on Ok. A file that does not exist leaves
// `code` untouched; one that exists but cannot be read gives Unreadable
// without a message. Every other fault shows its own
// message, naming the line.
HexLoad LoadHexFile(const std::filesystem::path& path, CodeImage& code, std::uint16_t& highestAddress,
                    MessageHost& host);

// The same reader over text already in memory (the whole file's contents).
// Clears the first 64K of `code` first; never touches the guard bytes.
HexLoad LoadHexText(std::string_view text, CodeImage& code, std::uint16_t& highestAddress, MessageHost& host);

}  // namespace tessaly
