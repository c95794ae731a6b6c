#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dap/Base64.h"
#include "dap/MessageReader.h"
#include "dap/Outbox.h"

namespace tessaly::dap {
namespace {

// Everything the reader gives for `bytes` fed in pieces of `piece` bytes:
// bodies as they are, errors as "! why".
std::vector<std::string> ReadAll(const std::string& bytes, std::size_t piece) {
    MessageReader reader;
    std::vector<std::string> out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.Feed(std::string_view(bytes).substr(at, piece));
        while (auto frame = reader.Next()) out.push_back(frame->error.empty() ? frame->body : "! " + frame->error);
    }
    return out;
}

TEST(MessageReader, BodiesComeWholeHoweverTheBytesArrive) {
    const std::string stream = Frame("{\"a\":1}") + "content-length:  2\r\nContent-Type: x\r\n\r\n{}" + Frame("");
    for (std::size_t piece : {1u, 2u, 7u, 1000u}) {
        EXPECT_EQ(ReadAll(stream, piece), (std::vector<std::string>{"{\"a\":1}", "{}", ""})) << piece;
    }
    // A body may hold anything, header-looking text and all.
    const std::string tricky = "Content-Length: 4\r\n\r\n\r\n\r\n";
    EXPECT_EQ(ReadAll(tricky + Frame("x"), 3), (std::vector<std::string>{"\r\n\r\n", "x"}));
}

TEST(MessageReader, DamagedHeadersAreReportedAndReadingGoesOn) {
    const std::string stream = "Content-Type: json\r\n\r\n" + Frame("1") + "Content-Length: 12x\r\n\r\n" + Frame("2") +
                               "garbage\r\n\r\n" + "Content-Length: 99999999\r\n\r\n" + Frame("3");
    EXPECT_EQ(ReadAll(stream, 5), (std::vector<std::string>{"! no Content-Length header", "1",
                                                             "! Content-Length is not a number of bytes", "2",
                                                             "! a header line without ':'",
                                                             "! Content-Length 99999999 is too large", "3"}));
    // A header that never ends is dropped once it is too long to be one.
    const std::vector<std::string> endless = ReadAll(std::string(MessageReader::kMaxHeader + 10, 'x') + "\r\n\r\n" + Frame("4"), 4096);
    ASSERT_FALSE(endless.empty());
    EXPECT_EQ(endless.front(), "! a header block longer than 8192 bytes");
    EXPECT_EQ(endless.back(), "4");
}

TEST(Base64, RoundTripsAndRefusesWhatIsNotBase64) {
    EXPECT_EQ(EncodeBase64({}), "");
    EXPECT_EQ(EncodeBase64({'M'}), "TQ==");
    EXPECT_EQ(EncodeBase64({'M', 'a'}), "TWE=");
    EXPECT_EQ(EncodeBase64({'M', 'a', 'n'}), "TWFu");
    EXPECT_EQ(EncodeBase64({0xFF, 0xFE, 0x00, 0x01}), "//4AAQ==");
    EXPECT_EQ(DecodeBase64("//4AAQ=="), (std::vector<std::uint8_t>{0xFF, 0xFE, 0x00, 0x01}));
    EXPECT_EQ(DecodeBase64("TW E\n="), (std::vector<std::uint8_t>{'M', 'a'}));
    EXPECT_EQ(DecodeBase64("TWE"), (std::vector<std::uint8_t>{'M', 'a'}));
    EXPECT_EQ(DecodeBase64("TQ==TQ=="), std::nullopt);
    EXPECT_EQ(DecodeBase64("T!=="), std::nullopt);
    EXPECT_EQ(DecodeBase64("TR=="), std::nullopt) << "leftover bits that are not zero";
    EXPECT_EQ(DecodeBase64("T"), std::nullopt) << "six bits are no byte";
}

}  // namespace
}  // namespace tessaly::dap
