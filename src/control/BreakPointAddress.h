#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/MessageHost.h"

namespace tessaly {

// The Add Break Point dialog's address field, without the dialog.
enum class AddressRadix { Hex, Decimal };

inline constexpr std::string_view kBreakPointRangeMessage = "Break point address may only be between 0000H-FFFFH";

// The integer a text converts to: an optional sign, then decimal digits or
// "0x" and hexadecimal digits. -1 when it is not a 32-bit integer.
std::int64_t ConvertIntegerText(std::string_view text);

// The dialog's OK: the field is hexadecimal digits in Hex mode, decimal in
// Decimal mode. Returns the address, or shows the range message (an error
// box) and returns nothing for any text that is not 0 to FFFFh.
std::optional<std::uint16_t> AcceptBreakPointAddress(std::string_view field, AddressRadix radix, MessageHost& host);

// The field's key filter: the key in upper case, or '\0' when it is dropped.
// Backspace passes in both modes.
char FilterBreakPointAddressKey(char key, AddressRadix radix);

// The field's length limit while typing in each mode.
constexpr std::size_t BreakPointAddressMaxLength(AddressRadix radix) { return radix == AddressRadix::Hex ? 4 : 5; }

}  // namespace tessaly
