#include "analysis/CSymbol.h"

namespace tessaly {

CAddressSpace AddressSpaceOfLetter(char letter) {
    switch (letter) {
    case 'A': return CAddressSpace::ExternalStack;
    case 'B': return CAddressSpace::InternalStack;
    case 'C': case 'D': return CAddressSpace::Code;
    case 'E': return CAddressSpace::Data;
    case 'F': return CAddressSpace::Xdata;
    case 'G': return CAddressSpace::Idata;
    case 'H': return CAddressSpace::Bit;
    case 'I': return CAddressSpace::Sfr;
    case 'J': return CAddressSpace::Sbit;
    case 'K': return CAddressSpace::Eeprom;
    case 'P': return CAddressSpace::Pdata;
    case 'R': return CAddressSpace::Register;
    default: return CAddressSpace::None;
    }
}

bool CSymbol::IsCompilerTemporary() const {
    if (name.size() <= 4 || name.compare(0, 4, "sloc") != 0) return false;
    for (std::size_t i = 4; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
    }
    return true;
}

}  // namespace tessaly
