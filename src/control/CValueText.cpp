#include "control/CValueText.h"

#include <bit>
#include <charconv>

#include "util/HexText.h"

namespace tessaly {

namespace {

constexpr std::size_t kShownElements = 100;
// Values in one text at most, over all levels of nesting.
constexpr int kShownValues = 1000;

std::uint64_t RawBytes(const Processor& p, const CObject& object, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = std::min<std::size_t>(count, 8); i-- > 0;) value = (value << 8) | ReadObjectByte(p, object, i);
    return value;
}

std::int64_t SignExtended(std::uint64_t value, int bits) {
    if (bits >= 64) return static_cast<std::int64_t>(value);
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    value &= mask;
    const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    return static_cast<std::int64_t>((value ^ sign) - sign);
}

std::string CharText(std::int64_t value) {
    std::string text = std::to_string(value);
    const auto c = static_cast<unsigned char>(value);
    if (c < 0x20 || c > 0x7E) return text;
    text += " '";
    if (c == '\'' || c == '\\') text += '\\';
    text += static_cast<char>(c);
    text += '\'';
    return text;
}

std::string FloatText(float value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc{} ? std::string(buffer, end) : "?";
}

std::string PointerText(const Processor& p, const CObject& object) {
    const CType& type = object.type;
    const auto raw = static_cast<std::uint32_t>(RawBytes(p, object, type.size));
    switch (type.pointerSpace) {
    case CPointerSpace::Data:
    case CPointerSpace::Idata:
    case CPointerSpace::Pdata: return "0x" + HexText(raw, 2);
    case CPointerSpace::Generic: {
        // The tag byte as SDCC's library tells the spaces apart.
        const std::uint8_t tag = static_cast<std::uint8_t>(raw >> 16);
        const std::uint16_t address = static_cast<std::uint16_t>(raw);
        if (tag >= 0x80) return "C:0x" + HexText(address, 4);
        if (tag >= 0x60) return "P:0x" + HexText(address & 0xFF, 2);
        if (tag >= 0x40) return "I:0x" + HexText(address & 0xFF, 2);
        return "X:0x" + HexText(address, 4);
    }
    default: return "0x" + HexText(raw, 4);
    }
}

}  // namespace

std::int64_t ReadCInteger(const Processor& p, const CObject& object) {
    const CType& type = object.type;
    switch (type.kind) {
    case CTypeKind::Bool: return ReadObjectByte(p, object, 0) != 0 ? 1 : 0;
    case CTypeKind::Bit:
    case CTypeKind::Sbit: return ReadObjectByte(p, object, 0) & 1;
    case CTypeKind::BitField: {
        if (type.bitLength == 0) return 0;
        const std::uint64_t bits = RawBytes(p, object, type.size) >> type.bitStart;
        return type.isUnsigned ? static_cast<std::int64_t>(bits & ((std::uint64_t{1} << type.bitLength) - 1))
                               : SignExtended(bits, type.bitLength);
    }
    default: break;
    }
    const std::uint64_t raw = RawBytes(p, object, type.size);
    if (!type.IsInteger() || type.isUnsigned || type.size == 0) return static_cast<std::int64_t>(raw);
    return SignExtended(raw, static_cast<int>(std::min<std::size_t>(type.size, 8) * 8));
}

namespace {

// Formats with a budget of values, so that nested arrays stay short.
std::string Format(const Processor& p, const DebugInfo& info, const CObject& object, int& budget) {
    if (!object.Available()) return "<" + object.unavailable + ">";
    --budget;
    const CType& type = object.type;
    switch (type.kind) {
    case CTypeKind::Char: return CharText(ReadCInteger(p, object));
    case CTypeKind::LongLong:
        if (type.isUnsigned) return std::to_string(static_cast<std::uint64_t>(ReadCInteger(p, object)));
        return std::to_string(ReadCInteger(p, object));
    case CTypeKind::Bool: case CTypeKind::Int: case CTypeKind::Long: case CTypeKind::Bit:
    case CTypeKind::Sbit: case CTypeKind::BitField:
        return std::to_string(ReadCInteger(p, object));
    case CTypeKind::Float:
        return FloatText(std::bit_cast<float>(static_cast<std::uint32_t>(RawBytes(p, object, 4))));
    case CTypeKind::Fixed16x16: {
        const auto raw = static_cast<std::int32_t>(static_cast<std::uint32_t>(RawBytes(p, object, 4)));
        char buffer[40];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, raw / 65536.0);
        return error == std::errc{} ? std::string(buffer, end) : "?";
    }
    case CTypeKind::Pointer: return PointerText(p, object);
    case CTypeKind::Function:
    case CTypeKind::Void: return "0x" + HexText(object.address, 4);
    case CTypeKind::Array:
    case CTypeKind::Struct: {
        if (type.kind == CTypeKind::Struct && !info.StructOf(type)) return "{...}";
        const std::vector<CChild> children = ChildrenOf(info, object, kShownElements + 1);
        std::string text = "{";
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (i != 0) text += ", ";
            if (i == kShownElements || budget <= 0) {
                text += "...";
                break;
            }
            if (type.kind == CTypeKind::Struct) text += children[i].name + " = ";
            text += Format(p, info, children[i].object, budget);
        }
        return text + "}";
    }
    }
    return "?";
}

}  // namespace

std::string FormatCValue(const Processor& p, const DebugInfo& info, const CObject& object) {
    int budget = kShownValues;
    return Format(p, info, object, budget);
}

}  // namespace tessaly
