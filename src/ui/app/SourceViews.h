#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <filesystem>

#include "persistence/LayoutWindows.h"
#include "persistence/SourceWindowsLayout.h"
#include "views/CDebugView.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace tessaly {
class DebugInfo;
}

namespace tessaly::ui {

class SourceView;

// The C debugging windows (Source, Call Stack, Locals) in the frame's
// document area. They come with C debug information: the Source window opens
// whenever a .cdb is loaded, the other two unless they were closed last
// time, and all three close when the program does. Their places are kept in
// files of their own (SourceWindowsLayout) beside the window layout.
class SourceViews : public QObject {
    Q_OBJECT
public:
    // `childViews` gives the scale of the defaults, as the child views' are
    // scaled.
    SourceViews(QMdiArea& area, const LayoutWindows& childViews, CDebugContext& context,
                std::array<QAction*, 3> viewItems);

    // Start-up: where the windows were at the last exit, else the defaults.
    void LoadLayout();
    // Exit: the windows' places written for the next start-up.
    void SaveLayout();
    // The Window menu's save and restores, beside the child views' (whose
    // save says when the folder cannot be written).
    void SaveStatus();
    void RestoreStatus();
    void RestoreDefaults();
    const SourceWindowsLayout& Layout() const { return layout_; }

    // The View menu: closes an open window, opens a closed one.
    void Toggle(int index);
    CDebugView* View(int index) const { return views_[static_cast<std::size_t>(index)]; }
    SourceView* Source() const;

    // Every refresh of the views: the call stack first, then the windows
    // opened or closed as C debug information came or went, then each open
    // window brought up to date.
    void Refresh();
    // Each open window brought up to date with the frame now selected.
    void RefreshWindows();
    // Runs to the first address of the Source window's cursor line; a
    // message says why when there is none.
    void RunToCursor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDebugView* Open(int index);
    void Close(int index, bool track);
    QMdiSubWindow* Frame(int index) const;
    void Capture();
    void Apply();
    std::filesystem::path FileNamed(const char* name) const;

    SourceWindowsLayout Defaults() const;

    QMdiArea& area_;
    const LayoutWindows& childViews_;
    CDebugContext& context_;
    std::array<QAction*, 3> viewItems_;
    std::array<QPointer<CDebugView>, 3> views_{};
    SourceWindowsLayout layout_ = DefaultSourceWindowsLayout();
    const DebugInfo* shownInfo_ = nullptr;
    // While clear, a closing window leaves its layout entry as it was.
    bool track_ = true;
};

}  // namespace tessaly::ui
