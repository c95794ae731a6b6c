#include "app/DesktopHosts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <chrono>

#include "app/ChildViews.h"
#include "app/CommandActions.h"
#include "app/MainWindow.h"
#include "app/SourceViews.h"

namespace tessaly::ui {

// Input and painting are handled at most every few milliseconds: more often
// than the eye or hand can tell, seldom enough that a run refreshing its
// views after every instruction is not held up repainting them each time.
// The views themselves are brought up to date at every refresh.
void DesktopRunHost::PumpEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval) return;
    lastPump_ = now;
    QApplication::processEvents(QEventLoop::AllEvents);
}

void DesktopRunHost::RefreshViews() {
    refreshPending_ = false;
    lastRefresh_ = std::chrono::steady_clock::now();
    // The C windows first: they take the call stack the watch's C variables
    // then read.
    if (sourceViews_) sourceViews_->Refresh();
    if (views_) views_->RefreshAll();
}

// A running loop refreshes the views at most a hundred times a second; a
// refresh left out is made when the event loop next runs, so the views show
// the last state once the loop yields or ends.
void DesktopRunHost::RefreshViewsDuringRun() {
    if (std::chrono::steady_clock::now() - lastRefresh_ >= kRunRefreshInterval) {
        RefreshViews();
        return;
    }
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, &statusBar_, [this] {
        if (refreshPending_) RefreshViews();
    });
}

void DesktopRunHost::RefreshExternalRAMFully() {
    if (views_) views_->RefreshExternalRAMFully();
}

void DesktopRunHost::Sleep(std::uint32_t milliseconds) { QThread::msleep(milliseconds); }

void DesktopRunHost::SetStatusText(StatusPanel panel, std::string_view text, bool repaintNow) {
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QLabel* label = panels_[static_cast<std::size_t>(panel)];
    if (label->text() != value) label->setText(value);
    if (repaintNow) statusBar_.repaint();
}

void DesktopRunHost::RunStateChanged(RunState state) {
    actions_.ShowRunningGlyph(state == RunState::Running);
    actions_.SetStepRunning(state == RunState::Stepping);
}

LayoutWindows& DesktopSessionHost::Windows() { return *views_; }

void DesktopSessionHost::CheckHistoryItem(int number, bool checked) {
    if (number >= 1 && number <= 10) actions_.HistoryItems()[static_cast<std::size_t>(number - 1)]->setChecked(checked);
}

void DesktopSessionHost::SetCaption(std::string_view caption) {
    window_.setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void DesktopSessionHost::SetMainWindowEnabled(bool enabled) { window_.setEnabled(enabled); }

void DesktopSessionHost::UpdateCommandStates(bool fileOpen) { actions_.UpdateCommandStates(fileOpen); }

ImportProgress& DesktopSessionHost::LabelProgress() { return progress_ ? *progress_ : noProgress_; }

bool DesktopSessionHost::SetItem(std::string_view name, std::string_view caption, bool visible) {
    QAction* item = actions_.Find(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!item) return false;
    // A path is shown as it is: an ampersand in it is no mnemonic.
    item->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())).replace("&", "&&"));
    item->setVisible(visible);
    return true;
}

bool DesktopSessionHost::SetSeparatorVisible(std::string_view name, bool visible) {
    QAction* separator = actions_.HistorySeparator();
    if (!separator || separator->objectName().toStdString() != name) return false;
    separator->setVisible(visible);
    return true;
}

}  // namespace tessaly::ui
