// A free run in the debug adapter against the same run in tessaly-run: both
// run bench/peer/peer.hex (about 28 million instructions ending in a jump to
// itself) to its final self-loop, each through its own front end in this
// process: RunTessaly with --stop-on-self-loop, and a DebugAdapter served
// initialize, launch (stopOnSelfLoop) and configurationDone over a channel in
// memory, which looks for requests between the run's slices as it does on a
// real client's pipe. The adapter should keep 90% of the runner's speed:
// compare the two times (the throughputs are instructions per second).
// A third benchmark times a pause of a free run as a client sees it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "cli/Runner.h"
#include "dap/DebugAdapter.h"
#include "dap/FdChannel.h"
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

// How long a pause takes to stop a free run, as a client sees it over a
// pipe: from writing the request to reading the stopped event. The adapter
// serves on a thread of its own here, as it would in its own process;
// examples/c-printf runs on forever in its final while (1).
void BM_PauseDuringFreeRun(benchmark::State& state) {
    const std::string program = std::string(TESSALY_SOURCE_DIR) + "/examples/c-printf/c-printf.ihx";
    for (auto _ : state) {
        int toAdapter[2], fromAdapter[2];
        if (::pipe(toAdapter) != 0 || ::pipe(fromAdapter) != 0) {
            state.SkipWithError("no pipes");
            break;
        }
        std::thread adapter([&] {
            tessaly::dap::FdChannel channel(toAdapter[0], fromAdapter[1]);
            tessaly::dap::DebugAdapter(channel).Serve();
            ::close(fromAdapter[1]);
        });
        const auto send = [&](const std::string& bytes) { return ::write(toAdapter[1], bytes.data(), bytes.size()); };
        std::string received;
        const auto readUntil = [&](const std::string& text) {
            char chunk[65536];
            while (received.find(text) == std::string::npos) {
                const ssize_t got = ::read(fromAdapter[0], chunk, sizeof chunk);
                if (got <= 0) return false;
                received.append(chunk, static_cast<std::size_t>(got));
            }
            return true;
        };
        send(Request(1, "initialize", nlohmann::json::object()) +
             Request(2, "launch", {{"program", program}, {"hardwareSerial", true}}) +
             Request(3, "configurationDone", nlohmann::json::object()));
        bool paused = readUntil("done\\r\\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // well into the while (1)
        const auto asked = std::chrono::steady_clock::now();
        send(Request(4, "pause", {{"threadId", 1}}));
        paused = paused && readUntil("\"reason\":\"pause\"");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
        send(Request(5, "disconnect", nlohmann::json::object()));
        adapter.join();
        for (int fd : {toAdapter[0], toAdapter[1], fromAdapter[0]}) ::close(fd);
        if (!paused) state.SkipWithError("the run was not paused");
    }
}
BENCHMARK(BM_PauseDuringFreeRun)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
