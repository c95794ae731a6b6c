#include "session/Session.h"

#include <algorithm>
#include <fstream>

#include "analysis/Decoder.h"
#include "analysis/ListingImport.h"
#include "analysis/SymbolFile.h"
#include "core/SerialPort.h"
#include "loading/ProgramFile.h"
#include "persistence/History.h"
#include "persistence/LayoutWindows.h"

namespace tessaly {

namespace {

constexpr const char* kLoadFailedFromDialog = "An error occured while loading data from file( 0 )";
constexpr const char* kLoadFailedFromHistory = "An error occured while loading data from file( 1 )";

std::string Caption(const std::string& path) { return "Tessaly( " + path + " )"; }

}  // namespace

Session::Session(std::filesystem::path configDirectory, MessageHost& messages, SessionHost& host, RunHost& runHost)
    : settings(configDirectory, messages),
      configDirectory_(std::move(configDirectory)),
      messages_(messages),
      host_(host),
      runHost_(runHost),
      processor_(std::make_unique<Processor>()),
      controller_(*processor_, workspace, breakPoints, settings.Current(), runHost) {
    settings.OnApply([this](const SimulationSettings& record) {
        if (processor_->CrystalFrequency() != record.crystalFrequency) {
            processor_->SetCrystalFrequency(record.crystalFrequency);
            history_.NoteChange(*processor_);
        }
        ApplyPriorities();
    });
    LoadDefaultLayout(layout);
    LoadSettingsIntoProcessor();
    if (HasConfigurationFiles()) engineOptions_ = LoadEngineOptions(configDirectory_);
    processor_->SetHardwareSerial(engineOptions_.hardwareSerial);
    processor_->SetXramPaging(engineOptions_.xramPaging);
    history_.SetLimit(std::uint64_t{engineOptions_.historyMegabytes} << 20);
    controller_.SetHistory(&history_);
    controller_.SetDataBreakPoints(&dataBreakPoints_);
    controller_.SetBreakPointConditions(&breakConditions, [this](std::string_view text) { return ReadValue(text); });
}

void Session::SetHardwareSerial(bool on) {
    engineOptions_.hardwareSerial = on;
    processor_->SetHardwareSerial(on);
    history_.NoteChange(*processor_);
    if (HasConfigurationFiles()) SaveEngineOptions(configDirectory_, engineOptions_);
}

void Session::SetXramPaging(bool on) {
    engineOptions_.xramPaging = on;
    processor_->SetXramPaging(on);
    history_.NoteChange(*processor_);
    if (HasConfigurationFiles()) SaveEngineOptions(configDirectory_, engineOptions_);
}

Session::~Session() = default;

SnapshotParts Session::Parts() {
    return {*processor_, workspace, breakPoints, lstActiveWatch.List(), layout, currentFileName};
}

void Session::LoadSettingsIntoProcessor() {
    settings.Reload();
    processor_->SetCrystalFrequency(settings.Current().crystalFrequency);
}

void Session::ApplyPriorities() {
    const SimulationSettings& s = settings.Current();
    const ProcessPriority process = s.priorityClass == 1   ? ProcessPriority::Idle
                                    : s.priorityClass == 2 ? ProcessPriority::Normal
                                                                  : ProcessPriority::High;
    static constexpr ThreadPriority kThread[] = {ThreadPriority::Lowest,      ThreadPriority::Idle,
                                                 ThreadPriority::BelowNormal, ThreadPriority::Normal,
                                                 ThreadPriority::AboveNormal};
    const ThreadPriority thread = (s.threadPriority >= 1 && s.threadPriority <= 5)
                                      ? kThread[s.threadPriority - 1]
                                      : ThreadPriority::Highest;
    if (!host_.SetProcessPriority(process)) messages_.Tell(MessageKind::Plain, "Cannot set prority class");
    if (!host_.SetThreadPriority(thread)) messages_.Tell(MessageKind::Plain, "Cannot set thread priority");
}

void Session::RebuildHistoryMenu() {
    // The message shows the rebuild's number, as it always has.
    const int result =
        static_cast<int>(tessaly::RebuildHistoryMenu(workspace.lstOpenedFiles, host_.OpenedFilesMenu(), messages_));
    if (result < 0) {
        messages_.Tell(MessageKind::Plain,
                       "An error occured while loading opened files history in menu( " + std::to_string(result) + " )");
    }
}

void Session::UpdateCommandStates() { host_.UpdateCommandStates(isFileOpen); }

void Session::ResetWorkspace() {
    host_.SetMainWindowEnabled(false);
    controller_.CloseFile();
    isFileOpen = false;
    trackChildClose = true;
    host_.CheckHistoryItem(1, false);
    currentFileName.clear();
    runHost_.SetStatusText(StatusPanel::State, "Wait ...", true);

    LoadSettingsIntoProcessor();
    ApplyPriorities();
    processor_->FullReset();
    processor_->lstWarnings.Clear();
    processor_->lstErrors.Clear();
    history_.Restart(*processor_);

    if (HasConfigurationFiles()) LoadHistory(configDirectory_, workspace.lstOpenedFiles);
    RebuildHistoryMenu();
    runHost_.SetStatusText(StatusPanel::Errors, "", false);
    runHost_.SetStatusText(StatusPanel::Interrupts, "", false);
    workspace.ResetLabels();
    source_.Clear();

    trackChildClose = false;
    LayoutWindows& windows = host_.Windows();
    for (std::size_t i = 0; i < WindowLayout::kChildViewCount; ++i) {
        if (windows.IsChildOpen(i)) windows.CloseChild(i);
    }
    trackChildClose = true;

    controller_.RefreshViews();
    runHost_.SetStatusText(StatusPanel::State, run_status::kReady, false);
    host_.SetCaption("Tessaly");
    UpdateCommandStates();
    host_.SetMainWindowEnabled(true);
}

void Session::ChildWindowClosed(std::size_t index, const WindowBounds& bounds) {
    tessaly::ChildWindowClosed(layout, index, bounds, trackChildClose);
}

void Session::StartUp() {
    StartUpWorkspace();
    ReopenLastProgram();
}

void Session::StartUpWorkspace() {
    if (!LoadStartupLayout(configDirectory_, layout)) LoadDefaultLayoutForWindows();
    ApplyWindowLayout(layout, host_.Windows());
    ResetWorkspace();
}

void Session::ReopenLastProgram() {
    if (layout.reopenLastFile != 1 || isFileOpen) return;
    currentFileName = layout.lastFileName;
    OpenProgramFile(currentFileName);
}

void Session::LoadDefaultLayoutForWindows() { LoadDefaultLayout(layout, host_.Windows().DefaultLayoutScale()); }

bool Session::Exit() {
    if (!messages_.AskYesNo(MessageKind::Confirmation, "Exit from Tessaly ?")) return false;
    SaveExitState();
    return true;
}

void Session::SaveExitState() {
    tessaly::CaptureWindowLayout(layout, host_.Windows());
    layout.reopenLastFile = isFileOpen ? 1 : 0;
    layout.lastFileName = currentFileName.substr(0, std::min(currentFileName.size(), WindowLayout::kMaxFileName));
    SaveStartupLayout(configDirectory_, layout);
    controller_.Exit();
}

ProgramOpen Session::OpenFileCommand(const std::filesystem::path& path) {
    const ProgramOpen result = OpenProgramFile(path);
    if (result != ProgramOpen::Opened) messages_.Tell(MessageKind::Plain, kLoadFailedFromDialog);
    return result;
}

bool Session::CloseOpenFileToReplaceIt() {
    if (!isFileOpen) return true;
    if (!messages_.AskYesNo(MessageKind::Confirmation,
                            "Currently opened file will be closed and\r\nSelected file will be opened\r\n"
                            "Do you want to proceed ?")) {
        return false;
    }
    ResetWorkspace();
    return true;
}

Session::HistoryOpen Session::OpenFromHistory(int number) {
    if (!CloseOpenFileToReplaceIt()) return HistoryOpen::Kept;
    for (int i = 1; i <= static_cast<int>(kOpenedFilesLimit); ++i) host_.CheckHistoryItem(i, false);
    if (number < 1 || number > static_cast<int>(kOpenedFilesLimit)) {
        messages_.Tell(MessageKind::Plain, "Clicked File list menu item not found( " + std::to_string(number) + " )");
        return HistoryOpen::NoSuchItem;
    }
    const auto index = static_cast<std::size_t>(number - 1);
    const std::string path = index < workspace.lstOpenedFiles.Count() ? workspace.lstOpenedFiles[index] : "";
    if (OpenProgramFile(path) == ProgramOpen::Opened) return HistoryOpen::Opened;
    messages_.Tell(MessageKind::Plain, kLoadFailedFromHistory);
    return HistoryOpen::Failed;
}

void Session::ImportLabelsAfterLoad(const std::filesystem::path& programPath) {
    const auto candidates = SymbolFilesFor(programPath);
    if (candidates.empty()) return;
    const bool labels = ImportFirstLabelFile(candidates, workspace, host_.LabelProgress(), messages_);
    // The C debug information beside the program comes with its labels,
    // whichever symbol file gave them; the views then show both at once.
    bool debugInfo = false;
    for (const auto& candidate : candidates) {
        if (SymbolFileKindOf(candidate) == SymbolFileKind::SdccDebug) debugInfo |= source_.Load(candidate, messages_);
    }
    if (labels || debugInfo) {
        controller_.DecodeCurrentInstruction();
        controller_.RefreshViews();
    }
}

ProgramOpen Session::OpenProgramFile(const std::filesystem::path& path) {
    const ProgramOpen loaded = tessaly::OpenProgramFile(path, *processor_, messages_);
    if (loaded == ProgramOpen::Missing) return loaded;
    if (loaded != ProgramOpen::Opened) {
        ResetWorkspace();
        return ProgramOpen::Failed;
    }
    history_.Restart(*processor_);
    isFileOpen = true;
    ApplyWindowLayout(layout, host_.Windows());
    currentFileName = path.string();
    UpdateCommandStates();
    controller_.DecodeCurrentInstruction();
    controller_.RefreshViews();
    runHost_.SetStatusText(StatusPanel::State, "Data loaded successfully", false);
    host_.SetCaption(Caption(currentFileName));
    if (settings.Current().autoLoadLabels) ImportLabelsAfterLoad(path);
    AddToHistory(workspace.lstOpenedFiles, currentFileName);
    if (HasConfigurationFiles()) SaveHistory(configDirectory_, workspace.lstOpenedFiles);
    RebuildHistoryMenu();
    host_.CheckHistoryItem(1, true);
    return ProgramOpen::Opened;
}

bool Session::GetLabelsFromFiles(const std::vector<std::filesystem::path>& paths) {
    if (ImportLabels(paths)) return true;
    messages_.Tell(MessageKind::Plain, "An error occured while loading labels from lst file");
    return false;
}

bool Session::ImportLabels(const std::vector<std::filesystem::path>& paths) {
    if (!ImportLabelFiles(paths, workspace, host_.LabelProgress(), messages_)) return false;
    for (const auto& path : paths) {
        if (SymbolFileKindOf(path) == SymbolFileKind::SdccDebug) source_.Load(path, messages_);
    }
    controller_.DecodeCurrentInstruction();
    controller_.RefreshViews();
    return true;
}

SnapshotSave Session::SaveSimulation(const std::filesystem::path& path) {
    tessaly::CaptureWindowLayout(layout, host_.Windows());
    return SaveSnapshotFile(path, Parts());
}

SnapshotSave Session::SaveSimulationCommand(const std::filesystem::path& path) {
    const SnapshotSave result = SaveSimulation(path);
    if (result == SnapshotSave::Saved) messages_.Tell(MessageKind::Information, "Simulation saved");
    else messages_.Tell(MessageKind::Error, "An error occured while saving Simulation");
    return result;
}

bool Session::OpenSimulation(std::istream& in) {
    if (!ReadSnapshotMagic(in)) return false;
    ResetWorkspace();
    // A file cut short still opens: what it lacks keeps its reset value.
    SnapshotParts parts = Parts();
    ReadSnapshotFields(in, parts);
    history_.Restart(*processor_);
    host_.SetCaption(Caption(currentFileName));
    isFileOpen = true;
    ApplyWindowLayout(layout, host_.Windows());
    UpdateCommandStates();
    controller_.DecodeCurrentInstruction();
    runHost_.RefreshExternalRAMFully();
    controller_.RefreshViews();
    return true;
}

Session::SimulationOpen Session::OpenSimulationCommand(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const SimulationOpen result = !in                 ? SimulationOpen::CannotOpen
                                  : OpenSimulation(in) ? SimulationOpen::Opened
                                                       : SimulationOpen::NotASimulation;
    if (result != SimulationOpen::Opened) messages_.Tell(MessageKind::Error, "An error occured while openening Simulation");
    return result;
}

void Session::SourceStepCommand(SourceStep::Kind kind) {
    if (auto step = source_.Begin(kind, *processor_)) controller_.StepTo(*step);
    else controller_.SingleStep();
}

void Session::StepInto() { SourceStepCommand(SourceStep::Kind::Into); }
void Session::StepOver() { SourceStepCommand(SourceStep::Kind::Over); }
void Session::StepOut() { SourceStepCommand(SourceStep::Kind::Out); }

void Session::RunToCursor(std::uint16_t address) {
    AddressGoal goal(address);
    controller_.StepTo(goal);
}

bool Session::LoadDebugInfo(const std::filesystem::path& cdb) { return source_.Load(cdb, messages_); }

bool Session::WriteValue(const Location& at, std::uint16_t value) {
    const bool written = WriteLocation(*processor_, workspace, at, value);
    if (written) history_.NoteChange(*processor_);
    controller_.RefreshViews();
    return written;
}

void Session::LoadSfrPowerOnValues() {
    processor_->LoadPowerOnResetValues();
    history_.NoteChange(*processor_);
    // The program counter moved to 0000h: show the instruction there.
    controller_.DecodeCurrentInstruction();
    controller_.RefreshViews();
}

void Session::FillInternalRam(std::uint8_t value) {
    processor_->InitializeIntRAM(value);
    history_.NoteChange(*processor_);
    controller_.RefreshViews();
}

void Session::FillExternalRam(std::uint8_t value) {
    processor_->InitializeExtRAM(value);
    history_.NoteChange(*processor_);
    runHost_.RefreshExternalRAMFully();
    controller_.RefreshViews();
}

void Session::FillBitMemory(std::uint8_t value) {
    processor_->InitializeBitMemory(value);
    history_.NoteChange(*processor_);
    controller_.RefreshViews();
}

bool Session::SendByte(std::uint8_t value) {
    if (processor_->iTxBaudRate == -1) return false;
    TransmitByte(*processor_, value);
    history_.NoteChange(*processor_);
    controller_.RefreshViews();
    return true;
}

void Session::ForceInterrupt(InterruptButton button) {
    tessaly::ForceInterrupt(*processor_, button, messages_);
    history_.NoteChange(*processor_);
    controller_.RefreshViews();
}

void Session::MachineChanged() {
    history_.NoteChange(*processor_);
    controller_.RefreshViews();
}

void Session::ClearOpenedFilesHistory() {
    if (!messages_.AskYesNo(MessageKind::Confirmation, "Clear opened files history ?")) return;
    ClearHistory(configDirectory_, workspace.lstOpenedFiles);
    RebuildHistoryMenu();
}

void Session::SaveWindowsStatus() {
    tessaly::CaptureWindowLayout(layout, host_.Windows());
    if (!tessaly::SaveWindowsStatus(configDirectory_, layout)) {
        messages_.Tell(MessageKind::Plain, "Cannot save windows status");
    }
}

void Session::RestoreWindowsStatus() {
    if (!tessaly::RestoreWindowsStatus(configDirectory_, layout)) LoadDefaultLayoutForWindows();
    ApplyWindowLayout(layout, host_.Windows());
}

void Session::RestoreDefaultWindowsStatus() {
    LoadDefaultLayoutForWindows();
    ApplyWindowLayout(layout, host_.Windows());
}

}  // namespace tessaly
