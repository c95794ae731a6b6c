#include "control/ExecutionController.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis/Decoder.h"
#include "analysis/Workspace.h"
#include "core/Interrupts.h"
#include "core/Processor.h"
#include "control/RunHistory.h"
#include "util/IntegerText.h"

namespace tessaly {

namespace {

// A long pacing delay is waited in slices with input handled between them,
// so that the window stays alive and Stop ends the wait (at speed 1% one
// instruction waits half a minute).
constexpr std::uint32_t kPauseSliceMilliseconds = 50;

// Instructions run back to back between two looks at the input: about half
// a millisecond at engine speed, so Stop, Start/Stop and closing the window
// are answered however long the tick or step.
constexpr std::uint32_t kFastSlice = 1u << 16;

// The cycle budget of a fast batch: none, or a time-base step's target.
struct NoCycleLimit {
    bool Reached(const Processor&) const { return false; }
    std::uint64_t End() const { return UINT64_MAX; }
};
struct CycleTarget {
    std::uint64_t target;
    bool Reached(const Processor& p) const { return p.ullCyclesExecuted >= target; }
    std::uint64_t End() const { return target; }
};

}  // namespace

std::uint32_t PacingDelayMilliseconds(std::uint32_t speedDelay) {
    if (speedDelay == 0) return 0;
    const double delay = std::trunc(std::pow(1.1098, static_cast<double>(speedDelay)));
    if (!(delay < static_cast<double>(std::numeric_limits<std::uint32_t>::max()))) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(delay);
}

std::uint64_t TimeBaseCycles(std::uint32_t microseconds, double crystalHz) {
    const long double cycles = std::trunc(static_cast<long double>(microseconds) * static_cast<long double>(crystalHz) *
                                          (1.0L / 12000000.0L));
    if (!(cycles > 0)) return 0;  // NaN included
    if (cycles >= static_cast<long double>(std::numeric_limits<std::uint64_t>::max())) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(cycles);
}

ExecutionController::ExecutionController(Processor& processor, Workspace& workspace, const BreakPoints& breakPoints,
                                         const SimulationSettings& settings, RunHost& host)
    : p_(processor), workspace_(workspace), breakPoints_(breakPoints), settings_(settings), host_(host) {}

std::string ExecutionController::InterruptsPanelText(const Processor& p) {
    const std::size_t count = p.lstInterruptsInProgress.Count();
    std::string text = "Interrupt(s) in progress = " + std::to_string(count);
    if (count != 0) {
        text += " Active = ";
        const auto source = ParseUnsigned<unsigned>(p.lstInterruptsInProgress.Last());
        if (source && *source <= 5) text += InterruptEnableName(static_cast<int>(*source));
    }
    return text;
}

std::string ExecutionController::ErrorsPanelText(const Processor& p) {
    return "Warnings = 0    Errors = " + std::to_string(p.lstErrors.Count());
}

void ExecutionController::DecodeCurrentInstruction() { DecodeInstruction(p_, workspace_); }

void ExecutionController::RefreshViews() {
    host_.RefreshViews();
    RefreshPanels();
}

void ExecutionController::RefreshDuringRun() {
    host_.RefreshViewsDuringRun();
    RefreshPanels();
}

void ExecutionController::RefreshPanels() {
    host_.SetStatusText(StatusPanel::Interrupts, InterruptsPanelText(p_), false);
    // A data break point's stop stays told until the next run, step or reset.
    host_.SetStatusText(StatusPanel::Errors, lastDataStop_ ? DataStopText(*lastDataStop_) : ErrorsPanelText(p_), false);
}

bool ExecutionController::DataBreakPointReached() {
    const DataWatch* watch = p_.ActiveDataWatch();
    if (!watch || !watch->HasEvents() || !dataBreakPoints_) return false;
    auto stop = dataBreakPoints_->TakeStop(p_);
    if (!stop) return false;
    lastDataStop_ = std::move(stop);
    lastStop_ = StopReason::DataBreakPoint;
    host_.SetStatusText(StatusPanel::Errors, DataStopText(*lastDataStop_), false);
    return true;
}

void ExecutionController::ArmDataBreakPoints() {
    lastDataStop_.reset();
    if (dataBreakPoints_) dataBreakPoints_->Arm(p_);
}

bool ExecutionController::BreakPointHolds() { return !conditions_ || conditions_->Stops(p_.usPC, evaluate_); }

bool ExecutionController::MayExecute() {
    if (DataBreakPointReached()) return false;
    // A break point whose condition or hit count says no lets the
    // instruction run, as if it were not there.
    if (p_.bSkipBreakPointOnce == 0 && breakPoints_.CheckBreakPoint(p_) && BreakPointHolds()) {
        lastStop_ = StopReason::BreakPoint;
        host_.SetStatusText(StatusPanel::Errors, run_status::kBreakPointEncountered, false);
        return false;
    }
    p_.bSkipBreakPointOnce = 0;
    if (extraStops_ && extraStops_->Contains(p_.usPC)) {
        lastStop_ = StopReason::StopAddress;
        return false;
    }
    return true;
}

template <class StillRunning>
void ExecutionController::Pause(std::uint32_t milliseconds, StillRunning stillRunning) {
    while (milliseconds > 0 && stillRunning()) {
        const std::uint32_t slice = std::min(milliseconds, kPauseSliceMilliseconds);
        host_.Sleep(slice);
        milliseconds -= slice;
        if (milliseconds > 0) host_.PumpEvents();
    }
}

void ExecutionController::NoteProgress() {
    if (history_) history_->NoteProgress(p_);
}

template <class StillRunning>
void ExecutionController::ExecuteOne(StillRunning stillRunning) {
    p_.ExecuteInstructions(1);
    NoteProgress();
    if (settings_.speedDelay != 0) Pause(PacingDelayMilliseconds(settings_.speedDelay), stillRunning);
    if (settings_.refreshType == 1) {
        DecodeCurrentInstruction();
        RefreshDuringRun();
    }
    host_.PumpEvents();
}

template <class Stops, class Limit>
std::uint32_t ExecutionController::RunFastWith(const Stops& stops, std::uint32_t count, Limit limit) {
    Processor& p = p_;
    // The skip flag is cleared before every instruction: here once, or by
    // the stop test where there is one; only a stop sets it again, and a
    // stop ends the batch.
    if (!stops.Contains(p.usPC)) p.bSkipBreakPointOnce = 0;
    std::uint32_t done = 0;
    while (done != count && !limit.Reached(p)) {
        if (DataBreakPointReached()) return kStopped;
        if (stops.Contains(p.usPC)) {
            if (!MayExecute()) return kStopped;
            p.ExecuteInstructions(1);
            ++done;
            continue;
        }
        done += p.ExecuteUntil(count - done, stops, limit.End());
    }
    return done;
}

template <class Limit>
std::uint32_t ExecutionController::RunFast(std::uint32_t count, Limit limit) {
    // Nothing changes the sets during the batch. A long batch works on a
    // local copy joining the extra stops to the break points: one look-up
    // per instruction, in memory nothing else can reach, so it needs no
    // reloading around the engine's calls. A short one is not worth the copy.
    constexpr std::uint32_t kCopyWorthwhile = 4096;
    if (count >= kCopyWorthwhile || extraStops_) {
        AddressSet stops = breakPoints_.Addresses();
        if (extraStops_) stops.InsertAll(*extraStops_);
        return RunFastWith(stops, count, limit);
    }
    return RunFastWith(breakPoints_.Addresses(), count, limit);
}

template <class Limit, class StillRunning>
bool ExecutionController::RunFastSliced(std::uint32_t& count, Limit limit, StillRunning stillRunning) {
    while (count != 0 && stillRunning() && CanRunFast() && !limit.Reached(p_)) {
        const std::uint32_t done = RunFast(std::min(count, kFastSlice), limit);
        NoteProgress();
        if (done == kStopped) return false;
        count -= done;
        // Input between slices: commands run there may change the break
        // points, the settings or the flags, so each slice starts afresh.
        if (count != 0 && !limit.Reached(p_)) host_.PumpEvents();
    }
    return true;
}

bool ExecutionController::CanRunFast() const { return settings_.refreshType != 1 && settings_.speedDelay == 0; }

bool ExecutionController::BudgetSpent() {
    if (DataBreakPointReached()) return true;
    const bool instructions = p_.ullInstructionsExecuted >= budget_.instructionEnd;
    if (!instructions && p_.ullCyclesExecuted < budget_.cycleEnd) return false;
    if (breakPoints_.Contains(p_.usPC) && breakPoints_.StopsBeforeInstruction(p_) && BreakPointHolds()) {
        lastStop_ = StopReason::BreakPoint;
    } else if (extraStops_ && extraStops_->Contains(p_.usPC)) {
        lastStop_ = StopReason::StopAddress;
    } else {
        lastStop_ = instructions ? StopReason::InstructionBudget : StopReason::CycleBudget;
    }
    return true;
}

void ExecutionController::FreeRunTick() {
    if (BudgetSpent()) {
        isExecuting_ = false;
        return;
    }
    const std::uint64_t left = budget_.instructionEnd - p_.ullInstructionsExecuted;
    const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(settings_.instructionsPerTick, left));
    // Without a cycle budget the engine-speed path tests nothing more.
    if (budget_.cycleEnd == UINT64_MAX) FreeRunTickWith(n, NoCycleLimit{});
    else FreeRunTickWith(n, CycleTarget{budget_.cycleEnd});
}

