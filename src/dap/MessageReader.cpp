#include "dap/MessageReader.h"

#include "util/AsciiCase.h"
#include "util/Lines.h"

namespace tessaly::dap {

namespace {

// The Content-Length of a header block, or why there is none.
std::optional<std::size_t> ContentLength(std::string_view block, std::string& error) {
    std::optional<std::size_t> length;
    while (!block.empty()) {
        const std::size_t end = block.find("\r\n");
        const std::string_view line = block.substr(0, end);
        block = end == std::string_view::npos ? std::string_view() : block.substr(end + 2);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            error = "a header line without ':'";
            return std::nullopt;
        }
        if (!SameIgnoringCase(Trim(line.substr(0, colon)), "Content-Length")) continue;
        const std::string_view digits = Trim(line.substr(colon + 1));
        std::size_t value = 0;
        if (digits.empty() || digits.size() > 9) {
            error = "Content-Length is not a number of bytes";
            return std::nullopt;
        }
        for (char c : digits) {
            if (c < '0' || c > '9') {
                error = "Content-Length is not a number of bytes";
                return std::nullopt;
            }
            value = value * 10 + static_cast<std::size_t>(c - '0');
        }
        length = value;
    }
    if (!length) error = "no Content-Length header";
    else if (*length > MessageReader::kMaxBody) error = "Content-Length " + std::to_string(*length) + " is too large";
    else return length;
    return std::nullopt;
}

}  // namespace

void MessageReader::Consume(std::size_t count) {
    start_ += count;
    // Keep the buffer from growing with what was already taken.
    if (start_ > 65536 && start_ * 2 > buffer_.size()) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
}

std::optional<MessageReader::Frame> MessageReader::Next() {
    if (!bodySize_) {
        const std::string_view pending = std::string_view(buffer_).substr(start_);
        const std::size_t end = pending.find("\r\n\r\n");
        if (end == std::string_view::npos) {
            if (pending.size() <= kMaxHeader) return std::nullopt;
            Consume(pending.size());
            return Frame{{}, "a header block longer than " + std::to_string(kMaxHeader) + " bytes"};
        }
        if (end > kMaxHeader) {
            Consume(end + 4);
            return Frame{{}, "a header block longer than " + std::to_string(kMaxHeader) + " bytes"};
        }
        std::string error;
        const auto length = ContentLength(pending.substr(0, end), error);
        Consume(end + 4);
        if (!length) return Frame{{}, error};
        bodySize_ = *length;
    }
    if (Buffered() < *bodySize_) return std::nullopt;
    Frame frame{buffer_.substr(start_, *bodySize_), {}};
    Consume(*bodySize_);
    bodySize_.reset();
    return frame;
}

}  // namespace tessaly::dap
