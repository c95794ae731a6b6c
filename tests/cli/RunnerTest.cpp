#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/RunOptions.h"
#include "cli/Runner.h"
#include "control/CrystalFrequency.h"
#include "loading/HexRecords.h"
#include "session/Session.h"
#include "support/DesktopRecorder.h"
#include "support/RunRecorder.h"
#include "support/ScratchDirectory.h"
#include "support/SnapshotBench.h"
#include "support/TestMachine.h"

namespace tessaly::cli {
namespace {

using test::ScratchDirectory;

// An Intel HEX image of `code` at 0000h.
std::string HexImage(const std::vector<std::uint8_t>& code) {
    std::string text;
    for (std::size_t offset = 0; offset < code.size(); offset += 16) {
        const auto end = code.begin() + static_cast<long>(std::min(offset + 16, code.size()));
        text += test::HexRecord(static_cast<std::uint16_t>(offset), 0,
                                std::vector<std::uint8_t>(code.begin() + static_cast<long>(offset), end));
        text += "\r\n";
    }
    return text + test::kEndOfFile + "\r\n";
}

// Sends "OK\n" at 9600 baud from 11.0592 MHz, polling TI, then SJMP $ at 001C.
std::vector<std::uint8_t> HelloProgram() {
    std::vector<std::uint8_t> code = {0x75, 0x89, 0x20, 0x75, 0x8D, 0xFD, 0xD2, 0x8E, 0x75, 0x98, 0x50,
                                      0x90, 0x00, 0x30, 0xE4, 0x93, 0x60, 0x0A, 0xC2, 0x99, 0xF5, 0x99,
                                      0x30, 0x99, 0xFD, 0xA3, 0x80, 0xF2, 0x80, 0xFE};
    code.resize(0x30, 0);
    code.insert(code.end(), {'O', 'K', '\n', 0});
    return code;
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result Invoke(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int status = RunTessaly(arguments, out, err);
    return {status, out.str(), err.str()};
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The value of a key of the flat JSON state, as written (quotes included for texts).
std::string JsonValue(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\":";
    const auto at = json.find(marker);
    if (at == std::string::npos) return "<missing>";
    std::size_t start = at + marker.size(), end = start;
    if (json[start] == '"') {
        end = json.find('"', start + 1) + 1;
    } else if (json[start] == '[' || json[start] == '{') {
        end = json.find(json[start] == '[' ? ']' : '}', start) + 1;
    } else {
        while (end < json.size() && json[end] != ',' && json[end] != '}') ++end;
    }
    return json.substr(start, end - start);
}

TEST(RunOptionsParsing, AddressesFrequenciesAndErrors) {
    EXPECT_EQ(ParseHexAddress("1234"), 0x1234);
    EXPECT_EQ(ParseHexAddress("0x1a2B"), 0x1A2B);
    EXPECT_EQ(ParseHexAddress("1234H"), 0x1234);
    EXPECT_EQ(ParseHexAddress("ffffh"), 0xFFFF);
    EXPECT_FALSE(ParseHexAddress("10000"));
    EXPECT_FALSE(ParseHexAddress("12G4"));
    EXPECT_FALSE(ParseHexAddress(""));
    EXPECT_FALSE(ParseHexAddress("0x"));
    // The command line, the adapter and the settings dialog take the same crystals.
    EXPECT_DOUBLE_EQ(*ParseCrystalFrequency("11.0592M"), 11059200.0);
    EXPECT_DOUBLE_EQ(*ParseCrystalFrequency("32.768k"), 32768.0);
    EXPECT_DOUBLE_EQ(*ParseCrystalFrequency("12000000"), 12000000.0);
    EXPECT_DOUBLE_EQ(*ParseCrystalFrequency("999.999M"), 999999000.0);
    EXPECT_FALSE(ParseCrystalFrequency("0"));
    EXPECT_FALSE(ParseCrystalFrequency("-5M"));
    EXPECT_FALSE(ParseCrystalFrequency("fast"));
    EXPECT_FALSE(ParseCrystalFrequency("1000M"));
    EXPECT_FALSE(ParseCrystalFrequency("1e6"));
    EXPECT_FALSE(ParseCrystalFrequency("M"));
    EXPECT_EQ(ParseRunOptions({"--crystal", "2000M", "a.hex"}).error,
              "--crystal needs a frequency in Hz, with an optional k or M suffix");

    EXPECT_EQ(ParseRunOptions({"--max-instructions", "x", "a.hex"}).error, "--max-instructions needs a whole number");
    EXPECT_EQ(ParseRunOptions({"--wat", "a.hex"}).error, "unknown option --wat");
    EXPECT_EQ(ParseRunOptions({}).error, "no program given");
    EXPECT_EQ(ParseRunOptions({"a.hex", "b.hex"}).error, "more than one program given: b.hex");
    const auto good = ParseRunOptions({"--break", "0x10", "--break", "20H", "--crystal", "11.0592M", "p.bin"});
    EXPECT_TRUE(good.error.empty());
    EXPECT_EQ(good.options.breakPoints, (std::vector<std::uint16_t>{0x10, 0x20}));
    EXPECT_EQ(good.options.program, "p.bin");
}

TEST(Runner, BadArgumentsAndBadFilesExitWith2) {
    ScratchDirectory dir;
    auto bad = Invoke({"--max-cycles"});
    EXPECT_EQ(bad.status, kExitBadInput);
    EXPECT_NE(bad.err.find("Usage: tessaly-run"), std::string::npos);

    auto missing = Invoke({(dir.Path() / "none.hex").string()});
    EXPECT_EQ(missing.status, kExitBadInput);
    EXPECT_EQ(missing.err, "Unable to open file\nAn error occured while loading data from file( 0 )\n");

    const auto corrupt = dir.Write("bad.hex", ":10000000\r\n");
    auto reader = Invoke({corrupt.string()});
    EXPECT_EQ(reader.status, kExitBadInput);
    EXPECT_NE(reader.err.find("( Line = 1 )"), std::string::npos) << reader.err;
    EXPECT_NE(reader.err.find("An error occured while loading data from file( 0 )"), std::string::npos);

    const auto other = dir.Write("prog.txt", "x");
    EXPECT_EQ(Invoke({other.string()}).err, "Invalid File Extension\nAn error occured while loading data from file( 0 )\n");

    auto help = Invoke({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--hardware-serial"), std::string::npos);
}

TEST(Runner, BreakPointStopsBeforeExecuting) {
    ScratchDirectory dir;
    const auto hex = dir.Write("hello.hex", HexImage(HelloProgram()));
    auto result = Invoke({"--break", "000E", "--state", "-", hex.string()});
    EXPECT_EQ(result.status, kExitStopped);
    EXPECT_EQ(JsonValue(result.out, "stop"), "\"break\"");
    EXPECT_EQ(JsonValue(result.out, "pc"), "\"000E\"");
    EXPECT_EQ(JsonValue(result.out, "instructions"), "5");  // CLR A at 000E not executed

    auto atStart = Invoke({"--break", "0", "--state", "-", hex.string()});
    EXPECT_EQ(JsonValue(atStart.out, "instructions"), "0");
}

TEST(Runner, LimitsExitWith1) {
    ScratchDirectory dir;
    const auto hex = dir.Write("hello.hex", HexImage(HelloProgram()));
    struct Case {
        std::vector<std::string> options;
        const char* stop;
        const char* instructions;
        const char* cycles;
    };
    const Case cases[] = {
        {{"--max-instructions", "3"}, "\"instructions\"", "3", "5"},
        {{"--max-cycles", "6"}, "\"cycles\"", "4", "7"},       // stops once 6 or more have run
        {{"--max-time", "4"}, "\"time\"", "2", "4"},           // 12 MHz: one cycle per microsecond
        {{"--max-time", "4", "--crystal", "24M"}, "\"time\"", "5", "9"},
    };
    for (const auto& c : cases) {
        auto arguments = c.options;
        arguments.insert(arguments.end(), {"--state", "-", hex.string()});
        auto result = Invoke(arguments);
        EXPECT_EQ(result.status, kExitLimit) << c.stop;
        EXPECT_EQ(JsonValue(result.out, "stop"), c.stop);
        EXPECT_EQ(JsonValue(result.out, "instructions"), c.instructions) << c.stop;
        EXPECT_EQ(JsonValue(result.out, "cycles"), c.cycles) << c.stop;
    }
}

TEST(Runner, HelloSerialOutputAndState) {
    ScratchDirectory dir;
    const auto hex = dir.Write("hello.hex", HexImage(HelloProgram()));
    const auto serial = dir.Path() / "serial.bin";
    auto result = Invoke({"--crystal", "11.0592M", "--stop-on-self-loop", "--serial-out", serial.string(), "--state",
                       "-", hex.string()});
    EXPECT_EQ(result.status, kExitStopped);
    EXPECT_EQ(ReadFile(serial), "OK\n");
    const std::string& json = result.out;
    EXPECT_EQ(JsonValue(json, "stop"), "\"self-loop\"");
    EXPECT_EQ(JsonValue(json, "pc"), "\"001C\"");
    EXPECT_EQ(JsonValue(json, "instructions"), "1469");
    EXPECT_EQ(JsonValue(json, "cycles"), "2927");
    EXPECT_EQ(JsonValue(json, "elapsed"), "\"Hour = 0 Min = 0 Sec = 0 mSec = 3 USec = 175\"");
    EXPECT_EQ(JsonValue(json, "tx"), "\"4F4B0A\"");
    EXPECT_EQ(JsonValue(json, "rx"), "\"\"");
    EXPECT_EQ(JsonValue(json, "tx_baud"), "9600");
    EXPECT_EQ(JsonValue(json, "rx_baud"), "9600");
    EXPECT_EQ(JsonValue(json, "interrupts"), "[]");
    EXPECT_EQ(JsonValue(json, "errors"), "[]");
    EXPECT_EQ(JsonValue(json, "warning_count"), "0");
    const std::string sfrs = JsonValue(json, "sfr");
    EXPECT_NE(sfrs.find("\"SCON\":\"52\""), std::string::npos) << sfrs;  // mode 1, REN, TI
    EXPECT_NE(sfrs.find("\"DPL\":\"33\""), std::string::npos);
    EXPECT_NE(sfrs.find("\"SP\":\"07\""), std::string::npos);
    const std::string direct = JsonValue(json, "direct");
    ASSERT_EQ(direct.size(), 512u + 2);
    EXPECT_EQ(direct.substr(1 + 2 * 0x98, 4), "520A");  // SCON, SBUF (the last byte sent)
    EXPECT_EQ(JsonValue(json, "upper").size(), 256u + 2);
    EXPECT_EQ(JsonValue(json, "xram"), "<missing>");

    auto withXram = Invoke({"--max-instructions", "1", "--xram", "--state", "-", hex.string()});
    EXPECT_EQ(JsonValue(withXram.out, "xram").size(), 131072u + 2);
}

TEST(Runner, BundledExamplesPrintWhatTheySend) {
    const std::filesystem::path examples = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples";
    ScratchDirectory dir;
    const auto serial = dir.Path() / "hello.out";
    auto hello = Invoke({"--crystal", "11.0592M", "--stop-on-self-loop", "--serial-out", serial.string(),
                         (examples / "hello" / "hello.hex").string()});
    EXPECT_EQ(hello.status, kExitStopped) << hello.err;
    EXPECT_EQ(ReadFile(serial), "Hello, world!\r\n");
    EXPECT_EQ(hello.err, "");

    // SDCC's putchar writes SBUF with MOV direct,direct: silent by default.
    const std::string cProgram = (examples / "c-printf" / "c-printf.ihx").string();
    auto wired = Invoke({"--hardware-serial", "--crystal", "11.0592M", "--stop-on-self-loop", "--serial-out", "-",
                         cProgram});
    EXPECT_EQ(wired.status, kExitStopped);
    EXPECT_EQ(wired.out.rfind("Tessaly C example", 0), 0u) << wired.out.substr(0, 80);
    auto plain = Invoke({"--crystal", "11.0592M", "--max-instructions", "200000", "--serial-out", "-", cProgram});
    EXPECT_EQ(plain.status, kExitLimit);
    EXPECT_EQ(plain.out, "");
}

TEST(Runner, LabelsFromAListingNameTheCode) {
    const std::filesystem::path hello = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples" / "hello";
    auto listing = Invoke({"--labels", (hello / "hello.lst").string(), "--disassemble", "-",
                           (hello / "hello.hex").string()});
    EXPECT_EQ(listing.status, kExitStopped);
    EXPECT_EQ(listing.out.rfind("RESET:\r\n\t\t\tLJMP      START\r\n", 0), 0u) << listing.out.substr(0, 80);
    // Repeated, the files merge: the relocated listing's vector label at 0000h
    // and the map's library functions.
    const std::filesystem::path c = hello.parent_path() / "c-printf";
    auto merged = Invoke({"--labels", (c / "c-printf.map").string(), "--labels", (c / "c-printf.rst").string(),
                          "--disassemble", "-", (c / "c-printf.ihx").string()});
    EXPECT_EQ(merged.out.rfind("__interrupt_vect:\r\n\t\t\tLJMP      __sdcc_gsinit_startup\r\n", 0), 0u)
        << merged.out.substr(0, 80);
    EXPECT_NE(merged.out.find("LCALL     _printf\r\n"), std::string::npos);
    auto missing = Invoke({"--labels", (hello / "none.lst").string(), (hello / "hello.hex").string()});
    EXPECT_EQ(missing.status, kExitBadInput);
    EXPECT_NE(missing.err.find("Unable to open file"), std::string::npos) << missing.err;
}

TEST(Runner, TraceShowsEveryInstruction) {
    ScratchDirectory dir;
    const auto hex = dir.Write("hello.hex", HexImage(HelloProgram()));
    auto result = Invoke({"--max-instructions", "2", "--trace", "-", hex.string()});
    EXPECT_EQ(result.out,
              "0 0000 75 89 20 MOV       TMOD,#020H         A=00 PSW=00 SP=07\n"
              "2 0003 75 8D FD MOV       TH1,#0FDH          A=00 PSW=00 SP=07\n");
}

TEST(Runner, DisassemblyInTheExportFormat) {
    ScratchDirectory dir;
    const auto hex = dir.Write("p.hex", HexImage({0x02, 0x00, 0x04, 0x00, 0x80, 0xFE}));
    auto result = Invoke({"--disassemble", "-", hex.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "0000H:\t\tLJMP      00004H\r\n"
              "0003H:\t\tNOP       \r\n"
              "0004H:\t\tSJMP      00004H\r\n");
}

// MOV 99h,#41h; MOV 99h,30h; MOV 31h,99h; SJMP $ with a working serial set-up.
std::vector<std::uint8_t> SbufProgram() {
    return {0x75, 0x89, 0x20,  // MOV TMOD,#20h
            0x75, 0x8D, 0xFD,  // MOV TH1,#0FDh
            0xD2, 0x8E,        // SETB TR1
            0x75, 0x98, 0x50,  // MOV SCON,#50h
            0x75, 0x30, 0x42,  // MOV 30h,#42h
            0x75, 0x99, 0x41,  // MOV SBUF,#41h
            0x85, 0x30, 0x99,  // MOV SBUF,30h
            0x85, 0x99, 0x31,  // MOV 31h,SBUF
            0x80, 0xFE};
}

TEST(Runner, HardwareSerialTransmitsAndReceivesOnEveryAccess) {
    ScratchDirectory dir;
    const auto hex = dir.Write("sbuf.hex", HexImage(SbufProgram()));
    auto plain = Invoke({"--crystal", "11.0592M", "--stop-on-self-loop", "--state", "-", hex.string()});
    EXPECT_EQ(JsonValue(plain.out, "tx"), "\"\"");
    EXPECT_EQ(JsonValue(plain.out, "rx"), "\"\"");

    auto wired = Invoke({"--crystal", "11.0592M", "--stop-on-self-loop", "--hardware-serial", "--state", "-",
                      hex.string()});
    EXPECT_EQ(wired.status, kExitStopped);
    EXPECT_EQ(JsonValue(wired.out, "tx"), "\"4142\"");
    EXPECT_EQ(JsonValue(wired.out, "rx"), "\"42\"");
    const std::string direct = JsonValue(wired.out, "direct");
    EXPECT_EQ(direct.substr(1 + 2 * 0x31, 2), "42");
}

TEST(Runner, SnapshotResumeMatchesAnUninterruptedRun) {
    ScratchDirectory dir;
    const auto hex = dir.Write("hello.hex", HexImage(HelloProgram()));
    const auto snapshot = dir.Path() / "half.slf";
    auto whole = Invoke({"--crystal", "11.0592M", "--stop-on-self-loop", "--state", "-", hex.string()});
    auto first = Invoke({"--crystal", "11.0592M", "--max-instructions", "700", "--save-snapshot", snapshot.string(),
                      hex.string()});
    EXPECT_EQ(first.status, kExitLimit);
    auto second = Invoke({"--crystal", "11.0592M", "--stop-on-self-loop", "--state", "-", snapshot.string()});
    EXPECT_EQ(second.status, kExitStopped) << second.err;
    EXPECT_EQ(second.out, whole.out);
}

TEST(Runner, ResumedLimitsCountOnlyThisRun) {
    ScratchDirectory dir;
    const auto hex = dir.Write("hello.hex", HexImage(HelloProgram()));
    const auto snapshot = dir.Path() / "s.slf";
    Invoke({"--max-instructions", "10", "--save-snapshot", snapshot.string(), hex.string()});
    auto resumed = Invoke({"--max-instructions", "10", "--state", "-", snapshot.string()});
    EXPECT_EQ(JsonValue(resumed.out, "instructions"), "20");
}

// One session serves both front ends: the same program, labels and break
// point give the same machine in the desktop's session and in the runner, and
// a snapshot of either opens in the other as it was saved.
TEST(RunnerAndDesktop, AgreeAfterTheSameOpenLabelsAndSnapshots) {
    ScratchDirectory dir;
    const std::string hex = (std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/hello/hello.hex").string();
    const std::string lst = (std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/hello/hello.lst").string();

    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    Session session(dir.Path(), messages, desktop, runs);
    desktop.layout = &session.layout;
    session.StartUp();
    ASSERT_EQ(session.OpenFileCommand(hex), ProgramOpen::Opened);
    ASSERT_TRUE(session.GetLabelsFromFiles({lst}));
    session.breakPoints.Add(0x0041);
    ASSERT_EQ(session.SaveSimulation(dir.Path() / "desktop.slf"), SnapshotSave::Saved);

    const auto runnerSnapshot = (dir.Path() / "runner.slf").string();
    const Result saved = Invoke({"--labels", lst, "--break", "0041", "--max-instructions", "0", "--save-snapshot",
                                 runnerSnapshot, hex});
    ASSERT_EQ(saved.status, kExitLimit) << saved.err;

    test::SnapshotBench fromDesktop, fromRunner;
    std::ifstream desktopFile(dir.Path() / "desktop.slf", std::ios::binary), runnerFile(runnerSnapshot, std::ios::binary);
    ASSERT_EQ(fromDesktop.Load(desktopFile), 1);
    ASSERT_EQ(fromRunner.Load(runnerFile), 1);
    EXPECT_EQ(fromRunner.currentFileName, hex);
    EXPECT_EQ(fromRunner.currentFileName, fromDesktop.currentFileName);
    EXPECT_EQ(fromRunner.processor->ucCodeMemory, fromDesktop.processor->ucCodeMemory);
    EXPECT_EQ(fromRunner.processor->ucIntRAM, fromDesktop.processor->ucIntRAM);
    EXPECT_EQ(fromRunner.processor->usPC, fromDesktop.processor->usPC);
    EXPECT_EQ(fromRunner.breakPoints.List().Lines(), fromDesktop.breakPoints.List().Lines());
    EXPECT_EQ(fromRunner.workspace->lstCodeLabels.Lines(), fromDesktop.workspace->lstCodeLabels.Lines());
    EXPECT_EQ(fromRunner.workspace->lstCodeLabels[0x0030], session.workspace.lstCodeLabels[0x0030]);

    // The desktop's snapshot resumed by the runner stops at its break point,
    // and the desktop opens the runner's with its break point kept.
    const Result resumed = Invoke({"--state", "-", (dir.Path() / "desktop.slf").string()});
    EXPECT_EQ(JsonValue(resumed.out, "stop"), "\"break\"");
    EXPECT_EQ(JsonValue(resumed.out, "pc"), "\"0041\"");
    session.ResetWorkspace();
    ASSERT_EQ(session.OpenSimulationCommand(runnerSnapshot), Session::SimulationOpen::Opened);
    EXPECT_TRUE(session.breakPoints.Contains(0x0041));
    EXPECT_EQ(session.currentFileName, hex);
}

}  // namespace
}  // namespace tessaly::cli
