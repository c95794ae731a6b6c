#include <gtest/gtest.h>

#include "analysis/Disassembly.h"
#include "analysis/Workspace.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

TEST(Disassembly, OperandsStartAtColumn11) {
    EXPECT_EQ(AlignOperands("NOP\t"), "NOP       ");
    EXPECT_EQ(AlignOperands("MOV\tA,R0"), "MOV       A,R0");
    EXPECT_EQ(AlignOperands("LCALL\t00030H"), "LCALL     00030H");
    EXPECT_EQ(AlignOperands("Reserved Opcode"), "Reserved Opcode");
    EXPECT_EQ(ListingAddress(0x30), "0030H");
    EXPECT_EQ(ListingAddress(0xFFFF), "FFFFH");
}

TEST(Disassembly, EmptyProgramListsNothing) {
    auto p = NewProcessor();
    Workspace w;
    EXPECT_TRUE(DisassembleProgram(*p, w).empty());
}

TEST(Disassembly, LastInstructionMayRunPastTheProgram) {
    auto p = NewProcessor();
    Workspace w;
    LoadCode(*p, 0, {0x02, 0x12, 0x34});
    p->iProgramSize = 1;
    p->usPC = 0x0777;
    const auto rows = DisassembleProgram(*p, w);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].instruction, "LJMP      01234H");
    EXPECT_EQ(rows[0].length, 3);
    EXPECT_EQ(rows[0].cycles, 2);
    EXPECT_EQ(p->usPC, 0x0777);
}

TEST(Disassembly, FullMemoryOfNops) {
    auto p = NewProcessor();
    Workspace w;
    p->iProgramSize = 65536;
    const auto rows = DisassembleProgram(*p, w);
    ASSERT_EQ(rows.size(), 65536u);
    EXPECT_EQ(rows.front().address, 0x0000);
    EXPECT_EQ(rows.back().address, 0xFFFF);
    EXPECT_EQ(rows.back().instruction, "NOP       ");
}

TEST(Disassembly, ReservedBytesAddAnErrorEachTime) {
    auto p = NewProcessor();
    Workspace w;
    LoadCode(*p, 0, {0xA5, 0x00, 0xA5});
    p->iProgramSize = 3;
    DisassembleProgram(*p, w);
    DisassembleProgram(*p, w);
    EXPECT_EQ(p->lstErrors.Count(), 4u);
}

class RecordingProgress : public DisassemblyProgress {
public:
    void Started() override { events.push_back(-1); }
    void Reached(int percent) override { events.push_back(percent); }
    void Finished() override { events.push_back(-2); }
    std::vector<int> events;
};

TEST(Disassembly, ProgressMovesInStepsOfTen) {
    auto p = NewProcessor();
    Workspace w;
    p->iProgramSize = 200;  // NOPs: 0.5 % per row
    RecordingProgress progress;
    DisassembleProgram(*p, w, &progress);
    EXPECT_EQ(progress.events, (std::vector<int>{-1, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, -2}));
}

TEST(Disassembly, ExportPutsLabelsOnTheirOwnLine) {
    auto p = NewProcessor();
    Workspace w;
    LoadCode(*p, 0, {0x02, 0x00, 0x04, 0x00, 0x80, 0xFE});
    p->iProgramSize = 6;
    w.lstCodeLabels.Set(0x0004, "MAIN");
    const auto lines = ExportLines(DisassembleProgram(*p, w));
    EXPECT_EQ(lines, (std::vector<std::string>{"0000H:\t\tLJMP      MAIN", "0003H:\t\tNOP       ",
                                               "MAIN:\r\n\t\t\tSJMP      MAIN"}));
    w.lstCodeLabels.Set(0x0000, "START");
    EXPECT_EQ(ExportLines(DisassembleProgram(*p, w)).front(), "START:\r\n\t\t\tLJMP      MAIN");

    test::ScratchDirectory dir;
    const auto file = dir.Path() / "out.asm";
    ASSERT_TRUE(WriteExport(file.string(), DisassembleProgram(*p, w)));
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, "START:\r\n\t\t\tLJMP      MAIN\r\n0003H:\t\tNOP       \r\nMAIN:\r\n\t\t\tSJMP      MAIN\r\n");
    EXPECT_FALSE(WriteExport((dir.Path() / "missing" / "out.asm").string(), DisassembleProgram(*p, w)));
}

}  // namespace
}  // namespace tessaly
