#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/Disassembly.h"
#include "persistence/History.h"
#include "util/FileBytes.h"
#include "session/Session.h"
#include "support/DesktopRecorder.h"
#include "support/RunRecorder.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using Strings = std::vector<std::string>;

// A session on a scratch configuration directory, with programs beside it.
struct SessionTest : ::testing::Test {
    test::ScratchDirectory dir;
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    std::unique_ptr<Session> session = NewSession();

    std::unique_ptr<Session> NewSession() {
        auto s = std::make_unique<Session>(dir.Path(), messages, desktop, runs);
        desktop.layout = &s->layout;
        desktop.onChildClosed = [s = s.get()](std::size_t i, const WindowBounds& b) { s->ChildWindowClosed(i, b); };
        return s;
    }
    // A binary program: INC 30h; SJMP back.
    std::filesystem::path Program(const std::string& name) {
        return dir.Write(name, std::string("\x05\x30\x80\xFC", 4));
    }
    Strings Texts() const {
        Strings texts;
        for (const auto& entry : messages.entries) texts.push_back(entry.text);
        return texts;
    }
};

TEST_F(SessionTest, StartUpWithoutLayoutFileIsReadyWithNothingOpen) {
    session->StartUp();
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(runs.panels[0], "Ready");
    EXPECT_EQ(desktop.caption, "Tessaly");
    EXPECT_FALSE(desktop.commandsForOpenFile);
    EXPECT_TRUE(desktop.mainWindowEnabled);
    EXPECT_EQ(desktop.OpenChildCount(), 0u);  // opened by the default layout, closed by the reset
    EXPECT_EQ(session->layout.entries[1].visible, 1);
}

TEST_F(SessionTest, AnOpenBringsLayoutCaptionCommandsHistoryAndLabels) {
    session->StartUp();
    const auto path = Program("prog.bin");
    dir.Write("prog.lst", "");  // not a listing: its message shows, the load stands
    session->settings.Live().autoLoadLabels = 1;
    ASSERT_EQ(session->OpenFileCommand(path), ProgramOpen::Opened);
    EXPECT_EQ(Texts(), (Strings{"Invalid LST file"}));
    EXPECT_TRUE(session->isFileOpen);
    EXPECT_EQ(desktop.caption, "Tessaly( " + path.string() + " )");
    EXPECT_EQ(runs.panels[0], "Data loaded successfully");
    EXPECT_TRUE(desktop.commandsForOpenFile);
    EXPECT_EQ(desktop.OpenChildCount(), 9u);
    EXPECT_EQ(desktop.historyItems[0], path.string());
    EXPECT_TRUE(desktop.historyChecked[0]);
    EXPECT_EQ(session->processor().strInstruction.str(), "INC\t030H");
}

// The C example as SDCC builds it, with its map, NoICE, debug and relocated
// files beside it and no listing: the automatic import reads the map, and
// the exported disassembly calls the program's functions by their names.
TEST_F(SessionTest, TheSdccExampleOpensWithItsMapsNamesInTheExport) {
    const auto program = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples" / "c-printf" / "c-printf.ihx";
    session->StartUp();
    session->settings.Live().autoLoadLabels = 1;
    ASSERT_EQ(session->OpenFileCommand(program), ProgramOpen::Opened);
    EXPECT_TRUE(messages.entries.empty());
    const auto exportPath = dir.Path() / "output.asm";
    ASSERT_TRUE(WriteExport(exportPath.string(), DisassembleProgram(session->processor(), session->workspace)));
    const std::string exported = *ReadWholeFile(exportPath);
    EXPECT_NE(exported.find("\r\n_main:\r\n\t\t\tMOV       "), std::string::npos);
    EXPECT_NE(exported.find("\t\t\tLJMP      _main\r\n"), std::string::npos);
    EXPECT_NE(exported.find("LCALL     _printf\r\n"), std::string::npos);
    EXPECT_EQ(session->workspace.lstNumberLabels[0x10], "_vprintf_PARM_2");
}

