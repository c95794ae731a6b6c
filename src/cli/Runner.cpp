#include "cli/Runner.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "analysis/Decoder.h"
#include "analysis/Disassembly.h"
#include "analysis/ListingImport.h"
#include "analysis/Workspace.h"
#include "cli/RunOptions.h"
#include "cli/StateJson.h"
#include "cli/StderrHost.h"
#include "core/AddressSet.h"
#include "control/BreakPoints.h"
#include "control/ExecutionController.h"
#include "control/RunHost.h"
#include "control/SelfLoops.h"
#include "control/SerialLog.h"
#include "core/Diagnostics.h"
#include "core/Processor.h"
#include "loading/ProgramFile.h"
#include "persistence/Snapshot.h"
#include "persistence/WindowLayout.h"
#include "session/HeadlessSessionHost.h"
#include "session/Session.h"

namespace tessaly::cli {

namespace {

// An output that is a file, or `out` for "-".
class Output {
public:
    Output(const std::string& target, std::ostream& out) {
        if (target == "-") {
            stream_ = &out;
        } else if (!target.empty()) {
            file_.open(target, std::ios::binary | std::ios::trunc);
            if (file_) stream_ = &file_;
            else failed_ = true;
        }
    }
    std::ostream* Stream() const { return stream_; }
    bool Failed() const { return failed_; }

private:
    std::ofstream file_;
    std::ostream* stream_ = nullptr;
    bool failed_ = false;
};

// Copies the bytes the program transmitted since the last call.
class SerialCopier {
public:
    SerialCopier(const Processor& p, std::ostream* out) : p_(p), out_(out), tail_(p) {}
    void Copy() {
        if (out_) *out_ << tail_.Take(p_);
    }

private:
    const Processor& p_;
    std::ostream* out_;
    SerialTail tail_;
};

void WriteTraceLine(std::ostream& out, std::uint64_t cyclesBefore, std::uint16_t pc, const std::string& bytes,
                    const std::string& text, const Processor& p) {
    char line[160];
    std::snprintf(line, sizeof line, "%llu %04X %-8s %-28s A=%02X PSW=%02X SP=%02X\n",
                  static_cast<unsigned long long>(cyclesBefore), pc, bytes.c_str(), AlignOperands(text).c_str(),
                  p.ucIntRAM[sfr::ACC], p.ucIntRAM[sfr::PSW], p.ucIntRAM[sfr::SP]);
    out << line;
}

// Where a run ends at the latest, in the processor's own counters.
struct RunEnd {
    std::uint64_t instructions = UINT64_MAX;
    std::uint64_t cycles = UINT64_MAX;
    const char* cycleReason = "cycles";
};

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

// The fewest machine cycles whose elapsed time reaches `microseconds`.
std::uint64_t CyclesFor(std::uint64_t microseconds, double crystal) {
    std::uint64_t low = 0, high = UINT64_MAX;
    if (ElapsedMicroseconds(high, crystal) < microseconds) return UINT64_MAX;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (ElapsedMicroseconds(middle, crystal) >= microseconds) high = middle;
        else low = middle + 1;
    }
    return low;
}

// Limits count from the start of this run; a resumed snapshot keeps its counters.
RunEnd EndOf(const RunOptions& o, const Processor& p) {
    RunEnd end;
    std::uint64_t instructions = kDefaultInstructionLimit;
    if (o.maxInstructions) instructions = *o.maxInstructions;
    else if (o.maxCycles || o.maxTime) instructions = UINT64_MAX;
    end.instructions = SaturatingAdd(p.ullInstructionsExecuted, instructions);
    const std::uint64_t byCycles = o.maxCycles ? *o.maxCycles : UINT64_MAX;
    const std::uint64_t byTime = o.maxTime ? CyclesFor(*o.maxTime, p.CrystalFrequency()) : UINT64_MAX;
    end.cycles = SaturatingAdd(p.ullCyclesExecuted, std::min(byCycles, byTime));
    if (byTime < byCycles) end.cycleReason = "time";
    return end;
}

// Most instructions between two looks at the limits and the serial log. An
// instruction logs at most one byte, so the log cannot wrap between looks.
constexpr std::uint32_t kTickLimit = 65536;

// The session's execution controller with this runner as its host: the
// limits are the free run's budget, the self-loops its stop addresses. With a
// trace, the refresh after every instruction of the run writes its line.
class RunnerHost : public RunHost {
public:
    explicit RunnerHost(const RunOptions& o) : o_(o) {}

