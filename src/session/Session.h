#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "analysis/Workspace.h"
#include "control/BreakPoints.h"
#include "control/DataBreakPoints.h"
#include "control/CObject.h"
#include "control/Location.h"
#include "control/RunHistory.h"
#include "control/ExecutionController.h"
#include "control/RunHost.h"
#include "control/SettingsStore.h"
#include "control/WatchList.h"
#include "core/Interrupts.h"
#include "core/MessageHost.h"
#include "core/Processor.h"
#include "core/TextList.h"
#include "loading/ProgramFile.h"
#include "persistence/EngineOptions.h"
#include "persistence/Snapshot.h"
#include "persistence/WindowLayout.h"
#include "session/SessionHost.h"
#include "session/SourceDebugger.h"

namespace tessaly {

// Everything the main window owns for the life of the program, and the
// commands that change several of those things at once: the workspace
// reset (Close File), opening a program or a history entry, saving and
// opening a simulation, labels, the window layout commands, start-up and
// exit. The desktop and the headless runner call these and implement the
// hosts; nothing here knows about widgets.
class Session {
public:
    // With an empty `configDirectory` the session reads and writes no
    // configuration files: the settings and engine choices are what the
    // front end sets, the history lives in memory only.
    Session(std::filesystem::path configDirectory, MessageHost& messages, SessionHost& host, RunHost& runHost);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // --- what the main window owns ----------------------------------------
    SettingsStore settings;
    Processor& processor() { return *processor_; }
    const Processor& processor() const { return *processor_; }
    Workspace workspace;
    BreakPoints breakPoints;
    // Conditions and hit counts of break points, kept beside the list.
    BreakPointConditions breakConditions;
    WatchList lstActiveWatch;
    WindowLayout layout;
    bool isFileOpen = false;
    std::string currentFileName;
    // While clear, a closing child view leaves its layout entry as it was.
    bool trackChildClose = true;
    ExecutionController& controller() { return controller_; }
    // The C debug information, loaded with the labels from a .cdb.
    const SourceDebugger& source() const { return source_; }
    const std::filesystem::path& ConfigDirectory() const { return configDirectory_; }

    // --- start-up and exit ------------------------------------------------
    // After the welcome screen: the start-up layout, the workspace reset and
    // the program open at the last exit, reopened.
    void StartUp();
    // The two halves of StartUp, for a desktop that shows its window between
    // them (so that the reopen's messages appear over it) or opens a file
    // named on its command line instead of the last one.
    void StartUpWorkspace();
    void ReopenLastProgram();
    // Asks "Exit from Tessaly ?"; on Yes writes the start-up layout with the
    // loaded program, stops every loop and returns true: the caller ends the
    // process.
    bool Exit();
    // What Exit does after the Yes: the layout and the loaded program written
    // to the start-up layout, every loop told to stop.
    void SaveExitState();

    // --- the workspace ----------------------------------------------------
    // Close File: settings and history reloaded, processor reset, message and
    // label lists emptied, child views closed but kept open in the layout.
    // Break points and the watch list stay.
    void ResetWorkspace();
    // Enables the commands for the current isFileOpen.
    void UpdateCommandStates();
    // A child view (0-8) is closing with these bounds.
    void ChildWindowClosed(std::size_t index, const WindowBounds& bounds);

    // --- opening programs -------------------------------------------------
    // Open File after its dialog: a failed open adds "An error occured while
    // loading data from file( 0 )". Returns what OpenProgramFile returned.
    ProgramOpen OpenFileCommand(const std::filesystem::path& path);
    // History entry `number` (1 to 10).
    enum class HistoryOpen { Opened, Kept, NoSuchItem, Failed };
    HistoryOpen OpenFromHistory(int number);
    // Before another file replaces the open one: asks whether to proceed
    // and, on Yes, closes it. False when the user keeps the open file; true
    // at once when none is open.
    bool CloseOpenFileToReplaceIt();
    // Loads a program into the reset processor and does everything a load
    // brings: layout, commands, display, caption, labels, history. Missing
    // changes nothing; after Failed the workspace is reset.
    ProgramOpen OpenProgramFile(const std::filesystem::path& path);
    // Get Labels From File after its dialog, with the one or more files
    // chosen there (several are merged, see ImportLabelFiles). True when
    // every file imported.
    bool GetLabelsFromFiles(const std::vector<std::filesystem::path>& paths);
    // The same without the closing message: true when every file imported.
    bool ImportLabels(const std::vector<std::filesystem::path>& paths);

    // --- C source-level debugging ------------------------------------------
    // The steps by C line (see SourceStep); where the PC has no C line, or no
    // .cdb is loaded, each steps one instruction as Single Step does.
    void StepInto();
    void StepOver();
    void StepOut();
    // Runs until the program reaches `address` (or a break point stops it).
    void RunToCursor(std::uint16_t address);
    // Loads a .cdb's C debug information alone, without its labels.
    bool LoadDebugInfo(const std::filesystem::path& cdb);

