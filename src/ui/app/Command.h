#pragma once

#include <cstddef>

namespace tessaly::ui {

// The commands of the main window's menus and tool bar. Each is one QAction
// of CommandActions, which also carries the name the program gives it as
// the action's object name.
enum class Command : std::size_t {
    OpenFile,
    CloseFile,
    GetLabelsFromFile,
    OpenSimulation,
    SaveSimulation,
    Exit,
    StartExecution,
    ResetExecution,
    SingleStep,
    BulkStep,
    TimeBase,
    SkipInstruction,
    StopDebugging,
    StepInto,
    StepOver,
    StepOut,
    RunToCursor,
    StepBack,
    StepBackLine,
    ReverseContinue,
    DataBreakPoints,
    DisassembleCode,
    BreakPoints,
    InitSfrRegisters,
    InitInternalRam,
    InitExternalRam,
    InitBitMemory,
    ClearOpenedFilesHistory,
    GeneralRead,
    GeneralWrite,
    Cascade,
    Arrange,
    TileHorizontally,
    TileVertically,
    MinimizeAll,
    MaximizeAll,
    RestoreAll,
    RestoreDefaultWindowStatus,
    SaveWindowsStatus,
    RestoreWindowsStatus,
    CloseWindow,
    CloseAllWindows,
    Settings,
    HardwareSerial,
    XramPaging,
    HistoryMemory,
    HelpTopics,
    About,
    InterruptExternal0,
    InterruptExternal1,
    InterruptTimer0,
    InterruptTimer1,
    InterruptReceive,
    InterruptTransmit,
    InterruptTimer2,
    InterruptCapture,
    Refresh,
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::Refresh) + 1;

}  // namespace tessaly::ui
