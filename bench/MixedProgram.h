#pragma once

// The benchmarks' common workload: a mix of data moves, arithmetic, logic,
// code and external memory reads and writes, stack use, calls, bit
// operations and conditional jumps, with timers 0 and 1 running, the serial
// port in mode 1 at a valid rate and a timer-0 interrupt routine entered
// every 65536 cycles (it sets bit 21h.0, so a benchmark can check it ran).
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "core/Processor.h"

namespace tessaly::bench {

using tessaly::Processor;

inline void Load(Processor& p, std::uint16_t address, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) p.ucCodeMemory[address++] = b;
}

// Loads the workload into `p`.
inline void LoadMixedProgram(Processor& p) {
    p.SetCrystalFrequency(11059200.0);
    Load(p, 0x0000, {0x02, 0x00, 0x40});  // LJMP 0040
    Load(p, 0x000B, {0x05, 0x30, 0xD2, 0x08, 0x32});  // INC 30h; SETB 21h.0; RETI
    Load(p, 0x0040, {
        0x75, 0x89, 0x21,  // MOV TMOD,#21h
        0x75, 0x8D, 0xFD,  // MOV TH1,#0FDh
        0x75, 0x98, 0x50,  // MOV SCON,#50h
        0x75, 0xA8, 0x82,  // MOV IE,#82h
        0x43, 0x88, 0x50,  // ORL TCON,#50h
        0x90, 0x01, 0x00,  // 004F loop: MOV DPTR,#0100h
        0x78, 0x40,        // MOV R0,#40h
        0x7A, 0x10,        // MOV R2,#10h
        0xE4,              // 0056 inner: CLR A
        0x93,              // MOVC A,@A+DPTR
        0x26,              // ADD A,@R0
        0xF6,              // MOV @R0,A
        0xF0,              // MOVX @DPTR,A
        0xA3,              // INC DPTR
        0x08,              // INC R0
        0x54, 0x7F,        // ANL A,#7Fh
        0xB4, 0x20, 0x00,  // CJNE A,#20h,$+3
        0xC0, 0xE0,        // PUSH ACC
        0x12, 0x00, 0x80,  // LCALL 0080
        0xD0, 0xE0,        // POP ACC
        0xB2, 0x00,        // CPL 20h.0
        0x20, 0x00, 0x00,  // JB 20h.0,$+3
        0xDA, 0xE6,        // DJNZ R2,inner
        0x80, 0xDD,        // SJMP loop
    });
    Load(p, 0x0080, {0x25, 0x31, 0xF5, 0x31, 0x22});  // ADD A,31h; MOV 31h,A; RET
    for (unsigned i = 0; i < 256; ++i) p.ucCodeMemory[0x0100 + i] = static_cast<std::uint8_t>(i * 7);
    p.strInstruction = std::string_view("MOV\tA,R0");
}

inline std::unique_ptr<Processor> MixedProgram() {
    auto p = std::make_unique<Processor>();
    LoadMixedProgram(*p);
    return p;
}

}  // namespace tessaly::bench
