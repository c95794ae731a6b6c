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
namespace hex_status {
inline constexpr int kOk = 1;
inline constexpr int kFileMissing = -1;
inline constexpr int kInvalidMarker = -2;
inline constexpr int kInvalidCharacterCount = -3;
inline constexpr int kInvalidDataByte = -4;
inline constexpr int kChecksumIncorrect = -5;
inline constexpr int kExtendedAddress = -6;
inline constexpr int kNoLines = -7;
inline constexpr int kRecordTooShort = -8;
inline constexpr int kRecordTooLong = -9;
inline constexpr int kUnreadable = -10;
}  // namespace hex_status

// Longest record a line may hold: count, address, type, data and checksum.
inline constexpr std::size_t kHexRecordBufferSize = 300;

// Loads an Intel HEX file (16-bit addressing) into the first 64K of `code`.
// Returns a hex_status code; `highestAddress` is written only on kOk. A file
// that does not exist leaves `code` untouched; one that exists but cannot be
// read returns kUnreadable without a message. Every other fault shows its own
// message, naming the line.
int LoadHexFile(const std::filesystem::path& path, CodeImage& code, std::uint16_t& highestAddress,
                MessageHost& host);

// The same reader over text already in memory (the whole file's contents).
// Clears the first 64K of `code` first; never touches the guard bytes.
int LoadHexText(std::string_view text, CodeImage& code, std::uint16_t& highestAddress, MessageHost& host);

}  // namespace tessaly
