#include "app/ChildViews.h"

#include <QAction>
#include <algorithm>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "session/Session.h"

namespace tessaly::ui {

namespace {

WindowBounds BoundsOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect RectOf(const WindowBounds& b) { return {b.left, b.top, b.width, b.height}; }

}  // namespace

ChildViews::ChildViews(QMdiArea& area, Session& session, ChildViewFactory factory, std::array<QAction*, 9> viewItems)
    : QObject(&area), area_(area), session_(session), factory_(std::move(factory)), viewItems_(viewItems) {}

void ChildViews::RegisterWindow(std::size_t index, QWidget* window) {
    windows_[index] = window;
    if (window) window->setGeometry(RectOf(keptBounds_[index]));
}

QMdiSubWindow* ChildViews::Frame(std::size_t index) const {
    return views_[index] ? qobject_cast<QMdiSubWindow*>(views_[index]->parentWidget()) : nullptr;
}

ChildView* ChildViews::OpenChildWindow(int index) {
    const auto i = static_cast<std::size_t>(index);
    if (views_[i]) return views_[i];
    ChildView* view = factory_(index);
    views_[i] = view;
    QMdiSubWindow* frame = area_.addSubWindow(view);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(view->windowTitle());
    frame->installEventFilter(this);
    if (viewItems_[i]) viewItems_[i]->setChecked(true);
    if (index == layout_window::kExternalRam) view->RefreshFully();
    Place(*frame, session_.layout.entries[i].bounds);
    frame->show();
    session_.controller().RefreshViews();
    return view;
}

// Recorded sizes suit the fonts they were recorded with; a view is never
// placed smaller than its contents need with this system's font, whether it
// opens or a layout moves it.
void ChildViews::Place(QMdiSubWindow& frame, const WindowBounds& bounds) {
    frame.setGeometry(RectOf(bounds));
    const QSize needed = frame.sizeHint();
    if (frame.width() < needed.width() || frame.height() < needed.height()) {
        frame.resize(std::max(frame.width(), needed.width()), std::max(frame.height(), needed.height()));
    }
}

// The default bounds were laid out for a font whose characters average 5 by
// 13 pixels: a larger system font gets windows as much larger, and more where
// this style's controls need more room still, so that every view shows all
// of its contents and the windows keep their arrangement.
LayoutScale ChildViews::DefaultLayoutScale() const {
    if (defaultScale_) return *defaultScale_;
    const QFontMetricsF metrics(area_.font());
    LayoutScale scale{metrics.averageCharWidth() / 5.0, metrics.height() / 13.0};
    WindowLayout designed;
    LoadDefaultLayout(designed);
    for (std::size_t i = 0; i < views_.size(); ++i) {
        ChildView* view = factory_(static_cast<int>(i));
        if (!view) continue;
        QMdiSubWindow frame;  // measured outside the area, freed with the view
        frame.setWidget(view);
        const QSize needed = frame.sizeHint();
        const WindowBounds& bounds = designed.entries[i].bounds;
        scale.x = std::max(scale.x, needed.width() / static_cast<double>(bounds.width));
        scale.y = std::max(scale.y, needed.height() / static_cast<double>(bounds.height));
    }
    defaultScale_ = scale;
    return scale;
}

void ChildViews::Toggle(int index) {
    const auto i = static_cast<std::size_t>(index);
    if (views_[i]) {
        CloseChild(i);
        return;
    }
    ChildView* view = OpenChildWindow(index);
    // Warnings, errors and the watch list show their lists at once (external
    // RAM rewrote all of its cells as it opened).
    if (index == layout_window::kActiveWatch || index == layout_window::kWarnings || index == layout_window::kErrors) {
        view->RefreshFully();
    }
}

bool ChildViews::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (std::size_t i = 0; i < views_.size(); ++i) {
            if (Frame(i) == watched) {
                session_.ChildWindowClosed(i, BoundsOf(Frame(i)->geometry()));
                Forget(i);
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void ChildViews::Forget(std::size_t index) {
    if (viewItems_[index]) viewItems_[index]->setChecked(false);
    views_[index] = nullptr;
}

void ChildViews::RefreshAll() {
    // The order the views have always refreshed in: status, SFRs, internal
    // RAM, external RAM, bit memory, watch, terminal, warnings, errors.
    for (const auto& view : views_) {
        if (view) view->Refresh();
    }
}

void ChildViews::RefreshExternalRAMFully() {
    if (ChildView* view = View(layout_window::kExternalRam)) view->RefreshFully();
}

void ChildViews::CloseAll() {
    const QList<QMdiSubWindow*> frames = area_.subWindowList(QMdiArea::CreationOrder);
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) (*it)->close();
}

bool ChildViews::IsChildOpen(std::size_t index) const { return index < views_.size() && views_[index]; }

void ChildViews::OpenChild(std::size_t index) { OpenChildWindow(static_cast<int>(index)); }

void ChildViews::CloseChild(std::size_t index) {
    if (QMdiSubWindow* frame = Frame(index)) frame->close();
}

WindowBounds ChildViews::Bounds(std::size_t index) const {
    if (index < views_.size()) {
        const QMdiSubWindow* frame = Frame(index);
        return frame ? BoundsOf(frame->geometry()) : WindowBounds{};
    }
    return windows_[index] ? BoundsOf(windows_[index]->geometry()) : keptBounds_[index];
}

void ChildViews::SetBounds(std::size_t index, const WindowBounds& bounds) {
    if (index < views_.size()) {
        if (QMdiSubWindow* frame = Frame(index)) Place(*frame, bounds);
        return;
    }
    keptBounds_[index] = bounds;
    if (windows_[index]) windows_[index]->setGeometry(RectOf(bounds));
}

bool ChildViews::IsShown(std::size_t index) const {
    return windows_[index] ? windows_[index]->isVisible() : keptShown_[index];
}

// The dialogs among the layout windows are shown modally by their commands;
// a layout can only record them as hidden or bring back a tool window.
void ChildViews::SetShown(std::size_t index, bool shown) {
    keptShown_[index] = shown;
    if (windows_[index] && !shown) windows_[index]->hide();
}

}  // namespace tessaly::ui
