#include <cstring>

#include "core/EngineAccess.h"
#include "core/InstructionStep.h"
#include "core/Interrupts.h"
#include "core/WatchedAccess.h"
#include "core/Processor.h"

namespace tessaly {

void Processor::SetHardwareSerial(bool on) {
    hardwareSerial_ = on;
    ChooseSteps();
}

void Processor::SetXramPaging(bool on) {
    xramPaging_ = on;
    ChooseSteps();
}

void Processor::SetDataWatch(DataWatch* watch) {
    dataWatch_ = watch;
    ChooseSteps();
}

void Processor::ChooseSteps() {
    const int watch = dataWatch_ == nullptr ? 0 : dataWatch_->WatchedKinds();
    steps_ = kStepTables[hardwareSerial_][xramPaging_][watch].data();
}

// One instruction with everything around it, in the order the hardware's
// effects become visible: a request raised during this instruction is chosen
// at the start of the next one and entered after that one completes.
template <bool Watched>
inline void Processor::StepOne() {
    // The scan only ever adds request bits, and they stay until a RETI or a
    // reset (both note a change), so it has something new to find only after
    // one of the flags or enables it reads was written.
    if (derived_.changes & sfr_watch::kInterrupts) {
        derived_.changes &= static_cast<std::uint8_t>(~sfr_watch::kInterrupts);
        ScanInterruptRequests(*this);
    }
    int toService = -1;
    if (ucInterruptFlags) {
        // While a routine runs the mask is not empty; its selection changes
        // only with the mask, IP or the interrupts in progress.
        if (derived_.changes & sfr_watch::kSelection) {
            derived_.changes &= static_cast<std::uint8_t>(~sfr_watch::kSelection);
            SelectInterrupt(*this);
            derived_.selectedInterrupt = iInterruptToService;
        } else {
            iInterruptToService = derived_.selectedInterrupt;
        }
        toService = iInterruptToService;
    } else {
        iInterruptToService = -1;
    }

    // The history holds the text last decoded for display, which names this
    // instruction only when the display was refreshed since the previous one.
    if (lstExecutedInstructions.Count() > kHistoryLimit) lstExecutedInstructions.Clear();
    lstExecutedInstructions.Append(strInstruction);

    // Operands of an instruction at FFFEh or FFFFh come from the guard bytes,
    // so the three bytes (and one more) can be read in one go.
    std::uint32_t code;
    std::memcpy(&code, &ucCodeMemory[usPC], sizeof code);
    if constexpr (Watched) dataWatch_->BeginInstruction(usPC);
    steps_[static_cast<std::uint8_t>(code)](*this, code);

    if (toService != -1) {
        if constexpr (Watched) NoteInterruptEntry(*dataWatch_, *this);
        VectorInterrupt(*this, toService);
    }
    if constexpr (Watched) dataWatch_->EndInstruction(*this);
}

int Processor::ExecuteInstructions(std::uint32_t count) {
    if (dataWatch_) {
        for (std::uint32_t i = 0; i < count; ++i) StepOne<true>();
    } else {
        for (std::uint32_t i = 0; i < count; ++i) StepOne<false>();
    }
    return 1;
}

std::uint32_t Processor::ExecuteUntil(std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd) {
    std::uint32_t done = 0;
    if (dataWatch_) {
        // A watched access ends the run after its instruction.
        while (done != count && !stops.Contains(usPC) && ullCyclesExecuted < cycleEnd && !dataWatch_->HasEvents()) {
            StepOne<true>();
            ++done;
        }
        return done;
    }
    while (done != count && !stops.Contains(usPC) && ullCyclesExecuted < cycleEnd) {
        StepOne<false>();
        ++done;
    }
    return done;
}

}  // namespace tessaly
