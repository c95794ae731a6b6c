// Reverse execution: what recording the history costs a free run, and how
// long going back takes deep into a run.
#include <benchmark/benchmark.h>

#include "MixedProgram.h"
#include "StopAtPump.h"
#include "analysis/Workspace.h"
#include "control/ExecutionController.h"
#include "control/RunHistory.h"

namespace {

using namespace tessaly;

struct Bench {
    std::unique_ptr<Processor> p = bench::MixedProgram();
    Workspace workspace;
    BreakPoints breakPoints;
    SimulationSettings settings;
    bench::StopAtPump host;
    ExecutionController controller{*p, workspace, breakPoints, settings, host};
    RunHistory history;

    explicit Bench(bool recording) {
        settings.refreshType = 3;
        settings.instructionsPerTick = 1000000;
        host.controller = &controller;
        host.processor = p.get();
        if (recording) {
            history.Restart(*p);
            controller.SetHistory(&history);
        }
    }
    void RunFor(std::uint64_t instructions) {
        host.runEnd = p->ullInstructionsExecuted + instructions;
        controller.StartStop();
    }
};

// 0: no history; 1: recording with the default bound, which a long run
// fills, so the steady state drops the oldest checkpoint for every new one.
// Recording may cost at most 30% of the free run's speed.
void BM_FreeRunRecordingHistory(benchmark::State& state) {
    Bench b(state.range(0) != 0);
    for (auto _ : state) b.RunFor(1000000);
    state.SetItemsProcessed(static_cast<std::int64_t>(b.p->ullInstructionsExecuted));
    state.counters["checkpoints"] = static_cast<double>(b.history.Checkpoints());
}
BENCHMARK(BM_FreeRunRecordingHistory)->Arg(0)->Arg(1);

// One Step Back (one instruction) 100 million instructions into a run:
// a checkpoint loaded and up to an interval of instructions run again.
// Must answer in under 0.2 s.
void BM_StepBackAt100MillionInstructions(benchmark::State& state) {
    Bench b(true);
    b.RunFor(100000000);
    const std::uint64_t reached = b.p->ullInstructionsExecuted;
    for (auto _ : state) b.controller.StepBack(1);
    if (b.p->ullInstructionsExecuted != reached - state.iterations()) state.SkipWithError("a step back went wrong");
    state.counters["memory_MB"] = static_cast<double>(b.history.MemoryUsed()) / (1 << 20);
}
BENCHMARK(BM_StepBackAt100MillionInstructions)->Unit(benchmark::kMillisecond);

}  // namespace
