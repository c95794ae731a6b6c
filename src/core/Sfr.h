#pragma once

#include <cstdint>
#include <string_view>

namespace tessaly {

// The SFRs the simulator knows: their names (as instruction text, the state
// dump and the symbol catalogue write them), direct addresses and 8052
// power-on values. Every other byte of 80h-FFh is plain storage.
struct SfrDefinition {
    std::string_view name;
    std::uint8_t address;
    std::uint8_t powerOnValue;
};

inline constexpr SfrDefinition kSfrDefinitions[] = {
    {"P0", 0x80, 0xFF},     {"SP", 0x81, 0x07},     {"DPL", 0x82, 0x00},  {"DPH", 0x83, 0x00},  {"PCON", 0x87, 0x00},
    {"TCON", 0x88, 0x00},   {"TMOD", 0x89, 0x00},   {"TL0", 0x8A, 0x00},  {"TL1", 0x8B, 0x00},  {"TH0", 0x8C, 0x00},
    {"TH1", 0x8D, 0x00},    {"P1", 0x90, 0xFF},     {"SCON", 0x98, 0x00}, {"SBUF", 0x99, 0x00}, {"P2", 0xA0, 0xFF},
    {"IE", 0xA8, 0x00},     {"P3", 0xB0, 0xFF},     {"IP", 0xB8, 0x00},   {"T2CON", 0xC8, 0x00},
    {"RCAP2L", 0xCA, 0x00}, {"RCAP2H", 0xCB, 0x00}, {"TL2", 0xCC, 0x00},  {"TH2", 0xCD, 0x00},  {"PSW", 0xD0, 0x00},
    {"ACC", 0xE0, 0x00},    {"B", 0xF0, 0x00},
};

// The named bits of the bit-addressable SFRs. A bit address is the address of
// its SFR (one ending in 0h or 8h) plus the bit number.
struct SfrBitDefinition {
    std::string_view nickName;
    std::uint8_t address;
};

// clang-format off
inline constexpr SfrBitDefinition kSfrBitDefinitions[] = {
    {"IT0", 0x88},  {"IE0", 0x89},   {"IT1", 0x8A}, {"IE1", 0x8B},   {"TR0", 0x8C},  {"TF0", 0x8D},  {"TR1", 0x8E},
    {"TF1", 0x8F},  {"RI", 0x98},    {"TI", 0x99},  {"RB8", 0x9A},   {"TB8", 0x9B},  {"REN", 0x9C},  {"SM2", 0x9D},
    {"SM1", 0x9E},  {"SM0", 0x9F},   {"EX0", 0xA8}, {"ET0", 0xA9},   {"EX1", 0xAA},  {"ET1", 0xAB},  {"ES", 0xAC},
    {"ET2", 0xAD},  {"EA", 0xAF},    {"RXD", 0xB0}, {"TXD", 0xB1},   {"INT0", 0xB2}, {"INT1", 0xB3}, {"T0", 0xB4},
    {"T1", 0xB5},   {"WR", 0xB6},    {"RD", 0xB7},  {"PX0", 0xB8},   {"PT0", 0xB9},  {"PX1", 0xBA},  {"PT1", 0xBB},
    {"PS", 0xBC},   {"PT2", 0xBD},   {"CAP2", 0xC8}, {"CNT2", 0xC9}, {"TR2", 0xCA},  {"EXEN2", 0xCB}, {"TCLK", 0xCC},
    {"RCLK", 0xCD}, {"EXF2", 0xCE},  {"TF2", 0xCF}, {"P", 0xD0},     {"OV", 0xD2},   {"RS0", 0xD3},  {"RS1", 0xD4},
    {"F0", 0xD5},   {"AC", 0xD6},    {"CY", 0xD7},
};
// clang-format on

// Look-ups in the two tables for the constants below and the catalogue. Used
// in constant expressions, a name that is not in its table does not compile.
constexpr std::uint8_t SfrAddress(std::string_view name) {
    for (const auto& definition : kSfrDefinitions) {
        if (definition.name == name) return definition.address;
    }
    throw "no SFR of that name";
}

constexpr std::uint8_t SfrBitAddress(std::string_view nickName) {
    for (const auto& definition : kSfrBitDefinitions) {
        if (definition.nickName == nickName) return definition.address;
    }
    throw "no SFR bit of that name";
}

// The name of the SFR at `address`, or "" for plain storage.
constexpr std::string_view SfrName(std::uint8_t address) {
    for (const auto& definition : kSfrDefinitions) {
        if (definition.address == address) return definition.name;
    }
    return {};
}

// Every named bit lies in a known, bit-addressable SFR.
static_assert([] {
    for (const auto& definition : kSfrBitDefinitions) {
        const auto byte = static_cast<std::uint8_t>(definition.address & 0xF8);
        if (definition.address < 0x80 || SfrName(byte).empty()) return false;
    }
    return true;
}());

// Direct addresses of the SFRs.
namespace sfr {
// clang-format off
#define TESSALY_SFR(name) inline constexpr std::uint8_t name = SfrAddress(#name)
TESSALY_SFR(P0);   TESSALY_SFR(SP);     TESSALY_SFR(DPL);    TESSALY_SFR(DPH); TESSALY_SFR(PCON);
TESSALY_SFR(TCON); TESSALY_SFR(TMOD);   TESSALY_SFR(TL0);    TESSALY_SFR(TL1); TESSALY_SFR(TH0); TESSALY_SFR(TH1);
TESSALY_SFR(P1);   TESSALY_SFR(SCON);   TESSALY_SFR(SBUF);   TESSALY_SFR(P2);  TESSALY_SFR(IE);
TESSALY_SFR(P3);   TESSALY_SFR(IP);     TESSALY_SFR(T2CON);  TESSALY_SFR(RCAP2L); TESSALY_SFR(RCAP2H);
TESSALY_SFR(TL2);  TESSALY_SFR(TH2);    TESSALY_SFR(PSW);    TESSALY_SFR(ACC); TESSALY_SFR(B);
#undef TESSALY_SFR
// clang-format on
}  // namespace sfr

// Bit addresses of the SFR bits the engine uses.
namespace bit {
// clang-format off
#define TESSALY_SFR_BIT(name) inline constexpr std::uint8_t name = SfrBitAddress(#name)
TESSALY_SFR_BIT(IT0); TESSALY_SFR_BIT(IE0); TESSALY_SFR_BIT(IT1); TESSALY_SFR_BIT(IE1);
TESSALY_SFR_BIT(TR0); TESSALY_SFR_BIT(TF0); TESSALY_SFR_BIT(TR1); TESSALY_SFR_BIT(TF1);
TESSALY_SFR_BIT(RI);  TESSALY_SFR_BIT(TI);  TESSALY_SFR_BIT(RB8); TESSALY_SFR_BIT(TB8);
TESSALY_SFR_BIT(REN); TESSALY_SFR_BIT(SM2); TESSALY_SFR_BIT(SM1); TESSALY_SFR_BIT(SM0);
TESSALY_SFR_BIT(EX0); TESSALY_SFR_BIT(ET0); TESSALY_SFR_BIT(EX1); TESSALY_SFR_BIT(ET1);
TESSALY_SFR_BIT(ES);  TESSALY_SFR_BIT(ET2); TESSALY_SFR_BIT(EA);
TESSALY_SFR_BIT(INT0); TESSALY_SFR_BIT(INT1);
TESSALY_SFR_BIT(PX0); TESSALY_SFR_BIT(PT0); TESSALY_SFR_BIT(PX1); TESSALY_SFR_BIT(PT1);
TESSALY_SFR_BIT(PS);  TESSALY_SFR_BIT(PT2);
TESSALY_SFR_BIT(CAP2); TESSALY_SFR_BIT(CNT2); TESSALY_SFR_BIT(TR2); TESSALY_SFR_BIT(EXEN2);
TESSALY_SFR_BIT(TCLK); TESSALY_SFR_BIT(RCLK); TESSALY_SFR_BIT(EXF2); TESSALY_SFR_BIT(TF2);
TESSALY_SFR_BIT(P);   TESSALY_SFR_BIT(OV);  TESSALY_SFR_BIT(RS0); TESSALY_SFR_BIT(RS1);
TESSALY_SFR_BIT(F0);  TESSALY_SFR_BIT(AC);  TESSALY_SFR_BIT(CY);
#undef TESSALY_SFR_BIT
// clang-format on
}  // namespace bit

// The mask of a bit inside its SFR byte.
inline constexpr std::uint8_t MaskOf(std::uint8_t bitAddress) {
    return static_cast<std::uint8_t>(1u << (bitAddress & 7));
}

// Masks of the PSW flags inside the PSW byte.
namespace psw {
inline constexpr std::uint8_t P = 0x01, OV = 0x04, RS0 = 0x08, RS1 = 0x10, F0 = 0x20, AC = 0x40, CY = 0x80;
}  // namespace psw

}  // namespace tessaly
