#pragma once

#include <string_view>

#include "analysis/ListingImport.h"
#include "persistence/History.h"
#include "persistence/LayoutWindows.h"

namespace tessaly {

enum class ProcessPriority { Idle, Normal, High };
enum class ThreadPriority { Lowest, Idle, BelowNormal, Normal, AboveNormal, Highest };

// What only the desktop can do for the session: its windows, menus, caption
// and command states, and the priorities of the process. The headless
// runner and tests answer with a few lines.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    // The 22 windows behind the layout entries.
    virtual LayoutWindows& Windows() = 0;
    // The File menu's history items.
    virtual HistoryMenu& OpenedFilesMenu() = 0;
    // Ticks or unticks history item `number` (1 to 10).
    virtual void CheckHistoryItem(int number, bool checked) = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    // The main window takes no input while disabled.
    virtual void SetMainWindowEnabled(bool enabled) = 0;
    // Enables the commands for a loaded program, or for none.
    virtual void UpdateCommandStates(bool fileOpen) = 0;
    // The "Loading Labels" progress window.
    virtual ImportProgress& LabelProgress() = 0;
    // False when the system refuses.
    virtual bool SetProcessPriority(ProcessPriority priority) = 0;
    virtual bool SetThreadPriority(ThreadPriority priority) = 0;
};

}  // namespace tessaly
