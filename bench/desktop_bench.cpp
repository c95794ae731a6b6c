// Free runs of the desktop program: the main window on Qt's offscreen
// platform with its views open, the mixed workload loaded, stopped by the
// event loop after a number of ticks. Compare the instructions per second
// with BM_FreeRunRefreshType3 of tessaly_bench, the loop tessaly-run uses.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "MixedProgram.h"
#include "BenchWindow.h"

namespace {

using namespace tessaly;

// A main window with a loaded machine and every view of the layout open.
struct Desktop : bench::BenchWindow {
    Desktop() : BenchWindow("tessaly-desktop-bench") {
        window->StartUp();
        Session& s = window->session();
        bench::LoadMixedProgram(s.processor());
        s.processor().iProgramSize = 0x200;
        s.isFileOpen = true;
        ApplyWindowLayout(s.layout, window->views());
        s.UpdateCommandStates();
        window->show();
    }
};

// Runs until at least `instructions` more instructions have run; the event
// loop, entered between ticks, ends the run as the Start/Stop command does.
void FreeRun(ui::MainWindow& window, std::uint64_t instructions) {
    Session& s = window.session();
    const std::uint64_t target = s.processor().ullInstructionsExecuted + instructions;
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (s.controller().IsExecuting() && s.processor().ullInstructionsExecuted >= target) s.controller().StartStop();
    });
    stopper.start();
    s.controller().StartStop();
}

void Run(benchmark::State& state, int refreshType, std::uint32_t perTick, std::uint64_t instructions) {
    Desktop d;
    Session& s = d.window->session();
    s.settings.Live().refreshType = refreshType;
    s.settings.Live().instructionsPerTick = perTick;
    const std::uint64_t before = s.processor().ullInstructionsExecuted;
    for (auto _ : state) FreeRun(*d.window, instructions);
    state.SetItemsProcessed(static_cast<std::int64_t>(s.processor().ullInstructionsExecuted - before));
}

void BM_DesktopFreeRunRefreshType3(benchmark::State& state) { Run(state, 3, 1000000, 20000000); }
BENCHMARK(BM_DesktopFreeRunRefreshType3)->Unit(benchmark::kMillisecond);

void BM_DesktopFreeRunRefreshType2(benchmark::State& state) { Run(state, 2, 1000, 2000000); }
BENCHMARK(BM_DesktopFreeRunRefreshType2)->Unit(benchmark::kMillisecond);

void BM_DesktopFreeRunRefreshType1(benchmark::State& state) { Run(state, 1, 1000000, 10000); }
BENCHMARK(BM_DesktopFreeRunRefreshType1)->Unit(benchmark::kMillisecond);

// One view's refresh after each instruction, by layout index.
void BM_ViewRefreshPerInstruction(benchmark::State& state) {
    Desktop d;
    Session& s = d.window->session();
    ui::ChildView* view = d.window->views().View(static_cast<int>(state.range(0)));
    if (!view) {
        state.SkipWithError("the view is not open");
        return;
    }
    for (auto _ : state) {
        s.processor().ExecuteInstructions(1);
        s.controller().DecodeCurrentInstruction();
        view->Refresh();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_ViewRefreshPerInstruction)->DenseRange(0, 8);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessaly");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
