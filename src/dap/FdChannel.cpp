#include "dap/FdChannel.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tessaly::dap {

FdChannel::~FdChannel() {
    if (!owns_) return;
    ::close(in_);
    if (out_ != in_) ::close(out_);
}

Channel::Read FdChannel::ReadSome(std::string& into, int timeoutMs) {
    pollfd wanted{in_, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&wanted, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return Read::Closed;
    if (ready == 0) return Read::Nothing;
    char chunk[65536];
    ssize_t got = 0;
    do {
        got = ::read(in_, chunk, sizeof chunk);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return Read::Closed;
    into.append(chunk, static_cast<std::size_t>(got));
    return Read::Data;
}

bool FdChannel::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::write(out_, bytes.data(), bytes.size());
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno == EAGAIN) {
            pollfd wanted{out_, POLLOUT, 0};
            ::poll(&wanted, 1, -1);
            continue;
        }
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

Accepted AcceptOneClient(int port) {
    Accepted result;
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0) {
        result.error = std::string("cannot open a socket: ") + std::strerror(errno);
        return result;
    }
    const int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 1) != 0) {
        result.error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(listener);
        return result;
    }
    std::fprintf(stderr, "tessaly-dap: listening on 127.0.0.1:%d\n", port);
    std::fflush(stderr);
    int client = -1;
    do {
        client = ::accept(listener, nullptr, nullptr);
    } while (client < 0 && errno == EINTR);
    if (client < 0) result.error = std::string("cannot accept a client: ") + std::strerror(errno);
    ::close(listener);
    result.socket = client;
    return result;
}

}  // namespace tessaly::dap
