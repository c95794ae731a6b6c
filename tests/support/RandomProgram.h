#pragma once

#include <cstdint>
#include <initializer_list>
#include <algorithm>
#include <vector>

#include "core/InstructionSet.h"
#include "core/Interrupts.h"
#include "core/Sfr.h"

// Random programs that keep the timers, the serial port and the interrupts
// busy: a main loop of instructions that rewrite their control registers by
// every form a program can use, and an interrupt routine per source.
namespace tessaly::test {

// SplitMix64: the same stream on every standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Next()); }
    bool Percent(unsigned p) { return Below(100) < p; }
    template <class T, std::size_t N>
    T Pick(const T (&items)[N]) {
        return items[Below(N)];
    }

private:
    std::uint64_t state_;
};

// Registers whose writes feed the derived state, and a few that do not.
inline constexpr std::uint8_t kTargets[] = {sfr::SCON,   sfr::PCON,   sfr::TMOD, sfr::TCON, sfr::T2CON,
                                     sfr::TH1,    sfr::TL1,    sfr::IE,   sfr::IP,   sfr::P3,
                                     sfr::RCAP2L, sfr::RCAP2H, sfr::SBUF, sfr::TL0,  sfr::TH0};
inline constexpr std::uint8_t kBitBytes[] = {sfr::TCON, sfr::SCON, sfr::IE, sfr::P3, sfr::IP, sfr::T2CON};
inline constexpr double kCrystals[] = {12e6, 11059200.0, 24e6, 3686400.0, 100.0};

// A value for `target`, biased toward what makes working rates.
inline std::uint8_t ValueFor(Random& r, std::uint8_t target) {
    if (r.Percent(40)) return r.Byte();
    switch (target) {
    case sfr::PCON: return r.Percent(50) ? 0x80 : 0x00;
    case sfr::SCON: return static_cast<std::uint8_t>(r.Pick({0x00, 0x40, 0x80, 0xC0}) | 0x10);
    case sfr::TMOD: return r.Pick({0x21, 0x20, 0x22, 0x23, 0x11, 0x01});
    case sfr::TH1: return r.Pick({0xFD, 0xFA, 0xF4, 0xFF, 0xE8});
    case sfr::RCAP2H: return 0xFF;
    case sfr::RCAP2L: return r.Pick({0xDC, 0xB8, 0xFE, 0x70});
    case sfr::T2CON: return r.Pick({0x34, 0x14, 0x24, 0x04, 0x00, 0x09, 0x0D});
    case sfr::TCON: return r.Pick({0x50, 0x40, 0x10, 0x00});
    case sfr::IE: return r.Pick({0x9F, 0xBF, 0x82, 0x90, 0x00});
    default: return r.Byte();
    }
}

inline std::uint8_t BitAddress(Random& r) { return static_cast<std::uint8_t>(r.Pick(kBitBytes) + r.Below(8)); }

// One instruction that writes a derived-state input by one of the forms a
// program can use, or sets up the A, Rn, @Ri and C operands those take.
inline void EmitInstruction(Random& r, std::vector<std::uint8_t>& code, bool mayPop) {
    const std::uint8_t d = r.Pick(kTargets);
    const auto n = static_cast<std::uint8_t>(r.Below(8));
    const auto i = static_cast<std::uint8_t>(r.Below(2));
    const std::uint8_t source = r.Percent(50) ? r.Pick(kTargets) : static_cast<std::uint8_t>(0x30 + r.Below(0x50));
    auto emit = [&](std::initializer_list<std::uint8_t> bytes) { code.insert(code.end(), bytes); };
    switch (r.Below(mayPop ? 24 : 23)) {
    case 0: emit({0x75, d, ValueFor(r, d)}); break;        // MOV direct,#data
    case 1: emit({0xF5, d}); break;                        // MOV direct,A (SBUF: transmits)
    case 2: emit({static_cast<std::uint8_t>(0x88 + n), d}); break;  // MOV direct,Rn
    case 3: emit({static_cast<std::uint8_t>(0x86 + i), d}); break;  // MOV direct,@Ri
    case 4: emit({0x85, source, d}); break;                // MOV direct,direct
    case 5: emit({0x42, d}); break;                        // ORL direct,A
    case 6: emit({0x52, d}); break;                        // ANL direct,A
    case 7: emit({0x62, d}); break;                        // XRL direct,A
    case 8: emit({0x43, d, r.Byte()}); break;              // ORL direct,#data
    case 9: emit({0x53, d, r.Byte()}); break;              // ANL direct,#data
    case 10: emit({0x63, d, r.Byte()}); break;             // XRL direct,#data
    case 11: emit({0xD2, BitAddress(r)}); break;           // SETB bit
    case 12: emit({0xC2, BitAddress(r)}); break;           // CLR bit
    case 13: emit({0xB2, BitAddress(r)}); break;           // CPL bit
    case 14: emit({0x92, BitAddress(r)}); break;           // MOV bit,C
    case 15: emit({0x10, BitAddress(r), 0x00}); break;     // JBC bit,$+3
    case 16: emit({0xC5, d}); break;                       // XCH A,direct
    case 17: emit({r.Percent(50) ? std::uint8_t{0x05} : std::uint8_t{0x15}, d}); break;  // INC/DEC direct
    case 18: emit({0xD5, d, 0x00}); break;                 // DJNZ direct,$+3
    case 19: emit({0x74, ValueFor(r, d)}); break;          // MOV A,#data
    case 20: emit({static_cast<std::uint8_t>(0x78 + n), ValueFor(r, d)}); break;  // MOV Rn,#data
    case 21: emit({static_cast<std::uint8_t>(0x76 + i), ValueFor(r, d)}); break;  // MOV @Ri,#data
    // SETB C, CLR C, NOP, MUL AB (four cycles)
    case 22: emit({r.Pick({std::uint8_t{0xD3}, std::uint8_t{0xC3}, std::uint8_t{0x00}, std::uint8_t{0xA4}})}); break;
    default: emit({0xD0, d}); break;                       // POP direct
    }
}

