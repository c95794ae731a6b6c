#include "control/CObject.h"

#include <algorithm>
#include <cctype>

#include "control/Location.h"
#include "core/Sfr.h"

namespace tessaly {

namespace {

CObject Unavailable(const CType& type, std::string reason) {
    CObject object;
    object.type = type;
    object.unavailable = std::move(reason);
    return object;
}

// The direct address of a register as SDCC names it; nothing for a name it
// does not know.
std::optional<std::uint8_t> RegisterAddress(const std::string& name, std::uint8_t bank) {
    if (name.size() == 2 && name[0] == 'r' && name[1] >= '0' && name[1] <= '7') {
        return static_cast<std::uint8_t>(bank * 8 + (name[1] - '0'));
    }
    if (name == "a" || name == "acc") return sfr::ACC;
    if (name == "b") return sfr::B;
    if (name == "dpl") return sfr::DPL;
    if (name == "dph") return sfr::DPH;
    return std::nullopt;
}

CObject AtAddress(const CSymbol& symbol, CMemory memory) {
    if (!symbol.address) return Unavailable(symbol.type, "no address");
    CObject object;
    object.type = symbol.type;
    object.memory = memory;
    object.address = *symbol.address;
    return object;
}

// The byte address of byte `index` of an SFR object: one SFR, or a 16-bit
// SFR whose address holds the low byte's address in its low byte and the high
// byte's in its high byte, as SDCC's __sfr16 declares them.
std::uint8_t SfrByteAddress(const CObject& object, std::size_t index) {
    if (object.address > 0xFF && index == 1) return static_cast<std::uint8_t>(object.address >> 8);
    return static_cast<std::uint8_t>((object.address & 0xFF) + (object.address > 0xFF ? 0 : index));
}

}  // namespace

CObject LocateSymbol(const CSymbol& symbol, const CFrame& frame) {
    switch (symbol.space) {
    case CAddressSpace::Data:
    case CAddressSpace::Idata: return AtAddress(symbol, CMemory::InternalRAM);
    case CAddressSpace::Xdata:
    case CAddressSpace::Pdata: return AtAddress(symbol, CMemory::ExternalRAM);
    case CAddressSpace::Code: return AtAddress(symbol, CMemory::Code);
    case CAddressSpace::Bit:
    case CAddressSpace::Sbit: return AtAddress(symbol, CMemory::BitMemory);
    case CAddressSpace::Sfr: return AtAddress(symbol, CMemory::Sfr);
    case CAddressSpace::InternalStack: {
        if (!frame.stackFrame) return Unavailable(symbol.type, "no stack frame");
        CObject object;
        object.type = symbol.type;
        object.memory = CMemory::InternalRAM;
        object.address = static_cast<std::uint8_t>(*frame.stackFrame + symbol.stackOffset);
        return object;
    }
    case CAddressSpace::ExternalStack: {
        if (!frame.externalStackFrame) return Unavailable(symbol.type, "no external stack frame");
        CObject object;
        object.type = symbol.type;
        object.memory = CMemory::ExternalRAM;
        object.address = static_cast<std::uint16_t>(
            (frame.pdataPage << 8) | static_cast<std::uint8_t>(*frame.externalStackFrame + symbol.stackOffset));
        return object;
    }
    case CAddressSpace::Register: {
        if (symbol.registers.empty()) return Unavailable(symbol.type, "optimized out");
        CObject object;
        object.type = symbol.type;
        object.memory = CMemory::Registers;
        for (const std::string& name : symbol.registers) {
            const auto address = RegisterAddress(name, frame.registerBank);
            if (!address) return Unavailable(symbol.type, "in register " + name);
            object.registers.push_back(*address);
        }
        if (object.registers.size() < symbol.type.size) return Unavailable(symbol.type, "partly in registers");
        return object;
    }
    case CAddressSpace::Eeprom:
    case CAddressSpace::None: break;
    }
    return Unavailable(symbol.type, "not in memory");
}

std::vector<CChild> ChildrenOf(const DebugInfo& info, const CObject& object, std::size_t limit) {
    std::vector<CChild> children;
    if (!object.Available() || object.memory == CMemory::Registers || object.memory == CMemory::BitMemory) {
        return children;
    }
    auto at = [&](const CType& type, std::size_t offset) {
        CObject child;
        child.type = type;
        child.memory = object.memory;
        child.address = static_cast<std::uint16_t>(object.address + offset);
        // Internal RAM, SFRs and the external stack's page wrap at a byte.
        if (object.memory == CMemory::InternalRAM || object.memory == CMemory::Sfr) {
            child.address = static_cast<std::uint8_t>(child.address);
        }
        return child;
    };
    if (object.type.kind == CTypeKind::Array && object.type.target) {
        const CType& element = *object.type.target;
        for (std::size_t i = 0; i < std::min(object.type.length, limit); ++i) {
            children.push_back({"[" + std::to_string(i) + "]", at(element, i * element.size)});
        }
    } else if (const CStruct* record = info.StructOf(object.type)) {
        for (const CMember& member : record->members) {
            if (children.size() == limit) break;
            children.push_back({member.name, at(member.type, member.offset)});
        }
    }
    return children;
}

bool HasChildren(const DebugInfo& info, const CObject& object) {
    return object.type.IsAggregate() && !ChildrenOf(info, object, 1).empty();
}

std::string ChildExpression(std::string_view parent, const CChild& child) {
    // A postfix chain (names, [N], .name, ->name) takes one more link as it
    // is; anything else, a dereference or blanks, is grouped first.
    const bool chain = !parent.empty() && std::all_of(parent.begin(), parent.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '[' || c == ']' || c == '.' ||
               c == '-' || c == '>';
    });
    std::string expression = chain ? std::string(parent) : "(" + std::string(parent) + ")";
    if (child.name.front() != '[') expression += '.';
    return expression + child.name;
}

