#pragma once

#include <cstdint>
#include <string_view>

namespace tessaly {

// What the execution controller is doing: nothing, a free run, or a single,
// bulk or time-base step (nested steps count as one).
enum class RunState { Stopped, Running, Stepping };

// Why the last run or step ended before its count or time was through: a
// break point, one of the host's stop addresses (the runner's self-loops),
// the run's instruction or cycle budget, or the place a step to a goal (a
// source-level step, Run to Cursor) was going to.
// HistoryStart: a reverse command found nothing earlier and stopped where
// the recorded history starts.
enum class StopReason {
    None,
    BreakPoint,
    StopAddress,
    InstructionBudget,
    CycleBudget,
    StepEnd,
    DataBreakPoint,
    HistoryStart
};

// The three panels of the status bar: the state of the run, the error count
// (or "Break Point encountered"), the interrupts in service.
enum class StatusPanel { State = 0, Errors = 1, Interrupts = 2 };

// What the execution controller asks of the program around it: the desktop
// answers with its event loop, views and status bar, the headless runner with
// its limits and outputs, tests with a recorder.
class RunHost {
public:
    virtual ~RunHost() = default;

    // Dispatches the input queued for the main window without blocking.
    // Commands issued there run nested inside the loop that pumped them.
    virtual void PumpEvents() = 0;
    // Rewrites every open view from the processor.
    virtual void RefreshViews() = 0;
    // The refresh between the instructions or ticks of a running loop. A
    // host whose screen cannot show every one may bring the views up to date
    // less often, as long as the last state is shown once the loop yields.
    virtual void RefreshViewsDuringRun() { RefreshViews(); }
    // The External RAM window, when open, rewrites all of its cells.
    virtual void RefreshExternalRAMFully() = 0;
    // Waits `milliseconds` without handling input.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // `repaintNow` paints the bar before the next instruction runs rather
    // than at the next event loop pass.
    virtual void SetStatusText(StatusPanel panel, std::string_view text, bool repaintNow) = 0;
    // The controller's run state changed: the Start/Stop command shows its
    // stop glyph while a free run goes on and is disabled while a step runs.
    virtual void RunStateChanged(RunState state) = 0;
};

}  // namespace tessaly
