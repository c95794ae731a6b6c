#include "loading/HexReader.h"

#include <algorithm>
#include <string>

#include "util/HexText.h"
#include "util/FileBytes.h"

namespace tessaly {

namespace {

constexpr std::size_t kImageSize = 0x10000;
constexpr std::uint32_t kTopAddress = 0xFFFF;
constexpr std::size_t kFixedBytes = 5;  // count, address high, address low, type, checksum

constexpr std::uint8_t kTypeEndOfFile = 0x01;
constexpr std::uint8_t kTypeExtendedSegment = 0x02;

// Walks the lines of a text: a line ends at CR LF, LF or a lone CR, and a line
// end after the last line adds no empty line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
            return true;
        }
        line = text_.substr(pos_, end - pos_);
        const bool crLf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
        pos_ = end + (crLf ? 2 : 1);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

struct Record {
    std::array<std::uint8_t, kHexRecordBufferSize> bytes{};
    std::size_t size = 0;

    std::uint8_t Count() const { return bytes[0]; }
    std::uint32_t Address() const { return (std::uint32_t{bytes[1]} << 8) | bytes[2]; }
    std::uint8_t Type() const { return bytes[3]; }
};

// Checks one line in order (marker, length, bytes, checksum, size against
// the count) and decodes it into `record`.
HexLoad DecodeLine(std::string_view line, Record& record) {
    if (line.empty() || line[0] != ':') return HexLoad::InvalidMarker;
    if (line.size() % 2 == 0) return HexLoad::InvalidCharacterCount;
    record.size = 0;
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        // A longer line cannot be a valid record; stop before the buffer ends.
        if (record.size == record.bytes.size()) return HexLoad::RecordTooLong;
        const int high = HexDigitValue(line[i]);
        const int low = HexDigitValue(line[i + 1]);
        if (high < 0 || low < 0) return HexLoad::InvalidDataByte;
        const auto byte = static_cast<std::uint8_t>(high * 16 + low);
        record.bytes[record.size++] = byte;
        sum = static_cast<std::uint8_t>(sum + byte);
    }
    if (sum != 0) return HexLoad::ChecksumIncorrect;
    // The count is not compared with the line beyond this: extra bytes only
    // enter the checksum. Too few would make the data come from outside the line.
    if (record.size < kFixedBytes || record.size < kFixedBytes + record.Count()) {
        return HexLoad::RecordTooShort;
    }
    return HexLoad::Ok;
}

std::string_view MessageFor(HexLoad status) {
    switch (status) {
        case HexLoad::InvalidMarker: return "Invalid record marker ( Line = ";
        case HexLoad::InvalidCharacterCount: return "Invalid number of characters ( Line = ";
        case HexLoad::InvalidDataByte: return "Invalid data byte ( Line = ";
        case HexLoad::ChecksumIncorrect: return "Checksum incorrect ( Line = ";
        case HexLoad::ExtendedAddress: return "Extended address encountered ( Line = ";
        case HexLoad::RecordTooShort: return "Record shorter than its data byte count ( Line = ";
        case HexLoad::RecordTooLong: return "Record longer than 300 bytes ( Line = ";
        default: return "Invalid record ( Line = ";
    }
}

std::string LineMessage(std::string_view text, std::size_t lineNumber) {
    std::string message(text);
    message += std::to_string(lineNumber);
    message += " )";
    return message;
}

// Stores the data of one record; bytes that would land above FFFFh are
// dropped with one warning for the record.
void StoreData(const Record& record, std::size_t lineNumber, CodeImage& code, std::uint32_t& highest,
               MessageHost& host) {
    std::uint32_t address = record.Address();
    bool stored = false;
    for (std::size_t i = 0; i < record.Count(); ++i) {
        if (address > kTopAddress) {
            host.Tell(MessageKind::Plain,
                      LineMessage("Warning ! Total address axceed 16 bit limit( Line = ", lineNumber));
            break;
        }
        code[address++] = record.bytes[4 + i];
        stored = true;
    }
    if (stored) highest = std::max(highest, address - 1);
}

}  // namespace

HexLoad LoadHexText(std::string_view text, CodeImage& code, std::uint16_t& highestAddress, MessageHost& host) {
    std::fill_n(code.begin(), kImageSize, std::uint8_t{0});
    text = text.substr(0, text.find('\0'));

    LineReader lines(text);
    std::string_view line;
    if (!lines.Next(line)) return HexLoad::NoLines;

    std::uint32_t highest = 0;
    Record record;
    std::size_t lineNumber = 0;
    do {
        ++lineNumber;
        HexLoad status = DecodeLine(line, record);
        if (status == HexLoad::Ok) {
            if (record.Type() == kTypeEndOfFile) {
                highestAddress = static_cast<std::uint16_t>(highest);
                return HexLoad::Ok;
            }
            if (record.Type() == kTypeExtendedSegment) status = HexLoad::ExtendedAddress;
        }
        if (status != HexLoad::Ok) {
            host.Tell(MessageKind::Plain, LineMessage(MessageFor(status), lineNumber));
            return status;
        }
        // Every other type, 04 and 05 included, is taken as data.
        StoreData(record, lineNumber, code, highest, host);
    } while (lines.Next(line));

    highestAddress = static_cast<std::uint16_t>(highest);
    host.Tell(MessageKind::Plain, "Warning ! End of file record not found");
    return HexLoad::Ok;
}

HexLoad LoadHexFile(const std::filesystem::path& path, CodeImage& code, std::uint16_t& highestAddress,
                    MessageHost& host) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return HexLoad::FileMissing;
    std::fill_n(code.begin(), kImageSize, std::uint8_t{0});
    const auto text = ReadWholeFile(path);
    if (!text) return HexLoad::Unreadable;
    return LoadHexText(*text, code, highestAddress, host);
}

}  // namespace tessaly