// Any instruction that keeps to the main loop (no jump leaves it, no return
// or POP takes the stack apart), its direct and bit operands often the
// timers' count and control registers.
inline void EmitAnyInstruction(Random& r, std::vector<std::uint8_t>& code) {
    std::uint8_t opcode;
    do {
        opcode = r.Byte();
    } while ((opcode & 0x1F) == 0x01 || opcode == 0x02 || opcode == 0x12 || opcode == 0x22 || opcode == 0x32 ||
             opcode == 0x73 || opcode == 0xD0);
    constexpr std::uint8_t kBusy[] = {sfr::TL0, sfr::TH0, sfr::TL1, sfr::TH1,  sfr::TL2, sfr::TH2,
                                      sfr::TCON, sfr::T2CON, sfr::ACC, sfr::PSW, sfr::B};
    code.push_back(opcode);
    const unsigned length = kOpcodeTimings[opcode].length;
    for (unsigned k = 1; k < length; ++k) code.push_back(r.Percent(40) ? r.Pick(kBusy) : r.Byte());
    // Relative jumps go to the next instruction whether taken or not.
    const bool relative = ((opcode & 0x0F) == 0x00 && opcode >= 0x10 && opcode <= 0x80) ||
                          (opcode >= 0xB4 && opcode <= 0xBF) || opcode == 0xD5 || (opcode >= 0xD8 && opcode <= 0xDF);
    if (relative) code.back() = 0x00;
}

// The whole code memory of a program: main loop at 0100h; each vector jumps
// to a routine of its own at 0800h + 40h * n that writes a few inputs,
// sometimes clears its flag, and returns. With `anyInstruction` the main
// loop mixes in instructions of every kind.
inline std::vector<std::uint8_t> RandomProgramImage(Random& r, bool anyInstruction = false) {
    std::vector<std::uint8_t> main;
    const unsigned length = 20 + r.Below(120);
    for (unsigned k = 0; k < length; ++k) {
        if (anyInstruction && r.Percent(60)) {
            EmitAnyInstruction(r, main);
            // MOV C,P: reads the parity bit right after what may change A.
            if (r.Percent(10)) main.insert(main.end(), {0xA2, bit::P});
        } else {
            EmitInstruction(r, main, true);
        }
    }
    main.insert(main.end(), {0x02, 0x01, 0x00});  // LJMP 0100h
    std::vector<std::vector<std::uint8_t>> routines(6);
    constexpr std::uint8_t kFlagOf[6] = {bit::IE0, bit::TF0, bit::IE1, bit::TF1, bit::TI, bit::TF2};
    for (unsigned n = 0; n < 6; ++n) {
        const unsigned count = r.Below(4);
        for (unsigned k = 0; k < count; ++k) EmitInstruction(r, routines[n], false);
        if (r.Percent(70)) routines[n].insert(routines[n].end(), {0xC2, kFlagOf[n]});
        if (kFlagOf[n] == bit::TI && r.Percent(70)) routines[n].insert(routines[n].end(), {0xC2, bit::RI});
        routines[n].push_back(0x32);  // RETI
    }
    std::vector<std::uint8_t> image(0x10000, 0);
    const auto put = [&](std::uint16_t at, const std::vector<std::uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), image.begin() + at);
    };
    put(0x0000, {0x02, 0x01, 0x00});  // LJMP 0100h
    put(0x0100, main);
    for (unsigned n = 0; n < 6; ++n) {
        const auto at = static_cast<std::uint16_t>(0x800 + 0x40 * n);
        put(kInterruptVectors[n], {0x02, static_cast<std::uint8_t>(at >> 8), static_cast<std::uint8_t>(at)});
        put(at, routines[n]);
    }
    return image;
}

}  // namespace tessaly::test
