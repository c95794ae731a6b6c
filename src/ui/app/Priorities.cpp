#include "app/Priorities.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tessaly::ui {

namespace {

int NiceOf(ProcessPriority priority) {
    switch (priority) {
    case ProcessPriority::Idle: return 19;
    case ProcessPriority::Normal: return 0;
    case ProcessPriority::High: return -10;
    }
    return 0;
}

int OffsetOf(ThreadPriority priority) {
    switch (priority) {
    case ThreadPriority::Lowest: return 4;
    case ThreadPriority::Idle: return 19;
    case ThreadPriority::BelowNormal: return 2;
    case ThreadPriority::Normal: return 0;
    case ThreadPriority::AboveNormal: return -2;
    case ThreadPriority::Highest: return -4;
    }
    return 0;
}

// Linux keeps a nice value per thread; the simulation runs on this one.
bool SetThreadNice(int nice) {
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    if (getpriority(PRIO_PROCESS, thread) == nice) return true;
    return setpriority(PRIO_PROCESS, thread, std::clamp(nice, -20, 19)) == 0;
}

}  // namespace

bool Priorities::SetProcess(ProcessPriority priority) {
    base_ = NiceOf(priority);
    return Apply();
}

bool Priorities::SetThread(ThreadPriority priority) {
    offset_ = OffsetOf(priority);
    return Apply();
}

bool Priorities::Apply() { return SetThreadNice(base_ + offset_); }

}  // namespace tessaly::ui
