#include "analysis/CType.h"

#include <optional>
#include <vector>

#include "analysis/CdbName.h"

namespace tessaly {

bool CType::IsInteger() const {
    switch (kind) {
    case CTypeKind::Bool: case CTypeKind::Char: case CTypeKind::Int: case CTypeKind::Long:
    case CTypeKind::LongLong: case CTypeKind::Bit: case CTypeKind::Sbit: case CTypeKind::BitField:
        return true;
    default: return false;
    }
}

namespace {

std::string BaseSpelling(const CType& type) {
    const std::string sign = type.isUnsigned ? "unsigned " : "";
    switch (type.kind) {
    case CTypeKind::Void: return "void";
    case CTypeKind::Bool: return "_Bool";
    case CTypeKind::Char: return sign + "char";
    case CTypeKind::Int: return sign + "int";
    case CTypeKind::Long: return sign + "long";
    case CTypeKind::LongLong: return sign + "long long";
    case CTypeKind::Float: return "float";
    case CTypeKind::Fixed16x16: return "__fixed16x16";
    case CTypeKind::Bit: return "__bit";
    case CTypeKind::Sbit: return "__sbit";
    case CTypeKind::BitField: return sign + "int : " + std::to_string(type.bitLength);
    case CTypeKind::Struct: return (type.isUnion ? "union " : "struct ") + type.tag;
    default: return {};
    }
}

std::string_view SpaceQualifier(CPointerSpace space) {
    switch (space) {
    case CPointerSpace::Generic: return "";
    case CPointerSpace::Data: return "__data ";
    case CPointerSpace::Idata: return "__idata ";
    case CPointerSpace::Xdata: return "__xdata ";
    case CPointerSpace::Pdata: return "__pdata ";
    case CPointerSpace::Code: return "__code ";
    case CPointerSpace::Eeprom: return "__eeprom ";
    }
    return "";
}

// C's inside-out declarator spelling: `inner` is what the outer levels made.
std::string Spell(const CType& type, const std::string& inner) {
    switch (type.kind) {
    case CTypeKind::Pointer: {
        std::string pointer = std::string(SpaceQualifier(type.pointerSpace)) + "*" + inner;
        const bool wrap = type.target && (type.target->kind == CTypeKind::Array ||
                                          type.target->kind == CTypeKind::Function);
        if (wrap) pointer = "(" + pointer + ")";
        return type.target ? Spell(*type.target, pointer) : "void " + pointer;
    }
    case CTypeKind::Array: {
        const std::string array = inner + "[" + std::to_string(type.length) + "]";
        return type.target ? Spell(*type.target, array) : "void" + array;
    }
    case CTypeKind::Function: {
        const std::string function = inner + "()";
        return type.target ? Spell(*type.target, function) : "void " + function;
    }
    default: break;
    }
    const std::string base = BaseSpelling(type);
    if (inner.empty()) return base;
    return inner.front() == '[' ? base + inner : base + " " + inner;
}

// One comma-separated part of a chain.
struct ChainPart {
    bool declarator = false;
    CType type;
};

std::size_t PointerSize(CPointerSpace space) {
    switch (space) {
    case CPointerSpace::Generic: return 3;
    case CPointerSpace::Xdata: case CPointerSpace::Code: case CPointerSpace::Eeprom: return 2;
    default: return 1;
    }
}

std::optional<ChainPart> ParseDeclarator(std::string_view text) {
    ChainPart part;
    part.declarator = true;
    CType& type = part.type;
    const std::string_view rest = text.substr(1);
    type.kind = CTypeKind::Pointer;
    if (rest == "F") type.kind = CTypeKind::Function;
    else if (rest == "G") type.pointerSpace = CPointerSpace::Generic;
    else if (rest == "D") type.pointerSpace = CPointerSpace::Data;
    else if (rest == "I") type.pointerSpace = CPointerSpace::Idata;
    else if (rest == "X") type.pointerSpace = CPointerSpace::Xdata;
    else if (rest == "P") type.pointerSpace = CPointerSpace::Pdata;
    else if (rest == "C") type.pointerSpace = CPointerSpace::Code;
    else if (rest == "A") type.pointerSpace = CPointerSpace::Eeprom;
    else if (rest.size() >= 3 && rest.front() == 'A' && rest.back() == 'd') {
        const auto length = ParseCdbInteger(rest.substr(1, rest.size() - 2));
        // No 8051 memory holds more elements than it has bytes.
        if (!length || *length < 0 || *length > 0x10000) return std::nullopt;
        type.kind = CTypeKind::Array;
        type.length = static_cast<std::size_t>(*length);
    } else {
        return std::nullopt;
    }
    if (type.kind == CTypeKind::Pointer) type.size = PointerSize(type.pointerSpace);
    return part;
}

// "SI:S", "STpoint:S", "SB3$5:U", ":S": the noun, then the sign after the
// last colon.
std::optional<ChainPart> ParseSpecifier(std::string_view text, CTypeOwner owner) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon + 2 != text.size()) return std::nullopt;
    const char sign = text[colon + 1];
    if (sign != 'S' && sign != 'U') return std::nullopt;
    ChainPart part;
    CType& type = part.type;
    type.isUnsigned = sign == 'U';
    std::string_view noun = text.substr(0, colon);
    if (noun.empty()) {
        type.kind = CTypeKind::Bool;  // SDCC writes no noun for _Bool
        type.size = 1;
        return part;
    }
    if (noun.front() != 'S' || noun.size() < 2) return std::nullopt;
    noun.remove_prefix(1);
    const std::string_view rest = noun.substr(1);
    switch (noun.front()) {
    case 'C': type.kind = CTypeKind::Char; type.size = 1; break;
    case 'S': case 'I': type.kind = CTypeKind::Int; type.size = 2; break;
    case 'L': type.kind = CTypeKind::Long; type.size = 4; break;
    case 'F': type.kind = CTypeKind::Float; type.size = 4; break;
    case 'Q': type.kind = CTypeKind::Fixed16x16; type.size = 4; break;
    case 'V': type.kind = CTypeKind::Void; type.size = 0; break;
    case 'X': type.kind = CTypeKind::Sbit; type.size = 1; break;
    case 'T':
        if (rest.empty()) return std::nullopt;
        type.kind = CTypeKind::Struct;
        type.tag = std::string(rest);
        return part;
    case 'B': {
        const std::size_t dollar = rest.find('$');
        if (dollar == std::string_view::npos) return std::nullopt;
        const auto start = ParseCdbInteger(rest.substr(0, dollar));
        const auto length = ParseCdbInteger(rest.substr(dollar + 1));
        // SDCC writes a length of 0 for unnamed zero-width bit-fields and for
        // its own bit temporaries.
        if (!start || !length || *start < 0 || *length < 0 || *start + *length > 32) return std::nullopt;
        type.kind = owner == CTypeOwner::Member ? CTypeKind::BitField : CTypeKind::Bit;
        type.bitStart = *start;
        type.bitLength = *length;
        type.size = static_cast<std::size_t>((*start + *length + 7) / 8);
        return part;
    }
    default: return std::nullopt;
    }
    if (rest.size() != 0) return std::nullopt;
    return part;
}

}  // namespace

