#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "control/SerialLog.h"
#include "core/AddressSet.h"
#include "dap/AdapterContext.h"
#include "dap/BreakpointRequests.h"
#include "dap/Dispatcher.h"
#include "dap/LaunchOptions.h"
#include "session/SerialFeed.h"

namespace tessaly::dap {

// The requests that run the program and stop it: configurationDone (the
// first run, or the stop on entry), continue, next, stepIn, stepOut, pause,
// threads, terminate and disconnect. A request that runs the program is
// answered at once and leaves its run pending; the adapter's loop carries it
// out, and the requests that arrive meanwhile are answered between the
// run's slices (BetweenSlices). Every run ends in one stopped event, or in
// exited and terminated when the program reached its final self-loop.
class ExecutionRequests {
public:
    ExecutionRequests(AdapterContext& context, const BreakpointRequests& breakpoints, std::function<void()> onResume)
        : c_(context), breakpoints_(breakpoints), onResume_(std::move(onResume)) {}
    void Register(Dispatcher& dispatcher);

    // After a successful launch.
    void Prepare(const LaunchOptions& options);

    bool HasPendingRun() const { return pending_ != Run::None; }
    void RunPending();
    // What the run host does between slices of a run.
    void BetweenSlices();

private:
    enum class Run { None, Continue, StepOver, StepInto, StepOut, StepBack, ReverseContinue };

    void ConfigurationDone(const Request& request);
    void Resume(const Request& request, Run run);
    void Pause(const Request& request);
    void Terminate(const Request& request);
    void Disconnect(const Request& request);
    // Ends the run or step under way at its next test.
    void StopRun();
    void SetRunSettings();
    // The program's serial output, new warnings and errors, passed on.
    void PassOnOutput();
    void ReportStop(Run run, std::size_t errorsBefore);
    void End(int exitCode);

    AdapterContext& c_;
    const BreakpointRequests& breakpoints_;
    std::function<void()> onResume_;
    Run pending_ = Run::None;
    bool stopOnEntry_ = false;
    bool configured_ = false;
    bool stopOnSelfLoop_ = false;
    AddressSet selfLoops_;
    bool pauseRequested_ = false;
    bool errorStop_ = false;
    SerialFeed feed_;
    // Where the program's output passed on so far ends.
    std::optional<SerialTail> sent_;
    std::size_t warningsSeen_ = 0;
    std::size_t errorsSeen_ = 0;
    std::set<std::string> warningsSaid_;
    std::chrono::steady_clock::time_point lastPoll_{};
};

}  // namespace tessaly::dap
