#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <string>

#include "core/AddressSet.h"
#include "control/BreakCondition.h"
#include "control/BreakPoints.h"
#include "control/DataBreakPoints.h"
#include "control/RunHost.h"
#include "control/StepGoal.h"
#include "control/Settings.h"

namespace tessaly {

class BackwardGoal;
class Processor;
class RunHistory;
class Workspace;

// The status bar texts of the execution commands.
namespace run_status {
inline constexpr std::string_view kExecutionInProgress = "Execution in Progress";
inline constexpr std::string_view kExecutionStopped = "Execution Stopped";
inline constexpr std::string_view kDebuggingInProgress = "Debugging in Progress";
inline constexpr std::string_view kDebuggingStopped = "Debugging Stopped";
inline constexpr std::string_view kInstructionSkipped = "Instruction Skipped";
inline constexpr std::string_view kReady = "Ready";
inline constexpr std::string_view kBreakPointEncountered = "Break Point encountered";
}  // namespace run_status

// Milliseconds the pacing delay waits after each instruction at `speedDelay`
// (100 minus the speed percentage): trunc(1.1098 ^ speedDelay), none at 0.
std::uint32_t PacingDelayMilliseconds(std::uint32_t speedDelay);

// Machine cycles a time-base step of `microseconds` runs at `crystalHz`.
std::uint64_t TimeBaseCycles(std::uint32_t microseconds, double crystalHz);

// The main loop of the simulator: free run, single, bulk and time-base steps,
// skip, stop, reset and manual refresh, all on the caller's thread. Input is
// handled between instructions or ticks through the host's PumpEvents, and
// commands issued there run nested; they talk to a running loop only through
// the two flags. Break points, the speed and the refresh type are read afresh
// before every instruction, the tick size before every tick.
class ExecutionController {
public:
    // Where a free run ends at the latest: the instruction and cycle counts
    // at which it stops (none by default).
    struct Budget {
        std::uint64_t instructionEnd = UINT64_MAX;
        std::uint64_t cycleEnd = UINT64_MAX;
    };

    ExecutionController(Processor& processor, Workspace& workspace, const BreakPoints& breakPoints,
                        const SimulationSettings& settings, RunHost& host);

    // Start/Stop Execution: starts a free run, or stops the one in progress.
    void StartStop();
    void SingleStep();
    void BulkStep();
    void TimeBaseStep();
    // Runs from the next instruction on until `goal` is reached, a break
    // point or the host's stop address is met, the budget is spent or Stop
    // Debugging is given; the first instruction always runs. Runs at engine
    // speed where the refresh type and speed allow it, as a free run does.
    void StepTo(StepGoal& goal);
    void SkipInstruction();
    // Stop Debugging: bulk and time-base steps end at their next test.
    void StopDebugging() { stopDebugging_ = true; }
    // Processor reset that keeps the loaded program. A free run goes on from
    // the reset state; a bulk or time-base step ends.
    void ResetExecution();
    void ManualRefresh();
    // Every open view, then the errors and interrupts panels.
    void RefreshViews();
    // Decodes the instruction at the program counter for display.
    void DecodeCurrentInstruction();

    // The application was minimised: a free run ends at its next test.
    void Minimised() { isExecuting_ = false; }
    // Close File: any loop ends at its next test; a step ends without
    // writing over the closed machine's state.
    void CloseFile();
    // Exit: every loop ends at its next test.
    void Exit() {
        isExecuting_ = false;
        stopDebugging_ = true;
    }

    RunState State() const { return state_; }
    bool IsExecuting() const { return isExecuting_; }
    bool StopRequested() const { return stopDebugging_; }
    StopReason LastStop() const { return lastStop_; }

    // Addresses where a run stops besides the break points, for hosts that run
    // to a place (the headless runner's self-loops); nullptr for none. A stop
    // there leaves the skip flag as it was and reports StopReason::StopAddress.
    void SetExtraStops(const AddressSet* stops) { extraStops_ = stops; }
    // The free run stops, with StopReason::InstructionBudget or CycleBudget,
    // at the first instruction at which a count has reached its end; a break
    // point or stop address due at that instruction outranks the budget.
    void SetBudget(const Budget& budget) { budget_ = budget; }
    // The conditions and hit counts of the break points, and how their
    // conditions read values; nullptr for none (every break point stops).
    void SetBreakPointConditions(BreakPointConditions* conditions, BreakPointConditions::Evaluator evaluate) {
        conditions_ = conditions;
        evaluate_ = std::move(evaluate);
    }
    // The data break points every run and step stops at; nullptr for none.
    void SetDataBreakPoints(DataBreakPoints* points) { dataBreakPoints_ = points; }
    // What the last StopReason::DataBreakPoint stop found.
    const std::optional<DataStop>& LastDataStop() const { return lastDataStop_; }

