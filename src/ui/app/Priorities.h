#pragma once

#include "session/SessionHost.h"

namespace tessaly::ui {

// Process and thread priorities as nice values: the process position sets a
// base, the thread position moves the simulation (user-interface) thread
// around it. Raising a priority above the normal one needs the right to do so;
// without it the system refuses and the session says so.
class Priorities {
public:
    bool SetProcess(ProcessPriority priority);
    bool SetThread(ThreadPriority priority);

private:
    bool Apply();
    int base_ = 0;
    int offset_ = 0;
};

}  // namespace tessaly::ui