    // Runs the session's program by `go` (a free run, or steps) to a stop or
    // a limit, with a trace line per instruction when `trace` is given and
    // what the program transmits copied by `serial`, and returns what ended
    // the run.
    template <class Go>
    StopReason Run(Session& s, std::ostream* trace, SerialCopier& serial, Go go) {
        s_ = &s;
        trace_ = trace;
        serial_ = &serial;
        Processor& p = s.processor();
        s.settings.Live().refreshType = trace_ ? 1 : 3;
        s.settings.Live().speedDelay = 0;
        ExecutionController& controller = s.controller();
        if (o_.stopOnSelfLoop) {
            selfLoops_ = SelfLoopAddresses(p);
            controller.SetExtraStops(&selfLoops_);
        }
        if (trace_) {
            DecodeInstruction(p, s.workspace);
            Remember();
        }
        // Input is looked at (the serial log copied) at least once a tick.
        s.settings.Live().instructionsPerTick = kTickLimit;
        const RunEnd end = EndOf(o_, p);
        controller.SetBudget({end.instructions, end.cycles});
        cycleReason_ = end.cycleReason;
        running_ = true;
        go();
        running_ = false;
        controller.SetBudget({});
        controller.SetExtraStops(nullptr);
        return controller.LastStop();
    }

    // The JSON state's name for what ended the run: a free run ends only at
    // a stop; a step by C line ends at its goal, or after one instruction
    // where there is no source.
    std::string StopName(StopReason reason) const {
        switch (reason) {
        case StopReason::BreakPoint: return "break";
        case StopReason::StopAddress: return "self-loop";
        case StopReason::InstructionBudget: return "instructions";
        case StopReason::CycleBudget: return cycleReason_;
        case StopReason::DataBreakPoint: return "watch";
        case StopReason::HistoryStart: return "history-start";
        case StopReason::StepEnd:
        case StopReason::None: break;
        }
        return "step";
    }

    void PumpEvents() override {
        if (running_) serial_->Copy();
    }
    void RefreshViews() override {
        // A step's closing refresh comes after the instruction already traced.
        if (!trace_ || !running_ || s_->processor().ullInstructionsExecuted == tracedCount_) return;
        WriteTraceLine(*trace_, traced_.cycles, traced_.pc, traced_.bytes, traced_.text, s_->processor());
        Remember();
    }
    void RefreshExternalRAMFully() override {}
    void Sleep(std::uint32_t) override {}
    void SetStatusText(StatusPanel, std::string_view, bool) override {}
    void RunStateChanged(RunState) override {}

private:
    struct TracedInstruction {
        std::uint16_t pc = 0;
        std::uint64_t cycles = 0;
        std::string bytes, text;
    };

    // The instruction just decoded, for its trace line once it has run.
    void Remember() {
        const Processor& p = s_->processor();
        traced_ = {p.usPC, p.ullCyclesExecuted, p.strOpcodeBytes, p.strInstruction.str()};
        tracedCount_ = p.ullInstructionsExecuted;
    }

    const RunOptions& o_;
    std::ostream* trace_ = nullptr;
    SerialCopier* serial_ = nullptr;
    Session* s_ = nullptr;
    bool running_ = false;
    std::string cycleReason_;
    std::uint64_t tracedCount_ = UINT64_MAX;
    AddressSet selfLoops_;
    TracedInstruction traced_;
};

}  // namespace

