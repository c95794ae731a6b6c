#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <memory>
#include <string>

#include "HexRecords.h"
#include "loading/HexReader.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::HexRecord;
using test::kEndOfFile;
using test::Ramp;

constexpr std::uint16_t kUnwritten = 0xBEEF;

class HexReader : public ::testing::Test {
protected:
    void SetUp() override {
        code = std::make_unique<CodeImage>();
        code->fill(0xEE);
    }

    HexLoad Load(const std::string& text) {
        highest = kUnwritten;
        return LoadHexText(text, *code, highest, recorder);
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& entry : recorder.entries) {
            EXPECT_EQ(entry.kind, MessageKind::Plain) << entry.text;
            EXPECT_FALSE(entry.question);
            texts.push_back(entry.text);
        }
        return texts;
    }

    std::size_t NonZeroBytes() const {
        return static_cast<std::size_t>(std::count_if(code->begin(), code->begin() + 0x10000, [](auto b) { return b != 0; }));
    }

    std::unique_ptr<CodeImage> code;
    std::uint16_t highest = kUnwritten;
    test::MessageRecorder recorder;
};

struct FatalCase {
    const char* name;
    std::string text;
    HexLoad status;
    std::string message;
    friend void PrintTo(const FatalCase& c, std::ostream* os) { *os << c.name; }
};

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// Joins without operator+(const char*, std::string&&), which GCC 12 warns
// about wrongly.
std::string Cat(std::string_view a, std::string_view b) {
    std::string text(a);
    text += b;
    return text;
}

const std::string kData = HexRecord(0x0000, 0x00, {0x12, 0x34});

std::vector<FatalCase> FatalCases() {
    return {
        {"MarkerOnThirdLine", Lines({kData, kData, Cat("X", kData.substr(1)), kEndOfFile}), HexLoad::InvalidMarker,
         "Invalid record marker ( Line = 3 )"},
        {"BlankLineBeforeEnd", Lines({kData, "", kEndOfFile}), HexLoad::InvalidMarker, "Invalid record marker ( Line = 2 )"},
        {"BlankFirstLine", Lines({"", kEndOfFile}), HexLoad::InvalidMarker, "Invalid record marker ( Line = 1 )"},
        {"LeadingBlank", Cat(" ", kEndOfFile), HexLoad::InvalidMarker, "Invalid record marker ( Line = 1 )"},
        {"EvenLength", Lines({kData, ":0000000"}), HexLoad::InvalidCharacterCount, "Invalid number of characters ( Line = 2 )"},
        {"TrailingBlankEven", Lines({kEndOfFile + " "}), HexLoad::InvalidCharacterCount, "Invalid number of characters ( Line = 1 )"},
        {"TrailingBlankOdd", Lines({kEndOfFile + "  "}), HexLoad::InvalidDataByte, "Invalid data byte ( Line = 1 )"},
        {"BadDigit", Lines({":0G000001FF"}), HexLoad::InvalidDataByte, "Invalid data byte ( Line = 1 )"},
        {"BadSecondDigit", Lines({":000000G1FF"}), HexLoad::InvalidDataByte, "Invalid data byte ( Line = 1 )"},
        {"ChecksumOffByOne", Lines({kData, ":00000001FE"}), HexLoad::ChecksumIncorrect, "Checksum incorrect ( Line = 2 )"},
        {"ExtendedSegment", Lines({HexRecord(0x0000, 0x02, {0x10, 0x00}), kEndOfFile}), HexLoad::ExtendedAddress,
         "Extended address encountered ( Line = 1 )"},
        {"ExtendedSegmentBadChecksum", Lines({":020000021000ED", kEndOfFile}), HexLoad::ChecksumIncorrect, "Checksum incorrect ( Line = 1 )"},
        {"BareColon", Lines({kData, ":"}), HexLoad::RecordTooShort, "Record shorter than its data byte count ( Line = 2 )"},
        {"OneByteOnly", Lines({":00"}), HexLoad::RecordTooShort, "Record shorter than its data byte count ( Line = 1 )"},
        {"FourBytesSummingToZero", Lines({":00000000"}), HexLoad::RecordTooShort, "Record shorter than its data byte count ( Line = 1 )"},
        {"CountBeyondLine", Lines({HexRecord(0x0000, 0x00, {0x55}, 4)}), HexLoad::RecordTooShort,
         "Record shorter than its data byte count ( Line = 1 )"},
        {"EndRecordClaimingData", Lines({HexRecord(0x0000, 0x01, {}, 1)}), HexLoad::RecordTooShort,
         "Record shorter than its data byte count ( Line = 1 )"},
        {"ThreeHundredAndOneBytes", Lines({Cat(":", std::string(602, '0'))}), HexLoad::RecordTooLong, "Record longer than 300 bytes ( Line = 1 )"},
        {"HugeLine", Lines({kData, Cat(":", std::string(100000, 'F'))}), HexLoad::RecordTooLong, "Record longer than 300 bytes ( Line = 2 )"},
        {"BadByteBeforeBufferEnds", Lines({Cat(":0Z", std::string(700, '0'))}), HexLoad::InvalidDataByte, "Invalid data byte ( Line = 1 )"},
    };
}

