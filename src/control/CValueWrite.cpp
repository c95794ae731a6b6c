#include "control/CValueWrite.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "control/CValueText.h"
#include "util/AsciiCase.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

// A number as typed: decimal with a sign, or 0x hex; nothing for other text.
// Hex is read as the unsigned bits it spells.
struct TypedNumber {
    bool negative = false;
    bool hex = false;
    std::uint64_t magnitude = 0;
};

std::optional<TypedNumber> ParseNumber(std::string_view text) {
    TypedNumber number;
    if (!text.empty() && text.front() == '-') {
        number.negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        number.hex = true;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number.magnitude, base);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return number;
}

std::optional<std::uint8_t> CharLiteral(std::string_view text) {
    if (text.size() == 3 && text.front() == '\'' && text.back() == '\'' && text[1] != '\\') {
        return static_cast<std::uint8_t>(text[1]);
    }
    if (text.size() != 4 || text.front() != '\'' || text.back() != '\'' || text[1] != '\\') return std::nullopt;
    switch (text[2]) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case '0': return '\0';
    case '\\': return '\\';
    case '\'': return '\'';
    default: return std::nullopt;
    }
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// The bits to store for an integer of `bits` width, or a message.
std::string IntegerBits(std::string_view text, const CType& type, int bits, std::uint64_t& stored) {
    if (type.kind == CTypeKind::Char) {
        if (const auto c = CharLiteral(text)) {
            stored = *c;
            return {};
        }
    }
    const auto number = ParseNumber(text);
    if (!number) return Quoted(text) + " is not a number";
    const bool isSigned = !type.isUnsigned && bits > 0 && type.kind != CTypeKind::Bool &&
                          type.kind != CTypeKind::Bit && type.kind != CTypeKind::Sbit;
    const std::uint64_t unsignedMax = bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
    const std::uint64_t signedMax = unsignedMax >> 1;
    const std::string name = type.Spelling();
    auto range = [&]() {
        if (!isSigned) return "0 to " + std::to_string(unsignedMax);
        return "-" + std::to_string(signedMax + 1) + " to " + std::to_string(signedMax);
    };
    const std::string outOfRange = std::string(text) + " is out of range for " + name + " (" + range() + ")";
    if (number->negative) {
        if (!isSigned || number->hex || number->magnitude > signedMax + 1) return outOfRange;
        stored = (~number->magnitude + 1) & unsignedMax;
        return {};
    }
    const std::uint64_t limit = isSigned && !number->hex ? signedMax : unsignedMax;
    if (number->magnitude > limit) return outOfRange;
    stored = number->magnitude;
    return {};
}

std::string GenericPointerBits(std::string_view text, std::uint64_t& stored) {
    struct Space {
        char letter;
        std::uint8_t tag;
        std::uint32_t limit;
    };
    constexpr Space kSpaces[] = {{'C', 0x80, 0xFFFF}, {'X', 0x00, 0xFFFF}, {'I', 0x40, 0xFF}, {'P', 0x60, 0xFF}};
    if (text.size() > 2 && text[1] == ':') {
        for (const Space& space : kSpaces) {
            if (LowerCase(text[0]) != LowerCase(space.letter)) continue;
            const auto number = ParseNumber(text.substr(2));
            if (!number || number->negative) return Quoted(text) + " is not a pointer";
            if (number->magnitude > space.limit) {
                return std::string(text) + " is out of range for a pointer into that space";
            }
            stored = (std::uint64_t{space.tag} << 16) | number->magnitude;
            return {};
        }
        return Quoted(text) + " is not a pointer: the space is C, X, I or P";
    }
    const auto number = ParseNumber(text);
    if (!number || number->negative) return Quoted(text) + " is not a pointer";
    if (number->magnitude > 0xFFFFFF) return std::string(text) + " is out of range for a generic pointer";
    stored = number->magnitude;
    return {};
}

