#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/ChildViews.h"
#include "app/CommandActions.h"
#include "app/DesktopHosts.h"
#include "app/MessageBoxes.h"
#include "session/Session.h"

class QLabel;
class QMdiArea;

namespace tessaly {
class CWatchNames;
class SourceFolders;
}  // namespace tessaly

namespace tessaly::ui {

class AboutBox;
class AddWatchDialog;
class GeneralDialog;
class ListViewer;
class InitializeBitMemoryDialog;
class InitializeExtRamDialog;
class InitializeIntRamDialog;
class SendByteDialog;
struct CDebugContext;
struct LocationCommands;
struct ViewContext;
struct ViewServices;
class FrameSelection;
class SourceViews;
class AddBreakPointDialog;
class BreakPointsDialog;
class DataBreakPointsWindow;
class DisassemblyWindow;
class HistoryMemoryDialog;
class LabelsProgressWindow;
class SettingsDialog;

// The frame of the program: the document area with the child views, the
// menus and tool bar, the status bar, and the wiring of every command to the
// session and the execution controller, which do the work.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        std::filesystem::path configDirectory;
        // Messages and questions; the main window's own message boxes when null.
        MessageHost* messages = nullptr;
        // The child views; the program's own when empty.
        ChildViewFactory viewFactory;
    };

    explicit MainWindow(Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return *session_; }
    CommandActions& actions() { return *actions_; }
    ChildViews& views() { return *views_; }
    SourceViews& sourceViews() { return *sourceViews_; }
    FrameSelection& frames() { return *frames_; }
    QMdiArea& area() { return *area_; }
    QLabel& panel(int index) { return *panels_[static_cast<std::size_t>(index)]; }
    SettingsDialog& settingsDialog() { return *settingsDialog_; }
    BreakPointsDialog& breakPointsDialog() { return *breakPointsDialog_; }
    DataBreakPointsWindow& dataBreakPointsWindow() { return *dataBreakPoints_; }
    DisassemblyWindow& disassemblyWindow() { return *disassembly_; }
    HistoryMemoryDialog& historyMemoryDialog() { return *historyMemory_; }
    GeneralDialog& generalWrite() { return *generalWrite_; }
    GeneralDialog& generalRead() { return *generalRead_; }

    // After the welcome screen: layout and workspace reset, the window shown,
    // then `file` opened, or when none is given the program open at the
    // last exit.
    void StartUp(const QString& file = {});
    // Opens a program or simulation named on the command line or dropped on
    // the window, closing the open one after asking.
    void OpenPath(const QString& path);
    // What Exit saves after its Yes, also when the process is ended from
    // outside: the layouts and the loaded program.
    void SaveExitState();

    // What ends the process after Exit was answered Yes; a test may replace it.
    std::function<void()> endProcess;
    // Opens a document with the desktop's viewer; a test may replace it.
    std::function<bool(const QString& path)> openDocument;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildStatusBar();
    void BuildViewDialogs();
    void ConnectViewCommands();
    void ToggleView(int index);
    void ConnectCommands();
    void ConnectFileCommands();
    void ConnectWindowCommands();
    void ConnectOptions();
    void ConnectSourceCommands();
    void ConnectReverseCommands();
    void On(Command command, std::function<void()> handler);
    void Exit();
    void OpenFile();
    void GetLabels();
    void OpenSimulation();
    void SaveSimulation();
    void ShowSettings();
    void ShowHelp();
    void TileChildren(bool sideBySide);
    void ArrangeIcons();
    void FillWindowMenu();
    // The program the file dialogs start from: the open one, else the one
    // opened last.
    QString LastProgram() const;
    // A file dialog opening on `start` (a file to propose, or a folder), with
    // the filter that matches the proposed file selected unless `filter`
    // names one, and `suffix` added to a name typed without one. The chosen
    // paths; none when cancelled.
    QStringList ChooseFiles(const QString& caption, bool save, bool several, const QString& start,
                            const QString& filters, const QString& suffix, const QString& filter = {});

    std::unique_ptr<MessageBoxes> ownMessages_;
    MessageHost* messages_;
    QMdiArea* area_;
    std::array<QLabel*, 3> panels_{};
    CommandActions* actions_;
    std::unique_ptr<DesktopRunHost> runHost_;
    std::unique_ptr<DesktopSessionHost> sessionHost_;
    std::unique_ptr<Session> session_;
    ChildViews* views_;
    SettingsDialog* settingsDialog_;
    AddBreakPointDialog* addBreakPointDialog_;
    BreakPointsDialog* breakPointsDialog_;
    DataBreakPointsWindow* dataBreakPoints_;
    LabelsProgressWindow* labelsProgress_;
    AboutBox* aboutBox_;
    DisassemblyWindow* disassembly_;
    HistoryMemoryDialog* historyMemory_;
    GeneralDialog* generalRead_ = nullptr;
    GeneralDialog* generalWrite_ = nullptr;
    AddWatchDialog* addWatch_ = nullptr;
    ListViewer* listViewer_ = nullptr;
    InitializeIntRamDialog* initIntRAM_ = nullptr;
    InitializeExtRamDialog* initExtRAM_ = nullptr;
    InitializeBitMemoryDialog* initBitMemory_ = nullptr;
    SendByteDialog* sendByte_ = nullptr;
    std::unique_ptr<LocationCommands> locationCommands_;
    std::unique_ptr<ViewContext> viewContext_;
    std::unique_ptr<ViewServices> viewServices_;
    std::unique_ptr<FrameSelection> frames_;
    std::unique_ptr<SourceFolders> sourceFolders_;
    std::unique_ptr<CWatchNames> cWatchNames_;
    std::unique_ptr<CDebugContext> cDebug_;
    SourceViews* sourceViews_ = nullptr;
    QList<QAction*> windowListActions_;
};

}  // namespace tessaly::ui
