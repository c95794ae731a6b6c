#pragma once

#include <functional>

#include "control/Location.h"

namespace tessaly {
class Session;
}

namespace tessaly::ui {

struct LocationCommands;

// What a child view or dialog may reach besides the machine it shows: the
// session (processor, workspace, settings, watch list, break points and the
// controller's RefreshViews), and the main window's commands it leads to.
struct ViewContext {
    Session& session;
    // Opens the General Write dialog preset to a location, as a double-click
    // on a value does.
    std::function<void(const Location& at)> openGeneralWrite;
    // The View menu's toggle of child view `index` (0-8).
    std::function<void(int index)> toggleView;
    // Shows the executed-instruction history in the list viewer.
    std::function<void()> showListViewer;
    // What a location's right-click menu offers; none leaves them out.
    const LocationCommands* locationCommands = nullptr;
};

}  // namespace tessaly::ui
