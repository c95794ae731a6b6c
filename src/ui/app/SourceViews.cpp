#include "app/SourceViews.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ChildViews.h"
#include "session/Session.h"
#include "views/FrameSelection.h"
#include "views/SourceView.h"
#include "views/ViewFactory.h"

namespace tessaly::ui {

namespace {

WindowBounds BoundsOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

SourceViews::SourceViews(QMdiArea& area, const LayoutWindows& childViews, CDebugContext& context,
                         std::array<QAction*, 3> viewItems)
    : QObject(&area), area_(area), childViews_(childViews), context_(context), viewItems_(viewItems) {}

SourceWindowsLayout SourceViews::Defaults() const { return DefaultSourceWindowsLayout(childViews_.DefaultLayoutScale()); }

std::filesystem::path SourceViews::FileNamed(const char* name) const {
    const std::filesystem::path& folder = context_.session.ConfigDirectory();
    return folder.empty() ? std::filesystem::path() : folder / name;
}

void SourceViews::LoadLayout() {
    const auto file = FileNamed(kSourceWindowsFileName);
    if (file.empty() || !LoadSourceWindowsLayout(file, layout_)) layout_ = Defaults();
}

void SourceViews::Capture() {
    for (int i = 0; i < static_cast<int>(views_.size()); ++i) {
        if (QMdiSubWindow* frame = Frame(i)) layout_.entries[static_cast<std::size_t>(i)] = {BoundsOf(frame->geometry()), 1};
    }
}

void SourceViews::SaveLayout() {
    Capture();
    const auto file = FileNamed(kSourceWindowsFileName);
    if (!file.empty()) SaveSourceWindowsLayout(file, layout_);
}

void SourceViews::SaveStatus() {
    Capture();
    const auto file = FileNamed(kSavedSourceWindowsFileName);
    if (!file.empty()) SaveSourceWindowsLayout(file, layout_);
}

void SourceViews::RestoreStatus() {
    const auto file = FileNamed(kSavedSourceWindowsFileName);
    if (file.empty() || !LoadSourceWindowsLayout(file, layout_)) layout_ = Defaults();
    Apply();
}

void SourceViews::RestoreDefaults() {
    layout_ = Defaults();
    Apply();
}

// The windows as the layout has them; without C debug information none is
// opened.
void SourceViews::Apply() {
    for (int i = 0; i < static_cast<int>(views_.size()); ++i) {
        const WindowLayoutEntry& entry = layout_.entries[static_cast<std::size_t>(i)];
        if (entry.visible && !View(i) && context_.session.source().Info()) Open(i);
        else if (!entry.visible && View(i)) Close(i, false);
        if (QMdiSubWindow* frame = Frame(i)) ChildViews::Place(*frame, entry.bounds);
    }
}

QMdiSubWindow* SourceViews::Frame(int index) const {
    CDebugView* view = View(index);
    return view ? qobject_cast<QMdiSubWindow*>(view->parentWidget()) : nullptr;
}

SourceView* SourceViews::Source() const { return static_cast<SourceView*>(View(source_window::kSource)); }

CDebugView* SourceViews::Open(int index) {
    const auto i = static_cast<std::size_t>(index);
    if (views_[i]) return views_[i];
    context_.frames.Update();
    CDebugView* view = CreateCDebugView(index, context_);
    views_[i] = view;
    QMdiSubWindow* frame = area_.addSubWindow(view);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(view->windowTitle());
    frame->installEventFilter(this);
    layout_.entries[i].visible = 1;
    ChildViews::Place(*frame, layout_.entries[i].bounds);
    if (viewItems_[i]) viewItems_[i]->setChecked(true);
    frame->show();
    view->Refresh();
    return view;
}

void SourceViews::Close(int index, bool track) {
    QMdiSubWindow* frame = Frame(index);
    if (!frame) return;
    const bool tracking = track_;
    track_ = track;
    frame->close();
    track_ = tracking;
}

void SourceViews::Toggle(int index) {
    if (View(index)) Close(index, true);
    else Open(index);
}

bool SourceViews::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (std::size_t i = 0; i < views_.size(); ++i) {
            if (Frame(static_cast<int>(i)) != watched) continue;
            // Closed with the program, it keeps its place and stays open for
            // the next; closed by the user, it stays closed.
            layout_.entries[i].bounds = BoundsOf(Frame(static_cast<int>(i))->geometry());
            if (track_) layout_.entries[i].visible = 0;
            if (viewItems_[i]) viewItems_[i]->setChecked(false);
            views_[i] = nullptr;
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void SourceViews::Refresh() {
    context_.frames.Update();
    const DebugInfo* info = context_.session.source().Info();
    if (info != shownInfo_) {
        shownInfo_ = info;
        for (int i = 0; i < static_cast<int>(views_.size()); ++i) {
            // The program's windows go with it, and come back with the next.
            if (!info) Close(i, false);
            else if (i == source_window::kSource || layout_.entries[static_cast<std::size_t>(i)].visible) Open(i);
        }
    }
    RefreshWindows();
}

void SourceViews::RefreshWindows() {
    for (const auto& view : views_) {
        if (view) view->Refresh();
    }
}

void SourceViews::RunToCursor() {
    SourceView* source = Source();
    const auto at = source ? source->CursorAddress()
                           : std::variant<std::uint16_t, std::string>(
                                 "Run to Cursor runs to the line of the text cursor in the Source window: "
                                 "open it first (View, Source)");
    if (const auto* why = std::get_if<std::string>(&at)) {
        context_.messages.Tell(MessageKind::Plain, *why);
        return;
    }
    context_.session.RunToCursor(std::get<std::uint16_t>(at));
}

}  // namespace tessaly::ui
