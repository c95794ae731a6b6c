#pragma once

#include <QWidget>

#include "persistence/WindowLayout.h"

namespace tessaly::ui {

// A child view of the main window: one of the nine windows with a fixed
// index in the window layout (0 execution status, 1 SFRs, 2 internal RAM,
// 3 external RAM, 4 bit memory, 5 active watch, 6 terminal, 7 warnings,
// 8 errors). It holds no simulation state: it reads the machine when it
// refreshes and rewrites only what changed since its last refresh.
class ChildView : public QWidget {
    Q_OBJECT
public:
    ChildView(int index, const QString& caption, QWidget* parent = nullptr) : QWidget(parent), index_(index) {
        setWindowTitle(caption);
    }
    int Index() const { return index_; }

    // Brings the view up to date with the machine.
    virtual void Refresh() = 0;
    // Rewrites every cell, not only those that changed.
    virtual void RefreshFully() { Refresh(); }

private:
    int index_;
};

// The captions of the nine child views, by layout index.
inline const char* const kChildViewCaptions[9] = {
    "Execution Status", "Special Function Registers", "Internal RAM", "External RAM", "Bit Memory",
    "Active Watch",     "Terminal Window",            "Warnings",     "Errors",
};

}  // namespace tessaly::ui
