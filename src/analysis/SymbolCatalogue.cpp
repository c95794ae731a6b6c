#include "analysis/SymbolCatalogue.h"

#include <charconv>
#include <string_view>

#include "core/Processor.h"
#include "util/IntegerText.h"

namespace tessaly {

namespace {

constexpr std::string_view kTagTexts[] = {"~Type", "~Name", "~NickName", "~Address", "~Description"};

}  // namespace

std::string GetSymbolField(const Processor& p, int index, int tag) {
    const std::string_view tagText = (tag >= 0 && tag < 5) ? kTagTexts[tag] : "#()Unknown Tag";
    if (index < 0 || static_cast<std::size_t>(index) >= p.lstSymbolCatalogue.Count()) return "Failure";
    const std::string_view record = p.lstSymbolCatalogue[static_cast<std::size_t>(index)];
    const auto at = record.find(tagText);
    if (at == std::string_view::npos) return "Failure";
    // Skip the tag and the "|" that closes it.
    const std::size_t valueStart = at + tagText.size() + 1;
    if (valueStart > record.size()) return "Failure";
    const std::string_view rest = record.substr(valueStart);
    const auto bar = rest.find('|');
    if (bar == std::string_view::npos) return "Failure";
    return std::string(rest.substr(0, bar));
}

std::optional<SymbolAddress> DecodeSymbolAddress(const std::string& field) {
    if (field.size() != 4) return std::nullopt;
    const auto parsed = ParseUnsigned<unsigned>(field, 16);
    if (!parsed) return std::nullopt;
    const unsigned value = *parsed;
    const auto kind = static_cast<std::uint8_t>(value >> 8);
    if (kind != 0x00 && kind != 0x01 && kind != 0x02 && kind != 0x0A) return std::nullopt;
    return SymbolAddress{static_cast<SymbolAddressKind>(kind), static_cast<std::uint8_t>(value & 0xFF)};
}

std::uint16_t ReadSymbolValue(const Processor& p, const SymbolAddress& at) {
    const auto pair = [&](unsigned highOffset) {
        return static_cast<std::uint16_t>((p.ReadDirect(static_cast<std::uint8_t>(at.address + highOffset)) << 8) |
                                          p.ReadDirect(at.address));
    };
    switch (at.kind) {
    case SymbolAddressKind::Byte: return p.ReadDirect(at.address);
    case SymbolAddressKind::PairAbove: return pair(1);
    case SymbolAddressKind::PairTwoAbove: return pair(2);
    case SymbolAddressKind::ProgramCounter: return p.usPC;
    }
    return 0;
}

}  // namespace tessaly
