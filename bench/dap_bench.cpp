// A free run in the debug adapter against the same run in tessaly-run: both
// run bench/peer/peer.hex (about 28 million instructions ending in a jump to
// itself) to its final self-loop, each through its own front end in this
// process: RunTessaly with --stop-on-self-loop, and a DebugAdapter served
// initialize, launch (stopOnSelfLoop) and configurationDone over a channel in
// memory, which looks for requests between the run's slices as it does on a
// real client's pipe. The adapter should keep 90% of the runner's speed:
// compare the two times (the throughputs are instructions per second).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/Runner.h"
#include "dap/DebugAdapter.h"
#include "dap/MemoryChannel.h"

namespace {

const std::string kPeer = std::string(TESSALY_SOURCE_DIR) + "/bench/peer/peer.hex";

std::string Request(int seq, const std::string& command, nlohmann::json arguments) {
    return tessaly::dap::Frame(
        nlohmann::json{{"seq", seq}, {"type", "request"}, {"command", command}, {"arguments", arguments}}.dump());
}

// The instructions the workload runs, from the runner's JSON state.
std::uint64_t PeerInstructions() {
    std::ostringstream out, err;
    tessaly::cli::RunTessaly({"--stop-on-self-loop", "--state", "-", kPeer}, out, err);
    return nlohmann::json::parse(out.str())["instructions"].get<std::uint64_t>();
}

void BM_RunnerFreeRun(benchmark::State& state) {
    const std::uint64_t instructions = PeerInstructions();
    for (auto _ : state) {
        std::ostringstream out, err;
        if (tessaly::cli::RunTessaly({"--stop-on-self-loop", kPeer}, out, err) != 0) state.SkipWithError("the run failed");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * instructions));
}
BENCHMARK(BM_RunnerFreeRun)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AdapterFreeRun(benchmark::State& state) {
    const std::uint64_t instructions = PeerInstructions();
    for (auto _ : state) {
        tessaly::dap::MemoryChannel channel;
        channel.Queue(Request(1, "initialize", nlohmann::json::object()));
        channel.Queue(Request(2, "launch", {{"program", kPeer}, {"stopOnSelfLoop", true}}));
        channel.Queue(Request(3, "configurationDone", nlohmann::json::object()));
        bool ended = false;
        channel.onIdle = [&](tessaly::dap::MemoryChannel& c) {
            if (!ended && c.Written().find("\"event\":\"terminated\"") != std::string::npos) {
                ended = true;
                c.Queue(Request(4, "disconnect", nlohmann::json::object()));
            }
        };
        tessaly::dap::DebugAdapter(channel).Serve();
        if (!ended) state.SkipWithError("the program did not reach its self-loop");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * instructions));
}
BENCHMARK(BM_AdapterFreeRun)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
