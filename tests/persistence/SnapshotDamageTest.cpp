// Snapshots cut short or forged: each opens, never reads past what the file
// holds, and leaves what it could not read as the workspace reset left it.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <sstream>
#include <string>

#include "persistence/Snapshot.h"
#include "support/SnapshotBench.h"
#include "support/SnapshotSample.h"

namespace tessaly {
namespace {

namespace sample = test::sample;
using test::SnapshotImage;

int Load(test::SnapshotBench& bench, const std::string& bytes) {
    std::istringstream in(bytes);
    return bench.Load(in);
}

// A bench whose state before opening differs from both the file and a reset,
// so a test can tell which of the three a field ended with.
struct Opened {
    test::SnapshotBench bench;
    Processor reset;  // what the workspace reset leaves

    explicit Opened(const std::string& bytes) {
        bench.currentFileName = "before";
        bench.processor->usPC = 0x7777;
        bench.breakPoints.Add(0x9999);
        bench.activeWatch.Append("Internal RAM~|*7F");
        bench.layout.entries[20].bounds.left = -1234;
        bench.workspace->lstCodeLabels.Set(1, "BEFORE");
        result = Load(bench, bytes);
    }
    int result = 0;
    Processor& p() { return *bench.processor; }
};

void ExpectLabelListsUnlabelled(const Workspace& w) {
    for (const TextList* list : {&w.lstCodeLabels, &w.lstBitLabels, &w.lstNumberLabels}) {
        ASSERT_EQ(list->Count(), Workspace::kLabelCount);
        for (std::size_t v = 0; v < list->Count(); ++v) {
            if ((*list)[v] != "~") {
                ADD_FAILURE() << "entry " << v << " is " << (*list)[v];
                return;
            }
        }
    }
}

std::string CutAt(std::size_t size) { return sample::Image().Str().substr(0, size); }

TEST(SnapshotCutShort, OnlyTheMagicNumberGivesAResetWorkspace) {
    Opened o(CutAt(4));
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.bench.currentFileName, "");
    EXPECT_EQ(o.p().ucIntRAM, o.reset.ucIntRAM);
    EXPECT_EQ(o.p().usPC, 0);
    EXPECT_EQ(o.p().iTxBaudRate, o.reset.iTxBaudRate);
    EXPECT_EQ(o.p().iInterruptToService, -1);
    // Lists whose length cannot be read end empty; the label lists keep one entry per value.
    EXPECT_TRUE(o.bench.breakPoints.Empty());
    EXPECT_TRUE(o.bench.activeWatch.Empty());
    ExpectLabelListsUnlabelled(*o.bench.workspace);
    // The layout is not part of the reset: it stays as it was.
    EXPECT_EQ(o.bench.layout.entries[20].bounds.left, -1234);
    EXPECT_EQ(o.bench.calls, (std::vector<std::string>{"reset"}));
}

TEST(SnapshotCutShort, FieldCutInTheMiddleIsNotTaken) {
    const auto start = sample::Image().start;
    // Inside the path, inside the internal RAM, inside usPC.
    for (std::size_t cut : {start[2] + 10, start[3] + 100, start[6] + 1}) {
        Opened o(CutAt(cut));
        ASSERT_EQ(o.result, 1);
        if (cut > start[3]) {
            EXPECT_EQ(o.bench.currentFileName, sample::kPath);
        } else {
            EXPECT_EQ(o.bench.currentFileName, "");
        }
        if (cut < start[4]) {
            EXPECT_EQ(o.p().ucIntRAM, o.reset.ucIntRAM) << cut;
        }
        EXPECT_EQ(o.p().usPC, 0) << cut;
    }
}

TEST(SnapshotCutShort, EverythingBeforeTheCutIsRestored) {
    const auto start = sample::Image().start;
    Opened o(CutAt(start[10] + 6));  // inside the executed-instruction text
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.p().ucCodeMemory[0x1234], sample::Code(0x1234));
    EXPECT_EQ(o.p().ucExtRAM[0xFFFF], sample::ExtRAM(0xFFFF));
    EXPECT_EQ(o.p().usPC, 0x1234);
    EXPECT_EQ(o.p().ullCyclesExecuted, 0x8877665544332211u);
    EXPECT_TRUE(o.p().lstExecutedInstructions.Empty());
    EXPECT_EQ(o.p().iProgramSize, 0);
    EXPECT_EQ(o.p().iTxLogPos, 0);
    ExpectLabelListsUnlabelled(*o.bench.workspace);
}

