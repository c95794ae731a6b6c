// Simulated instructions per second of the engine, called once per instruction
// as the run controller calls it, with every per-instruction step active:
// history append, timers 0 and 1 running, the serial port in mode 1 with a
// valid rate, interrupts enabled and a timer-0 routine being entered.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "MixedProgram.h"

namespace {

using tessaly::Processor;
using tessaly::bench::MixedProgram;

void BM_ExecuteOneInstructionPerCall(benchmark::State& state) {
    auto p = MixedProgram();
    for (auto _ : state) p->ExecuteInstructions(1);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    // Timer 0 overflows every 65536 cycles; a run this long without its
    // routine measured the wrong thing.
    if (p->ullCyclesExecuted > 200000 && !p->ReadBit(0x08)) state.SkipWithError("timer interrupt never ran");
}
BENCHMARK(BM_ExecuteOneInstructionPerCall);

void BM_ExecuteInBatches(benchmark::State& state) {
    auto p = MixedProgram();
    const auto batch = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) p->ExecuteInstructions(batch);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * batch);
    if (p->ullCyclesExecuted > 200000 && !p->ReadBit(0x08)) state.SkipWithError("timer interrupt never ran");
}
BENCHMARK(BM_ExecuteInBatches)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
