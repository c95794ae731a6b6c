#pragma once

#include <filesystem>
#include <string_view>

#include "core/MessageHost.h"
#include "core/TextList.h"

namespace tessaly {

// The opened-files history `lstOpenedFiles`: full program paths, newest
// first, kept in "flmitms.sud" as one line per path, each ended by CR LF.
inline constexpr const char* kHistoryFileName = "flmitms.sud";
inline constexpr std::size_t kOpenedFilesLimit = 10;

// Replaces the list with the lines of the history file, or empties it when
// there is no file. Returns 1, or -1 when the file exists but cannot be read
// (the list is then empty).
int LoadHistory(const std::filesystem::path& configDir, TextList& history);

// Writes the list to the history file, replacing it. Returns 1, or -1 when
// the file cannot be written (the previous file then stays).
int SaveHistory(const std::filesystem::path& configDir, const TextList& history);

// Empties the list and saves it; returns what SaveHistory returns.
int ClearHistory(const std::filesystem::path& configDir, TextList& history);

// Puts `path` at the top. Paths are compared without regard to letter case.
// Returns 3 when it was added and the list had room, 2 when it was added
// after the tenth entry was dropped, 1 when an existing entry (which keeps its
// own spelling) was moved to the top.
int AddToHistory(TextList& history, std::string_view path);

// The File menu's ten history items "muiOpenedFile1".."muiOpenedFile10" and
// the separator "muiLastSeparator" after them.
class HistoryMenu {
public:
    virtual ~HistoryMenu() = default;
    // Sets the caption and visibility of the named item; false when the menu
    // has no item of that name.
    virtual bool SetItem(std::string_view name, std::string_view caption, bool visible) = 0;
    virtual bool SetSeparatorVisible(std::string_view name, bool visible) = 0;
};

// Hides the ten items, then shows one per history entry. Returns 1, or 2 for
// an empty history; after a message -1 (an item to clear is missing), -3 (an
// item for an entry is missing: the history has more than ten entries) or -4
// (the separator is missing).
int RebuildHistoryMenu(const TextList& history, HistoryMenu& menu, MessageHost& messages);

}  // namespace tessaly
