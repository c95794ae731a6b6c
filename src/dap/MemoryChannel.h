#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "dap/Channel.h"

namespace tessaly::dap {

// A channel in memory, for an adapter embedded in another program (tests,
// benchmarks, fuzzers): input is queued by the owner, output collected.
// When the adapter reads and nothing is queued, `onIdle` may queue more
// (it sees what was written so far); a read that would wait forever with
// nothing to come ends the input instead.
class MemoryChannel final : public Channel {
public:
    std::function<void(MemoryChannel&)> onIdle;

    void Queue(std::string_view bytes) { input_.append(bytes); }
    // No input after what is queued.
    void Close() { closed_ = true; }
    const std::string& Written() const { return output_; }

    Read ReadSome(std::string& into, int timeoutMs) override {
        if (input_.empty() && !closed_ && onIdle) onIdle(*this);
        if (!input_.empty()) {
            into += input_;
            input_.clear();
            return Read::Data;
        }
        if (closed_ || timeoutMs < 0) return Read::Closed;
        return Read::Nothing;
    }
    bool Write(std::string_view bytes) override {
        output_.append(bytes);
        return true;
    }

private:
    std::string input_;
    std::string output_;
    bool closed_ = false;
};

}  // namespace tessaly::dap
