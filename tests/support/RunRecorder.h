#pragma once

#include <functional>
#include <string>
#include <vector>

#include "control/RunHost.h"

namespace tessaly::test {

// Records what a loop asks of its host, in order, as short texts
// ("pump", "refresh", "sleep 22", "status0 Ready", "glyph run",
// "start off"); `onPump` runs inside every pump, as a nested command would.
class RunRecorder : public RunHost {
public:
    void PumpEvents() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    void RefreshViews() override {
        ++refreshes;
        log.push_back("refresh");
    }
    void RefreshExternalRAMFully() override { log.push_back("xram"); }
    void Sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
    void SetStatusText(StatusPanel which, std::string_view text, bool) override {
        const int panel = static_cast<int>(which);
        panels[panel] = std::string(text);
        log.push_back("status" + std::to_string(panel) + " " + std::string(text));
    }
    // In the words of the Start/Stop command: its glyph for a free run
    // starting or ending, its enabling for a step starting or ending.
    void RunStateChanged(RunState state) override {
        if (state == RunState::Running) log.push_back("glyph run");
        else if (state == RunState::Stepping) log.push_back("start off");
        else log.push_back(state_ == RunState::Stepping ? "start on" : "glyph stop");
        state_ = state;
    }

    // The log lines that start with `prefix`, in order.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> lines;
        for (const auto& line : log) {
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    std::function<void(int)> onPump;
    int pumps = 0;
    int refreshes = 0;
    std::vector<std::uint32_t> sleeps;
    std::string panels[3];
    std::vector<std::string> log;

private:
    RunState state_ = RunState::Stopped;
};

}  // namespace tessaly::test
