#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Workspace.h"
#include "core/MessageHost.h"

namespace tessaly {

// The "Loading Labels" progress window. The importers drive it at fixed
// points; the GUI paints a bar, tests record the calls.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // Moves the bar, 0 to 100.
    virtual void SetPosition(int percent) = 0;
    // Repaints the window and shows it (no other messages are processed).
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// A progress window nobody sees: for batch tools and fuzzers.
class NoImportProgress final : public ImportProgress {
public:
    void SetPosition(int) override {}
    void Show() override {}
    void Hide() override {}
};

// Results of the importers. Layout 1 ends early on a marker line whose value
// is not hexadecimal; that listing is recognised but broken, so layout 2 is
// not tried on it.
inline constexpr int kImportOk = 1;
inline constexpr int kImportNotRecognised = -1;
inline constexpr int kImportBadValue = -2;
inline constexpr int kImportUnreadable = -3;

// Fills the workspace's label lists from an assembler listing, trying the
// symbol-table layout first and the name=value layout second. Returns 1, or
// -1 after a message (the file cannot be read, neither layout fits, or a
// value of the symbol table is not hexadecimal).
int ImportListingLabels(const std::filesystem::path& path, Workspace& w, ImportProgress& progress,
                        MessageHost& messages);
int ImportListingLabels(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                        MessageHost& messages);

// Symbol-table layout: name in columns 1-32, type marker in 33-42, value in
// 43-46. Returns kImportOk, kImportNotRecognised (lists untouched),
// kImportBadValue or kImportUnreadable (both after a message).
int ImportLayout1(const std::filesystem::path& path, Workspace& w, ImportProgress& progress, MessageHost& messages);
int ImportLayout1(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                  MessageHost& messages);

// name=value layout: entries of 23 characters side by side. Returns kImportOk
// when at least five entries were stored, kImportNotRecognised otherwise,
// kImportUnreadable after a message. The bit list always ends as a copy of
// the number list.
int ImportLayout2(const std::filesystem::path& path, Workspace& w, ImportProgress& progress, MessageHost& messages);
int ImportLayout2(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                  MessageHost& messages);

// Reads a whole file as lines; false when it cannot be read.
bool ReadListingLines(const std::filesystem::path& path, std::vector<std::string>& lines);

}  // namespace tessaly
