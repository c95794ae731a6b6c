#include "control/ValueEntry.h"

#include <string>

#include "control/BreakPointAddress.h"
#include "util/Lines.h"

namespace tessaly {

char FilterHexValueKey(char key) { return FilterBreakPointAddressKey(key, AddressRadix::Hex); }

char FilterBitValueKey(char key) { return (key == '0' || key == '1' || key == kBackspace) ? key : '\0'; }

std::optional<std::uint8_t> ReadValueText(std::string_view text, ValueRadix radix, MessageHost& messages) {
    const std::string tried = radix == ValueRadix::Hex ? "0x" + std::string(text) : std::string(text);
    const std::int64_t value = ConvertIntegerText(tried);
    if (value < 0) {
        messages.Tell(MessageKind::Error, "'" + tried + "' is not a valid integer value");
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace tessaly
