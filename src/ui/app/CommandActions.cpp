#include "app/CommandActions.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <utility>

namespace tessaly::ui {

namespace {

// Tags of the enabling rule.
constexpr int kAlways = 0;
constexpr int kWithoutProgram = 1;
constexpr int kWithProgram = 3;

}  // namespace

QIcon ResourceIcon(const QString& name) {
    const QString path = ":/icons/" + name + ".svg";
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

CommandActions::CommandActions(QMainWindow& window) : QObject(&window) {
    BuildMenus(window);
    BuildToolBar(window);
}

QAction* CommandActions::Find(const QString& name) const {
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* CommandActions::operator[](const QString& name) const {
    QAction* action = Find(name);
    // A name no command has is a fault in the program, in every build.
    if (!action) qFatal("CommandActions: no command named %s", qPrintable(name));
    return action;
}

QAction* CommandActions::Add(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                             int tag, const QString& icon, const QString& hint) {
    auto* action = new QAction(caption, parent());
    action->setObjectName(name);
    action->setProperty("tag", tag);
    if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
    if (!icon.isEmpty()) action->setIcon(ResourceIcon(icon));
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    if (menu) menu->addAction(action);
    actions_[name] = action;
    return action;
}

void CommandActions::BuildFileMenu(QMainWindow& window) {
    QMenu* file = window.menuBar()->addMenu("File");
    Add(file, "ateOpenFile", "Open File", "Ctrl+O", kWithoutProgram, "open-file", "Open File");
    Add(file, "ateCloseFile", "Close File", "Ctrl+C", kWithProgram, "close-file", "Close File");
    file->addSeparator();
    Add(file, "ateGetLabelsFromFile", "Get Labels From File", "Ctrl+L", kWithProgram, "get-labels", "Get Labels");
    file->addSeparator();
    Add(file, "ateOpenSimulation", "Open Simulation", "Ctrl+M", kWithoutProgram, "open-simulation",
        "Open Simulation");
    Add(file, "ateSaveSimulation", "Save Simulation", "Ctrl+S", kWithProgram, "save-simulation", "Save Simulation");
    file->addSeparator();
    for (int n = 1; n <= 10; ++n) {
        const QByteArray name = "muiOpenedFile" + QByteArray::number(n);
        QAction* item = Add(file, name.constData(), QString(), QString(), kAlways);
        item->setCheckable(true);
        item->setVisible(false);
        historyItems_[static_cast<std::size_t>(n - 1)] = item;
    }
    historySeparator_ = file->addSeparator();
    historySeparator_->setObjectName("muiLastSeparator");
    historySeparator_->setVisible(false);
    Add(file, "ateExit", "Exit", QString(), kAlways, "exit", "Exit");
}

void CommandActions::BuildMenus(QMainWindow& window) {
    BuildFileMenu(window);

    QMenu* execution = window.menuBar()->addMenu("Execution");
    Add(execution, "ateStartExecution", "Start/Stop Execution", "Ctrl+T", kWithProgram, "start", "Start Execution");
    Add(execution, "ateResetExecution", "Reset Execution", "Ctrl+R", kWithProgram, "reset", "Reset Execution");

    QMenu* view = window.menuBar()->addMenu("View");
    struct ViewItem {
        const char* name;
        const char* caption;
        const char* shortcut;
        const char* icon;
        int index;
        bool separatorBefore;
    };
    static constexpr ViewItem kViewItems[] = {
        {"muiSFRWindow", "Special Function Registers ( SFRs )", "Ctrl+F", "view-sfr", 1, false},
        {"muiIntRAM", "Internal RAM", "", "view-intram", 2, false},
        {"muiExtRAM", "External RAM", "", "view-extram", 3, false},
        {"muiBitMemWindow", "Bit Memory", "", "view-bitmem", 4, false},
        {"muiActiveWatchWindow", "Active Watch", "", "view-watch", 5, true},
        {"muiExecutionStausWindow", "Execution Status Window", "Ctrl+E", "view-status", 0, true},
        {"muiTerminalWindow", "Terminal Window", "", "view-terminal", 6, true},
        {"muiWarnings", "Warnings", "", "view-warnings", 7, true},
        {"muiErrors", "Errors", "", "view-errors", 8, false},
    };
    for (const ViewItem& item : kViewItems) {
        if (item.separatorBefore) view->addSeparator();
        QAction* action = Add(view, item.name, item.caption, item.shortcut, kWithProgram, item.icon);
        action->setCheckable(true);
        viewItems_[static_cast<std::size_t>(item.index)] = action;
    }
    // The C debugging windows, after the classic views.
    view->addSeparator();
    static constexpr std::pair<const char*, const char*> kSourceViewItems[] = {
        {"muiSourceWindow", "Source"}, {"muiCallStackWindow", "Call Stack"}, {"muiLocalsWindow", "Locals"}};
    for (std::size_t i = 0; i < sourceViewItems_.size(); ++i) {
        sourceViewItems_[i] = Add(view, kSourceViewItems[i].first, kSourceViewItems[i].second, "", kWithProgram);
        sourceViewItems_[i]->setCheckable(true);
    }

    QMenu* debugging = window.menuBar()->addMenu("Debugging");
    Add(debugging, "muiSingleStep", "Single Step", "F2", kWithProgram, "single-step");
    Add(debugging, "muiBulkStep", "Bulk Step", "F3", kWithProgram, "bulk-step");
    Add(debugging, "muiTimeBase", "Time Base", "F4", kWithProgram, "time-base");
    debugging->addSeparator();
    Add(debugging, "muiSkipInstruction", "Skip Instruction", "F5", kWithProgram, "skip");
    debugging->addSeparator();
    Add(debugging, "muiStopDebugging", "Stop Debugging", "F6", kWithProgram, "stop-debugging");
    // Steps by C line; where the PC has no C line each steps one instruction.
    debugging->addSeparator();
    Add(debugging, "muiStepInto", "Step Into", "F11", kWithProgram);
    Add(debugging, "muiStepOver", "Step Over", "F10", kWithProgram);
    Add(debugging, "muiStepOut", "Step Out", "Shift+F11", kWithProgram);
    Add(debugging, "muiRunToCursor", "Run to Cursor", "Ctrl+F10", kWithProgram);

    QMenu* disassembly = window.menuBar()->addMenu("Disassembly");
    Add(disassembly, "muiDisassembleCode", "Disassemble Code", "Ctrl+D", kWithProgram, "disassemble");
    disassembly->addSeparator();
    Add(disassembly, "muiBreakPoints", "Break Points", "Ctrl+B", kWithProgram, "break-points");

    QMenu* initialize = window.menuBar()->addMenu("Initialize");
    Add(initialize, "muiInitSFRRegisters", "SFR Registers", "", kWithProgram);
    Add(initialize, "muiInitInternalRAM", "Internal RAM", "", kWithProgram);
    Add(initialize, "muiInitExternalRAM", "External RAM", "", kWithProgram);
    Add(initialize, "muiInitBitMemory", "Bit Memory", "", kWithProgram);

    QMenu* misc = window.menuBar()->addMenu("Miscellaneous");
    Add(misc, "muiClearOpenedFilesHistory", "Clear opened files history", "", kWithoutProgram);
    misc->addSeparator();
    Add(misc, "muiGeneralRead", "General Read", "", kWithProgram);
    misc->addSeparator();
    Add(misc, "muiGeneralWrite", "General Write", "", kWithProgram);

    windowMenu_ = window.menuBar()->addMenu("Window");
    Add(windowMenu_, "muiCascade", "&Cascade", "", kWithProgram);
    Add(windowMenu_, "muiArrange", "&Arrange", "", kWithProgram);
    Add(windowMenu_, "muiTileHorizontally", "Tile &Horizontally", "", kWithProgram);
    Add(windowMenu_, "muiTileVertically", "&Tile Vertically", "", kWithProgram);
    Add(windowMenu_, "muiMinimizeAll", "&Minimize All", "", kWithProgram);
    Add(windowMenu_, "muiMaximizeAll", "Maximize All", "", kWithProgram);
    Add(windowMenu_, "muiRestoreAll", "Restore All", "", kWithProgram);
    windowMenu_->addSeparator();
    Add(windowMenu_, "muiRestoreDefaultWindowStatus", "Restore default windows status", "", kWithProgram);
    Add(windowMenu_, "muiSaveWindowsStatus", "Save current windows Status", "", kWithProgram);
    Add(windowMenu_, "muiRestoreWindowsStatus", "Restore last save windows Status", "", kWithProgram);
    windowMenu_->addSeparator();
    Add(windowMenu_, "muiClose", "C&lose", "", kWithProgram);
    Add(windowMenu_, "muiCloseAll", "Close All", "", kWithProgram);

    QMenu* options = window.menuBar()->addMenu("Options");
    Add(options, "muiSettings", "Simulation Settings", "", kAlways, "settings");
    options->addSeparator();
    Add(options, "muiHardwareSerial", "Hardware-accurate serial port", "", kAlways)->setCheckable(true);
    Add(options, "muiXramPaging", "Page external RAM through P2", "", kAlways)->setCheckable(true);

    QMenu* help = window.menuBar()->addMenu("Help");
    Add(help, "muiHelpTopics", "View Help File", "", kAlways, "help");
    help->addSeparator();
    Add(help, "muiAbout", "About Tessaly", "", kAlways);
}

void CommandActions::BuildToolBar(QMainWindow& window) {
    toolBar_ = window.addToolBar("Tools");
    toolBar_->setObjectName("tlbMain");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    for (const char* name : {"ateOpenFile", "ateCloseFile", "ateGetLabelsFromFile", "ateOpenSimulation",
                             "ateSaveSimulation"}) {
        toolBar_->addAction(actions_[name]);
    }
    toolBar_->addSeparator();
    toolBar_->addAction(actions_["ateStartExecution"]);
    toolBar_->addAction(actions_["ateResetExecution"]);
    toolBar_->addSeparator();
    struct Button {
        const char* name;
        const char* caption;
        const char* hint;
        const char* icon;
    };
    static constexpr Button kInterruptButtons[] = {
        {"tlbINT_E0", "INT_E0", "External interrupt 0", "int-e0"},
        {"tlbINT_E1", "INT_E1", "External interrupt 1", "int-e1"},
        {"tlbINT_T0", "INT_T0", "Timer 0 interrupt", "int-t0"},
        {"tlbINT_T1", "INT_T1", "Timer 1 interrupt", "int-t1"},
        {"tlbINT_RI", "INT_RI", "Receive Interrupt", "int-ri"},
        {"tlbINT_TI", "INT_TI", "Transmit Interrupt", "int-ti"},
        {"tlbINT_T2", "INT_T2", "Timer 2 interrupt", "int-t2"},
        {"tlbINT_AR", "EXF2", "Capture Interrupt", "int-exf2"},
    };
    for (const Button& button : kInterruptButtons) {
        toolBar_->addAction(Add(nullptr, button.name, button.caption, "", kWithProgram, button.icon, button.hint));
    }
    toolBar_->addSeparator();
    toolBar_->addAction(Add(nullptr, "tlbRefresh", "Manual Refresh", "", kWithProgram, "refresh",
                            "Manually Refresh display"));
    toolBar_->addSeparator();
    toolBar_->addAction(actions_["ateExit"]);
}

void CommandActions::UpdateCommandStates(bool fileOpen) {
    for (const auto& [name, action] : actions_) {
        const int tag = action->property("tag").toInt();
        if (!(tag & 1)) continue;
        if (!name.startsWith("mui") && !name.startsWith("tlb") && !name.startsWith("ate")) continue;
        action->setEnabled((tag & 2) ? fileOpen : !fileOpen);
    }
    fileOpen_ = fileOpen;
    ApplyStartStopState();
}

void CommandActions::SetStepRunning(bool running) {
    stepRunning_ = running;
    ApplyStartStopState();
}

void CommandActions::ApplyStartStopState() { actions_["ateStartExecution"]->setEnabled(fileOpen_ && !stepRunning_); }

void CommandActions::ShowRunningGlyph(bool running) {
    static const QIcon start = ResourceIcon("start"), stop = ResourceIcon("stop");
    actions_["ateStartExecution"]->setIcon(running ? stop : start);
}

}  // namespace tessaly::ui
