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
// there is no file. False when the file exists but cannot be read (the list
// is then empty).
bool LoadHistory(const std::filesystem::path& configDir, TextList& history);

// Writes the list to the history file, replacing it. False when the file
// cannot be written (the previous file then stays).
bool SaveHistory(const std::filesystem::path& configDir, const TextList& history);

// Empties the list and saves it; returns what SaveHistory returns.
bool ClearHistory(const std::filesystem::path& configDir, TextList& history);

// What AddToHistory did.
enum class HistoryAdd {
    MovedToTop = 1,      // an existing entry, which keeps its own spelling
    AddedDroppingLast = 2,  // added after the tenth entry was dropped
    Added = 3,           // added, the list had room
};

// Puts `path` at the top. Paths are compared without regard to letter case.
HistoryAdd AddToHistory(TextList& history, std::string_view path);

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

// How a rebuild of the history items ended; the last three after a message.
enum class HistoryMenuRebuild {
    Shown = 1,
    Empty = 2,
    ItemToClearMissing = -1,
    ItemForEntryMissing = -3,  // the history has more than ten entries
    SeparatorMissing = -4,
};

// Hides the ten items, then shows one per history entry.
HistoryMenuRebuild RebuildHistoryMenu(const TextList& history, HistoryMenu& menu, MessageHost& messages);

}  // namespace tessaly
