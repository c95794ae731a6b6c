#include "dap/ValueText.h"

#include "control/CValueText.h"
#include "util/HexText.h"
#include "util/IntegerText.h"
#include "util/Lines.h"

namespace tessaly::dap {

std::string CValueText(const Processor& p, const DebugInfo& info, const CObject& object, bool hex) {
    const CType& type = object.type;
    if (hex && object.Available() && type.IsInteger() && type.kind != CTypeKind::Bit && type.kind != CTypeKind::Sbit &&
        type.kind != CTypeKind::Bool && type.size >= 1 && type.size <= 8) {
        const auto raw = static_cast<std::uint64_t>(ReadCInteger(p, object));
        const int digits = static_cast<int>(type.size * 2);
        const std::uint64_t masked = digits >= 16 ? raw : raw & ((std::uint64_t{1} << (digits * 4)) - 1);
        std::string text;
        for (int i = digits - 1; i >= 0; --i) text += kHexDigits[(masked >> (i * 4)) & 0xF];
        return "0x" + text;
    }
    return FormatCValue(p, info, object);
}

std::string LocationValueText(const Processor& p, const Location& location) {
    const int width = LocationWidth(p, location);
    const std::uint16_t value = ReadLocation(p, location);
    if (width == 1) return value ? "1" : "0";
    return "0x" + HexText(value, width == 16 ? 4 : 2);
}

std::optional<std::uint32_t> ParseTypedNumber(const std::string& typed) {
    std::string_view text = Trim(typed);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseUnsigned<std::uint32_t>(text.substr(2), 16);
    }
    if (text.size() > 1 && (text.back() == 'H' || text.back() == 'h')) {
        return ParseUnsigned<std::uint32_t>(text.substr(0, text.size() - 1), 16);
    }
    return ParseUnsigned<std::uint32_t>(text);
}

std::string MemoryReferenceOf(const CObject& object) {
    switch (object.memory) {
    case CMemory::InternalRAM: return "idata:0x" + HexText(object.address, 2);
    case CMemory::Sfr: return "data:0x" + HexText(object.address & 0xFF, 2);
    case CMemory::ExternalRAM: return "xdata:0x" + HexText(object.address, 4);
    case CMemory::Code: return "code:0x" + HexText(object.address, 4);
    default: return {};
    }
}

}  // namespace tessaly::dap
