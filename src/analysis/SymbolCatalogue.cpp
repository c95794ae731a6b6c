#include "analysis/SymbolCatalogue.h"

#include <charconv>
#include <string_view>

#include "core/Processor.h"
#include "util/IntegerText.h"

namespace tessaly {

namespace {

// Windows keep indices into this list, so the order is fixed.
constexpr std::string_view kRecords[kSymbolCatalogueSize] = {
    "~Type|SFR Registers|~Name|ACC|~Address|00E0|~Description|Accumulator|",
    "~Type|SFR Registers|~Name|B|~Address|00F0|~Description|Multiplication register|",
    "~Type|SFR Registers|~Name|PSW|~Address|00D0|~Description|Program status word|",
    "~Type|SFR Registers|~Name|IE|~Address|00A8|~Description|Interrupt enable|",
    "~Type|SFR Registers|~Name|IP|~Address|00B8|~Description|Interrupt priority|",
    "~Type|SFR Registers|~Name|P0|~Address|0080|~Description|PORT 0|",
    "~Type|SFR Registers|~Name|P1|~Address|0090|~Description|Port 1|",
    "~Type|SFR Registers|~Name|P2|~Address|00A0|~Description|Port 2|",
    "~Type|SFR Registers|~Name|P3|~Address|00B0|~Description|Port 3|",
    "~Type|SFR Registers|~Name|SP|~Address|0081|~Description|Stack pointer|",
    "~Type|SFR Registers|~Name|PCON|~Address|0087|~Description|Power control|",
    "~Type|SFR Registers|~Name|TCON|~Address|0088|~Description|Timer control|",
    "~Type|SFR Registers|~Name|TMOD|~Address|0089|~Description|Timer mode|",
    "~Type|SFR Registers|~Name|SCON|~Address|0098|~Description|Serial port control|",
    "~Type|SFR Registers|~Name|SBUF|~Address|0099|~Description|Serial port buffer|",
    "~Type|SFR Registers|~Name|T2CON|~Address|00C8|~Description|Timer 2 control|",
    "~Type|SFR Registers|~Name|DPTR|~Address|0182|~Description|Data pointer|",
    "~Type|SFR Registers|~Name|T0|~Address|028A|~Description|Timer 0|",
    "~Type|SFR Registers|~Name|T1|~Address|028B|~Description|Timer 1|",
    "~Type|SFR Registers|~Name|T2|~Address|01CC|~Description|Timer 2|",
    "~Type|SFR Registers|~Name|RCAP2|~Address|01CA|~Description|Timer 2 capture register|",
    "~Type|SFR Registers|~Name|PC|~Address|0A00|~Description|Program Counter|",
    "~Type|SFR Bits|~NickName|IT0|~Address|0088|~Name|TCON.0|~Description|TCON.0 - Ext. interrupt 0 type|",
    "~Type|SFR Bits|~NickName|IE0|~Address|0089|~Name|TCON.1|~Description|TCON.1 - Ext. interrupt 0 edge flag|",
    "~Type|SFR Bits|~NickName|IT1|~Address|008A|~Name|TCON.2|~Description|TCON.2 - Ext. interrupt 1 type|",
    "~Type|SFR Bits|~NickName|IE1|~Address|008B|~Name|TCON.3|~Description|TCON.3 - Ext. interrupt 1 edge flag|",
    "~Type|SFR Bits|~NickName|TR0|~Address|008C|~Name|TCON.4|~Description|TCON.4 - Timer 0 on/off control|",
    "~Type|SFR Bits|~NickName|TF0|~Address|008D|~Name|TCON.5|~Description|TCON.5 - Timer 0 overflow flag|",
    "~Type|SFR Bits|~NickName|TR1|~Address|008E|~Name|TCON.6|~Description|TCON.6 - Timer 1 on/off control|",
    "~Type|SFR Bits|~NickName|TF1|~Address|008F|~Name|TCON.7|~Description|TCON.7 - Timer 1 overflow flag|",
    "~Type|SFR Bits|~NickName|RI|~Address|0098|~Name|SCON.0|~Description|SCON.0 - Receive interrupt flag|",
    "~Type|SFR Bits|~NickName|TI|~Address|0099|~Name|SCON.1|~Description|SCON.1 - Transmit interrupt flag|",
    "~Type|SFR Bits|~NickName|RB8|~Address|009A|~Name|SCON.2|~Description|SCON.2 - Receive bit 8|",
    "~Type|SFR Bits|~NickName|TB8|~Address|009B|~Name|SCON.3|~Description|SCON.3 - Transmit bit 8|",
    "~Type|SFR Bits|~NickName|REN|~Address|009C|~Name|SCON.4|~Description|SCON.4 - Receive enable|",
    "~Type|SFR Bits|~NickName|SM2|~Address|009D|~Name|SCON.5|~Description|SCON.5 - Serial mode control bit 2|",
    "~Type|SFR Bits|~NickName|SM1|~Address|009E|~Name|SCON.6|~Description|SCON.6 - Serial mode control bit 1|",
    "~Type|SFR Bits|~NickName|SM0|~Address|009F|~Name|SCON.7|~Description|Serial mode control bit 0|",
    "~Type|SFR Bits|~NickName|EX0|~Address|00A8|~Name|IE.0|~Description|IE.0 - External interrupt 0 enable|",
    "~Type|SFR Bits|~NickName|ET0|~Address|00A9|~Name|IE.1|~Description|IE.1 - Timer 0 interrupt enable|",
    "~Type|SFR Bits|~NickName|EX1|~Address|00AA|~Name|IE.2|~Description|IE.2 - External interrupt 1 enable|",
    "~Type|SFR Bits|~NickName|ET1|~Address|00AB|~Name|IE.3|~Description|IE.3 - Timer 1 interrupt enable|",
    "~Type|SFR Bits|~NickName|ES|~Address|00AC|~Name|IE.4|~Description|IE.4 - Serial port interrupt enable|",
    "~Type|SFR Bits|~NickName|ET2|~Address|00AD|~Name|IE.5|~Description|IE.5 - Timer 2 interrupt enable|",
    "~Type|SFR Bits|~NickName|EA|~Address|00AF|~Name|IE.7|~Description|IE.7 - Global interrupt enable|",
    "~Type|SFR Bits|~NickName|RXD|~Address|00B0|~Name|P3.0|~Description|P3.0 - Serial port receive input|",
    "~Type|SFR Bits|~NickName|TXD|~Address|00B1|~Name|P3.1|~Description|P3.1 - Serial port transmit output|",
    "~Type|SFR Bits|~NickName|INT0|~Address|00B2|~Name|P3.2|~Description|P3.2 - External interrupt 0 input|",
    "~Type|SFR Bits|~NickName|INT1|~Address|00B3|~Name|P3.3|~Description|P3.3 - External interrupt 1 input|",
    "~Type|SFR Bits|~NickName|T0|~Address|00B4|~Name|P3.4|~Description|P3.4 - Timer 0 count input|",
    "~Type|SFR Bits|~NickName|T1|~Address|00B5|~Name|P3.5|~Description|P3.5 - Timer 1 count input|",
    "~Type|SFR Bits|~NickName|WR|~Address|00B6|~Name|P3.6|~Description|P3.6 - Write control for ext. memory|",
    "~Type|SFR Bits|~NickName|RD|~Address|00B7|~Name|P3.7|~Description|P3.7 - Read control for ext. memory|",
    "~Type|SFR Bits|~NickName|PX0|~Address|00B8|~Name|IP.0|~Description|IP.0 - External interrupt 0 priority|",
    "~Type|SFR Bits|~NickName|PT0|~Address|00B9|~Name|IP.1|~Description|IP.1 - Timer 0 priority|",
    "~Type|SFR Bits|~NickName|PX1|~Address|00BA|~Name|IP.2|~Description|IP.2 - External interrupt 1 priority|",
    "~Type|SFR Bits|~NickName|PT1|~Address|00BB|~Name|IP.3|~Description|IP.3 - Timer 1 priority|",
    "~Type|SFR Bits|~NickName|PS|~Address|00BC|~Name|IP.4|~Description|IP.4 - Serial port priority|",
    "~Type|SFR Bits|~NickName|PT2|~Address|00BD|~Name|IP.5|~Description|IP.5 - Timer 2 priority|",
    "~Type|SFR Bits|~NickName|CAP2|~Address|00C8|~Name|T2CON.0|~Description|T2CON.0 - Capture or reload select|",
    "~Type|SFR Bits|~NickName|CNT2|~Address|00C9|~Name|T2CON.1|~Description|T2CON.1 - Timer or counter select|",
    "~Type|SFR Bits|~NickName|TR2|~Address|00CA|~Name|T2CON.2|~Description|T2CON.2 - Timer 2 on/off control|",
    "~Type|SFR Bits|~NickName|EXEN2|~Address|00CB|~Name|T2CON.3|~Description|T2CON.3 - Timer 2 external enable flag|",
    "~Type|SFR Bits|~NickName|TCLK|~Address|00CC|~Name|T2CON.4|~Description|T2CON.4 - Transmit clock select|",
    "~Type|SFR Bits|~NickName|RCLK|~Address|00CD|~Name|T2CON.5|~Description|T2CON.5 - Receive clock select|",
    "~Type|SFR Bits|~NickName|EXF2|~Address|00CE|~Name|T2CON.6|~Description|T2CON.6 - External transition flag|",
    "~Type|SFR Bits|~NickName|TF2|~Address|00CF|~Name|T2CON.7|~Description|T2CON.7 - Timer 2 overflow flag|",
    "~Type|SFR Bits|~NickName|P|~Address|00D0|~Name|PSW.0|~Description|PSW.0 - Accumulator parity flag|",
    "~Type|SFR Bits|~NickName|OV|~Address|00D2|~Name|PSW.2|~Description|PSW.2 - Overflow flag|",
    "~Type|SFR Bits|~NickName|RS0|~Address|00D3|~Name|PSW.3|~Description|PSW.3 - Register bank select 0|",
    "~Type|SFR Bits|~NickName|RS1|~Address|00D4|~Name|PSW.4|~Description|PSW.4 - Register bank select 1|",
    "~Type|SFR Bits|~NickName|F0|~Address|00D5|~Name|PSW.5|~Description|PSW.5 - Flag 0|",
    "~Type|SFR Bits|~NickName|AC|~Address|00D6|~Name|PSW.6|~Description|PSW.6 - Auxiliary carry flag|",
    "~Type|SFR Bits|~NickName|CY|~Address|00D7|~Name|PSW.7|~Description|PSW.7 - Carry flag|",
};

constexpr std::string_view kTagTexts[] = {"~Type", "~Name", "~NickName", "~Address", "~Description"};

}  // namespace

int BuildSymbolCatalogue(Processor& p) {
    p.lstSymbolCatalogue.Clear();
    for (auto record : kRecords) p.lstSymbolCatalogue.Append(record);
    return 1;
}

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
