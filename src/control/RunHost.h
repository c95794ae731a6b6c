#pragma once

#include <cstdint>
#include <string_view>

namespace tessaly {

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
    // Status bar panel 0, 1 or 2; `repaintNow` paints the bar before the
    // next instruction runs rather than at the next event loop pass.
    virtual void SetStatusText(int panel, std::string_view text, bool repaintNow) = 0;
    // The Start/Stop command's glyph: the stop glyph while a free run goes on.
    virtual void ShowRunningGlyph(bool running) = 0;
    // A single, bulk or time-base step begins or ends (nested steps count
    // as one); Start/Stop is disabled while one runs.
    virtual void StepRunning(bool running) = 0;
};

}  // namespace tessaly
