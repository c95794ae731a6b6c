#include "app/CommandActions.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <utility>

#include "persistence/WindowLayout.h"

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
    // A command left without its action is a fault in the program, in every build.
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        if (!commands_[i]) qFatal("CommandActions: command %zu has no action", i);
    }
}

QAction* CommandActions::Find(const QString& name) const {
    for (QAction* action : all_) {
        if (action->objectName() == name) return action;
    }
    return nullptr;
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
    all_.push_back(action);
    return action;
}

QAction* CommandActions::Add(QMenu* menu, Command command, const char* name, const QString& caption,
                             const QString& shortcut, int tag, const QString& icon, const QString& hint) {
    QAction* action = Add(menu, name, caption, shortcut, tag, icon, hint);
    commands_[static_cast<std::size_t>(command)] = action;
    return action;
}

void CommandActions::BuildFileMenu(QMainWindow& window) {
    QMenu* file = window.menuBar()->addMenu("File");
    Add(file, Command::OpenFile, "ateOpenFile", "Open File", "Ctrl+O", kWithoutProgram, "open-file", "Open File");
    Add(file, Command::CloseFile, "ateCloseFile", "Close File", "Ctrl+C", kWithProgram, "close-file", "Close File");
    file->addSeparator();
    Add(file, Command::GetLabelsFromFile, "ateGetLabelsFromFile", "Get Labels From File", "Ctrl+L", kWithProgram, "get-labels", "Get Labels");
    file->addSeparator();
    Add(file, Command::OpenSimulation, "ateOpenSimulation", "Open Simulation", "Ctrl+M", kWithoutProgram, "open-simulation",
        "Open Simulation");
    Add(file, Command::SaveSimulation, "ateSaveSimulation", "Save Simulation", "Ctrl+S", kWithProgram, "save-simulation", "Save Simulation");
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
    Add(file, Command::Exit, "ateExit", "Exit", QString(), kAlways, "exit", "Exit");
}

