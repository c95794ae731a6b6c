#include "control/Location.h"

#include "util/AsciiCase.h"
#include "analysis/Decoder.h"
#include "analysis/SymbolCatalogue.h"
#include "util/HexText.h"

namespace tessaly {

namespace {

constexpr std::string_view kTypeTexts[] = {"SFR Registers", "SFR Bits", "Internal RAM", "External RAM", "Bit Memory"};

bool IsSfrKind(LocationKind kind) { return kind == LocationKind::SfrRegister || kind == LocationKind::SfrBit; }

// The decoded address field of the catalogue record an SFR location names,
// when that record is of the location's own kind. A bit record's field holds
// the bit address in its low byte and decodes as a byte.
std::optional<SymbolAddress> CatalogueAddress(const Processor& p, const Location& at) {
    if (at.key >= p.lstSymbolCatalogue.Count()) return std::nullopt;
    const int index = at.key;
    if (GetSymbolField(p, index, kTagType) != LocationTypeText(at.kind)) return std::nullopt;
    const auto address = DecodeSymbolAddress(GetSymbolField(p, index, kTagAddress));
    if (!address || (at.kind == LocationKind::SfrBit && address->kind != SymbolAddressKind::Byte)) return std::nullopt;
    return address;
}

}  // namespace

std::string_view LocationTypeText(LocationKind kind) { return kTypeTexts[static_cast<std::size_t>(kind)]; }

std::optional<LocationKind> LocationKindFromText(std::string_view text) {
    for (LocationKind kind : kLocationKinds) {
        if (SameIgnoringCase(text, LocationTypeText(kind))) return kind;
    }
    return std::nullopt;
}

int LocationKeyDigits(LocationKind kind) {
    return (kind == LocationKind::InternalRAM || kind == LocationKind::BitMemory) ? 2 : 4;
}

int LocationWidth(const Processor& p, const Location& at) {
    switch (at.kind) {
    case LocationKind::SfrRegister: {
        const auto address = CatalogueAddress(p, at);
        if (!address) return 0;
        return address->kind == SymbolAddressKind::Byte ? 8 : 16;
    }
    case LocationKind::SfrBit: return CatalogueAddress(p, at) ? 1 : 0;
    case LocationKind::InternalRAM: return at.key <= 0xFF ? 8 : 0;
    case LocationKind::ExternalRAM: return 8;
    case LocationKind::BitMemory: return at.key <= 0xFF ? 1 : 0;
    }
    return 0;
}

std::uint16_t ReadLocation(const Processor& p, const Location& at) {
    if (LocationWidth(p, at) == 0) return 0;
    const auto address = static_cast<std::uint8_t>(at.key);
    switch (at.kind) {
    case LocationKind::SfrRegister: return ReadSymbolValue(p, *CatalogueAddress(p, at));
    case LocationKind::SfrBit: return p.ReadBit(CatalogueAddress(p, at)->address);
    case LocationKind::InternalRAM: return p.ReadIndirect(address);
    case LocationKind::ExternalRAM: return p.ReadExtRAM(at.key);
    case LocationKind::BitMemory: return p.ReadBit(address);
    }
    return 0;
}

bool WriteLocation(Processor& p, Workspace& w, const Location& at, std::uint16_t value) {
    if (LocationWidth(p, at) == 0) return false;
    const auto low = static_cast<std::uint8_t>(value);
    const auto high = static_cast<std::uint8_t>(value >> 8);
    const std::uint8_t bit = value != 0 ? 1 : 0;
    switch (at.kind) {
    case LocationKind::SfrRegister: {
        const SymbolAddress target = *CatalogueAddress(p, at);
        switch (target.kind) {
        case SymbolAddressKind::Byte: p.WriteDirect(target.address, low); break;
        case SymbolAddressKind::PairAbove:
        case SymbolAddressKind::PairTwoAbove:
            // The kind is also the distance from the low byte up to the high byte.
            p.WriteDirect(target.address, low);
            p.WriteDirect(static_cast<std::uint8_t>(target.address + static_cast<std::uint8_t>(target.kind)), high);
            break;
        case SymbolAddressKind::ProgramCounter:
            p.usPC = value;
            DecodeInstruction(p, w);
            break;
        }
        return true;
    }
    case LocationKind::SfrBit: p.WriteBit(CatalogueAddress(p, at)->address, bit); return true;
    case LocationKind::InternalRAM: p.WriteIndirect(static_cast<std::uint8_t>(at.key), low); return true;
    case LocationKind::ExternalRAM:
        p.WriteExtRAM(at.key, low);
        p.bExtRAMWritten = 1;
        p.iExtRAMWriteAddress = at.key;
        return true;
    case LocationKind::BitMemory: p.WriteBit(static_cast<std::uint8_t>(at.key), bit); return true;
    }
    return false;
}

std::string LocationName(const Processor& p, const Location& at) {
    switch (at.kind) {
    case LocationKind::SfrRegister: return GetSymbolField(p, at.key, kTagName);
    case LocationKind::SfrBit: return GetSymbolField(p, at.key, kTagNickName);
    default: return HexText(at.key, LocationKeyDigits(at.kind));
    }
}

std::string LocationDescription(const Processor& p, const Location& at) {
    if (IsSfrKind(at.kind)) return GetSymbolField(p, at.key, kTagDescription);
    return std::string(LocationTypeText(at.kind));
}

LocationNames FillNames(const Processor& p, LocationKind kind) {
    LocationNames names;
    if (IsSfrKind(kind)) {
        const int nameTag = kind == LocationKind::SfrRegister ? kTagName : kTagNickName;
        const auto count = static_cast<int>(p.lstSymbolCatalogue.Count());
        for (int i = 0; i < count; ++i) {
            if (GetSymbolField(p, i, kTagType) != LocationTypeText(kind)) continue;
            names.items.push_back({GetSymbolField(p, i, nameTag), static_cast<std::uint16_t>(i)});
        }
        if (!names.items.empty()) names.initialText = names.items.front().text;
        return names;
    }
    names.editable = true;
    names.maxLength = LocationKeyDigits(kind);
    names.initialText = std::string(static_cast<std::size_t>(names.maxLength), '0');
    // External RAM is typed only: 65536 items would make an unusable list.
    const unsigned listed = kind == LocationKind::InternalRAM ? 0x100 : kind == LocationKind::BitMemory ? 0x80 : 0;
    for (unsigned address = 0; address < listed; ++address) {
        names.items.push_back({HexText(address, 2), static_cast<std::uint16_t>(address)});
    }
    return names;
}

std::vector<std::string> BitCaptions(const Processor& p, const Location& at) {
    const int width = LocationWidth(p, at);
    std::vector<std::string> captions;
    if (width <= 1) return captions;
    if (at.kind == LocationKind::SfrRegister && width == 8 && CatalogueAddress(p, at)->address % 8 == 0) {
        // A bit-addressable register: name each bit after its bit record.
        const std::string name = GetSymbolField(p, at.key, kTagName);
        const auto count = static_cast<int>(p.lstSymbolCatalogue.Count());
        for (int bit = 0; bit < 8; ++bit) {
            const std::string bitName = name + "." + std::to_string(bit);
            std::string caption = bitName;
            for (int i = 0; i < count; ++i) {
                if (GetSymbolField(p, i, kTagName) != bitName) continue;
                caption = GetSymbolField(p, i, kTagNickName) + "-" + GetSymbolField(p, i, kTagDescription);
                break;
            }
            captions.push_back(std::move(caption));
        }
        return captions;
    }
    for (int bit = 0; bit < width; ++bit) captions.push_back("Bit" + std::to_string(bit));
    return captions;
}

}  // namespace tessaly
