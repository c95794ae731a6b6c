#pragma once

#include <cstdint>
#include <string_view>

namespace tessaly {

// Direct addresses of the 8052's special function registers.
namespace sfr {
inline constexpr std::uint8_t P0 = 0x80, SP = 0x81, DPL = 0x82, DPH = 0x83, PCON = 0x87;
inline constexpr std::uint8_t TCON = 0x88, TMOD = 0x89, TL0 = 0x8A, TL1 = 0x8B, TH0 = 0x8C, TH1 = 0x8D;
inline constexpr std::uint8_t P1 = 0x90, SCON = 0x98, SBUF = 0x99, P2 = 0xA0, IE = 0xA8, P3 = 0xB0, IP = 0xB8;
inline constexpr std::uint8_t T2CON = 0xC8, RCAP2L = 0xCA, RCAP2H = 0xCB, TL2 = 0xCC, TH2 = 0xCD;
inline constexpr std::uint8_t PSW = 0xD0, ACC = 0xE0, B = 0xF0;
}  // namespace sfr

// The SFRs the simulator knows: their names (as instruction text and the
// state dump write them), direct addresses and 8052 power-on values. Every
// other byte of 80h-FFh is plain storage.
struct SfrDefinition {
    std::string_view name;
    std::uint8_t address;
    std::uint8_t powerOnValue;
};

inline constexpr SfrDefinition kSfrDefinitions[] = {
    {"P0", sfr::P0, 0xFF},         {"SP", sfr::SP, 0x07},         {"DPL", sfr::DPL, 0x00},   {"DPH", sfr::DPH, 0x00},
    {"PCON", sfr::PCON, 0x00},     {"TCON", sfr::TCON, 0x00},     {"TMOD", sfr::TMOD, 0x00}, {"TL0", sfr::TL0, 0x00},
    {"TL1", sfr::TL1, 0x00},       {"TH0", sfr::TH0, 0x00},       {"TH1", sfr::TH1, 0x00},   {"P1", sfr::P1, 0xFF},
    {"SCON", sfr::SCON, 0x00},     {"SBUF", sfr::SBUF, 0x00},     {"P2", sfr::P2, 0xFF},     {"IE", sfr::IE, 0x00},
    {"P3", sfr::P3, 0xFF},         {"IP", sfr::IP, 0x00},         {"T2CON", sfr::T2CON, 0x00},
    {"RCAP2L", sfr::RCAP2L, 0x00}, {"RCAP2H", sfr::RCAP2H, 0x00}, {"TL2", sfr::TL2, 0x00},   {"TH2", sfr::TH2, 0x00},
    {"PSW", sfr::PSW, 0x00},       {"ACC", sfr::ACC, 0x00},       {"B", sfr::B, 0x00},
};

// Bit addresses of the named SFR bits.
namespace bit {
inline constexpr std::uint8_t IT0 = 0x88, IE0 = 0x89, IT1 = 0x8A, IE1 = 0x8B;
inline constexpr std::uint8_t TR0 = 0x8C, TF0 = 0x8D, TR1 = 0x8E, TF1 = 0x8F;
inline constexpr std::uint8_t RI = 0x98, TI = 0x99, RB8 = 0x9A, TB8 = 0x9B, REN = 0x9C, SM2 = 0x9D, SM1 = 0x9E, SM0 = 0x9F;
inline constexpr std::uint8_t EX0 = 0xA8, ET0 = 0xA9, EX1 = 0xAA, ET1 = 0xAB, ES = 0xAC, ET2 = 0xAD, EA = 0xAF;
inline constexpr std::uint8_t INT0 = 0xB2, INT1 = 0xB3;
inline constexpr std::uint8_t PX0 = 0xB8, PT0 = 0xB9, PX1 = 0xBA, PT1 = 0xBB, PS = 0xBC, PT2 = 0xBD;
inline constexpr std::uint8_t CAP2 = 0xC8, CNT2 = 0xC9, TR2 = 0xCA, EXEN2 = 0xCB, TCLK = 0xCC, RCLK = 0xCD, EXF2 = 0xCE, TF2 = 0xCF;
inline constexpr std::uint8_t P = 0xD0, OV = 0xD2, RS0 = 0xD3, RS1 = 0xD4, F0 = 0xD5, AC = 0xD6, CY = 0xD7;
}  // namespace bit

// Masks of the PSW flags inside the PSW byte.
namespace psw {
inline constexpr std::uint8_t P = 0x01, OV = 0x04, RS0 = 0x08, RS1 = 0x10, F0 = 0x20, AC = 0x40, CY = 0x80;
}  // namespace psw

}  // namespace tessaly