void CommandActions::BuildMenus(QMainWindow& window) {
    BuildFileMenu(window);

    QMenu* execution = window.menuBar()->addMenu("Execution");
    Add(execution, Command::StartExecution, "ateStartExecution", "Start/Stop Execution", "Ctrl+T", kWithProgram, "start", "Start Execution");
    Add(execution, Command::ResetExecution, "ateResetExecution", "Reset Execution", "Ctrl+R", kWithProgram, "reset", "Reset Execution");

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
        {"muiSFRWindow", "Special Function Registers ( SFRs )", "Ctrl+F", "view-sfr", layout_window::kSfrWindow, false},
        {"muiIntRAM", "Internal RAM", "", "view-intram", layout_window::kInternalRam, false},
        {"muiExtRAM", "External RAM", "", "view-extram", layout_window::kExternalRam, false},
        {"muiBitMemWindow", "Bit Memory", "", "view-bitmem", layout_window::kBitMemory, false},
        {"muiActiveWatchWindow", "Active Watch", "", "view-watch", layout_window::kActiveWatch, true},
        {"muiExecutionStausWindow", "Execution Status Window", "Ctrl+E", "view-status", layout_window::kExecutionStatus, true},
        {"muiTerminalWindow", "Terminal Window", "", "view-terminal", layout_window::kTerminal, true},
        {"muiWarnings", "Warnings", "", "view-warnings", layout_window::kWarnings, true},
        {"muiErrors", "Errors", "", "view-errors", layout_window::kErrors, false},
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
    Add(debugging, Command::SingleStep, "muiSingleStep", "Single Step", "F2", kWithProgram, "single-step");
    Add(debugging, Command::BulkStep, "muiBulkStep", "Bulk Step", "F3", kWithProgram, "bulk-step");
    Add(debugging, Command::TimeBase, "muiTimeBase", "Time Base", "F4", kWithProgram, "time-base");
    debugging->addSeparator();
    Add(debugging, Command::SkipInstruction, "muiSkipInstruction", "Skip Instruction", "F5", kWithProgram, "skip");
    debugging->addSeparator();
    Add(debugging, Command::StopDebugging, "muiStopDebugging", "Stop Debugging", "F6", kWithProgram, "stop-debugging");
    // Steps by C line; where the PC has no C line each steps one instruction.
    debugging->addSeparator();
    Add(debugging, Command::StepInto, "muiStepInto", "Step Into", "F11", kWithProgram);
    Add(debugging, Command::StepOver, "muiStepOver", "Step Over", "F10", kWithProgram);
    Add(debugging, Command::StepOut, "muiStepOut", "Step Out", "Shift+F11", kWithProgram);
    Add(debugging, Command::RunToCursor, "muiRunToCursor", "Run to Cursor", "Ctrl+F10", kWithProgram);
    // Back through the recorded history: by instruction, by C line, and to
    // the previous stop a break point or data break point would have made.
    debugging->addSeparator();
    Add(debugging, Command::StepBack, "muiStepBack", "Step Back", "Shift+F2", kWithProgram);
    Add(debugging, Command::StepBackLine, "muiStepBackLine", "Step Back Line", "Shift+F10", kWithProgram);
    Add(debugging, Command::ReverseContinue, "muiReverseContinue", "Reverse Continue", "Shift+F9", kWithProgram);
    debugging->addSeparator();
    Add(debugging, Command::DataBreakPoints, "muiDataBreakPoints", "Data Break Points", "", kWithProgram);

    QMenu* disassembly = window.menuBar()->addMenu("Disassembly");
    Add(disassembly, Command::DisassembleCode, "muiDisassembleCode", "Disassemble Code", "Ctrl+D", kWithProgram, "disassemble");
    disassembly->addSeparator();
    Add(disassembly, Command::BreakPoints, "muiBreakPoints", "Break Points", "Ctrl+B", kWithProgram, "break-points");

    QMenu* initialize = window.menuBar()->addMenu("Initialize");
    Add(initialize, Command::InitSfrRegisters, "muiInitSFRRegisters", "SFR Registers", "", kWithProgram);
    Add(initialize, Command::InitInternalRam, "muiInitInternalRAM", "Internal RAM", "", kWithProgram);
    Add(initialize, Command::InitExternalRam, "muiInitExternalRAM", "External RAM", "", kWithProgram);
    Add(initialize, Command::InitBitMemory, "muiInitBitMemory", "Bit Memory", "", kWithProgram);

    QMenu* misc = window.menuBar()->addMenu("Miscellaneous");
    Add(misc, Command::ClearOpenedFilesHistory, "muiClearOpenedFilesHistory", "Clear opened files history", "", kWithoutProgram);
    misc->addSeparator();
    Add(misc, Command::GeneralRead, "muiGeneralRead", "General Read", "", kWithProgram);
    misc->addSeparator();
    Add(misc, Command::GeneralWrite, "muiGeneralWrite", "General Write", "", kWithProgram);

    windowMenu_ = window.menuBar()->addMenu("Window");
    Add(windowMenu_, Command::Cascade, "muiCascade", "&Cascade", "", kWithProgram);
    Add(windowMenu_, Command::Arrange, "muiArrange", "&Arrange", "", kWithProgram);
    Add(windowMenu_, Command::TileHorizontally, "muiTileHorizontally", "Tile &Horizontally", "", kWithProgram);
    Add(windowMenu_, Command::TileVertically, "muiTileVertically", "&Tile Vertically", "", kWithProgram);
    Add(windowMenu_, Command::MinimizeAll, "muiMinimizeAll", "&Minimize All", "", kWithProgram);
    Add(windowMenu_, Command::MaximizeAll, "muiMaximizeAll", "Maximize All", "", kWithProgram);
    Add(windowMenu_, Command::RestoreAll, "muiRestoreAll", "Restore All", "", kWithProgram);
    windowMenu_->addSeparator();
    Add(windowMenu_, Command::RestoreDefaultWindowStatus, "muiRestoreDefaultWindowStatus", "Restore default windows status", "", kWithProgram);
    Add(windowMenu_, Command::SaveWindowsStatus, "muiSaveWindowsStatus", "Save current windows Status", "", kWithProgram);
    Add(windowMenu_, Command::RestoreWindowsStatus, "muiRestoreWindowsStatus", "Restore last save windows Status", "", kWithProgram);
    windowMenu_->addSeparator();
    Add(windowMenu_, Command::CloseWindow, "muiClose", "C&lose", "", kWithProgram);
    Add(windowMenu_, Command::CloseAllWindows, "muiCloseAll", "Close All", "", kWithProgram);

    QMenu* options = window.menuBar()->addMenu("Options");
    Add(options, Command::Settings, "muiSettings", "Simulation Settings", "", kAlways, "settings");
    options->addSeparator();
    Add(options, Command::HardwareSerial, "muiHardwareSerial", "Hardware-accurate serial port", "", kAlways)->setCheckable(true);
    Add(options, Command::XramPaging, "muiXramPaging", "Page external RAM through P2", "", kAlways)->setCheckable(true);
    options->addSeparator();
    Add(options, Command::HistoryMemory, "muiHistoryMemory", "History Memory...", "", kAlways);

    QMenu* help = window.menuBar()->addMenu("Help");
    Add(help, Command::HelpTopics, "muiHelpTopics", "View Help File", "", kAlways, "help");
    help->addSeparator();
    Add(help, Command::About, "muiAbout", "About Tessaly", "", kAlways);
}