template <class Limit>
void ExecutionController::FreeRunTickWith(std::uint32_t n, Limit limit) {
    const auto running = [this] { return isExecuting_; };
    while (n != 0 && isExecuting_ && !limit.Reached(p_)) {
        if (CanRunFast()) {
            if (!RunFastSliced(n, limit, running)) isExecuting_ = false;
            continue;
        }
        if (!MayExecute()) {
            isExecuting_ = false;
            return;
        }
        ExecuteOne(running);
        --n;
    }
}

void ExecutionController::SetState(RunState state) {
    state_ = state;
    host_.RunStateChanged(state);
}

void ExecutionController::CloseFile() {
    isExecuting_ = stopDebugging_ = false;
    ++workspaceGeneration_;
    // A step still on the stack says it has ended when it unwinds.
    if (stepDepth_ == 0) SetState(RunState::Stopped);
}

void ExecutionController::StartStop() {
    isExecuting_ = !isExecuting_;
    if (isExecuting_) {
        lastStop_ = StopReason::None;
        ArmDataBreakPoints();
        host_.SetStatusText(StatusPanel::State, run_status::kExecutionInProgress, true);
        SetState(RunState::Running);
        while (isExecuting_) {
            FreeRunTick();
            if (settings_.refreshType == 2) {
                DecodeCurrentInstruction();
                RefreshDuringRun();
            }
            host_.PumpEvents();
        }
    }
    host_.SetStatusText(StatusPanel::State, run_status::kExecutionStopped, true);
    SetState(stepDepth_ > 0 ? RunState::Stepping : RunState::Stopped);
}