class HexReaderFatal : public HexReader, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(HexReaderFatal, StopsWithItsMessageAndLineNumber) {
    const FatalCase& c = GetParam();
    EXPECT_EQ(Load(c.text), c.status);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(highest, kUnwritten) << "the highest address is written only on success";
}

INSTANTIATE_TEST_SUITE_P(Lines, HexReaderFatal, ::testing::ValuesIn(FatalCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HexReader, EndOfFileRecordAloneGivesAnEmptyImageAndHighestZero) {
    EXPECT_EQ(Load(kEndOfFile + "\r\n"), HexLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(highest, 0);
    EXPECT_EQ(NonZeroBytes(), 0u);
}

TEST_F(HexReader, NeverTouchesTheGuardBytes) {
    Load(Lines({HexRecord(0xFFF0, 0x00, Ramp(32)), kEndOfFile}));
    EXPECT_TRUE(std::all_of(code->begin() + 0x10000, code->end(), [](auto b) { return b == 0xEE; }));
}

TEST_F(HexReader, EmptyTextHasNoLines) {
    EXPECT_EQ(Load(""), HexLoad::NoLines);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(highest, kUnwritten);
    EXPECT_EQ(NonZeroBytes(), 0u) << "the image is cleared even so";
}

TEST_F(HexReader, NulEndsTheText) {
    EXPECT_EQ(Load(std::string("\0:garbage", 9)), HexLoad::NoLines);
    const std::string text = kData + "\r\n" + std::string("\0", 1) + "garbage\r\n";
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning ! End of file record not found"});
    EXPECT_EQ((*code)[1], 0x34);
}

TEST_F(HexReader, MissingEndRecordWarnsAndKeepsTheData) {
    EXPECT_EQ(Load(Lines({HexRecord(0x0100, 0x00, {0xAA, 0xBB, 0xCC})})), HexLoad::Ok);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning ! End of file record not found"});
    EXPECT_EQ(highest, 0x0102);
    EXPECT_EQ((*code)[0x100], 0xAA);
    EXPECT_EQ((*code)[0x102], 0xCC);
    EXPECT_EQ(NonZeroBytes(), 3u);
}

TEST_F(HexReader, AnyLineEndSplitsAndAFinalOneAddsNoLine) {
    const std::string text = HexRecord(0, 0, {1}) + "\n" + HexRecord(1, 0, {2}) + "\r" + HexRecord(2, 0, {3}) +
                             "\r\n" + HexRecord(3, 0, {4}) + "\n";
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning ! End of file record not found"});
    EXPECT_EQ(highest, 3);
    for (std::uint8_t i = 0; i < 4; ++i) EXPECT_EQ((*code)[i], i + 1);
}

TEST_F(HexReader, AnEmptyLineAfterTheLastLineEndIsALine) {
    EXPECT_EQ(Load(kData + "\r\n\r\n"), HexLoad::InvalidMarker);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid record marker ( Line = 2 )"});
}

TEST_F(HexReader, LowerCaseDigitsAreAccepted) {
    EXPECT_EQ(Load(":03001000abcdef86\r\n:00000001ff\r\n"), HexLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ((*code)[0x10], 0xAB);
    EXPECT_EQ((*code)[0x12], 0xEF);
    EXPECT_EQ(highest, 0x12);
}

TEST_F(HexReader, RecordRunningPastFFFFStoresUpToFFFFAndWarnsOnce) {
    const std::string text = Lines({HexRecord(0xFFF8, 0x00, Ramp(16, 0x40)), HexRecord(0x0000, 0x00, {0x77}), kEndOfFile});
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning ! Total address axceed 16 bit limit( Line = 1 )"});
    EXPECT_EQ(highest, 0xFFFF);
    EXPECT_EQ((*code)[0xFFF8], 0x40);
    EXPECT_EQ((*code)[0xFFFF], 0x47);
    EXPECT_EQ((*code)[0x0000], 0x77) << "reading goes on after the warning";
    EXPECT_EQ(NonZeroBytes(), 9u);
}

TEST_F(HexReader, RecordEndingExactlyAtFFFFDoesNotWarn) {
    EXPECT_EQ(Load(Lines({HexRecord(0xFFFC, 0x00, Ramp(4)), kEndOfFile})), HexLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(highest, 0xFFFF);
}

TEST_F(HexReader, OtherRecordTypesAreStoredAsData) {
    const std::string text = Lines({HexRecord(0x0000, 0x04, {0x12, 0x34}), HexRecord(0x0200, 0x03, {0x01, 0x02, 0x03, 0x04}),
                                    HexRecord(0x0300, 0x05, {0x99}), HexRecord(0x0400, 0xFF, {0x42}), kEndOfFile});
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ((*code)[0x0000], 0x12);
    EXPECT_EQ((*code)[0x0001], 0x34);
    EXPECT_EQ((*code)[0x0203], 0x04);
    EXPECT_EQ((*code)[0x0300], 0x99);
    EXPECT_EQ((*code)[0x0400], 0x42);
    EXPECT_EQ(highest, 0x0400);
}

TEST_F(HexReader, LaterRecordsOverwriteEarlierOnes) {
    const std::string text = Lines({HexRecord(0x10, 0x00, {1, 2, 3, 4}), HexRecord(0x12, 0x00, {9, 9, 9}), kEndOfFile});
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_EQ((*code)[0x10], 1);
    EXPECT_EQ((*code)[0x11], 2);
    EXPECT_EQ((*code)[0x12], 9);
    EXPECT_EQ((*code)[0x14], 9);
    EXPECT_EQ(highest, 0x14);
}

TEST_F(HexReader, HighestAddressIsTheLargestNotTheLast) {
    const std::string text = Lines({HexRecord(0x2000, 0x00, {1, 2}), HexRecord(0x0010, 0x00, {3}),
                                    HexRecord(0x4000, 0x00, {}), kEndOfFile});
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_EQ(highest, 0x2001) << "an empty data record stores nothing and moves nothing";
}

TEST_F(HexReader, ExtraBytesAfterTheCountOnlyEnterTheChecksum) {
    EXPECT_EQ(Load(Lines({HexRecord(0x0000, 0x00, {0x11, 0x22, 0x33}, 1), kEndOfFile})), HexLoad::Ok);
    EXPECT_EQ((*code)[0], 0x11);
    EXPECT_EQ((*code)[1], 0x00);
    EXPECT_EQ(highest, 0);
}

TEST_F(HexReader, ThreeHundredByteRecordFitsTheBuffer) {
    // 255 data bytes, 40 more for the checksum only, 5 fixed: 300 in all.
    const std::string line = HexRecord(0x1000, 0x00, Ramp(295), 255);
    ASSERT_EQ(line.size(), 601u);
    EXPECT_EQ(Load(Lines({line, kEndOfFile})), HexLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(highest, 0x10FE);
    EXPECT_EQ((*code)[0x10FE], 255);
    EXPECT_EQ((*code)[0x10FF], 0);
}

TEST_F(HexReader, LinesAfterTheEndRecordAreNeverRead) {
    const std::string text = Lines({kData, kEndOfFile, "garbage", "", ":0"});
    EXPECT_EQ(Load(text), HexLoad::Ok);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(highest, 1);
}

TEST_F(HexReader, FailureKeepsTheRecordsBeforeTheFailingLine) {
    const std::string text = Lines({HexRecord(0x0050, 0x00, {0xAB}), ":00000001FE", HexRecord(0x0060, 0x00, {0xCD})});
    EXPECT_EQ(Load(text), HexLoad::ChecksumIncorrect);
    EXPECT_EQ((*code)[0x50], 0xAB);
    EXPECT_EQ((*code)[0x60], 0x00);
    EXPECT_EQ(NonZeroBytes(), 1u);
}

TEST_F(HexReader, MissingFileLeavesTheImageUntouched) {
    test::ScratchDirectory dir;
    EXPECT_EQ(LoadHexFile(dir.Path() / "absent.hex", *code, highest, recorder), HexLoad::FileMissing);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_TRUE(std::all_of(code->begin(), code->end(), [](auto b) { return b == 0xEE; }));
    EXPECT_EQ(highest, kUnwritten);
}

TEST_F(HexReader, ReadsAFile) {
    test::ScratchDirectory dir;
    const auto path = dir.Write("prog.hex", Lines({HexRecord(0x0000, 0x00, {0x02, 0x01, 0x00}), kEndOfFile}));
    EXPECT_EQ(LoadHexFile(path, *code, highest, recorder), HexLoad::Ok);
    EXPECT_EQ(highest, 2);
    EXPECT_EQ((*code)[0], 0x02);
    EXPECT_EQ((*code)[3], 0x00);
}

TEST_F(HexReader, EmptyFileHasNoLines) {
    test::ScratchDirectory dir;
    EXPECT_EQ(LoadHexFile(dir.Write("empty.hex", ""), *code, highest, recorder), HexLoad::NoLines);
    EXPECT_TRUE(recorder.entries.empty());
    EXPECT_EQ(NonZeroBytes(), 0u);
}

TEST_F(HexReader, DirectoryIsUnreadableWithoutAMessage) {
    test::ScratchDirectory dir;
    std::filesystem::create_directory(dir.Path() / "folder.hex");
    EXPECT_EQ(LoadHexFile(dir.Path() / "folder.hex", *code, highest, recorder), HexLoad::Unreadable);
    EXPECT_TRUE(recorder.entries.empty());
}

}  // namespace
}  // namespace tessaly
