#pragma once

#include <array>
#include <cstdint>

#include "core/Diagnostics.h"
#include "core/ExecutionStatus.h"
#include "core/HardwareSerial.h"
#include "core/InstructionSet.h"
#include "core/Processor.h"
#include "core/SerialStep.h"
#include "core/Timers.h"
#include "core/WatchedAccess.h"

namespace tessaly {

// What one opcode does to the machine, its operands already decoded.
using InstructionHandler = void (*)(Processor&);

// Everything one instruction does once its bytes are fetched: the decoded
// fields, the PC advance, the handler, P, the counters, the timers, the
// serial port and the message list limits. `code` holds the opcode and the
// next three bytes, first byte lowest.
using InstructionStep = void (*)(Processor&, std::uint32_t code);

// The fields every instruction leaves decoded in the processor, and the PC
// moved past it.
template <std::uint8_t Opcode>
[[gnu::always_inline]] inline void DecodeFields(Processor& p, std::uint32_t code, std::uint16_t pc) {
    constexpr OpcodeTiming timing = kOpcodeTimings[Opcode];
    p.ucInstructionCycles = timing.cycles;
    p.ucInstructionLength = timing.length;
    p.ucOpcode = Opcode;
    p.ucOperand1 = static_cast<std::uint8_t>(code >> 8);
    p.ucOperand2 = static_cast<std::uint8_t>(code >> 16);
    p.ucExecutionStatus = kStatusExecuting;
    p.usPC = static_cast<std::uint16_t>(pc + timing.length);
}

// PSW with P following the accumulator, as it does after every instruction
// whatever was written to either.
[[gnu::always_inline]] inline std::uint8_t PswWithParity(const Processor& p) {
    return static_cast<std::uint8_t>((p.ucIntRAM[sfr::PSW] & ~psw::P) | p.ucParity[p.ucIntRAM[sfr::ACC]]);
}

// The handler, through the serial wiring when the opcode may reach SBUF.
template <std::uint8_t Opcode, InstructionHandler Handler, bool WiredSerial>
[[gnu::always_inline]] inline void RunHandler(Processor& p) {
    if constexpr (WiredSerial) ExecuteWithHardwareSerial<Opcode, Handler>(p);
    else Handler(p);
}

// The step made for one opcode, so that its length and cycles are constants
// and its handler is called directly. With WiredSerial the handler runs
// through ExecuteWithHardwareSerial; with Watched the instruction's accesses
// are noted in the processor's data watch first: those of the kinds
// WatchKinds (kOperandRead, kOperandWrite), which some data break point
// watches.
template <std::uint8_t Opcode, InstructionHandler Handler, bool WiredSerial, bool Watched = false,
          bool PagedXram = false, std::uint8_t WatchKinds = kOperandRead | kOperandWrite>
void ExecuteStep(Processor& p, std::uint32_t code) {
    constexpr OpcodeTiming timing = kOpcodeTimings[Opcode];
    DecodeFields<Opcode>(p, code, p.usPC);
    if constexpr (Watched) NoteAccesses<Opcode, PagedXram, WatchKinds>(*p.ActiveDataWatch(), p);
    RunHandler<Opcode, Handler, WiredSerial>(p);

    const std::uint8_t flags = PswWithParity(p);
    if constexpr (Watched && (WatchKinds & kOperandWrite) != 0) {
        p.ActiveDataWatch()->NoteHardwareStore(p.ucIntRAM.data(), sfr::PSW, flags);
    }
    p.ucIntRAM[sfr::PSW] = flags;

    ++p.ullInstructionsExecuted;
    p.ullCyclesExecuted += timing.cycles;
    p.ullBytesExecuted += timing.length;

    UpdateTimers(p, timing.cycles);
    UpdateSerialPort(p, timing.cycles);
    ApplyMessageListLimits(p);
}

// The step of every opcode for each choice of the engine options, indexed by
// [hardware serial][XRAM paging][data watch: none, or the kinds of access
// watched: 1 reads, 2 writes, 3 both]; the plain steps are
// kStepTables[0][0][0].
extern const std::array<InstructionStep, 256> kStepTables[2][2][4];

}  // namespace tessaly
