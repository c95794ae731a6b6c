#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "HexRecords.h"
#include "loading/BinLoader.h"
#include "loading/ProgramFile.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::HexRecord;
using test::kEndOfFile;

struct KindCase {
    const char* path;
    ProgramFileKind kind;
};

TEST(ProgramFileKind, ExtensionDecidesInAnyLetterCase) {
    const KindCase cases[] = {
        {"a/prog.hex", ProgramFileKind::IntelHex}, {"a/prog.Hex", ProgramFileKind::IntelHex},
        {"a/PROG.HEX", ProgramFileKind::IntelHex}, {"a/prog.ihx", ProgramFileKind::IntelHex},
        {"a/PROG.IHX", ProgramFileKind::IntelHex}, {"a/prog.bin", ProgramFileKind::Binary},
        {"a/PROG.BIN", ProgramFileKind::Binary},   {"a/prog.bIn", ProgramFileKind::Binary},
        {"a/prog.txt", ProgramFileKind::Unknown},  {"a/prog", ProgramFileKind::Unknown},
        {"a/prog.hex.bak", ProgramFileKind::Unknown}, {"a.hex/prog", ProgramFileKind::Unknown},
        {"a/prog.hexx", ProgramFileKind::Unknown}, {"a/.hex", ProgramFileKind::IntelHex},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramFileKindOf(c.path), c.kind) << c.path;
}

TEST(ListingPath, FindsTheSymbolFilesBesideTheProgramInImportOrder) {
    test::ScratchDirectory dir;
    EXPECT_TRUE(SymbolFilesFor(dir.Path() / "PROG.hex").empty());
    for (const char* name : {"PROG.rst", "PROG.cdb", "PROG.map", "PROG.noi", "PROG.lst", "PROG.LST", "PROG.MAP", "OTHER.map"}) {
        dir.Write(name, "x");
    }
    const std::vector<std::filesystem::path> expected = {dir.Path() / "PROG.LST", dir.Path() / "PROG.lst",
                                                         dir.Path() / "PROG.map", dir.Path() / "PROG.noi",
                                                         dir.Path() / "PROG.cdb", dir.Path() / "PROG.rst"};
    EXPECT_EQ(SymbolFilesFor(dir.Path() / "PROG.hex"), expected);
    EXPECT_EQ(ProposedSymbolFileFor(dir.Path() / "PROG.hex"), dir.Path() / "PROG.LST");
    // Beside an SDCC image the listing is SDCC's unlinked one.
    EXPECT_EQ(ProposedSymbolFileFor(dir.Path() / "PROG.ihx"), dir.Path() / "PROG.map");
    dir.Write("small.lst", "x");
    EXPECT_EQ(SymbolFilesFor(dir.Path() / "small.ihx"), std::vector<std::filesystem::path>{dir.Path() / "small.lst"});
    EXPECT_EQ(ProposedSymbolFileFor(dir.Path() / "small.ihx"), std::filesystem::path());
}

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override {
        processor = test::NewProcessor();
        processor->ucCodeMemory.fill(0xEE);
        processor->iProgramSize = 1234;
    }

    ProgramOpen Open(const std::filesystem::path& path) { return OpenProgramFile(path, *processor, recorder); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& e : recorder.entries) texts.push_back(e.text);
        return texts;
    }

    bool CodeIs(std::size_t from, std::size_t to, std::uint8_t value) const {
        return std::all_of(processor->ucCodeMemory.begin() + static_cast<std::ptrdiff_t>(from),
                           processor->ucCodeMemory.begin() + static_cast<std::ptrdiff_t>(to),
                           [value](auto b) { return b == value; });
    }

    test::ScratchDirectory dir;
    std::unique_ptr<Processor> processor;
    test::MessageRecorder recorder;
};

TEST_F(ProgramFile, MissingFileSaysSoAndChangesNothing) {
    EXPECT_EQ(Open(dir.Path() / "gone.hex"), ProgramOpen::Missing);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Unable to open file"});
    EXPECT_EQ(recorder.entries[0].kind, MessageKind::Plain);
    EXPECT_TRUE(CodeIs(0, Processor::kCodeMemorySize, 0xEE));
    EXPECT_EQ(processor->iProgramSize, 1234);
}

TEST_F(ProgramFile, OtherExtensionIsRefused) {
    EXPECT_EQ(Open(dir.Write("prog.txt", kEndOfFile)), ProgramOpen::Failed);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid File Extension"});
}

