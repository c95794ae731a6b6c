#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "analysis/SymbolFile.h"
#include "app/SourceViews.h"
#include "core/Interrupts.h"
#include "loading/ProgramFile.h"
#include "persistence/CWatchNames.h"
#include "session/SourceFolders.h"
#include "dialogs/AboutBox.h"
#include "dialogs/AddBreakPointDialog.h"
#include "dialogs/BreakConditionDialog.h"
#include "dialogs/BreakPointsDialog.h"
#include "dialogs/DataBreakPointsWindow.h"
#include "dialogs/AddWatchDialog.h"
#include "dialogs/DisassemblyWindow.h"
#include "dialogs/GeneralDialog.h"
#include "dialogs/HistoryMemoryDialog.h"
#include "dialogs/InitializeDialogs.h"
#include "dialogs/ListViewer.h"
#include "dialogs/SendByteDialog.h"
#include "dialogs/LabelsProgressWindow.h"
#include "dialogs/SettingsDialog.h"
#include "views/ActiveWatchView.h"
#include "views/CDebugView.h"
#include "views/CWatchPanel.h"
#include "views/FrameSelection.h"
#include "views/LocationCommands.h"
#include "views/ViewContext.h"
#include "views/ViewFactory.h"

namespace tessaly::ui {

namespace {

std::filesystem::path PathOf(const QString& path) { return std::filesystem::path(path.toStdString()); }

// The help document: beside the program, in the installation's share folder,
// then where the current directory has it.
QString FindHelpDocument() {
    const QString dir = QApplication::applicationDirPath();
    for (const QString& candidate : {dir + "/Help/TessalyHelp.htm", dir + "/../share/tessaly/Help/TessalyHelp.htm",
                                     QStringLiteral("Help/TessalyHelp.htm")}) {
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

}  // namespace

MainWindow::MainWindow(Options options, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Tessaly");
    setAcceptDrops(true);
    if (!options.messages) ownMessages_ = std::make_unique<MessageBoxes>(this);
    messages_ = options.messages ? options.messages : ownMessages_.get();

    area_ = new QMdiArea(this);
    area_->setObjectName("mdiArea");
    // Windows beyond the area's edge are scrolled to; without scroll bars
    // tiling would grow the main window past the screen to fit them.
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    actions_ = new CommandActions(*this);
    BuildStatusBar();

    runHost_ = std::make_unique<DesktopRunHost>(*statusBar(), panels_, *actions_);
    sessionHost_ = std::make_unique<DesktopSessionHost>(*this, *actions_);
    session_ = std::make_unique<Session>(options.configDirectory, *messages_, *sessionHost_, *runHost_);
    frames_ = std::make_unique<FrameSelection>(*session_);
    sourceFolders_ = std::make_unique<SourceFolders>();
    cWatchNames_ = std::make_unique<CWatchNames>(options.configDirectory);
    // A location's right-click menu goes back to its last write, told in
    // the status bar, or adds a data break point on it, shown in its window.
    locationCommands_ = std::make_unique<LocationCommands>(LocationCommands{
        [this](const std::string& name) {
            const std::string why = session_->LastWrite(name);
            if (!why.empty()) messages_->Tell(MessageKind::Error, why);
        },
        [this](const std::string& name) { dataBreakPoints_->Add(name, DataAccess::Write); }});
    cDebug_ = std::make_unique<CDebugContext>(CDebugContext{*session_, *frames_, *sourceFolders_, *cWatchNames_,
                                                             *messages_, locationCommands_.get()});

    BuildViewDialogs();
    ChildViewFactory factory = options.viewFactory;
    if (!factory) factory = [this](int index) { return CreateChildView(index, *viewServices_); };
    views_ = new ChildViews(*area_, *session_, std::move(factory), actions_->ViewItems());
    runHost_->SetViews(views_);
    sessionHost_->SetViews(views_);
    sourceViews_ = new SourceViews(*area_, *views_, *cDebug_, actions_->SourceViewItems());
    runHost_->SetSourceViews(sourceViews_);

    settingsDialog_ = new SettingsDialog(session_->settings, *messages_, this);
    addBreakPointDialog_ = new AddBreakPointDialog(*messages_, this);
    breakPointsDialog_ = new BreakPointsDialog(session_->breakPoints, *addBreakPointDialog_, *messages_, this);
    breakPointsDialog_->SetConditionEditor(session_->breakConditions,
                                           *new BreakConditionDialog(session_->breakConditions, *messages_, this));
    dataBreakPoints_ = new DataBreakPointsWindow(*session_, *messages_, this);
    historyMemory_ = new HistoryMemoryDialog(*session_, this);
    labelsProgress_ = new LabelsProgressWindow(this);
    aboutBox_ = new AboutBox(this);
    disassembly_ = new DisassemblyWindow(session_->processor(), session_->workspace, session_->breakPoints,
                                         *messages_, this);
    sessionHost_->SetLabelProgress(labelsProgress_);
    views_->RegisterWindow(layout_window::kSettings, settingsDialog_);
    views_->RegisterWindow(layout_window::kListViewer, listViewer_);
    views_->RegisterWindow(layout_window::kDisassembly, disassembly_);
    views_->RegisterWindow(layout_window::kAddWatch, addWatch_);
    views_->RegisterWindow(layout_window::kGeneralRead, generalRead_);
    views_->RegisterWindow(layout_window::kGeneralWrite, generalWrite_);
    views_->RegisterWindow(layout_window::kInitIntRam, initIntRAM_);
    views_->RegisterWindow(layout_window::kInitExtRam, initExtRAM_);
    views_->RegisterWindow(layout_window::kInitBitMemory, initBitMemory_);
    views_->RegisterWindow(layout_window::kSendByte, sendByte_);
    views_->RegisterWindow(layout_window::kBreakPoints, breakPointsDialog_);
    views_->RegisterWindow(layout_window::kAddBreakPoint, addBreakPointDialog_);
    views_->RegisterWindow(layout_window::kProgressLabels, labelsProgress_);

    // Exit may be chosen inside a running loop; the process ends there and
    // then, its files already written.
    endProcess = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    openDocument = [](const QString& path) {
        return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    ConnectCommands();
    // Disabled until the first workspace reset is done.
    setEnabled(false);
    actions_->UpdateCommandStates(false);
}

MainWindow::~MainWindow() {
    // The views read the session when they go; close them while it lives.
    views_->CloseAll();
}

void MainWindow::BuildStatusBar() {
    statusBar()->setObjectName("ssbMain");
    statusBar()->setSizeGripEnabled(false);
    const int widths[3] = {250, 150, 225};
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QString("ssbMainPanel%1").arg(i));
        // The panels' classic widths, widened where the system font needs more.
        panels_[i]->setMinimumWidth(widths[i]);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(panels_[i]);
    }
}

// The dialogs the views open, and the context the views are made with.
void MainWindow::BuildViewDialogs() {
    Session& s = *session_;
    generalRead_ = new GeneralDialog(GeneralDialog::Mode::Read, s, *messages_, this);
    generalWrite_ = new GeneralDialog(GeneralDialog::Mode::Write, s, *messages_, this);
    addWatch_ = new AddWatchDialog(s, *messages_, this);
    listViewer_ = new ListViewer(s, this);
    initIntRAM_ = new InitializeIntRamDialog(s, *messages_, this);
    initExtRAM_ = new InitializeExtRamDialog(s, *messages_, this);
    initBitMemory_ = new InitializeBitMemoryDialog(s, *messages_, this);
    sendByte_ = new SendByteDialog(s, *messages_, this);
    viewContext_ = std::make_unique<ViewContext>(ViewContext{
        s, [this](const Location& at) { generalWrite_->OpenAt(at); }, [this](int index) { ToggleView(index); },
        [this] { listViewer_->Run(); }, locationCommands_.get()});
    viewServices_ =
        std::make_unique<ViewServices>(ViewServices{*viewContext_, *messages_, *addWatch_, *sendByte_, cDebug_.get()});
    for (GeneralDialog* dialog : {generalRead_, generalWrite_}) {
        connect(dialog, &GeneralDialog::watchListChanged, this, [this] {
            if (ChildView* watch = views_->View(layout_window::kActiveWatch)) watch->Refresh();
        });
    }
}

void MainWindow::ToggleView(int index) {
    views_->Toggle(index);
    actions_->ViewItems()[static_cast<std::size_t>(index)]->setChecked(
        views_->IsChildOpen(static_cast<std::size_t>(index)));
}

void MainWindow::ConnectViewCommands() {
    for (std::size_t i = 0; i < actions_->ViewItems().size(); ++i) {
        // The item's tick follows the view, not the click.
        connect(actions_->ViewItems()[i], &QAction::triggered, this, [this, i] { ToggleView(static_cast<int>(i)); });
    }
    On(Command::GeneralRead, [this] { generalRead_->OpenFromMenu(); });
    On(Command::GeneralWrite, [this] { generalWrite_->OpenFromMenu(); });
    On(Command::InitSfrRegisters, [this] { InitializeSfrRegisters(*session_, *messages_); });
    On(Command::InitInternalRam, [this] { initIntRAM_->Run(); });
    On(Command::InitExternalRam, [this] { initExtRAM_->Run(); });
    On(Command::InitBitMemory, [this] { initBitMemory_->Run(); });
}

void MainWindow::On(Command command, std::function<void()> handler) {
    connect((*actions_)[command], &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
}

void MainWindow::ConnectCommands() {
    ConnectFileCommands();
    ExecutionController& run = session_->controller();
    On(Command::StartExecution, [&run] { run.StartStop(); });
    On(Command::ResetExecution, [&run] { run.ResetExecution(); });
    On(Command::SingleStep, [&run] { run.SingleStep(); });
    On(Command::BulkStep, [&run] { run.BulkStep(); });
    On(Command::TimeBase, [&run] { run.TimeBaseStep(); });
    On(Command::SkipInstruction, [&run] { run.SkipInstruction(); });
    On(Command::StopDebugging, [&run] { run.StopDebugging(); });
    On(Command::Refresh, [&run] { run.ManualRefresh(); });
    ConnectViewCommands();
    // Both change the break points the Source window marks.
    On(Command::BreakPoints, [this] {
        breakPointsDialog_->Run();
        sourceViews_->Refresh();
    });
    On(Command::DataBreakPoints, [this] { dataBreakPoints_->Open(); });
    On(Command::DisassembleCode, [this] {
        disassembly_->SetProgramPath(QString::fromStdString(session_->currentFileName));
        disassembly_->Run();
        sourceViews_->Refresh();
    });
    On(Command::ClearOpenedFilesHistory, [this] { session_->ClearOpenedFilesHistory(); });
    On(Command::Settings, [this] { ShowSettings(); });
    On(Command::HelpTopics, [this] { ShowHelp(); });
    On(Command::About, [this] { aboutBox_->exec(); });

    static constexpr std::pair<Command, InterruptButton> kInterrupts[] = {
        {Command::InterruptExternal0, InterruptButton::External0},
        {Command::InterruptExternal1, InterruptButton::External1},
        {Command::InterruptTimer0, InterruptButton::Timer0},
        {Command::InterruptTimer1, InterruptButton::Timer1},
        {Command::InterruptReceive, InterruptButton::Receive},
        {Command::InterruptTransmit, InterruptButton::Transmit},
        {Command::InterruptTimer2, InterruptButton::Timer2},
        {Command::InterruptCapture, InterruptButton::Capture},
    };
    for (const auto& [command, button] : kInterrupts) {
        On(command, [this, button = button] { session_->ForceInterrupt(button); });
    }
    ConnectWindowCommands();
    ConnectOptions();
    ConnectSourceCommands();
    ConnectReverseCommands();
}

void MainWindow::ConnectReverseCommands() {
    On(Command::StepBack, [this] { session_->StepBack(); });
    On(Command::StepBackLine, [this] { session_->StepBackLine(); });
    On(Command::ReverseContinue, [this] { session_->ReverseContinue(); });
}

void MainWindow::ConnectSourceCommands() {
    On(Command::StepInto, [this] { session_->StepInto(); });
    On(Command::StepOver, [this] { session_->StepOver(); });
    On(Command::StepOut, [this] { session_->StepOut(); });
    On(Command::RunToCursor, [this] { sourceViews_->RunToCursor(); });
    for (std::size_t i = 0; i < actions_->SourceViewItems().size(); ++i) {
        QAction* item = actions_->SourceViewItems()[i];
        // The item's tick follows the window, not the click.
        connect(item, &QAction::triggered, this, [this, i, item] {
            sourceViews_->Toggle(static_cast<int>(i));
            item->setChecked(sourceViews_->View(static_cast<int>(i)) != nullptr);
        });
    }
    // Another frame changes nothing in the machine: only what shows a frame
    // follows, and the other views keep their marks of the last step.
    connect(frames_.get(), &FrameSelection::selectionChanged, this, [this] {
        sourceViews_->RefreshWindows();
        auto* watch = qobject_cast<ActiveWatchView*>(views_->View(layout_window::kActiveWatch));
        if (watch && watch->CWatches()) watch->CWatches()->Refresh();
    });
}

void MainWindow::ConnectFileCommands() {
    On(Command::OpenFile, [this] { OpenFile(); });
    On(Command::CloseFile, [this] { session_->ResetWorkspace(); });
    On(Command::GetLabelsFromFile, [this] { GetLabels(); });
    On(Command::OpenSimulation, [this] { OpenSimulation(); });
    On(Command::SaveSimulation, [this] { SaveSimulation(); });
    On(Command::Exit, [this] { Exit(); });
    for (int n = 1; n <= 10; ++n) {
        connect(actions_->HistoryItems()[static_cast<std::size_t>(n - 1)], &QAction::triggered, this,
                [this, n] { session_->OpenFromHistory(n); });
    }
}

void MainWindow::ConnectWindowCommands() {
    On(Command::Cascade, [this] { area_->cascadeSubWindows(); });
    On(Command::Arrange, [this] { ArrangeIcons(); });
    On(Command::TileHorizontally, [this] { TileChildren(false); });
    On(Command::TileVertically, [this] { TileChildren(true); });
    On(Command::MinimizeAll, [this] {
        for (QMdiSubWindow* frame : area_->subWindowList()) frame->showMinimized();
    });
    On(Command::MaximizeAll, [this] {
        for (QMdiSubWindow* frame : area_->subWindowList()) frame->showMaximized();
    });
    On(Command::RestoreAll, [this] {
        for (QMdiSubWindow* frame : area_->subWindowList()) frame->showNormal();
    });
    // The C debugging windows keep their places in files of their own.
    On(Command::RestoreDefaultWindowStatus, [this] {
        session_->RestoreDefaultWindowsStatus();
        sourceViews_->RestoreDefaults();
    });
    On(Command::SaveWindowsStatus, [this] {
        session_->SaveWindowsStatus();
        sourceViews_->SaveStatus();
    });
    On(Command::RestoreWindowsStatus, [this] {
        session_->RestoreWindowsStatus();
        sourceViews_->RestoreStatus();
    });
    On(Command::CloseWindow, [this] { area_->closeActiveSubWindow(); });
    On(Command::CloseAllWindows, [this] { views_->CloseAll(); });
    connect(actions_->WindowMenu(), &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });
}

void MainWindow::ConnectOptions() {
    QAction* serial = (*actions_)[Command::HardwareSerial];
    serial->setChecked(session_->Options().hardwareSerial);
    connect(serial, &QAction::toggled, this, [this](bool on) { session_->SetHardwareSerial(on); });
    QAction* paging = (*actions_)[Command::XramPaging];
    paging->setChecked(session_->Options().xramPaging);
    connect(paging, &QAction::toggled, this, [this](bool on) { session_->SetXramPaging(on); });
    // The Execution Status window tells how far back history now reaches.
    On(Command::HistoryMemory, [this] {
        if (historyMemory_->Run()) session_->controller().RefreshViews();
    });
}

// Side by side (vertical tiling) or one above the other, each window the
// full width or height of the area.
void MainWindow::TileChildren(bool sideBySide) {
    QList<QMdiSubWindow*> frames;
    for (QMdiSubWindow* frame : area_->subWindowList()) {
        if (!frame->isMinimized()) frames.append(frame);
    }
    if (frames.isEmpty()) return;
    const QRect space = area_->viewport()->rect();
    const int count = static_cast<int>(frames.size());
    for (int i = 0; i < count; ++i) {
        frames[i]->showNormal();
        if (sideBySide) {
            const int width = space.width() / count;
            frames[i]->setGeometry(i * width, 0, width, space.height());
        } else {
            const int height = space.height() / count;
            frames[i]->setGeometry(0, i * height, space.width(), height);
        }
    }
}

// The minimised windows' icons in rows along the bottom of the area, left to
// right, a new row above when one is full.
void MainWindow::ArrangeIcons() {
    const QRect space = area_->viewport()->rect();
    int left = 0;
    int bottom = space.height();
    for (QMdiSubWindow* frame : area_->subWindowList(QMdiArea::CreationOrder)) {
        if (!frame->isMinimized()) continue;
        const QSize icon = frame->size();
        if (left > 0 && left + icon.width() > space.width()) {
            left = 0;
            bottom -= icon.height();
        }
        frame->move(left, bottom - icon.height());
        left += icon.width();
    }
}

void MainWindow::FillWindowMenu() {
    for (QAction* action : windowListActions_) {
        actions_->WindowMenu()->removeAction(action);
        delete action;
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> frames = area_->subWindowList();
    if (frames.isEmpty()) return;
    windowListActions_.append(actions_->WindowMenu()->addSeparator());
    int number = 1;
    for (QMdiSubWindow* frame : frames) {
        QAction* item = actions_->WindowMenu()->addAction(QString("&%1 %2").arg(number++).arg(frame->windowTitle()));
        item->setCheckable(true);
        item->setChecked(frame == area_->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, frame] { area_->setActiveSubWindow(frame); });
        windowListActions_.append(item);
    }
}

QString MainWindow::LastProgram() const {
    if (!session_->currentFileName.empty()) return QString::fromStdString(session_->currentFileName);
    const TextList& history = session_->workspace.lstOpenedFiles;
    return history.Count() != 0 ? QString::fromStdString(history[0]) : QString();
}

QStringList MainWindow::ChooseFiles(const QString& caption, bool save, bool several, const QString& start,
                                    const QString& filters, const QString& suffix, const QString& filter) {
    QFileDialog dialog(this, caption, QString(), filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo proposed(start);
    QString chosenFilter = filter;
    if (!start.isEmpty() && proposed.isDir()) {
        dialog.setDirectory(start);
    } else if (!start.isEmpty()) {
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
        // Under a filter that hides it the proposed file would not be seen.
        for (const QString& candidate : dialog.nameFilters()) {
            if (!chosenFilter.isEmpty()) break;
            const QString patterns = candidate.section('(', 1).section(')', 0, 0);
            if (QDir::match(patterns.split(' ', Qt::SkipEmptyParts), proposed.fileName())) chosenFilter = candidate;
        }
    }
    if (!chosenFilter.isEmpty()) dialog.selectNameFilter(chosenFilter);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

namespace {

QString FolderOf(const QString& path) { return path.isEmpty() ? QString() : QFileInfo(path).absolutePath(); }

}  // namespace

void MainWindow::OpenFile() {
    const QStringList paths = ChooseFiles(
        "Open File", false, false, LastProgram(),
        "Intel Hex files( *.hex );;SDCC Intel Hex files( *.ihx );;Binary files( *.bin );;All files( * )", "hex");
    if (!paths.isEmpty()) session_->OpenFileCommand(PathOf(paths.first()));
}

void MainWindow::GetLabels() {
    // Several files may be chosen together: an SDCC map with the relocated
    // listing gives the globals and the local labels at once. The dialog
    // proposes the symbol file beside the program, with its kind's filter.
    const QString listings = "8051 Cross assembler listing Files( *.LST *.lst )";
    const QString sdcc = "SDCC symbol files( *.map *.noi *.cdb *.rst )";
    const QString program = LastProgram();
    QString start = FolderOf(program);
    QString selected = listings;
    if (!program.isEmpty()) {
        const auto proposed = ProposedSymbolFileFor(PathOf(program));
        if (!proposed.empty()) {
            start = QString::fromStdString(proposed.string());
            if (SymbolFileKindOf(proposed) != SymbolFileKind::Listing) selected = sdcc;
        }
    }
    const QStringList paths = ChooseFiles(
        "Get Labels From File", false, true, start,
        listings + ";;" + sdcc +
            ";;SDCC linker map( *.map );;SDCC NoICE file( *.noi );;SDCC debug file( *.cdb );;"
            "SDCC relocated listing( *.rst );;as31 listing( *.lst );;"
            "All symbol files( *.LST *.lst *.map *.noi *.cdb *.rst );;All files( * )",
        "lst", selected);
    if (paths.isEmpty()) return;
    std::vector<std::filesystem::path> files;
    for (const QString& path : paths) files.push_back(PathOf(path));
    session_->GetLabelsFromFiles(files);
}

void MainWindow::OpenSimulation() {
    const QStringList paths = ChooseFiles("Open Simulation", false, false, FolderOf(LastProgram()),
                                          "Simulation Files( *.slf )", "slf");
    if (!paths.isEmpty()) session_->OpenSimulationCommand(PathOf(paths.first()));
}

void MainWindow::SaveSimulation() {
    // The program's name with .slf, in its folder: never the program itself.
    const QFileInfo program(LastProgram());
    const QString proposed =
        program.fileName().isEmpty() ? QString() : program.absolutePath() + "/" + program.completeBaseName() + ".slf";
    const QStringList paths = ChooseFiles("Save Simulation", true, false, proposed, "Simulation Files( *.slf )", "slf");
    if (!paths.isEmpty()) session_->SaveSimulationCommand(PathOf(paths.first()));
}

void MainWindow::ShowSettings() {
    settingsDialog_->Run();
}

void MainWindow::ShowHelp() {
    if (openDocument(FindHelpDocument())) return;
    messages_->Tell(MessageKind::Error,
                    "Error opening help file( TessalyHelp.htm )\r\nHelp file should be in <InstallDir>\\Help.\r\n"
                    "Try to manually open file");
}

void MainWindow::StartUp(const QString& file) {
    sourceViews_->LoadLayout();
    session_->StartUpWorkspace();
    // Without a window manager to maximise it, the window fills the screen.
    if (QScreen* shownOn = screen()) setGeometry(shownOn->availableGeometry());
    showMaximized();
    // A file named on the command line takes the place of the last program.
    if (!file.isEmpty()) OpenPath(file);
    else session_->ReopenLastProgram();
}

void MainWindow::OpenPath(const QString& path) {
    if (!session_->CloseOpenFileToReplaceIt()) return;
    if (IsSnapshotPath(PathOf(path))) session_->OpenSimulationCommand(PathOf(path));
    else session_->OpenFileCommand(PathOf(path));
}

void MainWindow::Exit() {
    if (!session_->Exit()) return;
    sourceViews_->SaveLayout();
    endProcess();
}

void MainWindow::SaveExitState() {
    session_->SaveExitState();
    sourceViews_->SaveLayout();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close request itself is always refused; Exit ends the process.
    event->ignore();
    Exit();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized()) session_->controller().Minimised();
    QMainWindow::changeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    OpenPath(urls.first().toLocalFile());
}

}  // namespace tessaly::ui
