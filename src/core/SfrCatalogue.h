#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/TextList.h"

namespace tessaly {

// The symbol catalogue: the 74 records of the named SFRs, the 16-bit register
// pairs, the program counter and the named SFR bits that the SFR window, the
// watch list and the read and write dialogs offer, in their fixed order
// (windows keep indices into it). A register record reads
//   ~Type|SFR Registers|~Name|DPTR|~Address|0182|~Description|Data pointer|
// and a bit record
//   ~Type|SFR Bits|~NickName|IT0|~Address|0088|~Name|TCON.0|~Description|TCON.0 - Ext. interrupt 0 type|
// A register's address field is a kind in its high byte (00 one SFR byte,
// 01 a pair with its high byte one above, 02 two above, 0A the program
// counter) and the SFR's or the pair's low byte address in the low byte; a
// bit's is its bit address.
inline constexpr int kSfrCatalogueSize = 74;

// One record as its fields: what its text says, typed.
struct CatalogueRecord {
    bool isBit = false;        // "SFR Bits", else "SFR Registers"
    std::string name;          // ~Name: "DPTR", or a bit's position "TCON.0"
    std::string nickName;      // ~NickName: a bit's own name ("IT0"); empty for a register
    std::uint16_t address = 0; // ~Address, as described above
    std::string description;   // ~Description
};

// The records in catalogue order, built once.
const std::array<CatalogueRecord, kSfrCatalogueSize>& SfrCatalogueRecords();

// Replaces the lines of `list` with the catalogue's records as text.
void FillSfrCatalogue(TextList& list);

}  // namespace tessaly