void ExecutionController::BeginStep() {
    if (stepDepth_++ == 0) SetState(RunState::Stepping);
    isExecuting_ = false;
    lastStop_ = StopReason::None;
    ArmDataBreakPoints();
    host_.SetStatusText(StatusPanel::State, run_status::kDebuggingInProgress, true);
}

void ExecutionController::EndStep() {
    if (--stepDepth_ == 0) SetState(RunState::Stopped);
}

void ExecutionController::RefreshAfterStep() {
    if (settings_.refreshType == 2) {
        DecodeCurrentInstruction();
        RefreshViews();
    }
}

void ExecutionController::SingleStep() {
    BeginStep();
    p_.ExecuteInstructions(1);
    NoteProgress();
    DataBreakPointReached();
    DecodeCurrentInstruction();
    host_.SetStatusText(StatusPanel::State, run_status::kDebuggingStopped, false);
    RefreshViews();
    host_.PumpEvents();
    EndStep();
}

void ExecutionController::BulkStep() {
    BeginStep();
    stopDebugging_ = false;
    std::uint32_t n = static_cast<std::uint32_t>(settings_.bulkStepCount);
    const std::uint32_t workspace = workspaceGeneration_;
    const auto running = [this, workspace] { return !stopDebugging_ && workspace == workspaceGeneration_; };
    while (n != 0 && running()) {
        if (CanRunFast()) {
            if (!RunFastSliced(n, NoCycleLimit{}, running)) break;
            continue;
        }
        if (!MayExecute()) break;
        ExecuteOne(running);
        --n;
    }
    // A step whose program was closed or reset under it ends without a word:
    // the closing command has already said what the machine is now.
    if (workspace == workspaceGeneration_) {
        RefreshAfterStep();
        host_.SetStatusText(StatusPanel::State, run_status::kDebuggingStopped, false);
        host_.PumpEvents();
    }
    EndStep();
}

