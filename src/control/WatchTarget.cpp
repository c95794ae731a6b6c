#include "control/WatchTarget.h"

#include <algorithm>

#include "control/CVariableLookup.h"
#include "control/Location.h"
#include "control/LocationText.h"
#include "core/Sfr.h"
#include "util/AsciiCase.h"
#include "util/HexText.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

// Objects larger than a long are watched byte by byte.
constexpr std::size_t kLargestValue = 4;

WatchPlace BitPlace(const Processor& p, std::uint8_t bitAddress) {
    const Processor::BitLocation& at = p.BitMap[bitAddress];
    return {WatchSpace::Internal, at.address, at.mask};
}

std::variant<WatchTarget, std::string> TargetOfLocation(const Processor& p, const Location& at, std::string name) {
    WatchTarget target{std::move(name), {}, false, false};
    switch (at.kind) {
    case LocationKind::SfrRegister: {
        const auto address = CatalogueAddress(p, at);
        if (!address) return "'" + target.name + "' names no register";
        switch (address->kind) {
        case SymbolAddressKind::Byte: target.bytes.push_back({WatchSpace::Internal, address->address}); break;
        case SymbolAddressKind::PairAbove:
        case SymbolAddressKind::PairTwoAbove:
            target.bytes.push_back({WatchSpace::Internal, address->address});
            target.bytes.push_back(
                {WatchSpace::Internal,
                 static_cast<std::uint16_t>(address->address + static_cast<std::uint8_t>(address->kind))});
            break;
        case SymbolAddressKind::ProgramCounter:
            return "'" + target.name + "' is not in memory: break on an address instead";
        }
        return target;
    }
    case LocationKind::SfrBit: {
        const auto address = CatalogueAddress(p, at);
        if (!address) return "'" + target.name + "' names no bit";
        target.bytes.push_back(BitPlace(p, address->address));
        target.bit = true;
        return target;
    }
    case LocationKind::BitMemory:
        target.bytes.push_back(BitPlace(p, static_cast<std::uint8_t>(at.key)));
        target.bit = true;
        return target;
    case LocationKind::InternalRAM:
        target.bytes.push_back(
            {WatchSpace::Internal, static_cast<std::uint16_t>(Processor::IndirectOffset(static_cast<std::uint8_t>(at.key)))});
        return target;
    case LocationKind::ExternalRAM: target.bytes.push_back({WatchSpace::External, at.key}); return target;
    }
    return "'" + target.name + "' names no location";
}

// "X:1000H-10FFH" and "C:0100H[-01FFH]": the ranges General Read has no name for.
std::optional<std::variant<WatchTarget, std::string>> RangeTarget(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string space = UpperCase(std::string(Trim(text.substr(0, colon))));
    const std::string_view rest = Trim(text.substr(colon + 1));
    const std::size_t dash = rest.find('-');
    const bool code = space == "C" || space == "CODE";
    if (!code && !(space == "X" && dash != std::string_view::npos)) return std::nullopt;
    const auto first = ParseHexNumber(Trim(rest.substr(0, dash)), 0xFFFF);
    const auto last = dash == std::string_view::npos ? first : ParseHexNumber(Trim(rest.substr(dash + 1)), 0xFFFF);
    const std::string name(text);
    if (!first || !last) return "'" + name + "': an address is 0000H to FFFFH";
    if (*last < *first) return "'" + name + "': the range ends before it begins";
    WatchTarget target{name, {}, first != last, false};
    const WatchSpace where = code ? WatchSpace::Code : WatchSpace::External;
    for (unsigned a = *first; a <= *last; ++a) target.bytes.push_back({where, static_cast<std::uint16_t>(a)});
    return target;
}

}  // namespace

