#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

// A C type as SDCC's debug file writes it: the size in braces, then the
// declarators from the outside in and the specifier last, comma-separated:
//   {2}DF,SI:S        function returning int
//   {3}DG,SC:U        generic pointer to unsigned char
//   {12}DA2d,DA3d,SI:S  int[2][3]
//   {4}STpoint:S      struct point
//   {1}SB0$1:U        a __bit (in a struct: a bit-field at bit 0, 1 bit wide)
// Declarators: DF function, DG generic pointer, DD data, DI idata, DX xdata,
// DP pdata and DC code pointers, DA<n>d an array of n. Specifiers (S, then
// ":S" signed or ":U" unsigned): C char, I int, L long, F float, V void,
// Q __fixed16x16, X __sbit, B<start>$<length> bit-field or __bit,
// T<tag> struct or union, nothing at all for _Bool. short is int on the
// 8051, and SDCC 4 writes long long as SI with a size of 8.
namespace tessaly {

enum class CTypeKind : std::uint8_t {
    Void, Bool, Char, Int, Long, LongLong, Float, Fixed16x16,
    Bit,       // a __bit variable in bit memory
    Sbit,      // an __sbit: a bit of an SFR
    BitField,  // a bit-field member of a struct
    Struct, Pointer, Array, Function
};

// The memory a pointer points into; Generic pointers carry it in their value.
enum class CPointerSpace : std::uint8_t { Generic, Data, Idata, Xdata, Pdata, Code, Eeprom };

class CType {
public:
    CTypeKind kind = CTypeKind::Void;
    bool isUnsigned = false;
    // Bytes of the value: 3 for a generic pointer, 2 for xdata and code
    // pointers, 1 for data, idata and pdata pointers; an array's is its
    // elements'. 0 for void, functions and structs of unknown layout.
    std::size_t size = 0;
    CPointerSpace pointerSpace = CPointerSpace::Generic;  // Pointer
    std::size_t length = 0;                                // Array
    int bitStart = 0;                                      // BitField
    int bitLength = 0;                                     // BitField
    std::string tag;                                       // Struct
    bool isUnion = false;                                  // Struct
    // The struct's index in DebugInfo::Structs(); -1 while unknown.
    int structIndex = -1;
    // What a pointer points to, an array's element, a function's result.
    std::shared_ptr<const CType> target;

    // char, int, long and long long, _Bool, bits and bit-fields.
    bool IsInteger() const;
    // Structs and arrays: values with members or elements.
    bool IsAggregate() const { return kind == CTypeKind::Struct || kind == CTypeKind::Array; }

    // As a C declaration spells it without a name: "unsigned long",
    // "char *", "int[5]", "struct point", "unsigned char __xdata *",
    // "int (__code *)()", "__bit", "unsigned int : 3".
    std::string Spelling() const;

    // The type with every level of nesting rebuilt, so the struct records
    // and sizes added later reach the inner levels too.
    template <class StructFunction>
    CType Rebuilt(StructFunction&& structure) const;
};

// Whether a chain is a variable's or a struct member's: a B specifier is a
// __bit for a variable and a bit-field for a member.
enum class CTypeOwner : std::uint8_t { Variable, Member };

// The type of a chain such as "{2}SI:S", or a message that says what is wrong
// with it.
std::variant<CType, std::string> ParseCType(std::string_view chain, CTypeOwner owner);

// Each struct in `type` resolved by `structure(CType&)`, which sets its
// index, size and union flag; arrays and pointers then sized again from the
// inside out.
template <class StructFunction>
CType CType::Rebuilt(StructFunction&& structure) const {
    CType copy = *this;
    if (copy.target) copy.target = std::make_shared<const CType>(copy.target->Rebuilt(structure));
    if (copy.kind == CTypeKind::Struct) structure(copy);
    if (copy.kind == CTypeKind::Array && copy.target && copy.target->size != 0) {
        copy.size = copy.length * copy.target->size;
    }
    return copy;
}

}  // namespace tessaly
