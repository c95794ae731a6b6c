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

// Everything a simulation snapshot (".slf") holds, as the session owns it.
// Opening one is the session's sequence: the magic number, the workspace
// reset, the fields, then the windows and the display.
struct SnapshotParts {
    Processor& processor;
    Workspace& workspace;
    BreakPoints& breakPoints;
    TextList& activeWatch;  // lstActiveWatch
    WindowLayout& layout;
    std::string& currentFileName;
};

inline constexpr std::uint32_t kSnapshotMagic = 0x4E5BF091;

// True for a simulation file name: extension ".slf" in any letter case.
bool IsSnapshotPath(const std::filesystem::path& path);

// What writing a snapshot file came to: WriteFailed when a write, the close
// or the final rename failed (a full disk); the previous file is then
// unchanged.
enum class SnapshotSave { Saved, CannotCreate, WriteFailed };

// Writes the snapshot file through a temporary file.
SnapshotSave SaveSnapshotFile(const std::filesystem::path& path, const SnapshotParts& parts);

// True when `in` begins with the magic number, which it reads past; nothing
// else is read.
bool ReadSnapshotMagic(std::istream& in);

// The fields of a snapshot, magic number first. Returns whether every byte
// was written.
bool WriteSnapshot(std::ostream& out, const SnapshotParts& parts);

// The fields after the magic number. A file cut short leaves each field it no
// longer reaches as it was (and each text list empty); nothing a file holds
// makes this allocate more than the file's size or leave a value the engine
// cannot use. Returns false when the input ended before the last field.
bool ReadSnapshotFields(std::istream& in, SnapshotParts& parts);

}  // namespace tessaly
