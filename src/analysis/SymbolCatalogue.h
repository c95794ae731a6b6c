#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/SfrCatalogue.h"

namespace tessaly {

class Processor;

// Tag numbers of GetSymbolField.
enum SymbolTag : int { kTagType = 0, kTagName = 1, kTagNickName = 2, kTagAddress = 3, kTagDescription = 4 };

inline constexpr int kSymbolCatalogueSize = kSfrCatalogueSize;


// The value of one field of catalogue record `index`, or "Failure" when the
// record has no such tag.
std::string GetSymbolField(const Processor& p, int index, int tag);

// How a register record's address field is read: its high byte.
enum class SymbolAddressKind : std::uint8_t {
    Byte = 0x00,            // one SFR byte at the direct address
    PairAbove = 0x01,       // 16 bits, high byte at address + 1 (DPTR, T2, RCAP2)
    PairTwoAbove = 0x02,    // 16 bits, high byte at address + 2 (T0, T1)
    ProgramCounter = 0x0A,  // usPC
};

struct SymbolAddress {
    SymbolAddressKind kind;
    std::uint8_t address;  // direct address of the byte, or of the low byte of a pair
};

// Decodes an address field ("0182"); nothing for a text that is not four
// hexadecimal digits or names an unknown kind. Bit records (kind 00, the bit
// address in the low byte) decode as Byte.
std::optional<SymbolAddress> DecodeSymbolAddress(const std::string& field);

// The value the address names in the processor.
std::uint16_t ReadSymbolValue(const Processor& p, const SymbolAddress& at);

}  // namespace tessaly
