#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "control/CObject.h"
#include "control/Location.h"
#include "core/Processor.h"

namespace tessaly::dap {

// A C value as the variables view shows it: FormatCValue's text, or with
// `hex` an integer as 0x and its bytes' digits (0x00FF for an int).
std::string CValueText(const Processor& p, const DebugInfo& info, const CObject& object, bool hex);

// A location's value: a bit as 0 or 1, a byte as 0x3A, a pair or the PC as
// 0x1234.
std::string LocationValueText(const Processor& p, const Location& location);

// A number typed for a register or cell: decimal, 0x hex, or hex with an H
// after it (0FFH); nothing for any other text.
std::optional<std::uint32_t> ParseTypedNumber(const std::string& text);

// The memory reference of the memory an object lies in ("xdata:0x1234");
// empty for registers and bits.
std::string MemoryReferenceOf(const CObject& object);

}  // namespace tessaly::dap
