// Arbitrary bytes as a simulation snapshot, then a short run of the machine
// it restored. The first input byte picks how the rest is used:
//   0: the whole file after the magic number
//   1: bytes written over a valid snapshot at an offset (next three bytes)
//   2: a valid snapshot cut at an offset (next three bytes), the rest appended
// so that the fields far into a real snapshot are reached as well.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>

#include "analysis/Decoder.h"
#include "persistence/Snapshot.h"
#include "persistence/SnapshotTextList.h"

namespace {

using namespace tessaly;

struct Machine {
    Processor processor;
    Workspace workspace;
    BreakPoints breakPoints;
    TextList activeWatch;
    WindowLayout layout;
    std::string currentFileName;

    SnapshotParts Parts() { return {processor, workspace, breakPoints, activeWatch, layout, currentFileName}; }

    // What the workspace reset does to the snapshot's parts.
    void ResetWorkspace() {
        currentFileName.clear();
        processor.FullReset();
        workspace.ResetLabels();
    }
};

const std::string& ValidSnapshot() {
    static const std::string bytes = [] {
        auto machine = std::make_unique<Machine>();
        LoadDefaultLayout(machine->layout);
        machine->currentFileName = "C:\\prog.hex";
        machine->processor.lstExecutedInstructions.Append("NOP");
        machine->processor.lstInterruptsInProgress.Append("2");
        machine->processor.lstWarnings.Append("Receiption is disabled");
        machine->breakPoints.Add(0x30);
        machine->activeWatch.Append("Internal RAM~|*30");
        machine->workspace.lstCodeLabels.Set(0x30, "MAIN");
        std::ostringstream out;
        WriteSnapshot(out, machine->Parts());
        // Short label lists in place of the three full ones keep each run
        // fast and put most offsets on fields worth changing.
        std::ostringstream full;
        for (const TextList* list : {&machine->workspace.lstCodeLabels, &machine->workspace.lstBitLabels,
                                     &machine->workspace.lstNumberLabels}) {
            WriteTextList(full, *list);
        }
        TextList shortList;
        shortList.Append("~");
        shortList.Append("LABEL");
        std::ostringstream labels;
        for (int i = 0; i < 3; ++i) WriteTextList(labels, shortList);
        const std::string whole = out.str();
        return whole.substr(0, whole.size() - full.str().size()) + labels.str();
    }();
    return bytes;
}

std::size_t Offset(const std::uint8_t* data, std::size_t modulo) {
    return ((std::size_t{data[0]} << 16) | (std::size_t{data[1]} << 8) | data[2]) * 7 % modulo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static auto* machine = new Machine;
    const std::string& valid = ValidSnapshot();
    std::string file;
    const std::uint8_t mode = data[0] % 3;
    ++data;
    --size;
    if (mode == 0 || size < 3) {
        file = valid.substr(0, 4);
        file.append(reinterpret_cast<const char*>(data), size);
    } else {
        const std::size_t at = Offset(data, valid.size());
        data += 3;
        size -= 3;
        if (mode == 1) {
            file = valid;
            file.replace(at, std::min(size, file.size() - at), reinterpret_cast<const char*>(data),
                         std::min(size, file.size() - at));
        } else {
            file = valid.substr(0, at);
            file.append(reinterpret_cast<const char*>(data), size);
        }
    }

    std::istringstream in(file);
    // The session's sequence: the magic number, the reset, the fields.
    if (!ReadSnapshotMagic(in)) return 0;
    machine->ResetWorkspace();
    auto parts = machine->Parts();
    ReadSnapshotFields(in, parts);

    const Processor& p = machine->processor;
    for (const TextList* list : {&machine->workspace.lstCodeLabels, &machine->workspace.lstBitLabels,
                                 &machine->workspace.lstNumberLabels}) {
        if (list->Count() != Workspace::kLabelCount) __builtin_trap();
    }
    if (p.iTxLogPos < 0 || p.iTxLogPos >= static_cast<std::int32_t>(Processor::kSerialLogSize)) __builtin_trap();
    if (p.iRxLogPos < 0 || p.iRxLogPos >= static_cast<std::int32_t>(Processor::kSerialLogSize)) __builtin_trap();

    // The restored machine must run and decode whatever the file held.
    machine->processor.ExecuteInstructions(64);
    DecodeInstruction(machine->processor, machine->workspace);
    return 0;
}