void ExecutionController::TimeBaseStep() {
    BeginStep();
    stopDebugging_ = false;
    const CycleTarget limit{p_.ullCyclesExecuted + TimeBaseCycles(settings_.stepTimeInUSec, settings_.crystalFrequency)};
    const std::uint32_t workspace = workspaceGeneration_;
    const auto running = [this, workspace] { return !stopDebugging_ && workspace == workspaceGeneration_; };
    while (!limit.Reached(p_) && running()) {
        if (CanRunFast()) {
            std::uint32_t n = std::numeric_limits<std::uint32_t>::max();
            if (!RunFastSliced(n, limit, running)) break;
            continue;
        }
        if (!MayExecute()) break;
        ExecuteOne(running);
    }
    if (workspace == workspaceGeneration_) {
        RefreshAfterStep();
        host_.PumpEvents();
        host_.SetStatusText(StatusPanel::State, run_status::kDebuggingStopped, false);
    }
    EndStep();
}

void ExecutionController::StepTo(StepGoal& goal) {
    BeginStep();
    stopDebugging_ = false;
    const std::uint32_t workspace = workspaceGeneration_;
    const auto running = [this, workspace] { return !stopDebugging_ && workspace == workspaceGeneration_; };
    // The goal's places join the host's stops for the length of the step.
    const AddressSet* hostStops = extraStops_;
    AddressSet stops = goal.Candidates();
    if (hostStops) stops.InsertAll(*hostStops);
    extraStops_ = &stops;
    const auto runOne = [&] {
        if (CanRunFast()) p_.ExecuteInstructions(1);
        else ExecuteOne(running);
    };
    p_.bSkipBreakPointOnce = 0;
    runOne();
    while (running() && !BudgetSpent()) {
        if (CanRunFast()) {
            const std::uint64_t left = budget_.instructionEnd - p_.ullInstructionsExecuted;
            const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kFastSlice, left));
            const std::uint32_t done = budget_.cycleEnd == UINT64_MAX ? RunFast(n, NoCycleLimit{})
                                                                       : RunFast(n, CycleTarget{budget_.cycleEnd});
            NoteProgress();
            if (done != kStopped) {
                host_.PumpEvents();
                continue;
            }
        } else if (MayExecute()) {
            ExecuteOne(running);
            continue;
        }
        // Stopped before an instruction: a place of the goal's that is not
        // the goal yet is passed, anything else ends the step.
        if (lastStop_ != StopReason::StopAddress || !goal.Candidates().Contains(p_.usPC)) break;
        if (goal.ReachedAt(p_)) {
            lastStop_ = StopReason::StepEnd;
            break;
        }
        if (hostStops && hostStops->Contains(p_.usPC)) break;
        runOne();
    }
    extraStops_ = hostStops;
    if (workspace == workspaceGeneration_) {
        DecodeCurrentInstruction();
        RefreshViews();
        host_.SetStatusText(StatusPanel::State, run_status::kDebuggingStopped, false);
        host_.PumpEvents();
    }
    EndStep();
}

void ExecutionController::SkipInstruction() {
    isExecuting_ = false;
    DecodeCurrentInstruction();
    p_.usPC = static_cast<std::uint16_t>(p_.usPC + p_.ucInstructionLength);
    if (history_) history_->NoteChange(p_);
    DecodeCurrentInstruction();
    RefreshViews();
    host_.SetStatusText(StatusPanel::State, run_status::kInstructionSkipped, false);
    host_.PumpEvents();
}

void ExecutionController::ResetExecution() {
    ++workspaceGeneration_;
    const std::vector<std::uint8_t> code(p_.ucCodeMemory.begin(), p_.ucCodeMemory.end());
    const std::int32_t programSize = p_.iProgramSize;
    p_.FullReset();
    std::copy(code.begin(), code.end(), p_.ucCodeMemory.begin());
    p_.iProgramSize = programSize;
    if (history_) history_->Restart(p_);
    lastDataStop_.reset();
    DecodeCurrentInstruction();
    host_.RefreshExternalRAMFully();
    RefreshViews();
    host_.SetStatusText(StatusPanel::State, run_status::kReady, true);
}

void ExecutionController::ManualRefresh() {
    DecodeCurrentInstruction();
    host_.RefreshExternalRAMFully();
    RefreshViews();
    host_.PumpEvents();
}

}  // namespace tessaly
