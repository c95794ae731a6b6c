#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <ostream>
#include <string>

#include "analysis/Workspace.h"
#include "control/BreakPoints.h"
#include "core/Processor.h"
#include "core/TextList.h"
#include "persistence/WindowLayout.h"

namespace tessaly {

// Everything a simulation snapshot (".slf") holds, as the main window owns it.
struct SnapshotParts {
    Processor& processor;
    Workspace& workspace;
    BreakPoints& breakPoints;
    TextList& activeWatch;  // lstActiveWatch
    WindowLayout& layout;
    std::string& currentFileName;
};

// The window side of saving and opening a snapshot.
class SnapshotHost {
public:
    virtual ~SnapshotHost() = default;
    // Before saving: make the layout match the windows as they are now.
    virtual void CaptureWindowLayout() = 0;
    // Before reading past the magic number: Close File (processor, settings,
    // history and labels reset, child views closed).
    virtual void ResetWorkspace() = 0;
    // After reading: caption "Tessaly( " currentFileName " )", isFileOpen set,
    // the layout just read applied, command states updated.
    virtual void SimulationRestored() = 0;
    // After the instruction at usPC is decoded: the external RAM window (when
    // open) refreshed fully, then every view.
    virtual void RefreshRestoredViews() = 0;
};

inline constexpr std::uint32_t kSnapshotMagic = 0x4E5BF091;

// True for a simulation file name: extension ".slf" in any letter case.
bool IsSnapshotPath(const std::filesystem::path& path);

// Writes the snapshot file through a temporary file. Returns 1; -1 when the
// file cannot be created; -2 when a write, the close or the final rename
// failed (a full disk), in which case the previous file is unchanged.
int SaveSimulation(const std::filesystem::path& path, const SnapshotParts& parts, SnapshotHost& host);

// Opens a snapshot file. Returns 1; -1 when it cannot be opened; -2 when it
// does not begin with the magic number. On -1 and -2 nothing has changed.
int LoadSimulation(const std::filesystem::path& path, SnapshotParts& parts, SnapshotHost& host);
int LoadSimulation(std::istream& in, SnapshotParts& parts, SnapshotHost& host);

// The fields of a snapshot, magic number first, without the window steps.
// Returns whether every byte was written.
bool WriteSnapshot(std::ostream& out, const SnapshotParts& parts);

// The fields after the magic number. A file cut short leaves each field it no
// longer reaches as it was (and each text list empty); nothing a file holds
// makes this allocate more than the file's size or leave a value the engine
// cannot use. Returns false when the input ended before the last field.
bool ReadSnapshotFields(std::istream& in, SnapshotParts& parts);

}  // namespace tessaly
