#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "persistence/WindowLayout.h"
#include "support/SnapshotBench.h"
#include "support/SnapshotImage.h"

// One simulation with a known value in every stored field: put into a bench
// for the writer, and as hand-built bytes for comparison and forging.
namespace tessaly::test::sample {

inline std::uint8_t IntRAM(std::size_t i) { return static_cast<std::uint8_t>(i * 3 + 1); }
inline std::uint8_t ExtRAM(std::size_t i) { return static_cast<std::uint8_t>(i * 7 + i / 256); }
inline std::uint8_t Code(std::size_t i) { return static_cast<std::uint8_t>((i ^ 0xA5) + (i >> 8)); }
inline std::uint8_t TxLog(std::size_t i) { return static_cast<std::uint8_t>(i * 11); }
inline std::uint8_t RxLog(std::size_t i) { return static_cast<std::uint8_t>(i * 13 + 5); }

inline const std::string kPath = "C:\\8051\\blink.hex";
inline const std::vector<std::string> kExecuted = {"NOP", "MOV\tA,#01H"};
inline const std::vector<std::string> kInterrupts = {"1", "4"};
inline const std::vector<std::string> kWarnings = {"Tramission baud rate is invalid"};
inline const std::vector<std::string> kBreakPoints = {"0x0030", "0x0100"};
inline const std::vector<std::string> kWatch = {"Bit Memory~|*20", "Internal RAM~|*30"};
inline constexpr WindowLayoutEntry kSfrWindow{640, 480, 310, 281, 1};

inline std::vector<std::string> Labels(unsigned value, const std::string& name) {
    std::vector<std::string> labels(65536, "~");
    labels[value] = name;
    return labels;
}

inline WindowLayout Layout() {
    WindowLayout layout;
    LoadDefaultLayout(layout);
    layout.entries[1] = kSfrWindow;
    return layout;
}

inline void Fill(SnapshotBench& bench) {
    Processor& p = *bench.processor;
    bench.currentFileName = kPath;
    for (std::size_t i = 0; i < p.ucIntRAM.size(); ++i) p.ucIntRAM[i] = IntRAM(i);
    for (std::size_t i = 0; i < p.ucExtRAM.size(); ++i) p.ucExtRAM[i] = ExtRAM(i);
    for (std::size_t i = 0; i < p.ucCodeMemory.size(); ++i) p.ucCodeMemory[i] = Code(i);
    p.usPC = 0x1234;
    p.ullInstructionsExecuted = 0x0102030405060708;
    p.ullBytesExecuted = 0x1122334455667788;
    p.ullCyclesExecuted = 0x8877665544332211;
    p.lstExecutedInstructions.Clear();
    for (const auto& line : kExecuted) p.lstExecutedInstructions.Append(line);
    p.iProgramSize = 0x12345;
    p.lstInterruptsInProgress.Clear();
    for (const auto& line : kInterrupts) p.lstInterruptsInProgress.Append(line);
    p.ucInterruptFlags = 0x12;
    p.iInterruptToService = 4;
    p.lstWarnings.Clear();
    for (const auto& line : kWarnings) p.lstWarnings.Append(line);
    p.lstErrors.Clear();
    p.iTxBaudRate = 9600;
    p.iRxBaudRate = -1;
    p.iTxFrameTime = 1041;
    p.iRxFrameTime = 0;
    p.bTxInProgress = 1;
    p.iTxCyclesLeft = 77;
    for (std::size_t i = 0; i < p.ucTxLog.size(); ++i) p.ucTxLog[i] = TxLog(i);
    for (std::size_t i = 0; i < p.ucRxLog.size(); ++i) p.ucRxLog[i] = RxLog(i);
    p.iTxLogPos = 102399;
    p.iRxLogPos = 5;
    bench.layout = Layout();
    bench.capturedSfrWindow = kSfrWindow;
    bench.breakPoints.Clear();
    bench.breakPoints.Add(0x0100);
    bench.breakPoints.Add(0x0030);
    bench.activeWatch.Clear();
    for (const auto& line : kWatch) bench.activeWatch.Append(line);
    bench.workspace->ResetLabels();
    bench.workspace->lstCodeLabels.Set(0x30, "MAIN");
    bench.workspace->lstBitLabels.Set(0x20, "FLAG");
    bench.workspace->lstNumberLabels.Set(0x10, "COUNT");
}

// Field number (1 to 32) to a writer that replaces the sample's bytes for it.
using Replacements = std::map<int, std::function<void(SnapshotImage&)>>;

struct Built {
    std::vector<std::uint8_t> bytes;
    // start[k]: offset of field k; start[33] is the size.
    std::array<std::size_t, 34> start{};
    std::string Str() const { return std::string(bytes.begin(), bytes.end()); }
};

inline Built Image(const Replacements& replace = {}) {
    const std::function<void(SnapshotImage&)> fields[] = {
        [](SnapshotImage& i) { i.U32(0x4E5BF091); },
        [](SnapshotImage& i) { i.Raw(kPath).Fill(1000 - kPath.size(), 0); },
        [](SnapshotImage& i) { i.Pattern(512, IntRAM); },
        [](SnapshotImage& i) { i.Pattern(65792, ExtRAM); },
        [](SnapshotImage& i) { i.Pattern(65792, Code); },
        [](SnapshotImage& i) { i.U16(0x1234); },
        [](SnapshotImage& i) { i.U64(0x0102030405060708); },
        [](SnapshotImage& i) { i.U64(0x1122334455667788); },
        [](SnapshotImage& i) { i.U64(0x8877665544332211); },
        [](SnapshotImage& i) { i.List(kExecuted); },
        [](SnapshotImage& i) { i.U16(0x2345); },
        [](SnapshotImage& i) { i.List(kInterrupts); },
        [](SnapshotImage& i) { i.U8(0x12); },
        [](SnapshotImage& i) { i.I32(4); },
        [](SnapshotImage& i) { i.List(kWarnings); },
        [](SnapshotImage& i) { i.List({}); },
        [](SnapshotImage& i) { i.I32(9600); },
        [](SnapshotImage& i) { i.I32(-1); },
        [](SnapshotImage& i) { i.I32(1041); },
        [](SnapshotImage& i) { i.I32(0); },
        [](SnapshotImage& i) { i.U8(1).Fill(3, 0); },
        [](SnapshotImage& i) { i.I32(77); },
        [](SnapshotImage& i) { i.Pattern(102400, TxLog); },
        [](SnapshotImage& i) { i.Pattern(102400, RxLog); },
        [](SnapshotImage& i) { i.I32(102399); },
        [](SnapshotImage& i) { i.I32(5); },
        [](SnapshotImage& i) {
            const auto block = EncodeWindowLayout(Layout());
            i.bytes.insert(i.bytes.end(), block.begin(), block.end());
        },
        [](SnapshotImage& i) { i.List(kBreakPoints); },
        [](SnapshotImage& i) { i.List(kWatch); },
        [](SnapshotImage& i) { i.List(Labels(0x30, "MAIN")); },
        [](SnapshotImage& i) { i.List(Labels(0x20, "FLAG")); },
        [](SnapshotImage& i) { i.List(Labels(0x10, "COUNT")); },
    };
    SnapshotImage image;
    Built built;
    for (int k = 1; k <= 32; ++k) {
        built.start[static_cast<std::size_t>(k)] = image.Size();
        const auto replaced = replace.find(k);
        (replaced != replace.end() ? replaced->second : fields[k - 1])(image);
    }
    built.start[33] = image.Size();
    built.bytes = std::move(image.bytes);
    return built;
}

}  // namespace tessaly::test::sample