    // --- going back in time ----------------------------------------------
    // The recorded past runs and steps add to, and reverse commands read;
    // nullptr for none.
    void SetHistory(RunHistory* history) { history_ = history; }
    RunHistory* History() const { return history_; }
    // Step Back: `count` instructions back, or to where history starts
    // (StopReason::HistoryStart) when it does not reach that far.
    void StepBack(std::uint64_t count);
    // Reverse Continue: back to the latest earlier place at which a break
    // point (its condition holding) or a data break point would have stopped
    // a run, or to where history starts.
    void ReverseContinue();
    // Back to the latest earlier place `goal` accepts, or to where history
    // starts. A data stop found on the way is told as a run's would be.
    void ReverseTo(BackwardGoal& goal);

    // The interrupts and errors panels' texts as RefreshViews writes them.
    static std::string InterruptsPanelText(const Processor& p);
    static std::string ErrorsPanelText(const Processor& p);

private:
    // What a loop does before one instruction: false when it must not run it.
    bool MayExecute();
    // True, with the stop reason, when the instruction run last reached a
    // data break point.
    bool DataBreakPointReached();
    // Before a run or step starts.
    void ArmDataBreakPoints();
    // At a break point: whether its condition and hit count let it stop.
    bool BreakPointHolds();
    // One instruction with the pacing delay and, for refresh type 1, the
    // decode, refresh and pump after it. `stillRunning` ends a long delay.
    template <class StillRunning>
    void ExecuteOne(StillRunning stillRunning);
    template <class StillRunning>
    void Pause(std::uint32_t milliseconds, StillRunning stillRunning);
    void FreeRunTick();
    template <class Limit>
    void FreeRunTickWith(std::uint32_t n, Limit limit);
    // True, with the stop reason, when the budget is spent before the next
    // instruction.
    bool BudgetSpent();
    void SetState(RunState state);
    // True when instructions may run back to back at engine speed: with no
    // refresh, delay or pump between them nothing can change the break
    // points, the flags or the settings until the batch ends.
    bool CanRunFast() const;
    // Runs `count` instructions in slices at engine speed with input handled
    // between them, while `stillRunning` holds, the fast path stays allowed
    // and the cycle limit is not reached; `count` is left with what was not
    // run. False when a stop ended it.
    template <class Limit, class StillRunning>
    bool RunFastSliced(std::uint32_t& count, Limit limit, StillRunning stillRunning);
    // Up to `count` instructions, each after the stop test: how many ran, or
    // kStopped when a stop ended the batch.
    static constexpr std::uint32_t kStopped = 0xFFFFFFFFu;
    template <class Limit>
    std::uint32_t RunFast(std::uint32_t count, Limit limit);
    template <class Stops, class Limit>
    std::uint32_t RunFastWith(const Stops& stops, std::uint32_t count, Limit limit);
    void BeginStep();
    void EndStep();
    // Between batches: the history's checkpoint when one is due.
    void NoteProgress();
    // After a reverse command moved the machine: views, status and the skip
    // flag as a stop there would leave them.
    void EndReverse();
    void RefreshDuringRun();
    void RefreshPanels();
    void RefreshAfterStep();

    Processor& p_;
    Workspace& workspace_;
    const BreakPoints& breakPoints_;
    const SimulationSettings& settings_;
    RunHost& host_;
    const AddressSet* extraStops_ = nullptr;
    DataBreakPoints* dataBreakPoints_ = nullptr;
    BreakPointConditions* conditions_ = nullptr;
    BreakPointConditions::Evaluator evaluate_;
    std::optional<DataStop> lastDataStop_;
    RunHistory* history_ = nullptr;
    bool isExecuting_ = false;
    bool stopDebugging_ = false;
    StopReason lastStop_ = StopReason::None;
    RunState state_ = RunState::Stopped;
    Budget budget_;
    // Steps running, nested ones included: Start/Stop comes back when the
    // last one ends.
    int stepDepth_ = 0;
    // Counts Close File and Reset Execution: a step that finds it changed
    // was overtaken by them and ends.
    std::uint32_t workspaceGeneration_ = 0;
};

}  // namespace tessaly
