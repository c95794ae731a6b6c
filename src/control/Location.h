#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/SymbolCatalogue.h"
#include "analysis/Workspace.h"
#include "core/Processor.h"

namespace tessaly {

// The kinds of location the general read and write dialogs and the watch list
// reach, in the order of their type choice.
enum class LocationKind : std::uint8_t { SfrRegister = 0, SfrBit = 1, InternalRAM = 2, ExternalRAM = 3, BitMemory = 4 };

inline constexpr std::array<LocationKind, 5> kLocationKinds = {
    LocationKind::SfrRegister, LocationKind::SfrBit, LocationKind::InternalRAM, LocationKind::ExternalRAM,
    LocationKind::BitMemory};

// "SFR Registers", "SFR Bits", "Internal RAM", "External RAM", "Bit Memory".
std::string_view LocationTypeText(LocationKind kind);
// The kind whose type text this is, in any letter case; nothing for any other text.
std::optional<LocationKind> LocationKindFromText(std::string_view text);

// One location: the catalogue index of a register or bit record for the two
// SFR kinds (an SFR location refers to the catalogue, not to an address), the
// address for the three memory kinds.
struct Location {
    LocationKind kind = LocationKind::SfrRegister;
    std::uint16_t key = 0;

    friend bool operator==(const Location&, const Location&) = default;
};

// Width of the value in bits: 1 for the bit kinds, 16 for the register pairs
// and the PC, 8 otherwise; 0 when the location names nothing (an SFR key that
// is not a catalogue record of its kind, an internal RAM or bit address above
// FFh). Bit memory addresses 80h-FFh name the SFR bit of that address.
int LocationWidth(const Processor& p, const Location& at);

// The catalogue address of an SFR location (a register's kind and low byte
// address, a bit's address); nothing for the memory kinds and for a key that
// is not a record of its kind.
std::optional<SymbolAddress> CatalogueAddress(const Processor& p, const Location& at);

// The value now held: a register by its catalogue address (one direct byte,
// a pair high byte first, or usPC); a bit through ReadBit; internal RAM
// through ReadIndirect, so 80h-FFh are the upper RAM; external RAM. 0 for a
// location that names nothing.
std::uint16_t ReadLocation(const Processor& p, const Location& at);

// Stores `value` as the write dialog does, through the Processor's accessors
// so the engine's derived timer, serial-rate and interrupt state follow: a
// byte register takes the low byte; a pair its low byte at its address and
// the high byte at address + kind; the PC moves and the instruction there is
// decoded again; bits store value != 0; external RAM also marks the cell for
// the external RAM window (bExtRAMWritten, iExtRAMWriteAddress). Plain
// stores: writing SBUF transmits nothing. False, changing nothing, when the
// location names nothing.
bool WriteLocation(Processor& p, Workspace& w, const Location& at, std::uint16_t value);

// What a location is called in a list: a register's "~Name", a bit's
// "~NickName", or the address in the key digits of its kind.
std::string LocationName(const Processor& p, const Location& at);

// The catalogue index of the record of `kind` (SfrRegister or SfrBit) named
// `name` (a register's name, a bit's nickname); nothing when there is none.
std::optional<std::uint16_t> CatalogueIndex(LocationKind kind, std::string_view name);

// The status-bar text: the record's "~Description" for the SFR kinds
// ("Failure" when there is none), the type text for the memory kinds.
std::string LocationDescription(const Processor& p, const Location& at);

// Hexadecimal digits of the key of a watch entry and of a memory name:
// 4 for the SFR kinds and external RAM, 2 for internal RAM and bit memory.
int LocationKeyDigits(LocationKind kind);

// The choices of the name box for one kind.
struct LocationNames {
    struct Item {
        std::string text;
        std::uint16_t key;  // catalogue index, or the address
    };
    std::vector<Item> items;
    bool editable = false;  // memory kinds take a typed address
    int maxLength = 0;      // of a typed address; 0 for the fixed SFR lists
    std::string initialText;
};

// The register "~Name"s or bit "~NickName"s with their catalogue indexes in
// catalogue order; "00".."FF" for internal RAM; none, with the text "0000",
// for external RAM; "00".."7F" for bit memory.
LocationNames FillNames(const Processor& p, LocationKind kind);

// The captions of a value's bits, bit 0 first: none for a one-bit location;
// for a byte register whose address is a multiple of 8, each bit's
// "~NickName-~Description" (TR0-TCON.4 - Timer 0 on/off control) or, without
// a bit record, the register name and the bit number (PSW.1); "Bit0".."Bit7"
// or "Bit0".."Bit15" for every other location.
std::vector<std::string> BitCaptions(const Processor& p, const Location& at);

}  // namespace tessaly
