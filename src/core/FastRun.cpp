#include "core/FastRun.h"

#include <cstring>

#include "core/DataWatch.h"
#include "core/DeferredTimers.h"
#include "core/InstructionStep.h"
#include "core/InterruptChoice.h"
#include "core/OpcodeHandlers.h"
#include "core/OperandAccess.h"
#include "core/StepInline.h"
#include "core/WatchedAccess.h"

namespace tessaly {

namespace {

template <OperandUse Use>
[[gnu::always_inline]] inline void BeforeOperand(Processor& p, DeferredTimers& timers, std::uint64_t cycles) {
    if constexpr (Use.kind == OperandKind::Direct) {
        timers.BeforeDirectAccess(p, Use.operandByte == 2 ? p.ucOperand2 : p.ucOperand1, cycles);
    }
}

// Whether an instruction may write the accumulator or the parity bit: it
// writes A (or AB), or a direct byte or a bit, which may be ACC or PSW.
// Registers and @Ri never reach them, and the flags an instruction sets
// leave P alone.
constexpr bool MayChangeParity(std::uint8_t opcode) {
    for (const OperandUse& use : kOpcodeOperands[opcode].operands) {
        if (!use.Writes()) continue;
        if (use.kind == OperandKind::Accumulator || use.kind == OperandKind::AccumulatorB ||
            use.kind == OperandKind::Direct || use.kind == OperandKind::Bit) {
            return true;
        }
    }
    return false;
}

// Whether an instruction may add a warning or an error: the reserved
// opcode, RETI without an interrupt, and anything that reaches a direct byte,
// which may be SBUF. (The jump routines' errors need a status the engine
// never runs with.)
constexpr bool MayPostMessages(std::uint8_t opcode) {
    if (opcode == 0xA5 || opcode == 0x32) return true;
    for (const OperandUse& use : kOpcodeOperands[opcode].operands) {
        if (use.kind == OperandKind::Direct) return true;
    }
    return false;
}

// Whether an instruction may go anywhere but to the next one: jumps, calls
// and returns.
constexpr bool MayJump(std::uint8_t opcode) {
    if (opcode == 0x22 || opcode == 0x32) return true;  // RET, RETI
    for (const OperandUse& use : kOpcodeOperands[opcode].operands) {
        if (use.kind == OperandKind::CodeAddress) return true;
    }
    return false;
}

// What the shared tail needs of the instruction just run.
struct StepOutcome {
    std::uint8_t cycles;
    bool mayPostMessages;
};

// Whether an instruction reads usPC: jumps, calls and returns, and MOVC
// A,@A+PC.
constexpr bool ReadsPC(std::uint8_t opcode) { return MayJump(opcode) || opcode == 0x83; }

// The part of ExecuteStep's work that differs by opcode, inlined into the
// batch loop's case for it; the loop does the rest. `pc` is the loop's copy
// of usPC, stored only for the instructions that read it (and under a data
// watch, whose notes read it) and at the end of the batch. The decoded
// fields are read by the instruction's own operands alone: the opcode, the
// operand bytes past its length, its length, cycles and the status are left
// to the end of the batch, as are the instruction and byte counts.
template <std::uint8_t Opcode, bool WiredSerial, bool PagedXram, std::uint8_t Watch>
TESSALY_FAST_STEP_INLINE inline void FastStep(Processor& p, std::uint32_t code, std::uint16_t& pc, std::uint64_t& cycles,
                                            std::uint64_t& bytes, StepOutcome& outcome, DeferredTimers& timers) {
    constexpr OperandUse operands[3] = {kOpcodeOperands[Opcode].operands[0], kOpcodeOperands[Opcode].operands[1],
                                        kOpcodeOperands[Opcode].operands[2]};
    constexpr std::uint8_t length = kOpcodeTimings[Opcode].length;
    if constexpr (length >= 2) p.ucOperand1 = static_cast<std::uint8_t>(code >> 8);
    if constexpr (length == 3) p.ucOperand2 = static_cast<std::uint8_t>(code >> 16);
    pc = static_cast<std::uint16_t>(pc + length);
    if constexpr (ReadsPC(Opcode) || Watch != 0) p.usPC = pc;
    BeforeOperand<operands[0]>(p, timers, cycles);
    BeforeOperand<operands[1]>(p, timers, cycles);
    BeforeOperand<operands[2]>(p, timers, cycles);
    if constexpr (Watch != 0) NoteAccesses<Opcode, PagedXram, Watch>(*p.ActiveDataWatch(), p);
    RunHandler<Opcode, kHandlersFor<PagedXram>[Opcode], WiredSerial && TouchesDirectSbuf(Opcode)>(p);
    if constexpr (MayJump(Opcode)) pc = p.usPC;
    if constexpr (MayChangeParity(Opcode)) {
        const std::uint8_t flags = PswWithParity(p);
        if constexpr ((Watch & kOperandWrite) != 0) {
            p.ActiveDataWatch()->NoteHardwareStore(p.ucIntRAM.data(), sfr::PSW, flags);
        }
        p.ucIntRAM[sfr::PSW] = flags;
    }
    // Constants of the opcode, so the shared tail reads no table.
    constexpr OpcodeTiming timing = kOpcodeTimings[Opcode];
    cycles += timing.cycles;
    bytes += timing.length;
    outcome = {timing.cycles, MayPostMessages(Opcode)};
}

// What every fast step does after its opcode's own part: the timers, the
// serial port and, where the instruction may have added one, the message
// list limits. True when the timers were brought up to date, which they are
// at least once the run's cycle limit is reached.
template <bool Watched>
[[gnu::always_inline]] inline bool FinishFastStep(Processor& p, StepOutcome outcome, std::uint64_t cycles,
                                                  DeferredTimers& timers) {
    bool counted = false;
    // One look at the changes for the timers and the serial port alike.
    if (Changed(p, sfr_watch::kTimers | sfr_watch::kBaudRates | sfr_watch::kSerialActivity) ||
        !timers.BeforeDeadline(cycles)) [[unlikely]] {
        counted = timers.AfterInstruction<Watched>(p, cycles, outcome.cycles);
        if (Changed(p, sfr_watch::kBaudRates | sfr_watch::kSerialActivity) &&
            !serial_detail::CountDownQuietly(p, outcome.cycles)) {
            serial_detail::Step(p, outcome.cycles);
            ApplyMessageListLimits(p);
            return counted;
        }
    } else {
        timers.CountReloadingTimer<Watched>(p, outcome.cycles);
    }
    if (outcome.mayPostMessages) ApplyMessageListLimits(p);
    return counted;
}

// Watch: 0 without a data watch, else the kinds of access it notes, as the
// plain steps'. With a watch the run ends after an instruction with events.
template <bool WiredSerial, bool PagedXram, std::uint8_t Watch>
std::uint32_t Run(Processor& p, std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd) {
    DataWatch* const watch = p.ActiveDataWatch();
    auto& derived = Derived(p);
    // The cycle count is kept here and written to the processor at the end.
    std::uint64_t cycles = p.ullCyclesExecuted, bytes = 0;
    std::uint16_t pc = p.usPC;
    if (count == 0 || stops.Contains(pc) || cycles >= cycleEnd || (Watch != 0 && watch->HasEvents())) return 0;
    p.ucExecutionStatus = kStatusExecuting;
    // The watch compares watched counting registers after every instruction,
    // so those must be counted as they go.
    DeferredTimers timers(p, Watch == 0 || !watch->WatchesTimerCounts(), cycleEnd);
    // Without requests the choice is "none" until a scan is due or a
    // request is made, and requests stay marked pending until the choice
    // finds none left, so within the batch one look at the changes tells
    // when to choose. A request written from outside is seen here.
    constexpr std::uint8_t kChoiceDue = sfr_watch::kInterrupts | sfr_watch::kPendingRequests;
    int toService = -1;
    if ((derived.changes & sfr_watch::kInterrupts) | p.ucInterruptFlags) toService = ChooseInterrupt(p);
    else p.iInterruptToService = -1;
    std::uint32_t left = count, code;
    for (;;) {
        if constexpr (Watch != 0) watch->BeginInstruction(pc);
        // Operands of an instruction at FFFEh or FFFFh come from the guard
        // bytes, so the three bytes (and one more) can be read in one go.
        std::memcpy(&code, &p.ucCodeMemory[pc], sizeof code);
        StepOutcome outcome;
        // One case an opcode, each with its step inlined.
        switch (static_cast<std::uint8_t>(code)) {
#define TESSALY_OPCODE(op)                                                                             \
    case (op):                                                                                         \
        FastStep<(op), WiredSerial, PagedXram, Watch>(p, code, pc, cycles, bytes, outcome, timers); \
        break;
#define TESSALY_ROW(row)                                                                                    \
    TESSALY_OPCODE(row + 0x0) TESSALY_OPCODE(row + 0x1) TESSALY_OPCODE(row + 0x2) TESSALY_OPCODE(row + 0x3) \
    TESSALY_OPCODE(row + 0x4) TESSALY_OPCODE(row + 0x5) TESSALY_OPCODE(row + 0x6) TESSALY_OPCODE(row + 0x7) \
    TESSALY_OPCODE(row + 0x8) TESSALY_OPCODE(row + 0x9) TESSALY_OPCODE(row + 0xA) TESSALY_OPCODE(row + 0xB) \
    TESSALY_OPCODE(row + 0xC) TESSALY_OPCODE(row + 0xD) TESSALY_OPCODE(row + 0xE) TESSALY_OPCODE(row + 0xF)
            TESSALY_ROW(0x00) TESSALY_ROW(0x10) TESSALY_ROW(0x20) TESSALY_ROW(0x30)
            TESSALY_ROW(0x40) TESSALY_ROW(0x50) TESSALY_ROW(0x60) TESSALY_ROW(0x70)
            TESSALY_ROW(0x80) TESSALY_ROW(0x90) TESSALY_ROW(0xA0) TESSALY_ROW(0xB0)
            TESSALY_ROW(0xC0) TESSALY_ROW(0xD0) TESSALY_ROW(0xE0) TESSALY_ROW(0xF0)
#undef TESSALY_ROW
#undef TESSALY_OPCODE
        }
        // Whether the cycle count may have reached the run's limit: the
        // deferred timers' deadline is never beyond it.
        const bool mayEnd = FinishFastStep<Watch != 0>(p, outcome, cycles, timers);
        if (toService != -1) [[unlikely]] {
            if constexpr (Watch != 0) NoteInterruptEntry(*watch, p);
            p.usPC = pc;
            VectorInterrupt(p, toService);
            toService = -1;
            pc = p.usPC;
        }
        if constexpr (Watch != 0) watch->EndInstruction(p);
        if (--left == 0 || stops.Contains(pc)) break;
        if (mayEnd) [[unlikely]] {
            if (cycles >= cycleEnd) break;
        }
        if constexpr (Watch != 0) {
            if (watch->HasEvents()) break;
        }
        // The next instruction's interrupt, chosen before it as ever.
        if (derived.changes & kChoiceDue) [[unlikely]] toService = ChooseInterrupt(p);
    }
    const std::uint32_t done = count - left;
    p.usPC = pc;
    p.ullCyclesExecuted = cycles;
    timers.Finish(p);
    // The last instruction's fields.
    const auto opcode = static_cast<std::uint8_t>(code);
    p.ucOpcode = opcode;
    p.ucOperand1 = static_cast<std::uint8_t>(code >> 8);
    p.ucOperand2 = static_cast<std::uint8_t>(code >> 16);
    p.ucInstructionCycles = kOpcodeTimings[opcode].cycles;
    p.ucInstructionLength = kOpcodeTimings[opcode].length;
    p.ullInstructionsExecuted += done;
    p.ullBytesExecuted += bytes;
    // Every instruction of the batch appended the same text, the one decoded
    // for display before it.
    p.lstExecutedInstructions.AppendRepeated(p.strInstruction, done, kHistoryLimit);
    return done;
}

}  // namespace

bool NeedsPlainFirstStep(const Processor& p) {
    return PswWithParity(p) != p.ucIntRAM[sfr::PSW] || p.lstWarnings.Count() > kMessageListLimit ||
           p.lstErrors.Count() > kMessageListLimit;
}

FastRun FastRunFor(bool hardwareSerial, bool xramPaging, std::uint8_t watchedKinds) {
    static constexpr FastRun kRuns[2][2] = {{Run<false, false, 0>, Run<false, true, 0>},
                                            {Run<true, false, 0>, Run<true, true, 0>}};
    // Data break points are common enough with the default options to have
    // fast runs of their own.
    static constexpr FastRun kWatchedRuns[4] = {nullptr, Run<false, false, 1>, Run<false, false, 2>,
                                                Run<false, false, 3>};
    if (watchedKinds == 0) return kRuns[hardwareSerial][xramPaging];
    return hardwareSerial || xramPaging || watchedKinds > 3 ? nullptr : kWatchedRuns[watchedKinds];
}

}  // namespace tessaly