TEST_F(ProgramFile, HexWithOnlyAnEndRecordHasProgramSizeOne) {
    EXPECT_EQ(Open(dir.Write("PROG.hex", kEndOfFile + "\r\n")), ProgramOpen::Opened);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(processor->iProgramSize, 1);
    EXPECT_TRUE(CodeIs(0, 0x10000, 0x00));
}

TEST_F(ProgramFile, HexProgramSizeIsHighestAddressPlusOne) {
    const std::string text = HexRecord(0x0000, 0x00, {0x74, 0x01}) + "\n" + HexRecord(0x0123, 0x00, {0x80, 0xFE}) + "\n" + kEndOfFile;
    for (const char* name : {"a.HEX", "b.Hex", "c.ihx"}) {
        processor->iProgramSize = 0;
        EXPECT_EQ(Open(dir.Write(name, text)), ProgramOpen::Opened) << name;
        EXPECT_EQ(processor->iProgramSize, 0x125) << name;
        EXPECT_EQ(processor->ucCodeMemory[0x124], 0xFE);
    }
}

TEST_F(ProgramFile, HexReachingFFFFHasProgramSize64K) {
    EXPECT_EQ(Open(dir.Write("top.hex", HexRecord(0xFFFF, 0x00, {0x22}) + "\n" + kEndOfFile)), ProgramOpen::Opened);
    EXPECT_EQ(processor->iProgramSize, 65536);
}

TEST_F(ProgramFile, BadHexShowsOnlyTheReadersMessage) {
    const ProgramOpen result = Open(dir.Write("bad.hex", HexRecord(0, 0, {1}) + "\n\n" + kEndOfFile));
    EXPECT_EQ(result, ProgramOpen::Failed);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid record marker ( Line = 2 )"});
    EXPECT_EQ(processor->iProgramSize, 1234) << "the caller resets the workspace";
}

TEST_F(ProgramFile, EmptyHexFileFailsSilently) {
    EXPECT_EQ(Open(dir.Write("empty.hex", "")), ProgramOpen::Failed);
    EXPECT_TRUE(recorder.entries.empty());
}

TEST_F(ProgramFile, EmptyBinaryLoadsWithProgramSizeZero) {
    EXPECT_EQ(Open(dir.Write("empty.bin", "")), ProgramOpen::Opened);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(processor->iProgramSize, 0);
    EXPECT_TRUE(CodeIs(0, 0x10000, 0x00));
}

TEST_F(ProgramFile, BinaryLoadsAtZeroAndClearsTheRest) {
    EXPECT_EQ(Open(dir.Write("PROG.BIN", std::string("\x02\x00\x30\xA5", 4))), ProgramOpen::Opened);
    EXPECT_EQ(processor->iProgramSize, 4);
    EXPECT_EQ(processor->ucCodeMemory[0], 0x02);
    EXPECT_EQ(processor->ucCodeMemory[3], 0xA5);
    EXPECT_TRUE(CodeIs(4, 0x10000, 0x00));
    EXPECT_TRUE(CodeIs(0x10000, Processor::kCodeMemorySize, 0xEE)) << "guard bytes are not the loader's";
}

TEST_F(ProgramFile, BinaryOfExactly64KLoadsWithoutWarning) {
    std::string bytes(65536, '\x11');
    bytes.back() = '\x22';
    EXPECT_EQ(LoadBinFile(dir.Write("full.bin", bytes), *processor, recorder), BinLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(processor->iProgramSize, 65536);
    EXPECT_EQ(processor->ucCodeMemory[0xFFFF], 0x22);
}

TEST_F(ProgramFile, BinaryOver64KWarnsAndLoadsTheFirst64K) {
    std::string bytes(65537, '\x11');
    bytes[65535] = '\x22';
    bytes[65536] = '\x33';
    EXPECT_EQ(LoadBinFile(dir.Write("big.bin", bytes), *processor, recorder), BinLoad::Ok);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Warning ! File length is greater than 64K\r\nFirst 64K bytes will be loaded"});
    EXPECT_EQ(processor->iProgramSize, 65536);
    EXPECT_EQ(processor->ucCodeMemory[0xFFFF], 0x22);
    EXPECT_EQ(processor->ucCodeMemory[0x10000], 0xEE);
}

TEST_F(ProgramFile, BinaryThatCannotBeOpenedFailsWithoutAMessage) {
    std::filesystem::create_directory(dir.Path() / "folder.bin");
    EXPECT_EQ(LoadBinFile(dir.Path() / "folder.bin", *processor, recorder), BinLoad::CannotOpen);
    EXPECT_EQ(Open(dir.Path() / "folder.bin"), ProgramOpen::Failed);
    EXPECT_TRUE(recorder.entries.empty());
}

}  // namespace
}  // namespace tessaly
