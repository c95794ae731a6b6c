// Arbitrary bytes as what a client sends the debug adapter: the framing
// reader, the request dispatch and every handler behind it. An input whose
// first byte is odd is served after a launch of examples/c-printf stopped on
// entry, so the handlers that need a program are reached too. Whatever comes
// in, the adapter ends when its input does, and everything it sends is
// well-framed JSON that answers requests it was sent.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "dap/DebugAdapter.h"
#include "dap/MemoryChannel.h"
#include "dap/MessageReader.h"

using tessaly::fuzz::Check;

namespace {

std::string RequestFrame(int seq, const std::string& command, const nlohmann::json& arguments) {
    return tessaly::dap::Frame(
        nlohmann::json{{"seq", seq}, {"type", "request"}, {"command", command}, {"arguments", arguments}}.dump());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::dap;
    if (size == 0) return 0;
    MemoryChannel channel;
    if (data[0] & 1) {
        const std::string program = std::string(TESSALY_SOURCE_DIR) + "/examples/c-printf/c-printf.ihx";
        channel.Queue(RequestFrame(1, "initialize", nlohmann::json::object()));
        channel.Queue(RequestFrame(2, "launch", {{"program", program}, {"hardwareSerial", true}, {"stopOnEntry", true}}));
        channel.Queue(RequestFrame(3, "configurationDone", nlohmann::json::object()));
    }
    channel.Queue(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    channel.Close();
    DebugAdapter(channel).Serve();

    MessageReader reader;
    reader.Feed(channel.Written());
    std::int64_t seq = 0;
    while (auto frame = reader.Next()) {
        Check(frame->error.empty());
        const nlohmann::json message = nlohmann::json::parse(frame->body, nullptr, false);
        Check(message.is_object());
        Check(message["seq"] == ++seq);
        if (message["type"] == "response" && message["success"] == false) {
            Check(message["message"].is_string() && !message["message"].get<std::string>().empty());
        }
    }
    Check(reader.Buffered() == 0);
    return 0;
}
