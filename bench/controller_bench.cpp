// The execution controller's free run with refresh type 3 and a host that
// does nothing, against the engine alone: the loop around the engine (break
// point test, tick, pump) should cost next to nothing.
#include <benchmark/benchmark.h>

#include "MixedProgram.h"
#include "StopAtPump.h"
#include "analysis/Workspace.h"
#include "control/DataBreakPoints.h"
#include "control/ExecutionController.h"

namespace {

using namespace tessaly;

using bench::StopAtPump;

void BM_FreeRunRefreshType3(benchmark::State& state) {
    auto p = bench::MixedProgram();
    Workspace workspace;
    BreakPoints breakPoints;
    breakPoints.Add(0x7000);  // never reached, but the test runs before every instruction
    SimulationSettings settings;
    settings.refreshType = 3;
    settings.instructionsPerTick = static_cast<std::uint32_t>(state.range(0));
    StopAtPump host;
    ExecutionController controller(*p, workspace, breakPoints, settings, host);
    host.controller = &controller;
    host.processor = p.get();
    for (auto _ : state) {
        host.runEnd = p->ullInstructionsExecuted + settings.instructionsPerTick;
        controller.StartStop();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    if (p->ullInstructionsExecuted != static_cast<std::uint64_t>(state.iterations() * state.range(0))) {
        state.SkipWithError("a run did not execute its whole tick");
    }
}
BENCHMARK(BM_FreeRunRefreshType3)->Arg(1000000);

}  // namespace

// The same free run with a data break point set that the program never
// reaches: 0 none, 1 writes of an upper RAM byte (the instructions' own
// notes), 2 writes of RCAP2 (which timer 2 may also change by itself),
// 3 reads of the upper RAM byte (every read noted as well). Compare with
// BM_FreeRunRefreshType3: a set data break point may cost at most a fifth.
void BM_FreeRunWithDataBreakPoint(benchmark::State& state) {
    auto p = bench::MixedProgram();
    Workspace workspace;
    BreakPoints breakPoints;
    DataBreakPoints dataBreakPoints;
    if (state.range(0) != 0) {
        const char* where = state.range(0) == 2 ? "RCAP2" : "I:0F0H";
        auto target = ResolveWatchTarget(*p, where, nullptr);
        dataBreakPoints.Add({std::get<WatchTarget>(target), state.range(0) == 3 ? DataAccess::Read : DataAccess::Write});
    }
    dataBreakPoints.Apply(*p);
    SimulationSettings settings;
    settings.refreshType = 3;
    settings.instructionsPerTick = 1000000;
    StopAtPump host;
    ExecutionController controller(*p, workspace, breakPoints, settings, host);
    controller.SetDataBreakPoints(&dataBreakPoints);
    host.controller = &controller;
    host.processor = p.get();
    for (auto _ : state) {
        host.runEnd = p->ullInstructionsExecuted + settings.instructionsPerTick;
        controller.StartStop();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * settings.instructionsPerTick);
    if (p->ullInstructionsExecuted != static_cast<std::uint64_t>(state.iterations()) * settings.instructionsPerTick) {
        state.SkipWithError("a data break point stopped the run");
    }
}
BENCHMARK(BM_FreeRunWithDataBreakPoint)->Arg(0)->Arg(1)->Arg(2)->Arg(3);
