#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analysis/Workspace.h"
#include "control/BreakPoints.h"
#include "core/Processor.h"
#include "persistence/Snapshot.h"
#include "persistence/WindowLayout.h"

namespace tessaly::test {

// The objects a main window owns around a snapshot, with a host that resets
// them the way the workspace reset does and logs every window step.
class SnapshotBench : public SnapshotHost {
public:
    SnapshotBench() { LoadDefaultLayout(layout); }

    std::unique_ptr<Processor> processor = std::make_unique<Processor>();
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    BreakPoints breakPoints;
    TextList activeWatch;
    WindowLayout layout;
    std::string currentFileName;
    std::vector<std::string> calls;
    // Applied to the layout by CaptureWindowLayout, as if a window had moved.
    WindowLayoutEntry capturedSfrWindow{1, 2, 310, 281, 1};

    SnapshotParts Parts() {
        return {*processor, *workspace, breakPoints, activeWatch, layout, currentFileName};
    }

    void CaptureWindowLayout() override {
        calls.push_back("capture");
        layout.entries[1] = capturedSfrWindow;
    }
    void ResetWorkspace() override {
        calls.push_back("reset");
        currentFileName.clear();
        processor->FullReset();
        processor->lstWarnings.Clear();
        processor->lstErrors.Clear();
        workspace->ResetLabels();
    }
    void SimulationRestored() override { calls.push_back("restored"); }
    void RefreshRestoredViews() override { calls.push_back("refresh"); }
};

}  // namespace tessaly::test
