#pragma once

#include <string>
#include <string_view>

namespace tessaly::dap {

// Where the adapter's bytes come from and go to: standard input and output,
// a client's socket, or a test's script.
class Channel {
public:
    enum class Read { Data, Nothing, Closed };

    virtual ~Channel() = default;
    // Waits up to `timeoutMs` (-1: until something happens, 0: not at all)
    // and appends what has arrived to `into`: Data, Nothing when the time ran
    // out, Closed at the end of the input or on a broken connection.
    virtual Read ReadSome(std::string& into, int timeoutMs) = 0;
    // Sends all of `bytes`; false when the other side is gone.
    virtual bool Write(std::string_view bytes) = 0;
};

}  // namespace tessaly::dap