std::uint8_t ReadObjectByte(const Processor& p, const CObject& object, std::size_t index) {
    const auto offset = static_cast<std::uint16_t>(object.address + index);
    switch (object.memory) {
    case CMemory::InternalRAM:
        return static_cast<std::uint8_t>(ReadLocation(p, {LocationKind::InternalRAM, static_cast<std::uint8_t>(offset)}));
    case CMemory::Sfr: return p.ReadDirect(SfrByteAddress(object, index));
    case CMemory::ExternalRAM: return static_cast<std::uint8_t>(ReadLocation(p, {LocationKind::ExternalRAM, offset}));
    case CMemory::Code: return p.ReadCode(offset);
    case CMemory::BitMemory:
        return index == 0 ? static_cast<std::uint8_t>(ReadLocation(p, {LocationKind::BitMemory, object.address})) : 0;
    case CMemory::Registers: return index < object.registers.size() ? p.ReadDirect(object.registers[index]) : 0;
    case CMemory::None: break;
    }
    return 0;
}

bool WriteObjectByte(Processor& p, Workspace& w, const CObject& object, std::size_t index, std::uint8_t value) {
    const auto offset = static_cast<std::uint16_t>(object.address + index);
    switch (object.memory) {
    case CMemory::InternalRAM:
        return WriteLocation(p, w, {LocationKind::InternalRAM, static_cast<std::uint8_t>(offset)}, value);
    case CMemory::Sfr: p.WriteDirect(SfrByteAddress(object, index), value); return true;
    case CMemory::ExternalRAM: return WriteLocation(p, w, {LocationKind::ExternalRAM, offset}, value);
    case CMemory::BitMemory:
        return index == 0 && WriteLocation(p, w, {LocationKind::BitMemory, object.address}, value);
    case CMemory::Registers: {
        if (index >= object.registers.size()) return false;
        const std::uint8_t address = object.registers[index];
        // r0-r7 are internal RAM; a, b, dpl and dph are SFRs.
        if (address < 0x80) return WriteLocation(p, w, {LocationKind::InternalRAM, address}, value);
        p.WriteDirect(address, value);
        return true;
    }
    case CMemory::Code:
    case CMemory::None: break;
    }
    return false;
}

}  // namespace tessaly