TEST(SnapshotCutShort, MissingLastZeroByteEmptiesOnlyTheLastList) {
    const sample::Built image = sample::Image();
    Opened o(image.Str().substr(0, image.bytes.size() - 1));
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.bench.workspace->lstCodeLabels[0x30], "MAIN");
    EXPECT_EQ(o.bench.workspace->lstBitLabels[0x20], "FLAG");
    EXPECT_EQ(o.bench.workspace->lstNumberLabels[0x10], "~");
    EXPECT_EQ(o.bench.workspace->lstNumberLabels.Count(), Workspace::kLabelCount);
}

TEST(SnapshotCutShort, CutInsideTheLayoutKeepsTheLayoutAsItWas) {
    const auto start = sample::Image().start;
    Opened o(CutAt(start[27] + 700));
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.p().iRxLogPos, 5);
    EXPECT_EQ(o.bench.layout.entries[20].bounds.left, -1234);
    EXPECT_TRUE(o.bench.breakPoints.Empty());
}

TEST(SnapshotForged, HugeTextListLengthNeitherAllocatesNorReadsOn) {
    for (std::uint32_t length : {0xFFFFFFFFu, 0xFFFFFFFEu, 0x7FFFFFFFu, 10000000u}) {
        const sample::Built image = sample::Image({{10, [=](SnapshotImage& i) { i.U32(length).Raw("NOP\r\n"); }}});
        const auto began = std::chrono::steady_clock::now();
        Opened o(image.Str());
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
        ASSERT_EQ(o.result, 1);
        EXPECT_EQ(o.p().usPC, 0x1234);
        EXPECT_TRUE(o.p().lstExecutedInstructions.Empty()) << length;
        // Nothing after the forged length is read from wherever it points.
        EXPECT_EQ(o.p().iInterruptToService, -1);
        EXPECT_EQ(o.p().ucTxLog, o.reset.ucTxLog);
        ExpectLabelListsUnlabelled(*o.bench.workspace);
    }
}

TEST(SnapshotForged, LengthThatNeedsOneByteMoreThanTheFileHolds) {
    // The number list's text is whole but its length claims one byte more.
    const sample::Built image = sample::Image();
    std::string bytes = image.Str();
    const std::size_t at = image.start[32];
    const std::uint32_t length = static_cast<std::uint32_t>(image.bytes.size() - at - 4);  // n + 1 bytes follow
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(length >> (8 * i));
    Opened o(bytes);
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.bench.workspace->lstNumberLabels[0x10], "~");
    EXPECT_EQ(o.bench.workspace->lstBitLabels[0x20], "FLAG");
}

TEST(SnapshotForged, TextWithoutItsZeroOrWithOneInsideStopsThere) {
    const sample::Built image = sample::Image({
        {10, [](SnapshotImage& i) { i.U32(5).Raw("NOP\r\nX"); }},             // byte n is 'X', not zero
        {12, [](SnapshotImage& i) { i.U32(6).Raw("1\r\n").U8(0).Raw("2\r").U8(0); }},
    });
    Opened o(image.Str());
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.p().lstExecutedInstructions.Lines(), (std::vector<std::string>{"NOP"}));
    EXPECT_EQ(o.p().lstInterruptsInProgress.Lines(), (std::vector<std::string>{"1"}));
    // The fields after both lists are still where they belong.
    EXPECT_EQ(o.p().iProgramSize, 0x2345);
    EXPECT_EQ(o.p().ucInterruptFlags, 0x12);
    EXPECT_EQ(o.bench.workspace->lstNumberLabels[0x10], "COUNT");
}