    // --- simulations ------------------------------------------------------
    // Save Simulation and Open Simulation after their dialogs, with their
    // messages.
    SnapshotSave SaveSimulationCommand(const std::filesystem::path& path);
    enum class SimulationOpen { Opened, CannotOpen, NotASimulation };
    SimulationOpen OpenSimulationCommand(const std::filesystem::path& path);
    // Save Simulation without its messages: the layout captured, the file
    // written.
    SnapshotSave SaveSimulation(const std::filesystem::path& path);
    // Open Simulation from a stream, without messages: false, with nothing
    // changed, when it does not begin with the magic number. The workspace
    // is reset before the fields are read; then the caption, the layout, the
    // commands and the display follow the simulation.
    bool OpenSimulation(std::istream& in);

    // --- data break points ---------------------------------------------------
    // Adds a data break point on what `text` names: a location as General
    // Read names it, an external RAM or code range, or a C expression, seen
    // from the innermost frame (a local's place is taken as it is now). An
    // empty text when added or already listed; otherwise the message saying
    // why not, and nothing changed.
    std::string AddDataBreakPoint(std::string_view text, DataAccess access);
    bool RemoveDataBreakPoint(std::size_t index);
    void ClearDataBreakPoints();
    const DataBreakPoints& DataBreaks() const { return dataBreakPoints_; }
    // The value a condition compares: of a location or C expression, seen
    // from the innermost frame; the message when it names nothing.
    std::variant<std::int64_t, std::string> ReadValue(std::string_view text) const;

    // --- going back in time -------------------------------------------------
    // The recorded past; its bound is the engine option historyMegabytes.
    const RunHistory& History() const { return history_; }
    RunHistory& History() { return history_; }
    // 0 stops recording and forgets the past; kept with the engine options.
    void SetHistoryMegabytes(std::uint16_t megabytes);
    // Step Back: `count` instructions back (as far as history reaches).
    void StepBack(std::uint64_t count = 1);
    // Step Back Line: back to the start of the previous C line of this
    // activation; one instruction back where the PC has no C line.
    void StepBackLine();
    // Reverse Continue: back to the previous break point or data break
    // point stop.
    void ReverseContinue();
    // Last Write: back to just after the instruction that last wrote what
    // `text` names (as AddDataBreakPoint takes it), told with its time. An
    // empty text when it went back (or found no write in the history);
    // otherwise the message saying why not, and nothing changed.
    std::string LastWrite(std::string_view text);

    // --- edits of the machine ----------------------------------------------
    // Every change a front end makes to the machine goes through these, which
    // then bring the views up to date.
    // Stores `value` at the location as WriteLocation does; false, changing
    // nothing, when it names nothing.
    bool WriteValue(const Location& at, std::uint16_t value);
    // Stores a value typed as C text into a C object (a variable, or an
    // element or member of one) as WriteCValue does. An empty text when
    // stored; otherwise the message saying why, and nothing changed.
    std::string WriteCValue(const CObject& object, std::string_view text);
    // The SFRs to their power-on values (the PC to 0000h).
    void LoadSfrPowerOnValues();
    void FillInternalRam(std::uint8_t value);
    void FillExternalRam(std::uint8_t value);
    void FillBitMemory(std::uint8_t value);
    // Sends a byte through the transmit path; false, sending nothing, while
    // the transmit rate is invalid.
    bool SendByte(std::uint8_t value);
    // Forces an interrupt source's flag, after asking when it is disabled.
    void ForceInterrupt(InterruptButton button);
    // After a front end changed the machine's memories itself (the
    // adapter's memory writes): the history keeps the change as it keeps
    // every edit, and the views follow.
    void MachineChanged();

    // --- menus ------------------------------------------------------------
    // Asks "Clear opened files history ?"; on Yes empties, saves and rebuilds.
    void ClearOpenedFilesHistory();
    void SaveWindowsStatus();
    void RestoreWindowsStatus();
    void RestoreDefaultWindowsStatus();
    // Sets the process and thread priorities from the settings, with a
    // message for each the system refuses.
    void ApplyPriorities();
    // The Options menu's engine choices, applied to the processor at once and
    // kept in their own file.
    const EngineOptions& Options() const { return engineOptions_; }
    void SetHardwareSerial(bool on);
    void SetXramPaging(bool on);

private:
    void RebuildHistoryMenu();
    std::variant<WatchTarget, std::string> ResolveTarget(std::string_view text) const;
    void LoadSettingsIntoProcessor();
    void ImportLabelsAfterLoad(const std::filesystem::path& programPath);
    void SourceStepCommand(SourceStep::Kind kind);
    SnapshotParts Parts();
    void LoadDefaultLayoutForWindows();
    bool HasConfigurationFiles() const { return !configDirectory_.empty(); }

    std::filesystem::path configDirectory_;
    MessageHost& messages_;
    SessionHost& host_;
    RunHost& runHost_;
    std::unique_ptr<Processor> processor_;
    EngineOptions engineOptions_;
    ExecutionController controller_;
    SourceDebugger source_;
    DataBreakPoints dataBreakPoints_;
    RunHistory history_;
};

}  // namespace tessaly
