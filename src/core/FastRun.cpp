#include "core/FastRun.h"

#include <array>
#include <cstddef>
#include <cstring>

#include "core/DataWatch.h"
#include "core/DeferredTimers.h"
#include "core/InstructionStep.h"
#include "core/InterruptChoice.h"
#include "core/OpcodeHandlers.h"
#include "core/OperandAccess.h"
#include "core/Sfr.h"
#include "core/StepInline.h"
#include "core/Timers.h"
#include "core/WatchedAccess.h"

namespace tessaly {

namespace {

// Unless a data watch looks at PSW, P is brought into step with A only
// where it is seen: before an instruction that reads or writes PSW or the P
// bit, and at the end of the batch. Every other instruction leaves PSW's
// other bits as they were, and P is a function of A alone.
[[gnu::always_inline]] inline void SettleParity(Processor& p) { p.ucIntRAM[sfr::PSW] = PswWithParity(p); }

// Direct bytes that fall behind while no instruction reads them: PSW, and
// the timers' counting registers, counted in bulk.
constexpr std::array<bool, 256> kLaggingBytes = [] {
    std::array<bool, 256> bytes{};
    for (std::size_t address = 0; address < bytes.size(); ++address) {
        bytes[address] = address == sfr::PSW || IsTimerCountRegister(address);
    }
    return bytes;
}();

template <OperandUse Use, bool LazyParity>
[[gnu::always_inline]] inline void BeforeOperand(Processor& p, DeferredTimers& timers, std::uint64_t cycles) {
    const std::uint8_t operand = Use.operandByte == 2 ? p.ucOperand2 : p.ucOperand1;
    if constexpr (Use.kind == OperandKind::Direct) {
        if (!kLaggingBytes[operand]) [[likely]] return;
        if (LazyParity && operand == sfr::PSW) SettleParity(p);
        else timers.BeforeDirectAccess(p, operand, cycles);
    } else if constexpr (LazyParity && Use.kind == OperandKind::Bit) {
        if (operand == bit::P) [[unlikely]] SettleParity(p);
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

// Whether an instruction may go anywhere but to the next one: jumps, calls
// and returns.
constexpr bool MayJump(std::uint8_t opcode) {
    if (opcode == 0x22 || opcode == 0x32) return true;  // RET, RETI
    for (const OperandUse& use : kOpcodeOperands[opcode].operands) {
        if (use.kind == OperandKind::CodeAddress) return true;
    }
    return false;
}

// Whether an instruction reads usPC: jumps, calls and returns, and MOVC
// A,@A+PC.
constexpr bool ReadsPC(std::uint8_t opcode) { return MayJump(opcode) || opcode == 0x83; }

// The part of ExecuteStep's work that differs by opcode, inlined into the
// batch loop's case for it; the loop does the rest. `pc` is the loop's copy
// of usPC, stored only for the instructions that read it (the data watch's
// notes read it for those alone) and at the end of the batch. The decoded
// fields are read by the instruction's own operands alone: the opcode, the
// operand bytes past its length, its length, cycles and the status are left
// to the end of the batch, as are the instruction and byte counts. Gives
// the instruction's cycles.
template <std::uint8_t Opcode, bool WiredSerial, bool PagedXram, std::uint8_t Watch, bool LazyParity>
TESSALY_FAST_STEP_INLINE inline unsigned FastStep(Processor& p, std::uint32_t code, std::uint16_t& pc,
                                                std::uint64_t& cycles, std::uint64_t& bytes, DeferredTimers& timers) {
    constexpr OperandUse operands[3] = {kOpcodeOperands[Opcode].operands[0], kOpcodeOperands[Opcode].operands[1],
                                        kOpcodeOperands[Opcode].operands[2]};
    constexpr std::uint8_t length = kOpcodeTimings[Opcode].length;
    if constexpr (length >= 2) p.ucOperand1 = static_cast<std::uint8_t>(code >> 8);
    if constexpr (length == 3) p.ucOperand2 = static_cast<std::uint8_t>(code >> 16);
    pc = static_cast<std::uint16_t>(pc + length);
    if constexpr (ReadsPC(Opcode)) p.usPC = pc;
    BeforeOperand<operands[0], LazyParity>(p, timers, cycles);
    BeforeOperand<operands[1], LazyParity>(p, timers, cycles);
    BeforeOperand<operands[2], LazyParity>(p, timers, cycles);
    if constexpr (Watch != 0) NoteAccesses<Opcode, PagedXram, Watch>(*p.ActiveDataWatch(), p);
    RunHandler<Opcode, kHandlersFor<PagedXram>[Opcode], WiredSerial && TouchesDirectSbuf(Opcode)>(p);
    if constexpr (MayJump(Opcode)) pc = p.usPC;
    // A data watch on PSW sees P follow A after every instruction.
    if constexpr (!LazyParity && MayChangeParity(Opcode)) {
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
    return timing.cycles;
}

// What follows an instruction of `cycles` machine cycles that ended `now`
// cycles into the run, beyond counting a fast baud-rate timer: the timers
// at their events, the serial port while it has work and the message list
// limits after a post.
template <bool Watched>
[[gnu::always_inline]] inline void FinishSlowly(Processor& p, unsigned cycles, std::uint64_t now,
                                                DeferredTimers& timers) {
    timers.AfterInstruction<Watched>(p, now, cycles);
    if (Changed(p, sfr_watch::kBaudRates | sfr_watch::kSerialActivity) &&
        !serial_detail::CountDownQuietly(p, cycles)) {
        serial_detail::Step(p, cycles);
    }
    if (Changed(p, sfr_watch::kMessages)) {
        ClearChanges(p, sfr_watch::kMessages);
        ApplyMessageListLimits(p);
    }
}

// Chooses the interrupt to enter after the next instruction, and marks the
// entry as work for after it.
[[gnu::always_inline]] inline int ChooseEntry(Processor& p) {
    const int chosen = ChooseInterrupt(p);
    if (chosen != -1) NoteChanges(p, sfr_watch::kAfterInstruction);
    return chosen;
}

// Watch: 0 without a data watch, else the kinds of access it notes, as the
// plain steps'. With a watch the run ends after an instruction with events.
// Stops: false for a run whose stop set is empty, which looks nothing up.
// LazyParity: false for a watch on PSW.
template <bool WiredSerial, bool PagedXram, std::uint8_t Watch, bool Stops, bool LazyParity = true>
std::uint32_t Run(Processor& p, std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd) {
    DataWatch* const watch = p.ActiveDataWatch();
    auto& derived = Derived(p);
    // The cycle count is kept here and written to the processor at the end.
    std::uint64_t cycles = p.ullCyclesExecuted, bytes = 0;
    std::uint16_t pc = p.usPC;
    if (count == 0 || (Stops && stops.Contains(pc)) || cycles >= cycleEnd || (Watch != 0 && watch->HasEvents())) return 0;
    p.ucExecutionStatus = kStatusExecuting;
    // The watch compares watched counting registers after every instruction,
    // so those must be counted as they go. Counted so, the timers are due
    // after every instruction, which then takes the slow path below.
    DeferredTimers timers(p, Watch == 0 || !watch->WatchesTimerCounts(), cycleEnd);
    if constexpr (Watch != 0) watch->MarkEventsIn(&derived.changes);
    // Without requests the choice is "none" until a scan is due or a
    // request is made, and requests stay marked pending until the choice
    // finds none left, so within the batch one look at the changes tells
    // when to choose. A request written from outside is seen here.
    constexpr std::uint8_t kChoiceDue = sfr_watch::kInterrupts | sfr_watch::kPendingRequests;
    int toService = -1;
    if ((derived.changes & sfr_watch::kInterrupts) | p.ucInterruptFlags) toService = ChooseEntry(p);
    else p.iInterruptToService = -1;
    // After an instruction, one look at the changes tells whether anything
    // but the fast baud-rate timer needs doing: the timers at their deadline,
    // which is never past the cycle limit, the serial port, the message
    // limits, an interrupt entry or the data watch's events.
    constexpr std::uint8_t kSlowFinish = sfr_watch::kTimers | sfr_watch::kBaudRates | sfr_watch::kSerialActivity |
                                         sfr_watch::kMessages | sfr_watch::kAfterInstruction;
    std::uint32_t left = count, code;
    for (;;) {
        if constexpr (Watch != 0) watch->BeginInstruction(pc);
        // Operands of an instruction at FFFEh or FFFFh come from the guard
        // bytes, so the three bytes (and one more) can be read in one go.
        std::memcpy(&code, &p.ucCodeMemory[pc], sizeof code);
        unsigned stepCycles;
        // One case an opcode, each with its step inlined.
        switch (static_cast<std::uint8_t>(code)) {
#define TESSALY_OPCODE(op)                                                                             \
    case (op):                                                                                         \
        stepCycles = FastStep<(op), WiredSerial, PagedXram, Watch, LazyParity>(p, code, pc, cycles, bytes, timers); \
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
        if ((derived.changes & kSlowFinish) || !timers.BeforeDeadline(cycles)) [[unlikely]] {
            FinishSlowly<Watch != 0>(p, stepCycles, cycles, timers);
            if (toService != -1) {
                if constexpr (Watch != 0) NoteInterruptEntry(*watch, p);
                p.usPC = pc;
                VectorInterrupt(p, toService);
                toService = -1;
                pc = p.usPC;
            }
            if constexpr (Watch != 0) watch->EndInstruction(p);
            ClearChanges(p, sfr_watch::kAfterInstruction);
            // At the cycle limit or after the watch's events this is the
            // last instruction: the count below ends the run.
            if (cycles >= cycleEnd || (Watch != 0 && watch->HasEvents())) {
                count -= left - 1;
                left = 1;
            }
        } else {
            timers.CountReloadingTimer<Watch != 0>(p, stepCycles);
        }
        if (--left == 0 || (Stops && stops.Contains(pc))) break;
        // The next instruction's interrupt, chosen before it as ever.
        if (derived.changes & kChoiceDue) [[unlikely]] toService = ChooseEntry(p);
    }
    if constexpr (Watch != 0) watch->MarkEventsIn(nullptr);
    const std::uint32_t done = count - left;
    if constexpr (LazyParity) SettleParity(p);
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

FastRuns FastRunsFor(bool hardwareSerial, bool xramPaging, std::uint8_t watchedKinds, bool watchesPsw) {
    // XRAM paging is rare enough to look its stops up always.
    static constexpr FastRuns kRuns[2][2] = {
        {{Run<false, false, 0, true>, Run<false, false, 0, false>},
         {Run<false, true, 0, true>, Run<false, true, 0, true>}},
        {{Run<true, false, 0, true>, Run<true, false, 0, false>},
         {Run<true, true, 0, true>, Run<true, true, 0, true>}},
    };
    // Data break points are common enough with the default options to have
    // fast runs of their own; one on PSW, rarer, looks its stops up always.
    static constexpr FastRuns kWatchedRuns[4] = {
        {},
        {Run<false, false, 1, true>, Run<false, false, 1, false>},
        {Run<false, false, 2, true>, Run<false, false, 2, false>},
        {Run<false, false, 3, true>, Run<false, false, 3, false>},
    };
    static constexpr FastRun kWatchedPswRuns[4] = {nullptr, Run<false, false, 1, true, false>,
                                                   Run<false, false, 2, true, false>,
                                                   Run<false, false, 3, true, false>};
    if (watchedKinds == 0) return kRuns[hardwareSerial][xramPaging];
    if (hardwareSerial || xramPaging || watchedKinds > 3) return {};
    if (watchesPsw) return {kWatchedPswRuns[watchedKinds], kWatchedPswRuns[watchedKinds]};
    return kWatchedRuns[watchedKinds];
}

}  // namespace tessaly
