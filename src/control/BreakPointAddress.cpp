#include "control/BreakPointAddress.h"

#include <charconv>
#include <limits>
#include <string>

#include "util/Lines.h"

namespace tessaly {

std::int64_t ConvertIntegerText(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars would take a second sign; the digits must follow at once.
    if (text.empty() || text[0] == '+' || text[0] == '-') return -1;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size()) return -1;
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    return value;
}

std::optional<std::uint16_t> AcceptBreakPointAddress(std::string_view field, AddressRadix radix, MessageHost& host) {
    const std::int64_t value =
        radix == AddressRadix::Hex ? ConvertIntegerText("0x" + std::string(field)) : ConvertIntegerText(field);
    if (value < 0 || value > 0xFFFF) {
        host.Tell(MessageKind::Error, std::string(kBreakPointRangeMessage));
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

char FilterBreakPointAddressKey(char key, AddressRadix radix) {
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    if (key == kBackspace || (key >= '0' && key <= '9')) return key;
    if (radix == AddressRadix::Hex && key >= 'A' && key <= 'F') return key;
    return '\0';
}

}  // namespace tessaly
