#pragma once

#include <functional>
#include <string>

#include "control/Location.h"

class QMenu;

namespace tessaly {
class Processor;
}

namespace tessaly::ui {

// What a location's right-click menu offers besides Copy, in every view that
// shows locations (the memory grids, the SFR boxes and flags, the watch rows,
// the C variables). Each takes the location by the name the data break
// points take: "30H", "ACC", "CY", "X:1234H", "BIT:07H" or a C expression.
struct LocationCommands {
    // Back to just after the instruction that last wrote the location.
    std::function<void(const std::string& name)> lastWrite;
    // A data break point on the location's writes, shown in its window.
    std::function<void(const std::string& name)> addDataBreakPoint;
};

// Adds Last Write and Add Data Break Point for `name` to `menu`, after a
// separator when the menu already has items. With no commands nothing is
// added; with an empty name (nothing there to name) they are disabled.
void AddLocationCommands(QMenu& menu, const LocationCommands* commands, const std::string& name);

// The name by which the data break points and Last Write take `at`: a
// register by its name, a bit by its nickname (by its position, "P3.4",
// where the nickname is also a register's name), internal RAM as "30H"
// ("0A5H" where the address begins with a letter, so it is never read as a
// C name), external RAM as "X:1234H", bit memory as "BIT:07H".
std::string DataBreakName(const Processor& p, const Location& at);

}  // namespace tessaly::ui
