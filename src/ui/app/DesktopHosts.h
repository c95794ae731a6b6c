#pragma once

#include <array>
#include <chrono>

#include "app/Priorities.h"
#include "control/RunHost.h"
#include "persistence/History.h"
#include "session/SessionHost.h"

class QLabel;
class QStatusBar;

namespace tessaly::ui {

class ChildViews;
class CommandActions;
class MainWindow;
class SourceViews;

// The main window's answers to the execution controller: Qt's event loop
// between instructions, the child views, the three status panels and the
// Start/Stop command.
class DesktopRunHost : public RunHost {
public:
    DesktopRunHost(QStatusBar& statusBar, std::array<QLabel*, 3> panels, CommandActions& actions)
        : statusBar_(statusBar), panels_(panels), actions_(actions) {}
    void SetViews(ChildViews* views) { views_ = views; }
    void SetSourceViews(SourceViews* views) { sourceViews_ = views; }

    void PumpEvents() override;
    void RefreshViews() override;
    void RefreshViewsDuringRun() override;
    void RefreshExternalRAMFully() override;
    void Sleep(std::uint32_t milliseconds) override;
    void SetStatusText(StatusPanel panel, std::string_view text, bool repaintNow) override;
    void RunStateChanged(RunState state) override;

private:
    QStatusBar& statusBar_;
    std::array<QLabel*, 3> panels_;
    CommandActions& actions_;
    ChildViews* views_ = nullptr;
    SourceViews* sourceViews_ = nullptr;
    static constexpr std::chrono::milliseconds kPumpInterval{5};
    static constexpr std::chrono::milliseconds kRunRefreshInterval{10};
    std::chrono::steady_clock::time_point lastPump_{};
    std::chrono::steady_clock::time_point lastRefresh_{};
    bool refreshPending_ = false;
};

// The main window's answers to the session: its windows, history menu,
// caption, command states, labels progress window and priorities.
class DesktopSessionHost : public SessionHost, public HistoryMenu {
public:
    DesktopSessionHost(MainWindow& window, CommandActions& actions) : window_(window), actions_(actions) {}
    void SetViews(ChildViews* views) { views_ = views; }
    void SetLabelProgress(ImportProgress* progress) { progress_ = progress; }

    LayoutWindows& Windows() override;
    HistoryMenu& OpenedFilesMenu() override { return *this; }
    void CheckHistoryItem(int number, bool checked) override;
    void SetCaption(std::string_view caption) override;
    void SetMainWindowEnabled(bool enabled) override;
    void UpdateCommandStates(bool fileOpen) override;
    ImportProgress& LabelProgress() override;
    bool SetProcessPriority(ProcessPriority priority) override { return priorities_.SetProcess(priority); }
    bool SetThreadPriority(ThreadPriority priority) override { return priorities_.SetThread(priority); }

    bool SetItem(std::string_view name, std::string_view caption, bool visible) override;
    bool SetSeparatorVisible(std::string_view name, bool visible) override;

private:
    MainWindow& window_;
    CommandActions& actions_;
    ChildViews* views_ = nullptr;
    ImportProgress* progress_ = nullptr;
    NoImportProgress noProgress_;
    Priorities priorities_;
};

}  // namespace tessaly::ui
