#include "core/SfrCatalogue.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Sfr.h"
#include "util/HexText.h"

namespace tessaly {

namespace {

// The catalogue's own facts are the descriptions and the order; names,
// addresses and bit positions come from the SFR tables.
struct RegisterRecord {
    std::string_view name;
    std::uint16_t address;
    std::string_view description;
};

constexpr RegisterRecord Byte(std::string_view name, std::string_view description) {
    return {name, SfrAddress(name), description};
}

constexpr RegisterRecord Pair(std::string_view name, std::string_view high, std::string_view low,
                              std::string_view description) {
    const int above = SfrAddress(high) - SfrAddress(low);
    if (above != 1 && above != 2) throw "a pair's high byte lies one or two above its low byte";
    return {name, static_cast<std::uint16_t>(above << 8 | SfrAddress(low)), description};
}

constexpr RegisterRecord ProgramCounter(std::string_view name, std::string_view description) {
    return {name, 0x0A00, description};
}

struct BitRecord {
    std::string_view nickName;
    std::uint8_t address;
    std::string_view description;
    bool namesPosition;  // the description starts with "TCON.0 - "
};

constexpr BitRecord Bit(std::string_view nickName, std::string_view description) {
    return {nickName, SfrBitAddress(nickName), description, true};
}

// SM0's description has never carried its position like the others.
constexpr BitRecord BitWithoutPosition(std::string_view nickName, std::string_view description) {
    return {nickName, SfrBitAddress(nickName), description, false};
}

// clang-format off
constexpr RegisterRecord kRegisters[] = {
    Byte("ACC", "Accumulator"),           Byte("B", "Multiplication register"),
    Byte("PSW", "Program status word"),   Byte("IE", "Interrupt enable"),
    Byte("IP", "Interrupt priority"),     Byte("P0", "PORT 0"),
    Byte("P1", "Port 1"),                 Byte("P2", "Port 2"),
    Byte("P3", "Port 3"),                 Byte("SP", "Stack pointer"),
    Byte("PCON", "Power control"),        Byte("TCON", "Timer control"),
    Byte("TMOD", "Timer mode"),           Byte("SCON", "Serial port control"),
    Byte("SBUF", "Serial port buffer"),   Byte("T2CON", "Timer 2 control"),
    Pair("DPTR", "DPH", "DPL", "Data pointer"),
    Pair("T0", "TH0", "TL0", "Timer 0"),
    Pair("T1", "TH1", "TL1", "Timer 1"),
    Pair("T2", "TH2", "TL2", "Timer 2"),
    Pair("RCAP2", "RCAP2H", "RCAP2L", "Timer 2 capture register"),
    ProgramCounter("PC", "Program Counter"),
};

constexpr BitRecord kBits[] = {
    Bit("IT0", "Ext. interrupt 0 type"),          Bit("IE0", "Ext. interrupt 0 edge flag"),
    Bit("IT1", "Ext. interrupt 1 type"),          Bit("IE1", "Ext. interrupt 1 edge flag"),
    Bit("TR0", "Timer 0 on/off control"),         Bit("TF0", "Timer 0 overflow flag"),
    Bit("TR1", "Timer 1 on/off control"),         Bit("TF1", "Timer 1 overflow flag"),
    Bit("RI", "Receive interrupt flag"),          Bit("TI", "Transmit interrupt flag"),
    Bit("RB8", "Receive bit 8"),                  Bit("TB8", "Transmit bit 8"),
    Bit("REN", "Receive enable"),                 Bit("SM2", "Serial mode control bit 2"),
    Bit("SM1", "Serial mode control bit 1"),      BitWithoutPosition("SM0", "Serial mode control bit 0"),
    Bit("EX0", "External interrupt 0 enable"),    Bit("ET0", "Timer 0 interrupt enable"),
    Bit("EX1", "External interrupt 1 enable"),    Bit("ET1", "Timer 1 interrupt enable"),
    Bit("ES", "Serial port interrupt enable"),    Bit("ET2", "Timer 2 interrupt enable"),
    Bit("EA", "Global interrupt enable"),
    Bit("RXD", "Serial port receive input"),      Bit("TXD", "Serial port transmit output"),
    Bit("INT0", "External interrupt 0 input"),    Bit("INT1", "External interrupt 1 input"),
    Bit("T0", "Timer 0 count input"),             Bit("T1", "Timer 1 count input"),
    Bit("WR", "Write control for ext. memory"),   Bit("RD", "Read control for ext. memory"),
    Bit("PX0", "External interrupt 0 priority"),  Bit("PT0", "Timer 0 priority"),
    Bit("PX1", "External interrupt 1 priority"),  Bit("PT1", "Timer 1 priority"),
    Bit("PS", "Serial port priority"),            Bit("PT2", "Timer 2 priority"),
    Bit("CAP2", "Capture or reload select"),      Bit("CNT2", "Timer or counter select"),
    Bit("TR2", "Timer 2 on/off control"),         Bit("EXEN2", "Timer 2 external enable flag"),
    Bit("TCLK", "Transmit clock select"),         Bit("RCLK", "Receive clock select"),
    Bit("EXF2", "External transition flag"),      Bit("TF2", "Timer 2 overflow flag"),
    Bit("P", "Accumulator parity flag"),          Bit("OV", "Overflow flag"),
    Bit("RS0", "Register bank select 0"),         Bit("RS1", "Register bank select 1"),
    Bit("F0", "Flag 0"),                          Bit("AC", "Auxiliary carry flag"),
    Bit("CY", "Carry flag"),
};
// clang-format on

static_assert(std::size(kRegisters) + std::size(kBits) == kSfrCatalogueSize);


// "TCON.0": the SFR that holds the bit and the bit number.
std::string BitPosition(std::uint8_t address) {
    return std::string(SfrName(static_cast<std::uint8_t>(address & 0xF8))) + "." +
           static_cast<char>('0' + (address & 7));
}

std::string RecordText(const CatalogueRecord& r) {
    if (!r.isBit) {
        return "~Type|SFR Registers|~Name|" + r.name + "|~Address|" + HexText(r.address, 4) + "|~Description|" +
               r.description + "|";
    }
    return "~Type|SFR Bits|~NickName|" + r.nickName + "|~Address|" + HexText(r.address, 4) + "|~Name|" + r.name +
           "|~Description|" + r.description + "|";
}

}  // namespace

const std::array<CatalogueRecord, kSfrCatalogueSize>& SfrCatalogueRecords() {
    static const std::array<CatalogueRecord, kSfrCatalogueSize> kRecords = [] {
        std::array<CatalogueRecord, kSfrCatalogueSize> records;
        std::size_t i = 0;
        for (const auto& r : kRegisters) {
            records[i++] = {false, std::string(r.name), {}, r.address, std::string(r.description)};
        }
        for (const auto& b : kBits) {
            const std::string position = BitPosition(b.address);
            records[i++] = {true, position, std::string(b.nickName), b.address,
                            (b.namesPosition ? position + " - " : std::string()) + std::string(b.description)};
        }
        return records;
    }();
    return kRecords;
}

void FillSfrCatalogue(TextList& list) {
    static const std::array<std::string, kSfrCatalogueSize> kTexts = [] {
        std::array<std::string, kSfrCatalogueSize> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = RecordText(SfrCatalogueRecords()[i]);
        return texts;
    }();
    list.Clear();
    for (const std::string& text : kTexts) list.Append(text);
}

}  // namespace tessaly