void CommandActions::BuildToolBar(QMainWindow& window) {
    toolBar_ = window.addToolBar("Tools");
    toolBar_->setObjectName("tlbMain");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    for (Command command : {Command::OpenFile, Command::CloseFile, Command::GetLabelsFromFile, Command::OpenSimulation,
                            Command::SaveSimulation}) {
        toolBar_->addAction((*this)[command]);
    }
    toolBar_->addSeparator();
    toolBar_->addAction((*this)[Command::StartExecution]);
    toolBar_->addAction((*this)[Command::ResetExecution]);
    toolBar_->addSeparator();
    struct Button {
        Command command;
        const char* name;
        const char* caption;
        const char* hint;
        const char* icon;
    };
    static constexpr Button kInterruptButtons[] = {
        {Command::InterruptExternal0, "tlbINT_E0", "INT_E0", "External interrupt 0", "int-e0"},
        {Command::InterruptExternal1, "tlbINT_E1", "INT_E1", "External interrupt 1", "int-e1"},
        {Command::InterruptTimer0, "tlbINT_T0", "INT_T0", "Timer 0 interrupt", "int-t0"},
        {Command::InterruptTimer1, "tlbINT_T1", "INT_T1", "Timer 1 interrupt", "int-t1"},
        {Command::InterruptReceive, "tlbINT_RI", "INT_RI", "Receive Interrupt", "int-ri"},
        {Command::InterruptTransmit, "tlbINT_TI", "INT_TI", "Transmit Interrupt", "int-ti"},
        {Command::InterruptTimer2, "tlbINT_T2", "INT_T2", "Timer 2 interrupt", "int-t2"},
        {Command::InterruptCapture, "tlbINT_AR", "EXF2", "Capture Interrupt", "int-exf2"},
    };
    for (const Button& button : kInterruptButtons) {
        toolBar_->addAction(Add(nullptr, button.command, button.name, button.caption, "", kWithProgram, button.icon, button.hint));
    }
    toolBar_->addSeparator();
    toolBar_->addAction(Add(nullptr, Command::Refresh, "tlbRefresh", "Manual Refresh", "", kWithProgram, "refresh",
                            "Manually Refresh display"));
    toolBar_->addSeparator();
    toolBar_->addAction((*this)[Command::Exit]);
}

void CommandActions::UpdateCommandStates(bool fileOpen) {
    for (QAction* action : all_) {
        const int tag = action->property("tag").toInt();
        if (!(tag & 1)) continue;
        action->setEnabled((tag & 2) ? fileOpen : !fileOpen);
    }
    fileOpen_ = fileOpen;
    ApplyStartStopState();
}

void CommandActions::SetStepRunning(bool running) {
    stepRunning_ = running;
    ApplyStartStopState();
}

void CommandActions::ApplyStartStopState() { (*this)[Command::StartExecution]->setEnabled(fileOpen_ && !stepRunning_); }

void CommandActions::ShowRunningGlyph(bool running) {
    static const QIcon start = ResourceIcon("start"), stop = ResourceIcon("stop");
    (*this)[Command::StartExecution]->setIcon(running ? stop : start);
}

}  // namespace tessaly::ui
