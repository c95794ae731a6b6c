#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/CType.h"
#include "analysis/CdbName.h"

namespace tessaly {

enum class CSymbolScope : std::uint8_t { Global, File, Local };

// Where SDCC placed a symbol, by the letter after its type in the debug file.
enum class CAddressSpace : std::uint8_t {
    Data,           // E: directly addressed internal RAM (also overlays)
    Idata,          // G: indirectly addressed internal RAM
    Xdata,          // F: external RAM
    Pdata,          // P: external RAM of one page (the address holds the page)
    Code,           // C, D: code memory (code, constants, initialisers)
    Bit,            // H: bit memory; the address is a bit address
    Sfr,            // I: an SFR; the address is its direct address
    Sbit,           // J: an SFR bit; the address is a bit address
    Register,       // R: registers (CSymbol::registers)
    InternalStack,  // B: internal stack of a reentrant function, from _bp
    ExternalStack,  // A: external stack (--xstack), from _bpx
    Eeprom,         // K
    None            // Z or any other: nowhere a debugger can read
};

CAddressSpace AddressSpaceOfLetter(char letter);

// One S: record: a variable, a parameter or a function's own symbol.
struct CSymbol {
    CSymbolScope scope = CSymbolScope::Global;
    std::string module;    // File and Local scopes
    std::string function;  // Local scope
    std::string name;
    CScopeLevel level;
    CType type;
    CAddressSpace space = CAddressSpace::None;
    bool onStack = false;
    // From the frame base for InternalStack and ExternalStack: SDCC counts
    // locals up from 1 (internal) or 0 (external), parameters down.
    int stackOffset = 0;
    // Register names, least significant byte first ("r6", "r7"); empty for a
    // register variable SDCC no longer keeps anywhere.
    std::vector<std::string> registers;
    // The address the linker gave it (its L: record); nothing for register
    // and stack variables and for symbols without an address record.
    std::optional<std::uint16_t> address;

    // SDCC's spill locations ("sloc0"): compiler temporaries, not C variables.
    bool IsCompilerTemporary() const;
};

}  // namespace tessaly