std::variant<WatchTarget, std::string> WatchTargetOf(const Processor& p, const CObject& object, std::string name) {
    if (!object.Available()) return "'" + name + "': " + object.unavailable;
    WatchTarget target{std::move(name), {}, false, false};
    if (object.memory == CMemory::BitMemory || object.type.kind == CTypeKind::Bit ||
        object.type.kind == CTypeKind::Sbit) {
        target.bytes.push_back(BitPlace(p, static_cast<std::uint8_t>(object.address)));
        target.bit = true;
        return target;
    }
    const std::size_t size = object.type.size == 0 ? 1 : object.type.size;
    for (std::size_t i = 0; i < size; ++i) {
        switch (object.memory) {
        case CMemory::InternalRAM:
            target.bytes.push_back(
                {WatchSpace::Internal,
                 static_cast<std::uint16_t>(Processor::IndirectOffset(static_cast<std::uint8_t>(object.address + i)))});
            break;
        case CMemory::Sfr:
            target.bytes.push_back(
                {WatchSpace::Internal, static_cast<std::uint16_t>(i == 0 ? object.address & 0xFF : object.address >> 8)});
            break;
        case CMemory::ExternalRAM:
            target.bytes.push_back({WatchSpace::External, static_cast<std::uint16_t>(object.address + i)});
            break;
        case CMemory::Code:
            target.bytes.push_back({WatchSpace::Code, static_cast<std::uint16_t>(object.address + i)});
            break;
        case CMemory::Registers:
            if (i >= object.registers.size()) return "'" + target.name + "' is not wholly in registers";
            target.bytes.push_back({WatchSpace::Internal, object.registers[i]});
            break;
        case CMemory::BitMemory:
        case CMemory::None: break;
        }
        if (object.memory == CMemory::Sfr && i == 1) break;
    }
    target.range = target.bytes.size() > kLargestValue;
    const CTypeKind kind = object.type.kind;
    target.isSigned = !object.type.isUnsigned &&
                      (kind == CTypeKind::Char || kind == CTypeKind::Int || kind == CTypeKind::Long ||
                       kind == CTypeKind::LongLong);
    return target;
}

std::variant<WatchTarget, std::string> ResolveWatchTarget(const Processor& p, std::string_view typed,
                                                          const CScope* scope) {
    const std::string_view text = Trim(typed);
    if (auto range = RangeTarget(text)) return std::move(*range);
    std::string cMessage;
    if (scope && scope->info) {
        auto object = EvaluateCExpression(p, *scope, text);
        if (const CObject* found = std::get_if<CObject>(&object)) return WatchTargetOf(p, *found, std::string(text));
        cMessage = std::get<std::string>(object);
    }
    auto location = ParseLocationText(text);
    if (const Location* at = std::get_if<Location>(&location)) return TargetOfLocation(p, *at, std::string(text));
    // A C name that is no location is best explained by the C side.
    if (!cMessage.empty() && IsCName(text)) return cMessage;
    return std::get<std::string>(location);
}

std::int64_t WatchValue(const Processor& p, const WatchTarget& target) {
    if (target.bytes.empty()) return 0;
    const auto byteAt = [&](const WatchPlace& place) -> std::uint8_t {
        switch (place.space) {
        case WatchSpace::Internal: return p.ucIntRAM[place.address];
        case WatchSpace::External: return p.ucExtRAM[place.address];
        case WatchSpace::Code: return p.ReadCode(place.address);
        }
        return 0;
    };
    if (target.bit) return (byteAt(target.bytes.front()) & target.bytes.front().mask) ? 1 : 0;
    const std::size_t count = target.range ? 1 : std::min<std::size_t>(target.bytes.size(), 8);
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = (value << 8) | byteAt(target.bytes[i]);
    if (target.isSigned && count < 8) {
        const std::uint64_t sign = std::uint64_t{1} << (count * 8 - 1);
        value = (value ^ sign) - sign;
    }
    return static_cast<std::int64_t>(value);
}

std::string RangeByteName(const WatchPlace& place) {
    switch (place.space) {
    case WatchSpace::External: return "X:" + HexText(place.address, 4) + "H";
    case WatchSpace::Code: return "C:" + HexText(place.address, 4) + "H";
    case WatchSpace::Internal: break;
    }
    if (place.address >= 0x80 && place.address < 0x100) {
        for (const auto& definition : kSfrDefinitions) {
            if (definition.address == place.address) return std::string(definition.name);
        }
    }
    const unsigned address = place.address >= 0x100 ? place.address - 0x80u : place.address;
    return HexText(address, 2) + "H";
}

}  // namespace tessaly
