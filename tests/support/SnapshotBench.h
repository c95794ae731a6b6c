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

// The objects a session owns around a snapshot, opened and saved with the
// session's sequence but without its windows: the reset is the workspace
// reset's, and each step is logged.
class SnapshotBench {
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

    // The magic number, then the reset, then the fields: 1, or -2 with
    // nothing changed.
    int Load(std::istream& in) {
        if (!ReadSnapshotMagic(in)) return -2;
        ResetWorkspace();
        SnapshotParts parts = Parts();
        ReadSnapshotFields(in, parts);
        return 1;
    }
    // The layout captured, then the file written.
    SnapshotSave Save(const std::filesystem::path& path) {
        CaptureWindowLayout();
        return SaveSnapshotFile(path, Parts());
    }

    void CaptureWindowLayout() {
        calls.push_back("capture");
        layout.entries[1] = capturedSfrWindow;
    }
    void ResetWorkspace() {
        calls.push_back("reset");
        currentFileName.clear();
        processor->FullReset();
        processor->lstWarnings.Clear();
        processor->lstErrors.Clear();
        workspace->ResetLabels();
    }
};

}  // namespace tessaly::test
