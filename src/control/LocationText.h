#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "control/Location.h"

namespace tessaly {

// A location named in one word, as a debugger's expression or a script gives
// it, for the kinds the General Read dialog offers:
//   a catalogue register: ACC, B, PSW, SP, DPTR, T0, PC, ...;
//   a catalogue bit by its nickname (CY, TR0, RI) or position (PSW.7, TCON.4);
//   an unnamed bit of a bit-addressable SFR (PSW.1) as bit memory;
//   internal RAM by address: 30H, 0x30, I:30H (80H-FFH are the upper RAM);
//   a bit of the bit-addressable RAM: 20H.3 (bit memory 03H);
//   external RAM: X:1234H or X:0x1234; bit memory: BIT:07H.
// Names take any letter case; an address is hexadecimal, with an H after it
// or 0x before it, or bare. The location, or a message saying why the text
// names none.
std::variant<Location, std::string> ParseLocationText(std::string_view text);

// A hexadecimal number as those names write it: "30H", "0x30" or "30";
// nothing for other text or a value above `highest`.
std::optional<unsigned> ParseHexNumber(std::string_view text, unsigned highest);

}  // namespace tessaly