std::string FloatBits(std::string_view text, std::uint64_t& stored) {
    float value = 0;
    if (SameIgnoringCase(text, "inf") || SameIgnoringCase(text, "+inf")) {
        value = std::numeric_limits<float>::infinity();
    } else if (SameIgnoringCase(text, "-inf")) {
        value = -std::numeric_limits<float>::infinity();
    } else if (SameIgnoringCase(text, "nan")) {
        value = std::numeric_limits<float>::quiet_NaN();
    } else {
        double parsed = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
        if (text.empty() || end != text.data() + text.size() || error == std::errc::invalid_argument) {
            return Quoted(text) + " is not a number";
        }
        if (error == std::errc::result_out_of_range || std::fabs(parsed) > std::numeric_limits<float>::max()) {
            return std::string(text) + " is out of range for float";
        }
        value = static_cast<float>(parsed);
    }
    stored = std::bit_cast<std::uint32_t>(value);
    return {};
}

}  // namespace

std::string WriteCValue(Processor& p, Workspace& w, const CObject& object, std::string_view typed) {
    if (!object.Available()) return "the value is " + object.unavailable;
    if (object.memory == CMemory::Code) return "code memory is read-only";
    const CType& type = object.type;
    const std::string_view text = Trim(typed);
    std::uint64_t bits = 0;
    std::string message;
    switch (type.kind) {
    case CTypeKind::Array: return "an array is written one element at a time";
    case CTypeKind::Struct: return "a struct is written one member at a time";
    case CTypeKind::Void:
    case CTypeKind::Function: return "a function cannot be written";
    case CTypeKind::Float: message = FloatBits(text, bits); break;
    case CTypeKind::Fixed16x16: {
        double parsed = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
        if (text.empty() || end != text.data() + text.size() || error != std::errc{}) return Quoted(text) + " is not a number";
        if (parsed < -32768.0 || parsed >= 32768.0) return std::string(text) + " is out of range for __fixed16x16";
        bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(parsed * 65536.0)));
        break;
    }
    case CTypeKind::Pointer:
        if (type.pointerSpace == CPointerSpace::Generic) {
            message = GenericPointerBits(text, bits);
        } else {
            const auto number = ParseNumber(text);
            const std::uint64_t limit = type.size == 1 ? 0xFF : 0xFFFF;
            if (!number || number->negative) return Quoted(text) + " is not a pointer";
            if (number->magnitude > limit) return std::string(text) + " is out of range for " + type.Spelling();
            bits = number->magnitude;
        }
        break;
    case CTypeKind::Bool:
    case CTypeKind::Bit:
    case CTypeKind::Sbit:
        if (text == "true" || text == "false") {
            bits = text == "true";
            break;
        }
        message = IntegerBits(text, type, 1, bits);
        break;
    case CTypeKind::BitField: message = IntegerBits(text, type, type.bitLength, bits); break;
    default: message = IntegerBits(text, type, static_cast<int>(std::min<std::size_t>(type.size, 8) * 8), bits); break;
    }
    if (!message.empty()) return message;

    if (type.kind == CTypeKind::BitField) {
        // Read, change the field's bits, write back the bytes it spans.
        std::uint64_t word = 0;
        for (std::size_t i = type.size; i-- > 0;) word = (word << 8) | ReadObjectByte(p, object, i);
        const std::uint64_t mask = ((std::uint64_t{1} << type.bitLength) - 1) << type.bitStart;
        bits = (word & ~mask) | ((bits << type.bitStart) & mask);
    }
    const std::size_t size = type.kind == CTypeKind::Bit || type.kind == CTypeKind::Sbit ? 1 : type.size;
    for (std::size_t i = 0; i < size; ++i) {
        if (!WriteObjectByte(p, w, object, i, static_cast<std::uint8_t>(bits >> (8 * std::min<std::size_t>(i, 7))))) {
            return "the value cannot be written there";
        }
    }
    return {};
}

}  // namespace tessaly
