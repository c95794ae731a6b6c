#pragma once

#include <string>
#include <string_view>

#include "analysis/Workspace.h"
#include "control/CObject.h"
#include "core/Processor.h"

namespace tessaly {

// Stores a value typed as C text into an object, byte by byte through the
// location layer (WriteLocation, or the Processor's SFR accessors), so the
// engine's caches stay exact. The text, blanks around it dropped:
//   integers: decimal with an optional '-', or 0x and hex digits (a hex
//   number may fill a signed type's bits: 0xFF into a signed char is -1);
//   chars also a quoted character ('A', '\n', '\'', '\\', '\0');
//   _Bool, __bit and __sbit: 0, 1, true or false;
//   float: a decimal or exponent number, inf or nan;
//   pointers: a number that fits the pointer; generic pointers also as
//   FormatCValue writes them (C:0x0155, X:0x1234, I:0x3A, P:0x12), a plain
//   number being the three bytes with the tag on top.
// Returns an empty text when stored; otherwise a message ("'abc' is not a
// number", "300 is out of range for unsigned char (0 to 255)", "code memory
// is read-only") and nothing is changed.
std::string WriteCValue(Processor& p, Workspace& w, const CObject& object, std::string_view text);

}  // namespace tessaly