int RunTessaly(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedOptions parsed = ParseRunOptions(arguments);
    if (!parsed.error.empty()) {
        err << "tessaly-run: " << parsed.error << "\n\n" << UsageText();
        return kExitBadInput;
    }
    const RunOptions& o = parsed.options;
    if (o.help) {
        out << UsageText();
        return kExitStopped;
    }

    // The session the desktop drives, without its windows and without the
    // desktop's configuration files: the options are the settings.
    StderrHost host(err);
    HeadlessSessionHost windows;
    RunnerHost runner(o);
    Session s({}, host, windows, runner);
    windows.Follow(s.layout);
    Processor& p = s.processor();
    SimulationSettings choices = s.settings.Current();
    choices.crystalFrequency = o.crystal;
    s.settings.Accept(choices);

    if (IsSnapshotPath(o.program)) {
        if (s.OpenSimulationCommand(o.program) != Session::SimulationOpen::Opened) return kExitBadInput;
    } else if (s.OpenFileCommand(o.program) != ProgramOpen::Opened) {
        return kExitBadInput;
    }
    s.SetHardwareSerial(o.hardwareSerial);
    s.SetXramPaging(o.xramPaging);
    // A run that does not go back records no history: it costs neither time
    // nor memory.
    const bool goBack = o.reverseContinue || o.stepBack || !o.lastWrite.empty();
    s.SetHistoryMegabytes(goBack ? o.historyMegabytes : 0);

    if (!o.labels.empty() && !s.ImportLabels({o.labels.begin(), o.labels.end()})) return kExitBadInput;
    // The C debug information beside the program, when the labels brought none.
    if (!s.source().Info() && !IsSnapshotPath(o.program)) {
        const auto beside = std::filesystem::path(o.program).replace_extension(".cdb");
        std::error_code error;
        if (std::filesystem::is_regular_file(beside, error)) s.LoadDebugInfo(beside);
    }
    for (std::uint16_t address : o.breakPoints) s.breakPoints.Add(address);
    std::vector<std::uint16_t> sourceAddresses;
    for (const std::string& place : o.sourceBreakPoints) {
        const auto resolved = s.source().Resolve(place);
        const auto address = ParseHexAddress(place);
        if (const auto* why = std::get_if<std::string>(&resolved)) {
            if (address) {
                sourceAddresses.push_back(*address);
                s.breakPoints.Add(*address);
                continue;
            }
            err << "tessaly-run: --break " << place << ": " << *why << '\n';
            return kExitBadInput;
        }
        sourceAddresses.push_back(std::get<std::uint16_t>(resolved));
        s.breakPoints.Add(sourceAddresses.back());
    }
    for (const RunOptions::BreakExtra& extra : o.breakExtras) {
        const std::uint16_t address = extra.source ? sourceAddresses[extra.index] : o.breakPoints[extra.index];
        // A condition's left side is read at each hit, in the frame of that
        // moment: a local need not be in scope now.
        auto entry = ParseBreakPointExtras(extra.condition, extra.hits);
        if (const auto* why = std::get_if<std::string>(&entry)) {
            const bool conditionRead =
                extra.condition.empty() || std::holds_alternative<BreakCondition>(ParseBreakCondition(extra.condition));
            err << "tessaly-run: " << (conditionRead ? "--hits " : "--if ") << *why << '\n';
            return kExitBadInput;
        }
        s.breakConditions.Set(address, std::get<BreakPointConditions::Entry>(entry));
    }

    for (const auto& watch : o.watches) {
        const std::string why = s.AddDataBreakPoint(watch.location, watch.access);
        if (!why.empty()) {
            err << "tessaly-run: --watch-" << DataAccessText(watch.access) << ' ' << watch.location << ": " << why
                << '\n';
            return kExitBadInput;
        }
    }

    if (!o.disassemble.empty()) {
        Output listing(o.disassemble, out);
        if (listing.Failed()) {
            err << "tessaly-run: cannot write " << o.disassemble << '\n';
            return kExitBadInput;
        }
        for (const auto& line : ExportLines(DisassembleProgram(p, s.workspace))) *listing.Stream() << line << "\r\n";
        return kExitStopped;
    }

    Output trace(o.trace, out), serialOut(o.serialOut, out), state(o.state, out);
    for (const auto* output : {&trace, &serialOut, &state}) {
        if (output->Failed()) {
            err << "tessaly-run: cannot open an output file\n";
            return kExitBadInput;
        }
    }

    SerialCopier serial(p, serialOut.Stream());
    const bool breakPointsGiven = !o.breakPoints.empty() || !o.sourceBreakPoints.empty();
    StopReason reason = StopReason::None;
    if (!o.stepLines || breakPointsGiven) {
        reason = runner.Run(s, trace.Stream(), serial, [&] { s.controller().StartStop(); });
    }
    if (o.stepLines && (!breakPointsGiven || reason == StopReason::BreakPoint)) {
        reason = runner.Run(s, trace.Stream(), serial, [&] {
            for (std::uint64_t i = 0; i < *o.stepLines; ++i) {
                s.StepOver();
                const StopReason ended = s.controller().LastStop();
                if (ended != StopReason::StepEnd && ended != StopReason::None) break;
            }
        });
    }
    if (o.reverseContinue) {
        s.ReverseContinue();
        reason = s.controller().LastStop();
    }
    if (!o.lastWrite.empty() && reason != StopReason::HistoryStart) {
        const std::string why = s.LastWrite(o.lastWrite);
        if (!why.empty()) {
            err << "tessaly-run: --last-write " << o.lastWrite << ": " << why << '\n';
            return kExitBadInput;
        }
        reason = s.controller().LastStop();
    }
    if (o.stepBack && reason != StopReason::HistoryStart) {
        s.StepBack(*o.stepBack);
        reason = s.controller().LastStop();
    }
    s.controller().DecodeCurrentInstruction();  // the display follows the stop, as after a step
    const std::string stop = runner.StopName(reason);

    const bool stopped = stop == "break" || stop == "self-loop" || stop == "step" || stop == "watch";
    int status = stopped || (goBack && stop == "history-start") ? kExitStopped : kExitLimit;
    const auto& dataStop = s.controller().LastDataStop();
    const DataStop* watch = reason == StopReason::DataBreakPoint && dataStop ? &*dataStop : nullptr;
    if (state.Stream()) WriteStateJson(*state.Stream(), p, stop, o.xram, &s.source(), watch);
    if (!o.saveSnapshot.empty()) {
        if (s.SaveSimulation(o.saveSnapshot) != SnapshotSave::Saved) {
            host.Tell(MessageKind::Error, "An error occured while saving Simulation");
            status = kExitBadInput;
        }
    }
    for (auto* output : {trace.Stream(), serialOut.Stream(), state.Stream()}) {
        if (output) output->flush();
    }
    return status;
}

}  // namespace tessaly::cli
