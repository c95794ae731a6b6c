#include "cli/Runner.h"

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
        p.dCrystalFrequency = crystal_;
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
    const std::string extension = FileExtension(path);
    std::string upper;
    for (char c : extension) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == ".SLF";
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

struct RunLimits {
    std::uint64_t instructions;
    std::optional<std::uint64_t> cycles;
    std::optional<std::uint64_t> microseconds;
};

RunLimits LimitsOf(const RunOptions& o) {
    RunLimits limits{kDefaultInstructionLimit, o.maxCycles, o.maxTime};
    if (o.maxInstructions) limits.instructions = *o.maxInstructions;
    else if (o.maxCycles || o.maxTime) limits.instructions = UINT64_MAX;
    return limits;
}

// The free run: the break point test before every instruction, then the
// self-loop and the limits, all counted from the start of this run.
std::string Run(Session& s, const RunOptions& o, std::ostream* trace, SerialCopier& serial) {
    Processor& p = *s.processor;
    const RunLimits limits = LimitsOf(o);
    const std::uint64_t startInstructions = p.ullInstructionsExecuted;
    const std::uint64_t startCycles = p.ullCyclesExecuted;
    for (;;) {
        if (s.breakPoints.StopsBeforeInstruction(p)) return "break";
        if (o.stopOnSelfLoop && AtSelfLoop(p)) return "self-loop";
        if (p.ullInstructionsExecuted - startInstructions >= limits.instructions) return "instructions";
        const std::uint64_t cycles = p.ullCyclesExecuted - startCycles;
        if (limits.cycles && cycles >= *limits.cycles) return "cycles";
        if (limits.microseconds && ElapsedMicroseconds(cycles, p.dCrystalFrequency) >= *limits.microseconds) {
            return "time";
        }
        if (trace) {
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
        serial.Copy();
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
    p.dCrystalFrequency = o.crystal;
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
    p.bHardwareSerial = o.hardwareSerial ? 1 : 0;

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
    const std::string stop = Run(s, o, trace.Stream(), serial);
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
