#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/SymbolFile.h"
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

// What an assembler listing layout made of a file. Layout 1 ends early on a
// marker line whose value is not hexadecimal; that listing is recognised but
// broken, so layout 2 is not tried on it.
enum class LayoutImport { Ok, NotRecognised, BadValue };

// Fills the workspace's label lists from a symbol file. SDCC's files (.map,
// .noi, .cdb, .rst, see SymbolFile.h) are read as their extension says; any
// other file is an assembler listing: the symbol-table layout is tried first,
// the name=value layout second, as31's listing third. True when it imported;
// false after a message (the file cannot be read, is in none of these
// formats, or a value of the symbol table is not hexadecimal).
bool ImportListingLabels(const std::filesystem::path& path, Workspace& w, ImportProgress& progress,
                         MessageHost& messages);
bool ImportListingLabels(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                         MessageHost& messages);

// The lines of a file of the given kind, as ImportListingLabels reads them.
bool ImportSymbolLines(SymbolFileKind kind, const std::vector<std::string>& lines, Workspace& w,
                       ImportProgress& progress, MessageHost& messages);

// Several files imported together: the first as ImportListingLabels does,
// each further one merged into it (MergeLabels), so that where two files name
// one value the more specific name wins. Stops with false at the first file
// that does not import; the lists then hold what the files before it gave.
bool ImportLabelFiles(const std::vector<std::filesystem::path>& paths, Workspace& w, ImportProgress& progress,
                      MessageHost& messages);

// The automatic import after a program is opened: tries the candidates in
// order and keeps the first that imports, silently. When none does, the
// first candidate's messages are shown, as if it had been the only one.
bool ImportFirstLabelFile(const std::vector<std::filesystem::path>& candidates, Workspace& w,
                          ImportProgress& progress, MessageHost& messages);

// Symbol-table layout: name in columns 1-32, type marker in 33-42, value in
// 43-46. NotRecognised leaves the lists untouched; BadValue comes after a
// message.
LayoutImport ImportLayout1(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                           MessageHost& messages);

// name=value layout: entries of 23 characters side by side. Ok when at least
// five entries were stored, NotRecognised otherwise. The bit list always ends
// as a copy of the number list.
LayoutImport ImportLayout2(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                           MessageHost& messages);

// Reads a whole file as lines; false when it cannot be read.
bool ReadListingLines(const std::filesystem::path& path, std::vector<std::string>& lines);

}  // namespace tessaly
