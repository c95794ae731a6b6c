#include "control/LocationText.h"

#include <optional>

#include "core/Sfr.h"
#include "core/SfrCatalogue.h"
#include "util/AsciiCase.h"
#include "util/HexText.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

std::optional<Location> CatalogueLocation(std::string_view name) {
    const auto& records = SfrCatalogueRecords();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const CatalogueRecord& record = records[i];
        const auto key = static_cast<std::uint16_t>(i);
        if (!record.isBit && SameIgnoringCase(record.name, name)) return Location{LocationKind::SfrRegister, key};
        if (record.isBit && (SameIgnoringCase(record.nickName, name) || SameIgnoringCase(record.name, name))) {
            return Location{LocationKind::SfrBit, key};
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> SfrNamed(std::string_view name) {
    for (const auto& definition : kSfrDefinitions) {
        if (SameIgnoringCase(definition.name, name)) return definition.address;
    }
    return std::nullopt;
}

// "REG.n" or "20H.n": a bit of a bit-addressable SFR or RAM byte.
std::variant<Location, std::string> BitOfByte(std::string_view byte, std::string_view bit, const std::string& text) {
    if (bit.size() != 1 || bit[0] < '0' || bit[0] > '7') return "'" + text + "': a bit number is 0 to 7";
    const unsigned n = static_cast<unsigned>(bit[0] - '0');
    if (const auto address = SfrNamed(byte)) {
        if (*address % 8 != 0) return "'" + text + "': " + std::string(byte) + " is not bit-addressable";
        return Location{LocationKind::BitMemory, static_cast<std::uint16_t>(*address + n)};
    }
    const auto address = ParseHexNumber(byte, 0xFF);
    if (!address || *address < 0x20 || *address > 0x2F) {
        return "'" + text + "': only the SFRs at multiples of 8 and RAM 20H-2FH are bit-addressable";
    }
    return Location{LocationKind::BitMemory, static_cast<std::uint16_t>((*address - 0x20) * 8 + n)};
}

}  // namespace

// A hexadecimal number: "30H", "0x30" or "30"; nothing above `highest`.
std::optional<unsigned> ParseHexNumber(std::string_view text, unsigned highest) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    else if (text.size() > 1 && (text.back() == 'H' || text.back() == 'h')) text.remove_suffix(1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    if (value > highest) return std::nullopt;
    return value;
}

std::variant<Location, std::string> ParseLocationText(std::string_view typed) {
    const std::string_view name = Trim(typed);
    const std::string text(name);
    if (name.empty()) return std::string("No location named");
    if (const auto record = CatalogueLocation(name)) return *record;

    const std::size_t colon = name.find(':');
    if (colon != std::string_view::npos) {
        const std::string space = UpperCase(std::string(name.substr(0, colon)));
        const std::string_view address = Trim(name.substr(colon + 1));
        if (space == "X") {
            if (const auto at = ParseHexNumber(address, 0xFFFF)) return Location{LocationKind::ExternalRAM, static_cast<std::uint16_t>(*at)};
            return "'" + text + "': an external RAM address is 0000H to FFFFH";
        }
        if (space == "I") {
            if (const auto at = ParseHexNumber(address, 0xFF)) return Location{LocationKind::InternalRAM, static_cast<std::uint16_t>(*at)};
            return "'" + text + "': an internal RAM address is 00H to FFH";
        }
        if (space == "BIT") {
            if (const auto at = ParseHexNumber(address, 0xFF)) return Location{LocationKind::BitMemory, static_cast<std::uint16_t>(*at)};
            return "'" + text + "': a bit address is 00H to FFH";
        }
        return "'" + text + "': the memory before ':' is X, I or BIT";
    }
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos) return BitOfByte(name.substr(0, dot), name.substr(dot + 1), text);
    if (const auto at = ParseHexNumber(name, 0xFF)) return Location{LocationKind::InternalRAM, static_cast<std::uint16_t>(*at)};
    if (SfrNamed(name)) {
        return "'" + text + "' is read through its register pair (DPTR, T0, T1, T2, RCAP2)";
    }
    return "'" + text + "' names no register, bit or memory cell";
}

}  // namespace tessaly
