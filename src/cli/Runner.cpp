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
#include "cli/SelfLoop.h"
#include "cli/StateJson.h"
#include "cli/StderrHost.h"
#include "control/AddressSet.h"
#include "util/AsciiCase.h"
#include "control/BreakPoints.h"
#include "core/Diagnostics.h"
#include "core/Processor.h"
#include "loading/ProgramFile.h"
#include "persistence/Snapshot.h"
#include "persistence/WindowLayout.h"

namespace tessaly::cli {

namespace {

// What the desktop's main window owns, for one headless run.
struct Session {
    std::unique_ptr<Processor> processor = std::make_unique<Processor>();
    Workspace workspace;
    BreakPoints breakPoints;
    TextList activeWatch;
    WindowLayout layout;
    std::string currentFileName;

    SnapshotParts Parts() { return {*processor, workspace, breakPoints, activeWatch, layout, currentFileName}; }
};

// Snapshot steps that concern windows do nothing here; the reset before a
// snapshot is read is the one the desktop's Close File makes.
class HeadlessSnapshotHost : public SnapshotHost {
public:
    HeadlessSnapshotHost(Session& session, double crystal) : session_(session), crystal_(crystal) {}
    void CaptureWindowLayout() override {}
    void ResetWorkspace() override {
        Processor& p = *session_.processor;
        p.SetCrystalFrequency(crystal_);
        p.FullReset();
        p.lstWarnings.Clear();
        p.lstErrors.Clear();
        session_.workspace.ResetLabels();
        session_.breakPoints.Clear();
        session_.activeWatch.Clear();
        LoadDefaultLayout(session_.layout);
        session_.currentFileName.clear();
    }
    void SimulationRestored() override {}
    void RefreshRestoredViews() override {}

private:
    Session& session_;
    double crystal_;
};

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

bool IsSnapshotPath(const std::string& path) {
    return UpperCase(FileExtension(path)) == ".SLF";
}

// Copies the bytes the program transmitted since the last call.
class SerialCopier {
public:
    SerialCopier(const Processor& p, std::ostream* out) : p_(p), out_(out), shown_(p.iTxLogPos) {}
    void Copy() {
        if (!out_ || p_.iTxLogPos == shown_) return;
        const auto* log = reinterpret_cast<const char*>(p_.ucTxLog.data());
        if (p_.iTxLogPos < shown_) {  // the log wrapped and started over
            out_->write(log + shown_, static_cast<std::streamsize>(Processor::kSerialLogSize) - shown_);
            shown_ = 0;
        }
        out_->write(log + shown_, p_.iTxLogPos - shown_);
        shown_ = p_.iTxLogPos;
    }

private:
    const Processor& p_;
    std::ostream* out_;
    std::int32_t shown_;
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

// Addresses where the run must look closer before executing: the break
// points and, when asked for, the instructions that jump to themselves. Code
// memory does not change while a program runs, so both are known up front.
AddressSet StopAddresses(const BreakPoints& breakPoints, const Processor& p, bool selfLoops) {
    AddressSet stops = breakPoints.Addresses();
    if (selfLoops) {
        for (std::uint32_t address = 0; address < AddressSet::kAddressCount; ++address) {
            const auto pc = static_cast<std::uint16_t>(address);
            if (JumpsToItself(p, pc)) stops.Insert(pc);
        }
    }
    return stops;
}

// The free run: the break point test before every instruction, then the
// self-loop and the limits, all counted from the start of this run.
template <bool Tracing, bool CopySerial, bool CycleLimit>
std::string Run(Session& s, const RunOptions& o, std::ostream* trace, SerialCopier& serial) {
    Processor& p = *s.processor;
    const RunEnd end = EndOf(o, p);
    const AddressSet stops = StopAddresses(s.breakPoints, p, o.stopOnSelfLoop);
    // The skip flag (set by a stop at a break point) lets the first instruction
    // run; the break point test clears it, so it matters only at a stop address.
    if (!stops.Contains(p.usPC)) p.bSkipBreakPointOnce = 0;
    std::uint64_t instructionsLeft =
        end.instructions > p.ullInstructionsExecuted ? end.instructions - p.ullInstructionsExecuted : 0;
    for (;;) {
        if (stops.Contains(p.usPC)) {
            if (s.breakPoints.StopsBeforeInstruction(p)) return "break";
            if (o.stopOnSelfLoop && AtSelfLoop(p)) return "self-loop";
        }
        if (instructionsLeft == 0) return "instructions";
        --instructionsLeft;
        if constexpr (CycleLimit) {
            if (p.ullCyclesExecuted >= end.cycles) return end.cycleReason;
        }
        if constexpr (Tracing) {
            DecodeInstruction(p, s.workspace);
            const std::uint16_t pc = p.usPC;
            const std::string bytes = p.strOpcodeBytes;
            const std::string text = p.strInstruction.str();
            const std::uint64_t before = p.ullCyclesExecuted;
            p.ExecuteInstructions(1);
            WriteTraceLine(*trace, before, pc, bytes, text, p);
        } else {
            p.ExecuteInstructions(1);
        }
        if constexpr (CopySerial) serial.Copy();
    }
}

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

    StderrHost host(err);
    Session s;
    Processor& p = *s.processor;
    p.SetCrystalFrequency(o.crystal);
    p.FullReset();
    LoadDefaultLayout(s.layout);

    if (IsSnapshotPath(o.program)) {
        HeadlessSnapshotHost snapshotHost(s, o.crystal);
        SnapshotParts parts = s.Parts();
        if (LoadSimulation(o.program, parts, snapshotHost) != 1) {
            host.Tell(MessageKind::Error, "An error occured while openening Simulation");
            return kExitBadInput;
        }
    } else {
        if (OpenProgramFile(o.program, p, host) != open_status::kOk) {
            host.Tell(MessageKind::Error, "An error occured while loading data from file( 0 )");
            return kExitBadInput;
        }
        s.currentFileName = o.program;
    }
    p.SetHardwareSerial(o.hardwareSerial);

    if (!o.labels.empty()) {
        NoImportProgress progress;
        if (ImportListingLabels(std::filesystem::path(o.labels), s.workspace, progress, host) != kImportOk) {
            return kExitBadInput;
        }
    }
    for (std::uint16_t address : o.breakPoints) s.breakPoints.Add(address);

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
    std::string stop;
    if (trace.Stream()) stop = Run<true, true, true>(s, o, trace.Stream(), serial);
    else if (o.maxCycles || o.maxTime) stop = Run<false, true, true>(s, o, nullptr, serial);
    else if (serialOut.Stream()) stop = Run<false, true, false>(s, o, nullptr, serial);
    else stop = Run<false, false, false>(s, o, nullptr, serial);
    DecodeInstruction(p, s.workspace);  // the display follows the stop, as after a step

    int status = (stop == "break" || stop == "self-loop") ? kExitStopped : kExitLimit;
    if (state.Stream()) WriteStateJson(*state.Stream(), p, stop, o.xram);
    if (!o.saveSnapshot.empty()) {
        HeadlessSnapshotHost snapshotHost(s, o.crystal);
        if (SaveSimulation(o.saveSnapshot, s.Parts(), snapshotHost) != 1) {
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
