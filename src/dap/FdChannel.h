#pragma once

#include <optional>
#include <string>

#include "dap/Channel.h"

namespace tessaly::dap {

// A channel over two file descriptors (standard input and output, or one
// socket for both).
class FdChannel final : public Channel {
public:
    FdChannel(int in, int out, bool ownsDescriptors = false) : in_(in), out_(out), owns_(ownsDescriptors) {}
    ~FdChannel() override;
    FdChannel(const FdChannel&) = delete;
    FdChannel& operator=(const FdChannel&) = delete;

    Read ReadSome(std::string& into, int timeoutMs) override;
    bool Write(std::string_view bytes) override;

private:
    int in_;
    int out_;
    bool owns_;
};

// Listens on 127.0.0.1:`port` and waits for one client; its socket, or a
// message saying why there is none.
struct Accepted {
    int socket = -1;
    std::string error;
};
Accepted AcceptOneClient(int port);

}  // namespace tessaly::dap
