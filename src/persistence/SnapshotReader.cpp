#include <algorithm>
#include <fstream>
#include <vector>

#include "util/AsciiCase.h"
#include "loading/ProgramFile.h"
#include "util/LittleEndian.h"
#include "persistence/Snapshot.h"
#include "persistence/SnapshotInput.h"
#include "persistence/SnapshotTextList.h"

namespace tessaly {

namespace {

constexpr std::size_t kPathFieldSize = 1000;

void Replace(TextList& list, const std::vector<std::string>& lines) {
    list.Clear();
    for (const std::string& line : lines) list.Append(line);
}

// The watch list is kept sorted without regard to case and without
// duplicates; a file may hold it in any order.
void SortWatchList(TextList& list) {
    std::vector<std::string> lines = list.Lines();
    std::stable_sort(lines.begin(), lines.end(), LessIgnoringCase);
    lines.erase(std::unique(lines.begin(), lines.end(), SameIgnoringCase), lines.end());
    Replace(list, lines);
}

// Label lists are indexed by any 16-bit value, so they must hold exactly one
// entry per value whatever the file held.
void FitLabelList(TextList& list) {
    if (list.Count() == Workspace::kLabelCount) return;
    TextList fitted = Workspace::Unlabelled();
    const std::size_t kept = std::min(list.Count(), Workspace::kLabelCount);
    for (std::size_t i = 0; i < kept; ++i) fitted.Set(i, list[i]);
    list = std::move(fitted);
}

// Values the engine uses as indexes or counts down: out-of-range ones from a
// forged file are replaced by their reset values.
void KeepUsable(Processor& p) {
    const auto logSize = static_cast<std::int32_t>(Processor::kSerialLogSize);
    if (p.iTxLogPos < 0 || p.iTxLogPos >= logSize) p.iTxLogPos = 0;
    if (p.iRxLogPos < 0 || p.iRxLogPos >= logSize) p.iRxLogPos = 0;
    if (p.iTxCyclesLeft < 0) p.iTxCyclesLeft = 0;
    if (p.iInterruptToService < -1 || p.iInterruptToService > 5) p.iInterruptToService = -1;
}

class FieldReader {
public:
    explicit FieldReader(std::istream& in) : input_(in) {}

    bool Whole() const { return whole_; }

    template <typename Array>
    void Block(Array& block) {
        Note(input_.Read(block.data(), block.size()));
    }
    void Byte(std::uint8_t& value) { Note(input_.Read(&value, 1)); }
    void U16(std::uint16_t& value) {
        std::uint8_t bytes[2];
        if (Note(input_.Read(bytes))) value = le::Get16(bytes);
    }
    void I32(std::int32_t& value) {
        std::uint8_t bytes[4];
        if (Note(input_.Read(bytes))) value = le::GetSigned32(bytes);
    }
    void U64(std::uint64_t& value) {
        std::uint8_t bytes[8];
        if (Note(input_.Read(bytes))) value = le::Get64(bytes);
    }
    // The 16-bit program size field.
    void ProgramSize(std::int32_t& value) {
        std::uint16_t size = 0;
        std::uint8_t bytes[2];
        if (Note(input_.Read(bytes))) {
            size = le::Get16(bytes);
            value = size;
        }
    }
    // A flag stored in the first byte of four.
    void Flag32(std::uint8_t& value) {
        std::uint8_t bytes[4];
        if (Note(input_.Read(bytes))) value = bytes[0];
    }
    // The text before the first zero byte; a field without one is all text.
    void Path(std::string& value) {
        std::uint8_t bytes[kPathFieldSize];
        if (!Note(input_.Read(bytes))) return;
        value.assign(bytes, std::find(bytes, bytes + kPathFieldSize, std::uint8_t{0}));
    }
    void Layout(WindowLayout& layout) {
        WindowLayoutBlock block;
        if (Note(input_.Read(block.data(), block.size()))) DecodeWindowLayout(block, layout);
    }
    template <class Lines>
    void List(Lines& list) {
        Note(ReadTextList(input_, list));
    }

private:
    bool Note(bool read) {
        whole_ = whole_ && read;
        return read;
    }

    SnapshotInput input_;
    bool whole_ = true;
};

}  // namespace

bool ReadSnapshotFields(std::istream& in, SnapshotParts& parts) {
    Processor& p = parts.processor;
    Workspace& w = parts.workspace;
    FieldReader read(in);
    read.Path(parts.currentFileName);
    read.Block(p.ucIntRAM);
    read.Block(p.ucExtRAM);
    read.Block(p.ucCodeMemory);
    read.U16(p.usPC);
    read.U64(p.ullInstructionsExecuted);
    read.U64(p.ullBytesExecuted);
    read.U64(p.ullCyclesExecuted);
    read.List(p.lstExecutedInstructions);
    read.ProgramSize(p.iProgramSize);
    read.List(p.lstInterruptsInProgress);
    read.Byte(p.ucInterruptFlags);
    read.I32(p.iInterruptToService);
    read.List(p.lstWarnings);
    read.List(p.lstErrors);
    // The rates are restored as stored; the engine derives them from the
    // SFRs again when it next runs (see the end).
    read.I32(p.iTxBaudRate);
    read.I32(p.iRxBaudRate);
    read.I32(p.iTxFrameTime);
    read.I32(p.iRxFrameTime);
    read.Flag32(p.bTxInProgress);
    read.I32(p.iTxCyclesLeft);
    read.Block(p.ucTxLog);
    read.Block(p.ucRxLog);
    read.I32(p.iTxLogPos);
    read.I32(p.iRxLogPos);
    read.Layout(parts.layout);

    TextList breakPoints;
    read.List(breakPoints);
    parts.breakPoints.SetFromLines(breakPoints.Lines());
    read.List(parts.activeWatch);
    SortWatchList(parts.activeWatch);
    for (TextList* labels : {&w.lstCodeLabels, &w.lstBitLabels, &w.lstNumberLabels}) {
        read.List(*labels);
        FitLabelList(*labels);
    }
    KeepUsable(p);
    // The SFR bytes and rate fields were written behind the engine's back:
    // let it derive timers, interrupts and rates from them when it next runs.
    p.InvalidateDerivedState();
    return read.Whole();
}

bool IsSnapshotPath(const std::filesystem::path& path) { return UpperCase(FileExtension(path)) == ".SLF"; }

bool ReadSnapshotMagic(std::istream& in) {
    std::uint8_t magic[4];
    in.read(reinterpret_cast<char*>(magic), 4);
    return in.gcount() == 4 && le::Get32(magic) == kSnapshotMagic;
}

}  // namespace tessaly
