#pragma once

#include <cstdint>
#include <string>

#include "analysis/DebugInfo.h"
#include "control/CObject.h"
#include "core/Processor.h"

namespace tessaly {

// An object's value as C prints it:
//   integers in decimal; a char also as a quoted character when printable
//   (65 'A'); _Bool, __bit and __sbit as 0 or 1;
//   float (SDCC's IEEE single) in the fewest digits that read back exactly
//   (1.5, 0.1, 1e+10, inf, nan);
//   pointers as 0x and upper-case hex, two digits for data, idata and pdata
//   pointers and four for the others; generic pointers as SDCC's printf
//   prints %p: the space letter from the tag byte, then the address
//   (C:0x0155 code, X:0x1234 xdata, I:0x3A data or idata, P:0x12 pdata);
//   arrays as {1, 2, 3} (the first 100 elements, then ...) and structs as
//   {x = 1, y = 2}, a thousand values at most in all; a function as its
//   address.
// An object without a value shows its reason in angle brackets
// (<optimized out>).
std::string FormatCValue(const Processor& p, const DebugInfo& info, const CObject& object);

// The value of an integer, bit or bit-field object, sign-extended for signed
// types; the raw little-endian bytes (up to 8) of any other object.
std::int64_t ReadCInteger(const Processor& p, const CObject& object);

}  // namespace tessaly
