#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/MessageHost.h"

namespace tessaly {

// The one-byte value boxes of the initialise dialogs and the send-byte
// dialog, without the dialogs.

// A hexadecimal value box's key filter: the key in upper case when it is
// 0-9, A-F or backspace; '\0' (dropped) for any other key.
char FilterHexValueKey(char key);

// The bit memory fill box's key filter: 0, 1 and backspace pass.
char FilterBitValueKey(char key);

enum class ValueRadix { Hex, Decimal };

// The value a box holds: its text read as hexadecimal with "0x" in front, or
// as a decimal number. A text that does not convert (an empty box) shows
// "'<text tried>' is not a valid integer value" and gives nothing; a number
// above FFh keeps its low byte.
std::optional<std::uint8_t> ReadValueText(std::string_view text, ValueRadix radix, MessageHost& messages);

}  // namespace tessaly
