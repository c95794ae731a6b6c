#pragma once

// The host of the benchmarks' free runs: it does nothing, and ends the run
// at the pump once the machine has reached `runEnd` instructions (a long
// tick is pumped between its slices too).
#include <cstdint>
#include <string_view>

#include "control/ExecutionController.h"
#include "core/Processor.h"

namespace tessaly::bench {

class StopAtPump : public RunHost {
public:
    ExecutionController* controller = nullptr;
    const Processor* processor = nullptr;
    std::uint64_t runEnd = 0;
    void PumpEvents() override {
        if (controller->IsExecuting() && processor->ullInstructionsExecuted >= runEnd) controller->StartStop();
    }
    void RefreshViews() override {}
    void RefreshExternalRAMFully() override {}
    void Sleep(std::uint32_t) override {}
    void SetStatusText(StatusPanel, std::string_view, bool) override {}
    void RunStateChanged(RunState) override {}
};

}  // namespace tessaly::bench
