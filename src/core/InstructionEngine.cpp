#include <cstring>

#include "core/EngineAccess.h"
#include "core/FastRun.h"
#include "core/InstructionStep.h"
#include "core/InterruptChoice.h"
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
    const bool watchesPsw = dataWatch_ != nullptr && dataWatch_->WatchesInternal(sfr::PSW);
    const FastRuns runs = FastRunsFor(hardwareSerial_, xramPaging_, static_cast<std::uint8_t>(watch), watchesPsw);
    fastRun_ = runs.withStops;
    fastRunWithoutStops_ = runs.withoutStops;
}

// One instruction with everything around it, in the order the hardware's
// effects become visible.
template <bool Watched>
inline void Processor::StepOne() {
    const int toService = ChooseInterrupt(*this);

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
    // The fast runs stop at data watch events; these instructions run on.
    if (count > 1 && !plainEngine_ && dataWatch_ == nullptr) {
        static const AddressSet kNoStops;
        ExecuteUntil(count, kNoStops, ~std::uint64_t{0});
    } else if (dataWatch_) {
        for (std::uint32_t i = 0; i < count; ++i) StepOne<true>();
    } else {
        for (std::uint32_t i = 0; i < count; ++i) StepOne<false>();
    }
    return 1;
}

std::uint32_t Processor::ExecuteUntil(std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd) {
    if (count <= 1 || plainEngine_ || fastRun_ == nullptr) return StepUntil(count, stops, cycleEnd);
    std::uint32_t first = 0;
    if (NeedsPlainFirstStep(*this)) {
        first = StepUntil(1, stops, cycleEnd);
        if (first == 0) return 0;
    }
    return first + (stops.Empty() ? fastRunWithoutStops_ : fastRun_)(*this, count - first, stops, cycleEnd);
}

std::uint32_t Processor::StepUntil(std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd) {
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
