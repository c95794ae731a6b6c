// The External RAM window, the one grid with 65536 cells: opening it (every
// cell filled and the visible ones painted), a full refresh after the whole
// memory changed, and the refresh after one MOVX. Built into
// tessaly_desktop_bench, whose main provides the QApplication.
#include <benchmark/benchmark.h>

#include <QPixmap>

#include <filesystem>
#include <memory>

#include "BenchWindow.h"
#include "views/ExternalRamView.h"
#include "views/ViewContext.h"

namespace {

using namespace tessaly;

// A main window's session and a view context that opens nothing.
struct ExternalRamBench : bench::BenchWindow {
    std::unique_ptr<ui::ViewContext> context;

    ExternalRamBench() : BenchWindow("tessaly-views-bench") {
        context = std::make_unique<ui::ViewContext>(
            ui::ViewContext{window->session(), [](const Location&) {}, [](int) {}, [] {}});
        Processor& p = window->session().processor();
        for (unsigned address = 0; address < 0x10000; ++address) {
            p.ucExtRAM[address] = static_cast<std::uint8_t>(address * 7);
        }
    }
    ~ExternalRamBench() { context.reset(); }
    Processor& Machine() { return window->session().processor(); }
};

std::unique_ptr<ui::ExternalRamView> OpenWindow(ui::ViewContext& context) {
    auto view = std::make_unique<ui::ExternalRamView>(context);
    view->resize(view->sizeHint());
    view->show();
    return view;
}

void BM_ExternalRamWindowOpen(benchmark::State& state) {
    ExternalRamBench b;
    for (auto _ : state) {
        auto view = OpenWindow(*b.context);
        benchmark::DoNotOptimize(view->grab());
    }
}
BENCHMARK(BM_ExternalRamWindowOpen)->Unit(benchmark::kMillisecond);

void BM_ExternalRamFullRefresh(benchmark::State& state) {
    ExternalRamBench b;
    auto view = OpenWindow(*b.context);
    std::uint8_t fill = 0;
    for (auto _ : state) {
        b.Machine().InitializeExtRAM(++fill);
        view->RefreshFully();
        benchmark::DoNotOptimize(view->grab());
    }
}
BENCHMARK(BM_ExternalRamFullRefresh)->Unit(benchmark::kMillisecond);

void BM_ExternalRamRefreshAfterOneMovx(benchmark::State& state) {
    ExternalRamBench b;
    auto view = OpenWindow(*b.context);
    std::uint16_t address = 0;
    for (auto _ : state) {
        address = static_cast<std::uint16_t>(address + 0x0101);
        b.Machine().ucExtRAM[address] ^= 0xFF;
        view->Refresh();
    }
}
BENCHMARK(BM_ExternalRamRefreshAfterOneMovx)->Unit(benchmark::kMicrosecond);

}  // namespace
