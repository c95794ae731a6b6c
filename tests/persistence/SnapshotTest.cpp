#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "persistence/Snapshot.h"
#include "support/SnapshotBench.h"
#include "support/SnapshotSample.h"
#include "support/ScratchDirectory.h"

#if defined(__unix__)
#include <sys/resource.h>
#include <csignal>
#endif

namespace tessaly {
namespace {

namespace sample = test::sample;

std::string Written(test::SnapshotBench& bench) {
    std::ostringstream out;
    EXPECT_TRUE(WriteSnapshot(out, bench.Parts()));
    return out.str();
}

int Load(test::SnapshotBench& bench, const std::string& bytes) {
    std::istringstream in(bytes);
    return bench.Load(in);
}

TEST(SnapshotLayout, FixedFieldsSitAtTheirOffsets) {
    const sample::Built image = sample::Image();
    EXPECT_EQ(image.start[2], 4u);           // path
    EXPECT_EQ(image.start[3], 1004u);        // ucIntRAM
    EXPECT_EQ(image.start[4], 1516u);        // ucExtRAM
    EXPECT_EQ(image.start[5], 67308u);       // ucCodeMemory
    EXPECT_EQ(image.start[6], 133100u);      // usPC
    EXPECT_EQ(image.start[10], 133126u);     // executed instructions
    // "NOP\r\nMOV\tA,#01H\r\n" is 17 bytes: 4 + 17 + 1 later comes the program size.
    EXPECT_EQ(image.start[11], 133148u);
    EXPECT_EQ(image.start[24] - image.start[23], 102400u);
    EXPECT_EQ(image.start[28] - image.start[27], 1536u);
}

TEST(SnapshotWriter, WritesEveryFieldInOrderByteForByte) {
    test::SnapshotBench bench;
    sample::Fill(bench);
    const std::string written = Written(bench);
    const sample::Built expected = sample::Image();
    ASSERT_EQ(written.size(), expected.bytes.size());
    // Report the first differing field rather than a megabyte of bytes.
    for (int k = 1; k <= 32; ++k) {
        const std::size_t from = expected.start[static_cast<std::size_t>(k)];
        const std::size_t to = expected.start[static_cast<std::size_t>(k + 1)];
        EXPECT_EQ(written.substr(from, to - from), expected.Str().substr(from, to - from)) << "field " << k;
    }
    EXPECT_EQ(static_cast<std::uint8_t>(written[0]), 0x91);
    EXPECT_EQ(static_cast<std::uint8_t>(written[3]), 0x4E);
    EXPECT_EQ(written.substr(4, sample::kPath.size() + 1), sample::kPath + std::string(1, '\0'));
    EXPECT_EQ(static_cast<std::uint8_t>(written[1004]), sample::IntRAM(0));
    EXPECT_EQ(static_cast<std::uint8_t>(written[1004 + 0x81]), sample::IntRAM(0x81));
}

TEST(SnapshotWriter, FullSizeProgramIsStoredAsSizeZero) {
    test::SnapshotBench bench;
    bench.processor->iProgramSize = 65536;
    const std::string written = Written(bench);
    // Empty executed-instruction list: the size field follows its four zero bytes.
    EXPECT_EQ(written.substr(133130, 2), std::string(2, '\0'));
    test::SnapshotBench reopened;
    reopened.processor->iProgramSize = 99;
    ASSERT_EQ(Load(reopened, written), 1);
    EXPECT_EQ(reopened.processor->iProgramSize, 0);
}

TEST(SnapshotWriter, NoBreakPointsAreFourZeroBytes) {
    test::SnapshotBench bench;
    sample::Fill(bench);
    bench.breakPoints.Clear();
    const std::string written = Written(bench);
    const sample::Built expected = sample::Image({{28, [](test::SnapshotImage& i) { i.U32(0); }}});
    EXPECT_EQ(written, expected.Str());

    test::SnapshotBench reopened;
    reopened.breakPoints.Add(0x55);
    ASSERT_EQ(Load(reopened, written), 1);
    EXPECT_TRUE(reopened.breakPoints.Empty());
}

TEST(SnapshotWriter, OverlongPathKeepsItsTerminatingZero) {
    test::SnapshotBench bench;
    bench.currentFileName = std::string(1200, 'q');
    const std::string written = Written(bench);
    EXPECT_EQ(written.substr(4, 999), std::string(999, 'q'));
    EXPECT_EQ(written[1003], '\0');
    EXPECT_EQ(static_cast<std::uint8_t>(written[1004]), bench.processor->ucIntRAM[0]);
}

TEST(SnapshotReader, RestoresEveryFieldAndWritesBackTheSameBytes) {
    test::SnapshotBench original;
    sample::Fill(original);
    test::SnapshotBench reopened;
    ASSERT_EQ(Load(reopened, sample::Image().Str()), 1);

    const Processor& a = *original.processor;
    const Processor& b = *reopened.processor;
    EXPECT_EQ(reopened.currentFileName, sample::kPath);
    EXPECT_EQ(b.ucIntRAM, a.ucIntRAM);
    EXPECT_EQ(b.ucExtRAM, a.ucExtRAM);
    EXPECT_EQ(b.ucCodeMemory, a.ucCodeMemory);
    EXPECT_EQ(b.usPC, 0x1234);
    EXPECT_EQ(b.ullInstructionsExecuted, a.ullInstructionsExecuted);
    EXPECT_EQ(b.ullBytesExecuted, a.ullBytesExecuted);
    EXPECT_EQ(b.ullCyclesExecuted, a.ullCyclesExecuted);
    EXPECT_EQ(b.lstExecutedInstructions.Lines(), sample::kExecuted);
    EXPECT_EQ(b.iProgramSize, 0x2345);
    EXPECT_EQ(b.lstInterruptsInProgress.Lines(), sample::kInterrupts);
    EXPECT_EQ(b.ucInterruptFlags, 0x12);
    EXPECT_EQ(b.iInterruptToService, 4);
    EXPECT_EQ(b.lstWarnings.Lines(), sample::kWarnings);
    EXPECT_TRUE(b.lstErrors.Empty());
    EXPECT_EQ(b.iTxBaudRate, 9600);
    EXPECT_EQ(b.iRxBaudRate, -1);
    EXPECT_EQ(b.iTxFrameTime, 1041);
    EXPECT_EQ(b.iRxFrameTime, 0);
    EXPECT_EQ(b.bTxInProgress, 1);
    EXPECT_EQ(b.iTxCyclesLeft, 77);
    EXPECT_EQ(b.ucTxLog, a.ucTxLog);
    EXPECT_EQ(b.ucRxLog, a.ucRxLog);
    EXPECT_EQ(b.iTxLogPos, 102399);
    EXPECT_EQ(b.iRxLogPos, 5);
    EXPECT_EQ(reopened.layout, sample::Layout());
    EXPECT_EQ(reopened.breakPoints.List().Lines(), sample::kBreakPoints);
    EXPECT_TRUE(reopened.breakPoints.Contains(0x0030));
    EXPECT_EQ(reopened.activeWatch.Lines(), sample::kWatch);
    EXPECT_EQ(reopened.workspace->lstCodeLabels, original.workspace->lstCodeLabels);
    EXPECT_EQ(reopened.workspace->lstBitLabels, original.workspace->lstBitLabels);
    EXPECT_EQ(reopened.workspace->lstNumberLabels, original.workspace->lstNumberLabels);

    EXPECT_EQ(reopened.calls, (std::vector<std::string>{"reset"}));

    EXPECT_EQ(Written(reopened), sample::Image().Str());
}

TEST(SnapshotReader, BreakPointsAreSortedWithoutDuplicatesAndWatchListToo) {
    const sample::Built image = sample::Image({
        {28, [](test::SnapshotImage& i) { i.List({"0x0100", "0x0030", "0x0100", "0x00ff"}); }},
        {29, [](test::SnapshotImage& i) { i.List({"SFR Bits~|*0003", "bit memory~|*20", "Bit Memory~|*20"}); }},
    });
    test::SnapshotBench bench;
    ASSERT_EQ(Load(bench, image.Str()), 1);
    EXPECT_EQ(bench.breakPoints.List().Lines(), (std::vector<std::string>{"0x0030", "0x00FF", "0x0100"}));
    EXPECT_EQ(bench.activeWatch.Lines(), (std::vector<std::string>{"bit memory~|*20", "SFR Bits~|*0003"}));
}

TEST(SnapshotReader, WrongMagicNumberChangesNothing) {
    for (const std::string& bytes : {std::string(":10000000020030"), std::string("\x91\xF0\x5B", 3),
                                     std::string(), std::string("\x4E\x5B\xF0\x91rest", 8)}) {
        test::SnapshotBench bench;
        sample::Fill(bench);
        EXPECT_EQ(Load(bench, bytes), -2);
        EXPECT_TRUE(bench.calls.empty());
        EXPECT_EQ(bench.currentFileName, sample::kPath);
        EXPECT_EQ(bench.processor->usPC, 0x1234);
    }
}

TEST(SnapshotReader, OpeningAfterCloseShowsTheStoredPathEvenIfItIsGone) {
    test::ScratchDirectory dir;
    test::SnapshotBench bench;
    sample::Fill(bench);
    bench.currentFileName = (dir.Path() / "gone.hex").string();
    const std::string written = Written(bench);
    test::SnapshotBench reopened;
    ASSERT_EQ(Load(reopened, written), 1);
    EXPECT_EQ(reopened.currentFileName, (dir.Path() / "gone.hex").string());
}

TEST(SnapshotReader, SkipOnceFlagIsNotStoredSoABreakPointStopsAtOnce) {
    test::SnapshotBench saved;
    saved.processor->usPC = 0x0030;
    saved.processor->bSkipBreakPointOnce = 1;  // stopped at the break point
    saved.breakPoints.Add(0x0030);
    test::SnapshotBench reopened;
    ASSERT_EQ(Load(reopened, Written(saved)), 1);
    EXPECT_EQ(reopened.processor->bSkipBreakPointOnce, 0);
    EXPECT_TRUE(reopened.breakPoints.StopsBeforeInstruction(*reopened.processor));
}

TEST(SnapshotReader, RestoredRegistersDriveTheTimersAndSerialPort) {
    // Saved while timer 0 ran in mode 1 and the serial port was set to mode 2.
    test::SnapshotBench saved;
    Processor& p = *saved.processor;
    p.ucIntRAM[sfr::TMOD] = 0x01;
    p.ucIntRAM[sfr::TCON] = 0x10;  // TR0
    p.ucIntRAM[sfr::SCON] = 0x80;  // mode 2: fosc/64
    p.ucIntRAM[sfr::TL0] = 0x10;
    p.iTxBaudRate = p.iRxBaudRate = -1;  // as stored before the engine ran
    test::SnapshotBench reopened;
    ASSERT_EQ(Load(reopened, Written(saved)), 1);
    Processor& r = *reopened.processor;
    r.ExecuteInstructions(1);  // NOP at 0000h
    EXPECT_EQ(r.ucIntRAM[sfr::TL0], 0x11);
    EXPECT_EQ(r.iTxBaudRate, 187500);
}

struct SnapshotFiles : ::testing::Test {
    test::ScratchDirectory dir;
    test::SnapshotBench bench;
    void SetUp() override { sample::Fill(bench); }
};

TEST_F(SnapshotFiles, SaveCapturesTheLayoutFirstThenWritesTheFile) {
    bench.capturedSfrWindow = {7, 8, 9, 10, 1};
    ASSERT_EQ(bench.Save(dir.Path() / "run.slf"), SnapshotSave::Saved);
    EXPECT_EQ(bench.calls, (std::vector<std::string>{"capture"}));
    const auto bytes = dir.Read("run.slf");
    WindowLayout expectedLayout = sample::Layout();
    expectedLayout.entries[1] = {7, 8, 9, 10, 1};
    const WindowLayoutBlock block = EncodeWindowLayout(expectedLayout);
    const sample::Built image = sample::Image({{27, [&](test::SnapshotImage& i) {
                                                    i.bytes.insert(i.bytes.end(), block.begin(), block.end());
                                                }}});
    EXPECT_TRUE(bytes == image.Str());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(SnapshotFiles, SavedAndReopenedFromAFile) {
    ASSERT_EQ(bench.Save(dir.Path() / "run.slf"), SnapshotSave::Saved);
    test::SnapshotBench reopened;
    std::ifstream in(dir.Path() / "run.slf", std::ios::binary);
    ASSERT_EQ(reopened.Load(in), 1);
    EXPECT_EQ(reopened.processor->ucCodeMemory, bench.processor->ucCodeMemory);
    EXPECT_EQ(reopened.layout.entries[1], sample::kSfrWindow);
}

TEST_F(SnapshotFiles, SaveWhereNoFileCanBeCreatedFails) {
    EXPECT_EQ(bench.Save(dir.Path() / "absent" / "run.slf"), SnapshotSave::CannotCreate);
}

TEST_F(SnapshotFiles, SaveThatCannotReplaceTheTargetFailsAndLeavesNoTemporary) {
    std::filesystem::create_directory(dir.Path() / "run.slf");
    dir.Write("run.slf/inside", std::string("x"));
    EXPECT_EQ(bench.Save(dir.Path() / "run.slf"), SnapshotSave::WriteFailed);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "run.slf" / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A stream buffer that accepts a fixed number of bytes and then fails, as a
// full disk does.
class FullDisk : public std::streambuf {
public:
    explicit FullDisk(std::size_t room) : room_(room) {}

protected:
    int_type overflow(int_type c) override {
        if (room_ == 0) return traits_type::eof();
        --room_;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(room_));
        room_ -= static_cast<std::size_t>(taken);
        return taken;
    }

private:
    std::size_t room_;
};

TEST(SnapshotWriter, WriteFailureIsReported) {
    test::SnapshotBench bench;
    for (std::size_t room : {0u, 3u, 200000u, 700000u}) {
        FullDisk disk(room);
        std::ostream out(&disk);
        EXPECT_FALSE(WriteSnapshot(out, bench.Parts())) << room;
    }
}

#if defined(__unix__)
TEST_F(SnapshotFiles, FullDiskDuringSaveKeepsThePreviousFile) {
    ASSERT_EQ(bench.Save(dir.Path() / "run.slf"), SnapshotSave::Saved);
    const auto before = dir.Read("run.slf");

    // A file-size limit makes writes past it fail with EFBIG, like a full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bench.processor->usPC = 0x4321;
    const SnapshotSave result = bench.Save(dir.Path() / "run.slf");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, SnapshotSave::WriteFailed);
    EXPECT_TRUE(dir.Read("run.slf") == before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}
#endif

}  // namespace
}  // namespace tessaly
