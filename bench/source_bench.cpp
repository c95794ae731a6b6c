// The session's free run of the C example with and without its C debug
// information loaded: the steps, call stack and source view must cost the
// run nothing (the engine keeps its call trace either way).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "session/HeadlessSessionHost.h"
#include "session/Session.h"

namespace {

using namespace tessaly;

class Quiet final : public MessageHost, public RunHost {
public:
    Session* session = nullptr;
    std::uint64_t runEnd = 0;
    void Tell(MessageKind, const std::string&) override { ++messages; }
    bool AskYesNo(MessageKind, const std::string&) override { return true; }
    void PumpEvents() override {
        if (session->processor().ullInstructionsExecuted >= runEnd) session->controller().StartStop();
    }
    void RefreshViews() override {}
    void RefreshExternalRAMFully() override {}
    void Sleep(std::uint32_t) override {}
    void SetStatusText(StatusPanel, std::string_view, bool) override {}
    void RunStateChanged(RunState) override {}
    int messages = 0;
};

// c-printf prints its table and ends in a loop on itself: each iteration
// runs it from the reset for 200,000 instructions, all of its printing.
void BM_CExampleFreeRun(benchmark::State& state) {
    const bool withDebugInfo = state.range(0) != 0;
    const std::filesystem::path example = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-printf";
    Quiet hosts;
    HeadlessSessionHost windows;
    Session session({}, hosts, windows, hosts);
    windows.Follow(session.layout);
    hosts.session = &session;
    session.settings.Live().refreshType = 3;
    session.settings.Live().instructionsPerTick = 65536;
    session.OpenFileCommand(example / "c-printf.ihx");
    session.SetHardwareSerial(true);
    if (withDebugInfo) session.LoadDebugInfo(example / "c-printf.cdb");
    if (hosts.messages != 0 || (session.source().Info() != nullptr) != withDebugInfo) {
        state.SkipWithError("the example did not load");
        return;
    }
    constexpr std::uint64_t kRun = 200000;
    for (auto _ : state) {
        session.controller().ResetExecution();
        hosts.runEnd = kRun;
        session.controller().StartStop();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRun));
    if (session.processor().ucTxLog[0] != 'T') state.SkipWithError("the example printed nothing");
}
BENCHMARK(BM_CExampleFreeRun)->ArgName("cdb")->Arg(0)->Arg(1);

}  // namespace
