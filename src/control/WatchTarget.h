#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "control/CExpression.h"
#include "control/CObject.h"
#include "core/DataWatch.h"
#include "core/Processor.h"

namespace tessaly {

// One byte (or some bits of one) a data break point watches.
struct WatchPlace {
    WatchSpace space = WatchSpace::Internal;
    std::uint16_t address = 0;  // ucIntRAM index, external or code address
    std::uint8_t mask = 0xFF;

    friend bool operator==(const WatchPlace&, const WatchPlace&) = default;
};

// What a data break point watches: one value (its bytes least significant
// first; a bit as one place with its mask) or a range of bytes, each a value
// of its own.
struct WatchTarget {
    std::string name;  // as the stop names it: "32H", "X:1234H", "CY", "count"
    std::vector<WatchPlace> bytes;
    bool range = false;
    bool bit = false;
    bool isSigned = false;  // a signed C integer
};

// The target a text names: a location as General Read takes it (30H, ACC,
// DPTR, CY, PSW.1, X:1234H, BIT:07H), an external RAM range X:1000H-10FFH, a
// code byte or range C:0100H or C:0100H-01FFH (read by MOVC), or, with a
// scope, a C expression of a variable (count, list[2].value, *p). A message
// when it names none, or names something not in memory (the PC, a register
// variable SDCC keeps nowhere).
std::variant<WatchTarget, std::string> ResolveWatchTarget(const Processor& p, std::string_view text,
                                                          const CScope* scope);

// The bytes a C object occupies, named `name`.
std::variant<WatchTarget, std::string> WatchTargetOf(const Processor& p, const CObject& object, std::string name);

// The value held now, as a condition compares it: the bytes least
// significant first, sign-extended for a signed C integer; a bit as 0 or 1;
// a range by its first byte.
std::int64_t WatchValue(const Processor& p, const WatchTarget& target);

// The name of the byte of a range an access reached: "X:1005H", "C:0103H".
std::string RangeByteName(const WatchPlace& place);

}  // namespace tessaly
