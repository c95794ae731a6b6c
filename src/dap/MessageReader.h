#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly::dap {

// The base protocol's framing: each message is a header block of
// "Name: value" lines ended by a blank line (every line ended by CR LF), of
// which Content-Length gives the size of the JSON body that follows in
// bytes. Bytes go in as they arrive; whole bodies come out. A damaged header
// block is reported once and dropped, and reading goes on after it, so one
// bad message never stops the ones behind it.
class MessageReader {
public:
    // Bodies larger than this are refused: no debugger request comes near it.
    static constexpr std::size_t kMaxBody = 16u << 20;
    // A header block longer than this is not a header block.
    static constexpr std::size_t kMaxHeader = 8192;

    struct Frame {
        std::string body;   // the JSON text; empty after a framing error
        std::string error;  // why the header block was dropped; empty for a body
    };

    void Feed(std::string_view bytes) { buffer_.append(bytes); }
    // The next whole body or framing error; nothing while more bytes are needed.
    std::optional<Frame> Next();
    // Bytes received and not yet taken as a message.
    std::size_t Buffered() const { return buffer_.size() - start_; }

private:
    void Consume(std::size_t count);

    std::string buffer_;
    std::size_t start_ = 0;
    // The body size of the header block already read; the body is awaited.
    std::optional<std::size_t> bodySize_;
};

}  // namespace tessaly::dap