TEST_F(SessionTest, ABadHexFileShowsTheReadersMessageThenTheCommandsAndCloses) {
    session->StartUp();
    ASSERT_EQ(session->OpenFileCommand(Program("good.bin")), ProgramOpen::Opened);
    session->ResetWorkspace();
    const auto bad = dir.Write("bad.hex", "hello\r\n");
    EXPECT_EQ(session->OpenFileCommand(bad), ProgramOpen::Failed);
    EXPECT_EQ(Texts(), (Strings{"Invalid record marker ( Line = 1 )",
                                "An error occured while loading data from file( 0 )"}));
    EXPECT_FALSE(session->isFileOpen);
    EXPECT_EQ(desktop.caption, "Tessaly");
    EXPECT_EQ(desktop.OpenChildCount(), 0u);
}

TEST_F(SessionTest, HistoryEntriesAskFirstAndADeletedFileClosesTheOpenOne) {
    session->StartUp();
    const auto first = Program("first.bin");
    const auto second = Program("second.bin");
    session->OpenFileCommand(first);
    session->ResetWorkspace();
    session->OpenFileCommand(second);
    EXPECT_EQ(desktop.historyItems[0], second.string());
    EXPECT_EQ(desktop.historyItems[1], first.string());

    messages.answers = {false};
    EXPECT_EQ(session->OpenFromHistory(2), Session::HistoryOpen::Kept);
    EXPECT_EQ(session->currentFileName, second.string());
    EXPECT_EQ(desktop.historyItems[0], second.string());

    std::filesystem::remove(first);
    messages.entries.clear();
    EXPECT_EQ(session->OpenFromHistory(2), Session::HistoryOpen::Failed);
    EXPECT_EQ(Texts(), (Strings{"Currently opened file will be closed and\r\nSelected file will be opened\r\n"
                                "Do you want to proceed ?",
                                "Unable to open file", "An error occured while loading data from file( 1 )"}));
    EXPECT_FALSE(session->isFileOpen);
    EXPECT_EQ(desktop.caption, "Tessaly");
}

TEST_F(SessionTest, CloseFileKeepsViewsRecordedAsOpenButAViewClosedByHandStaysClosed) {
    session->StartUp();
    session->OpenFileCommand(Program("p.bin"));
    desktop.bounds[1] = {40, 50, 300, 200};
    desktop.CloseChild(1);  // the user closes the SFR window
    session->ResetWorkspace();
    EXPECT_EQ(desktop.OpenChildCount(), 0u);
    session->OpenFileCommand(Program("p.bin"));
    EXPECT_EQ(desktop.OpenChildCount(), 8u);
    EXPECT_FALSE(desktop.open[1]);
    EXPECT_EQ(session->layout.entries[1].bounds, (WindowBounds{40, 50, 300, 200}));
}

TEST_F(SessionTest, ExitAndStartAgainReopensTheProgramAndItsViews) {
    session->StartUp();
    const auto path = Program("p.bin");
    session->OpenFileCommand(path);
    desktop.CloseChild(7);
    desktop.bounds[2] = {11, 22, 333, 244};
    messages.answers = {false, true};
    EXPECT_FALSE(session->Exit());
    EXPECT_TRUE(session->Exit());

    desktop = test::DesktopRecorder{};
    session = NewSession();
    session->StartUp();
    EXPECT_TRUE(session->isFileOpen);
    EXPECT_EQ(session->currentFileName, path.string());
    EXPECT_EQ(desktop.OpenChildCount(), 8u);
    EXPECT_FALSE(desktop.open[7]);
    EXPECT_EQ(desktop.bounds[2], (WindowBounds{11, 22, 333, 244}));
}

