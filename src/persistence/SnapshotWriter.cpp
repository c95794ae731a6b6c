// Fields of a snapshot, in file order, all integers little-endian:
//
//   magic 4 | path 1000 | ucIntRAM 512 | ucExtRAM 65792 | ucCodeMemory 65792 |
//   usPC 2 | instructions 8 | bytes 8 | cycles 8 | executed instructions (list) |
//   program size 2 | interrupts in progress (list) | interrupt flags 1 |
//   interrupt to service 4 | warnings (list) | errors (list) | Tx rate 4 | Rx rate 4 |
//   Tx frame time 4 | Rx frame time 4 | Tx in progress 4 | Tx cycles left 4 |
//   Tx log 102400 | Rx log 102400 | Tx log position 4 | Rx log position 4 |
//   window layout 1536 | break points (list) | active watch (list) |
//   code labels (list) | bit labels (list) | number labels (list)
#include <algorithm>

#include "util/LittleEndian.h"
#include "util/SafeFileWriter.h"
#include "persistence/Snapshot.h"
#include "persistence/SnapshotTextList.h"

namespace tessaly {

namespace {

constexpr std::size_t kPathFieldSize = 1000;

void WriteBytes(std::ostream& out, const void* bytes, std::size_t size) {
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

template <typename Array>
void WriteBlock(std::ostream& out, const Array& block) {
    WriteBytes(out, block.data(), block.size());
}

void Write16(std::ostream& out, std::uint16_t value) {
    std::uint8_t bytes[2];
    le::Put16(bytes, value);
    WriteBytes(out, bytes, 2);
}

void Write32(std::ostream& out, std::uint32_t value) {
    std::uint8_t bytes[4];
    le::Put32(bytes, value);
    WriteBytes(out, bytes, 4);
}

void WriteSigned32(std::ostream& out, std::int32_t value) { Write32(out, static_cast<std::uint32_t>(value)); }

void Write64(std::ostream& out, std::uint64_t value) {
    std::uint8_t bytes[8];
    le::Put64(bytes, value);
    WriteBytes(out, bytes, 8);
}

// The path and zeros up to the field's end; a path too long for the field
// loses its tail rather than its terminating zero.
void WritePath(std::ostream& out, const std::string& path) {
    std::uint8_t field[kPathFieldSize] = {};
    std::copy_n(path.begin(), std::min(path.size(), kPathFieldSize - 1), field);
    WriteBytes(out, field, kPathFieldSize);
}

}  // namespace

bool WriteSnapshot(std::ostream& out, const SnapshotParts& parts) {
    const Processor& p = parts.processor;
    Write32(out, kSnapshotMagic);
    WritePath(out, parts.currentFileName);
    WriteBlock(out, p.ucIntRAM);
    WriteBlock(out, p.ucExtRAM);
    WriteBlock(out, p.ucCodeMemory);
    Write16(out, p.usPC);
    Write64(out, p.ullInstructionsExecuted);
    Write64(out, p.ullBytesExecuted);
    Write64(out, p.ullCyclesExecuted);
    WriteTextList(out, p.lstExecutedInstructions);
    // Only the low 16 bits: a program of the full 64K is stored as 0.
    Write16(out, static_cast<std::uint16_t>(p.iProgramSize));
    WriteTextList(out, p.lstInterruptsInProgress);
    WriteBytes(out, &p.ucInterruptFlags, 1);
    WriteSigned32(out, p.iInterruptToService);
    WriteTextList(out, p.lstWarnings);
    WriteTextList(out, p.lstErrors);
    WriteSigned32(out, p.iTxBaudRate);
    WriteSigned32(out, p.iRxBaudRate);
    WriteSigned32(out, p.iTxFrameTime);
    WriteSigned32(out, p.iRxFrameTime);
    Write32(out, p.bTxInProgress);
    WriteSigned32(out, p.iTxCyclesLeft);
    WriteBlock(out, p.ucTxLog);
    WriteBlock(out, p.ucRxLog);
    WriteSigned32(out, p.iTxLogPos);
    WriteSigned32(out, p.iRxLogPos);
    WriteBlock(out, EncodeWindowLayout(parts.layout));
    WriteTextList(out, parts.breakPoints.List());
    WriteTextList(out, parts.activeWatch);
    WriteTextList(out, parts.workspace.lstCodeLabels);
    WriteTextList(out, parts.workspace.lstBitLabels);
    WriteTextList(out, parts.workspace.lstNumberLabels);
    return static_cast<bool>(out);
}

SnapshotSave SaveSnapshotFile(const std::filesystem::path& path, const SnapshotParts& parts) {
    SafeFileWriter writer(path);
    if (!writer.IsOpen()) return SnapshotSave::CannotCreate;
    if (!WriteSnapshot(writer.Stream(), parts)) return SnapshotSave::WriteFailed;
    return writer.Commit() ? SnapshotSave::Saved : SnapshotSave::WriteFailed;
}

}  // namespace tessaly
