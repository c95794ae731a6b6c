#pragma once

#include <functional>

#include "control/RunHost.h"

namespace tessaly::dap {

// The execution controller's host in the adapter: no views to refresh and
// no status bar; between the slices of a run it hands over to the adapter,
// which answers the requests that have arrived and passes on what the
// program printed.
class AdapterRunHost final : public RunHost {
public:
    std::function<void()> betweenSlices;

    void PumpEvents() override {
        if (betweenSlices) betweenSlices();
    }
    void RefreshViews() override {}
    void RefreshExternalRAMFully() override {}
    void Sleep(std::uint32_t) override {}
    void SetStatusText(StatusPanel, std::string_view, bool) override {}
    void RunStateChanged(RunState) override {}
};

}  // namespace tessaly::dap