TEST_F(SessionTest, SnapshotSavedClosedAndOpenedRestoresTheRun) {
    session->StartUp();
    session->OpenFileCommand(Program("p.bin"));
    session->settings.Live().bulkStepCount = 5;
    session->settings.Live().refreshType = 3;
    session->controller().BulkStep();
    session->breakPoints.Add(0x0002);
    desktop.CloseChild(4);
    const auto snapshot = dir.Path() / "run.slf";
    ASSERT_EQ(session->SaveSimulationCommand(snapshot), SnapshotSave::Saved);
    session->ResetWorkspace();
    session->breakPoints.Clear();

    ASSERT_EQ(session->OpenSimulationCommand(snapshot), Session::SimulationOpen::Opened);
    const Processor& p = session->processor();
    EXPECT_EQ(p.usPC, 0x0002);
    EXPECT_EQ(p.ullInstructionsExecuted, 5u);
    EXPECT_EQ(p.ReadDirect(0x30), 3);
    EXPECT_TRUE(session->breakPoints.Contains(0x0002));
    EXPECT_TRUE(session->isFileOpen);
    EXPECT_EQ(desktop.OpenChildCount(), 8u);
    EXPECT_FALSE(desktop.open[4]);
    EXPECT_EQ(desktop.caption, "Tessaly( " + (dir.Path() / "p.bin").string() + " )");
    EXPECT_EQ(Texts(), (Strings{"Simulation saved"}));

    // The display shows the instruction at the restored PC (SJMP back), and
    // every view was refreshed after the fields were read.
    EXPECT_EQ(p.ucOpcode, 0x80);
    EXPECT_FALSE(p.strInstruction.empty());

    // The break point test is armed again: the run stops at once.
    session->controller().StartStop();
    EXPECT_EQ(p.ullInstructionsExecuted, 5u);

    // A missing file and a file of another kind change nothing.
    runs.log.clear();
    EXPECT_EQ(session->OpenSimulationCommand(dir.Path() / "none.slf"), Session::SimulationOpen::CannotOpen);
    EXPECT_EQ(session->OpenSimulationCommand(Program("other.slf")), Session::SimulationOpen::NotASimulation);
    EXPECT_EQ(Texts().back(), "An error occured while openening Simulation");
    EXPECT_TRUE(runs.log.empty());
    EXPECT_TRUE(session->isFileOpen);
    EXPECT_EQ(p.ullInstructionsExecuted, 5u);
}

TEST_F(SessionTest, EveryEditOfTheMachineRefreshesTheViews) {
    session->StartUp();
    session->OpenFileCommand(Program("p.bin"));
    Processor& p = session->processor();
    runs = test::RunRecorder{};
    EXPECT_TRUE(session->WriteValue({LocationKind::InternalRAM, 0x30}, 0x5A));
    EXPECT_EQ(p.ReadDirect(0x30), 0x5A);
    EXPECT_FALSE(session->WriteValue({LocationKind::InternalRAM, 0x100}, 1));  // names nothing
    session->FillExternalRam(0xA5);
    EXPECT_EQ(p.ucExtRAM[0xFFFF], 0xA5);
    EXPECT_EQ(runs.Only("xram").size(), 1u);
    EXPECT_TRUE(session->SendByte(0x41));  // mode 0 after a reset: a valid rate
    EXPECT_EQ(p.iTxLogPos, 1);
    EXPECT_EQ(runs.refreshes, 4);
    // At an invalid transmit rate nothing is sent and nothing refreshed.
    p.iTxBaudRate = -1;
    EXPECT_FALSE(session->SendByte(0x42));
    EXPECT_EQ(p.iTxLogPos, 1);
    EXPECT_EQ(runs.refreshes, 4);
}

TEST_F(SessionTest, EngineOptionsSurviveResetsAndRestarts) {
    session->SetXramPaging(true);
    session->StartUp();
    EXPECT_TRUE(session->processor().XramPaging());
    EXPECT_FALSE(session->processor().HardwareSerial());
    session = NewSession();
    EXPECT_TRUE(session->processor().XramPaging());
    EXPECT_EQ(dir.Read("engopts.sud"), std::string("\x00\x01\x00\x01", 4));
}

TEST_F(SessionTest, RefusedPrioritiesEachShowTheirMessage) {
    desktop.processPriorityAllowed = false;
    desktop.threadPriorityAllowed = false;
    session->ApplyPriorities();
    EXPECT_EQ(Texts(), (Strings{"Cannot set prority class", "Cannot set thread priority"}));
}

}  // namespace
}  // namespace tessaly
