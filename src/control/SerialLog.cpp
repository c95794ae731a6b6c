#include "control/SerialLog.h"

#include <algorithm>

#include "util/HexText.h"

namespace tessaly {

namespace {

struct Record {
    std::uint8_t* bytes;
    std::int32_t& count;
    std::int32_t& shown;
};

Record RecordOf(Processor& p, SerialLogSide side) {
    if (side == SerialLogSide::Transmit) return {p.ucTxLog.data(), p.iTxLogPos, p.iTxLogShown};
    return {p.ucRxLog.data(), p.iRxLogPos, p.iRxLogShown};
}

// A count read from a snapshot is checked there; clamping here keeps a
// damaged one from reaching past the record all the same.
std::size_t Clamped(std::int32_t count) {
    return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, Processor::kSerialLogSize));
}

}  // namespace

std::span<const std::uint8_t> RecordedBytes(const Processor& p, SerialLogSide side) {
    if (side == SerialLogSide::Transmit) return {p.ucTxLog.data(), Clamped(p.iTxLogPos)};
    return {p.ucRxLog.data(), Clamped(p.iRxLogPos)};
}

std::span<const std::uint8_t> TakeUnshownBytes(Processor& p, SerialLogSide side) {
    const Record record = RecordOf(p, side);
    const std::size_t end = Clamped(record.count);
    const std::size_t start = Clamped(record.shown);
    if (start >= end) return {};
    record.shown = static_cast<std::int32_t>(end);
    return {record.bytes + start, end - start};
}

std::string SerialTail::Take(const Processor& p) {
    const auto* log = reinterpret_cast<const char*>(p.ucTxLog.data());
    std::string bytes;
    const bool wentBack = p.ullInstructionsExecuted < instructions_;
    instructions_ = p.ullInstructionsExecuted;
    if (wentBack) {
        taken_ = p.iTxLogPos;
        return bytes;
    }
    if (p.iTxLogPos < taken_) {  // the record filled up and started over
        bytes.assign(log + taken_, static_cast<std::size_t>(Processor::kSerialLogSize) - taken_);
        taken_ = 0;
    }
    bytes.append(log + taken_, static_cast<std::size_t>(p.iTxLogPos - taken_));
    taken_ = p.iTxLogPos;
    return bytes;
}

void ForgetShownSerialBytes(Processor& p) { p.iTxLogShown = p.iRxLogShown = 0; }

void ClearSerialLog(Processor& p, SerialLogSide side) {
    const Record record = RecordOf(p, side);
    std::fill(record.bytes, record.bytes + Processor::kSerialLogSize, std::uint8_t{0});
    record.count = 0;
    record.shown = 0;
}

std::string SerialBytesAsHex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes) {
        AppendHexByte(text, byte);
        text += ' ';
    }
    return text;
}

std::string SerialBytesAsText(std::span<const std::uint8_t> bytes, bool& afterCarriageReturn) {
    std::string text;
    text.reserve(bytes.size());
    for (std::uint8_t byte : bytes) {
        const bool lineFeedOfPair = byte == '\n' && afterCarriageReturn;
        afterCarriageReturn = byte == '\r';
        if (lineFeedOfPair) continue;
        if (byte == '\r' || byte == '\n') text += '\n';
        else if (byte >= 0x20 && byte <= 0x7E) text += static_cast<char>(byte);
        else text += '.';
    }
    return text;
}

}  // namespace tessaly
