#include "control/Location.h"

#include "util/AsciiCase.h"
#include "analysis/Decoder.h"
#include "analysis/SymbolCatalogue.h"
#include "core/SfrCatalogue.h"
#include "util/HexText.h"

namespace tessaly {

namespace {

constexpr std::string_view kTypeTexts[] = {"SFR Registers", "SFR Bits", "Internal RAM", "External RAM", "Bit Memory"};

bool IsSfrKind(LocationKind kind) { return kind == LocationKind::SfrRegister || kind == LocationKind::SfrBit; }

const auto& Catalogue() { return SfrCatalogueRecords(); }

bool IsOfKind(const CatalogueRecord& record, LocationKind kind) {
    return record.isBit == (kind == LocationKind::SfrBit);
}

// The catalogue record an SFR location names, when it is of the location's
// own kind.
const CatalogueRecord* RecordOf(const Location& at) {
    if (!IsSfrKind(at.kind) || at.key >= Catalogue().size()) return nullptr;
    const CatalogueRecord& record = Catalogue()[at.key];
    return IsOfKind(record, at.kind) ? &record : nullptr;
}

}  // namespace

// The address of that record: a register's kind in the high byte and its
// address in the low byte; a bit's address, which is a byte.
std::optional<SymbolAddress> CatalogueAddress(const Processor&, const Location& at) {
    const CatalogueRecord* record = RecordOf(at);
    if (!record) return std::nullopt;
    return SymbolAddress{static_cast<SymbolAddressKind>(record->address >> 8),
                         static_cast<std::uint8_t>(record->address & 0xFF)};
}

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

std::string LocationName(const Processor&, const Location& at) {
    switch (at.kind) {
    case LocationKind::SfrRegister:
    case LocationKind::SfrBit:
        if (at.key >= Catalogue().size()) return "Failure";
        if (at.kind == LocationKind::SfrRegister) return Catalogue()[at.key].name;
        // Only bit records have a nickname.
        return Catalogue()[at.key].isBit ? Catalogue()[at.key].nickName : "Failure";
    default: return HexText(at.key, LocationKeyDigits(at.kind));
    }
}

std::optional<std::uint16_t> CatalogueIndex(LocationKind kind, std::string_view name) {
    for (std::size_t i = 0; i < Catalogue().size(); ++i) {
        const CatalogueRecord& record = Catalogue()[i];
        if (IsSfrKind(kind) && IsOfKind(record, kind) && (record.isBit ? record.nickName : record.name) == name) {
            return static_cast<std::uint16_t>(i);
        }
    }
    return std::nullopt;
}

std::string LocationDescription(const Processor&, const Location& at) {
    if (IsSfrKind(at.kind)) return at.key < Catalogue().size() ? Catalogue()[at.key].description : "Failure";
    return std::string(LocationTypeText(at.kind));
}

LocationNames FillNames(const Processor&, LocationKind kind) {
    LocationNames names;
    if (IsSfrKind(kind)) {
        for (std::size_t i = 0; i < Catalogue().size(); ++i) {
            const CatalogueRecord& record = Catalogue()[i];
            if (!IsOfKind(record, kind)) continue;
            names.items.push_back({record.isBit ? record.nickName : record.name, static_cast<std::uint16_t>(i)});
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
        const std::string& name = Catalogue()[at.key].name;
        for (int bit = 0; bit < 8; ++bit) {
            const std::string bitName = name + "." + std::to_string(bit);
            std::string caption = bitName;
            for (const CatalogueRecord& record : Catalogue()) {
                if (record.name != bitName) continue;
                caption = record.nickName + "-" + record.description;
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