TEST(SnapshotForged, LayoutEntryCountIsTakenAsTwentyTwo) {
    for (std::uint32_t count : {0u, 21u, 23u, 0xFFFFFFFFu}) {
        const sample::Built image = sample::Image({{27, [=](SnapshotImage& i) {
                                                        auto block = EncodeWindowLayout(sample::Layout());
                                                        for (int b = 0; b < 4; ++b) {
                                                            block[static_cast<std::size_t>(b)] =
                                                                static_cast<std::uint8_t>(count >> (8 * b));
                                                        }
                                                        i.bytes.insert(i.bytes.end(), block.begin(), block.end());
                                                    }}});
        Opened o(image.Str());
        ASSERT_EQ(o.result, 1);
        EXPECT_EQ(o.bench.layout, sample::Layout()) << count;
        EXPECT_EQ(o.bench.workspace->lstCodeLabels[0x30], "MAIN");
    }
}

TEST(SnapshotForged, PathWithoutZeroByteIsTheWholeField) {
    const sample::Built image = sample::Image({{2, [](SnapshotImage& i) { i.Fill(1000, 'Z'); }}});
    Opened o(image.Str());
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.bench.currentFileName, std::string(1000, 'Z'));
    EXPECT_EQ(o.p().ucIntRAM[0], sample::IntRAM(0));
}

TEST(SnapshotForged, LabelListsAlwaysHoldOneEntryPerValue) {
    std::vector<std::string> tooMany(70000, "X");
    const sample::Built image = sample::Image({
        {30, [](SnapshotImage& i) { i.List({"A", "B", "C"}); }},
        {31, [&](SnapshotImage& i) { i.List(tooMany); }},
        {32, [](SnapshotImage& i) { i.U32(0); }},
    });
    Opened o(image.Str());
    ASSERT_EQ(o.result, 1);
    const Workspace& w = *o.bench.workspace;
    ASSERT_EQ(w.lstCodeLabels.Count(), Workspace::kLabelCount);
    EXPECT_EQ(w.lstCodeLabels[2], "C");
    EXPECT_EQ(w.lstCodeLabels[3], "~");
    ASSERT_EQ(w.lstBitLabels.Count(), Workspace::kLabelCount);
    EXPECT_EQ(w.lstBitLabels[0xFFFF], "X");
    EXPECT_EQ(w.lstNumberLabels.Count(), Workspace::kLabelCount);
}

TEST(SnapshotForged, ValuesTheEngineIndexesWithAreKeptInRange) {
    const sample::Built image = sample::Image({
        {14, [](SnapshotImage& i) { i.I32(77); }},
        {21, [](SnapshotImage& i) { i.U8(1).Fill(3, 0xFF); }},
        {22, [](SnapshotImage& i) { i.I32(INT_MIN); }},
        {25, [](SnapshotImage& i) { i.I32(102400); }},
        {26, [](SnapshotImage& i) { i.I32(-3); }},
    });
    Opened o(image.Str());
    ASSERT_EQ(o.result, 1);
    EXPECT_EQ(o.p().iInterruptToService, -1);
    EXPECT_EQ(o.p().bTxInProgress, 1);
    EXPECT_EQ(o.p().iTxCyclesLeft, 0);
    EXPECT_EQ(o.p().iTxLogPos, 0);
    EXPECT_EQ(o.p().iRxLogPos, 0);

    // The restored machine runs: MOV SBUF,A then MOV A,SBUF log at the restored positions.
    Processor& p = o.p();
    p.ucIntRAM[sfr::SCON] = 0x10;  // mode 0 with reception enabled: both rates valid
    p.iTxBaudRate = p.iRxBaudRate = 1000000;
    p.ucIntRAM[sfr::IE] = 0;  // no interrupt between the two
    p.ucInterruptFlags = 0;
    p.usPC = 0;
    p.ucCodeMemory[0] = 0xF5;
    p.ucCodeMemory[1] = 0x99;
    p.ucCodeMemory[2] = 0xE5;
    p.ucCodeMemory[3] = 0x99;
    p.ExecuteInstructions(2);
    EXPECT_EQ(p.iTxLogPos, 1);
    EXPECT_EQ(p.iRxLogPos, 1);
}

TEST(SnapshotForged, RatesAreRestoredAsStored) {
    const sample::Built image = sample::Image({{17, [](SnapshotImage& i) { i.I32(123); }},
                                               {20, [](SnapshotImage& i) { i.I32(-77); }}});
    Opened o(image.Str());
    EXPECT_EQ(o.p().iTxBaudRate, 123);
    EXPECT_EQ(o.p().iRxFrameTime, -77);
}

}  // namespace
}  // namespace tessaly