std::string CType::Spelling() const { return Spell(*this, ""); }

std::variant<CType, std::string> ParseCType(std::string_view chain, CTypeOwner owner) {
    const std::string quoted = "'" + std::string(chain) + "'";
    if (chain.empty() || chain.front() != '{') return "the type " + quoted + " does not start with its size in braces";
    const std::size_t close = chain.find('}');
    const auto total = close == std::string_view::npos ? std::nullopt : ParseCdbInteger(chain.substr(1, close - 1));
    if (!total || *total < 0) return "the size of the type " + quoted + " is not a number";

    std::vector<ChainPart> parts;
    std::string_view rest = chain.substr(close + 1);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view text = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (comma != std::string_view::npos && rest.empty()) return "the type " + quoted + " ends in a comma";
        std::optional<ChainPart> part;
        if (!text.empty() && text.front() == 'D') part = ParseDeclarator(text);
        else part = ParseSpecifier(text, owner);
        if (!part) return "the type " + quoted + " has an unknown part '" + std::string(text) + "'";
        if (!parts.empty() && !parts.back().declarator) return "the type " + quoted + " goes on after its specifier";
        parts.push_back(std::move(*part));
    }
    if (parts.empty() || parts.back().declarator) return "the type " + quoted + " has no specifier";

    // The size in braces is the outermost level's; an array passes its
    // element size down, which tells long long from int and sizes structs
    // whose records come later.
    std::vector<std::optional<std::size_t>> expected(parts.size());
    expected[0] = static_cast<std::size_t>(*total);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const CType& type = parts[i].type;
        if (type.kind == CTypeKind::Array && expected[i] && type.length != 0 && *expected[i] % type.length == 0) {
            expected[i + 1] = *expected[i] / type.length;
        }
    }
    CType& base = parts.back().type;
    const std::optional<std::size_t> baseSize = expected.back();
    if (baseSize == 8 && (base.kind == CTypeKind::Int || base.kind == CTypeKind::Long)) {
        base.kind = CTypeKind::LongLong;
        base.size = 8;
    }
    if ((base.kind == CTypeKind::Struct || base.kind == CTypeKind::BitField) && baseSize) base.size = *baseSize;

    CType built = std::move(base);
    for (std::size_t i = parts.size() - 1; i-- > 0;) {
        CType outer = std::move(parts[i].type);
        if (outer.kind == CTypeKind::Array) outer.size = outer.length * built.size;
        outer.target = std::make_shared<const CType>(std::move(built));
        built = std::move(outer);
    }
    return built;
}

}  // namespace tessaly
