#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

#include "dap/DebugAdapter.h"
#include "dap/FdChannel.h"

namespace {

constexpr const char* kUsage =
    "usage: tessaly-dap [--stdio | --port N]\n"
    "Serves the Debug Adapter Protocol on standard input and output, or, with\n"
    "--port, to one client that connects to 127.0.0.1:N.\n";

}  // namespace

int main(int argc, char** argv) {
    // A client that goes away while a response is being written must not
    // end the adapter with a signal: the write fails and the adapter ends.
    std::signal(SIGPIPE, SIG_IGN);
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--stdio") continue;  // the default, named for clients that pass an argument
        if (arg == "--port" && i + 1 < argc) {
            const std::string value = argv[++i];
            char* end = nullptr;
            const long number = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || number < 1 || number > 65535) {
                std::cerr << "tessaly-dap: --port needs a port number from 1 to 65535\n\n" << kUsage;
                return 2;
            }
            port = static_cast<int>(number);
            continue;
        }
        std::cerr << "tessaly-dap: unknown argument '" << arg << "'\n\n" << kUsage;
        return 2;
    }
    if (port == 0) {
        tessaly::dap::FdChannel channel(STDIN_FILENO, STDOUT_FILENO);
        tessaly::dap::DebugAdapter(channel).Serve();
        return 0;
    }
    const tessaly::dap::Accepted client = tessaly::dap::AcceptOneClient(port);
    if (client.socket < 0) {
        std::cerr << "tessaly-dap: " << client.error << '\n';
        return 2;
    }
    tessaly::dap::FdChannel channel(client.socket, client.socket, true);
    tessaly::dap::DebugAdapter(channel).Serve();
    return 0;
}
