// Free runs of the desktop program: the main window on Qt's offscreen
// platform with its views open, the mixed workload loaded, stopped by the
// event loop after a number of ticks. Compare the instructions per second
// with BM_FreeRunRefreshType3 of tessaly_bench, the loop tessaly-run uses.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "MixedProgram.h"
#include "app/MainWindow.h"

namespace {

using namespace tessaly;

// A main window with a loaded machine and every view of the layout open.
struct Desktop {
    std::filesystem::path config = std::filesystem::temp_directory_path() / "tessaly-desktop-bench";
    std::unique_ptr<ui::MainWindow> window;

    Desktop() {
        std::filesystem::create_directories(config);
        window = std::make_unique<ui::MainWindow>(ui::MainWindow::Options{config, nullptr, {}});
        window->StartUp();
        Session& s = window->session();
        bench::LoadMixedProgram(s.processor());
        s.processor().iProgramSize = 0x200;
        s.isFileOpen = true;
        ApplyWindowLayout(s.layout, window->views());
        s.UpdateCommandStates();
        window->show();
    }
    ~Desktop() { std::filesystem::remove_all(config); }
};

// Runs until the event loop has been entered `ticks` times.
void FreeRun(ui::MainWindow& window, int ticks) {
    int seen = 0;
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (++seen == ticks) window.session().controller().StartStop();
    });
    stopper.start();
    window.session().controller().StartStop();
}

void Run(benchmark::State& state, int refreshType, std::uint32_t perTick, int ticks) {
    Desktop d;
    Session& s = d.window->session();
    s.settings.refreshType = refreshType;
    s.settings.instructionsPerTick = perTick;
    const std::uint64_t before = s.processor().ullInstructionsExecuted;
    for (auto _ : state) FreeRun(*d.window, ticks);
    state.SetItemsProcessed(static_cast<std::int64_t>(s.processor().ullInstructionsExecuted - before));
}

void BM_DesktopFreeRunRefreshType3(benchmark::State& state) { Run(state, 3, 1000000, 20); }
BENCHMARK(BM_DesktopFreeRunRefreshType3)->Unit(benchmark::kMillisecond);

void BM_DesktopFreeRunRefreshType2(benchmark::State& state) { Run(state, 2, 1000, 5000); }
BENCHMARK(BM_DesktopFreeRunRefreshType2)->Unit(benchmark::kMillisecond);

void BM_DesktopFreeRunRefreshType1(benchmark::State& state) { Run(state, 1, 1000000, 5000); }
BENCHMARK(BM_DesktopFreeRunRefreshType1)->Unit(benchmark::kMillisecond);

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
