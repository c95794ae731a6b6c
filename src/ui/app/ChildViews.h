#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

#include "persistence/LayoutWindows.h"
#include "views/ChildView.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// Makes the child view of a layout index; the main window's views, or a
// test's.
using ChildViewFactory = std::function<ChildView*(int index)>;

// The nine child views in the frame's document area and the thirteen other
// windows of the layout. Views are created when opened and freed when
// closed; a closing view reports its bounds to the session and unticks its
// View menu item.
class ChildViews : public QObject, public LayoutWindows {
    Q_OBJECT
public:
    ChildViews(QMdiArea& area, Session& session, ChildViewFactory factory, std::array<QAction*, 9> viewItems);

    // A window that exists for the whole run, for layout entry 9-21.
    void RegisterWindow(std::size_t index, QWidget* window);

    // Creates the view of that index, ticks its menu item, places it from its
    // layout entry and refreshes every view.
    ChildView* OpenChildWindow(int index);
    // The View menu: closes an open view, opens a closed one.
    void Toggle(int index);
    ChildView* View(int index) const { return views_[static_cast<std::size_t>(index)]; }

    // Every open view, in the refresh order.
    void RefreshAll();
    // The External RAM view, when open, rewrites all of its cells.
    void RefreshExternalRAMFully();
    void CloseAll();

    // LayoutWindows
    bool IsChildOpen(std::size_t index) const override;
    void OpenChild(std::size_t index) override;
    void CloseChild(std::size_t index) override;
    WindowBounds Bounds(std::size_t index) const override;
    void SetBounds(std::size_t index, const WindowBounds& bounds) override;
    bool IsShown(std::size_t index) const override;
    void SetShown(std::size_t index, bool shown) override;
    LayoutScale DefaultLayoutScale() const override;

    // Places a window of the document area at `bounds`, never smaller than
    // its contents need with this system's font.
    static void Place(QMdiSubWindow& frame, const WindowBounds& bounds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMdiSubWindow* Frame(std::size_t index) const;
    void Forget(std::size_t index);

    QMdiArea& area_;
    Session& session_;
    ChildViewFactory factory_;
    std::array<QAction*, 9> viewItems_;
    std::array<QPointer<ChildView>, 9> views_{};
    std::array<QPointer<QWidget>, 22> windows_{};
    // Bounds of layout windows that are not built yet, kept as they were set.
    std::array<WindowBounds, 22> keptBounds_{};
    std::array<bool, 22> keptShown_{};
    mutable std::optional<LayoutScale> defaultScale_;
};

}  // namespace tessaly::ui
