#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "dap/DebugAdapter.h"
#include "dap/MemoryChannel.h"
#include "dap/MessageReader.h"
#include "support/DesktopRecorder.h"
#include "support/RunRecorder.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly::dap {
namespace {

using nlohmann::json;

std::string Request(int seq, const std::string& command, json arguments = json::object()) {
    return Frame(json{{"seq", seq}, {"type", "request"}, {"command", command}, {"arguments", arguments}}.dump());
}

std::vector<json> Messages(const std::string& written) {
    MessageReader reader;
    reader.Feed(written);
    std::vector<json> messages;
    while (auto frame = reader.Next()) messages.push_back(json::parse(frame->body));
    return messages;
}

// The response to request `seq`, and the console texts in order.
const json& ResponseTo(const std::vector<json>& messages, int seq) {
    for (const json& m : messages) {
        if (m["type"] == "response" && m["request_seq"] == seq) return m;
    }
    throw std::runtime_error("no response to " + std::to_string(seq));
}

std::string Console(const std::vector<json>& messages) {
    std::string text;
    for (const json& m : messages) {
        if (m["type"] == "event" && m["event"] == "output" && m["body"]["category"] == "console") {
            text += m["body"]["output"].get<std::string>();
        }
    }
    return text;
}

const std::filesystem::path kExample = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-printf/c-printf.ihx";

TEST(DebugAdapter, BadMessagesAreSaidAndTheRequestsAroundThemAnswered) {
    MemoryChannel channel;
    channel.Queue(Request(1, "initialize"));
    channel.Queue("Content-Length: x\r\n\r\n");
    channel.Queue(Frame("{not json"));
    channel.Queue(Frame("[1,2]"));
    channel.Queue(Frame(R"({"seq":2,"type":"request"})"));
    channel.Queue(Frame(R"({"seq":3,"type":"request","command":"threads","arguments":[1]})"));
    channel.Queue(Frame(R"({"seq":4,"type":"request","command":"launch","arguments":{"program":"x.hex","crystal":"fast"}})"));
    channel.Queue(Request(5, "initialize"));
    channel.Queue(Request(6, "threads"));
    channel.Close();
    DebugAdapter(channel).Serve();

    const auto messages = Messages(channel.Written());
    EXPECT_EQ(ResponseTo(messages, 1)["success"], true);
    EXPECT_EQ(ResponseTo(messages, 2)["message"], "A request without a command");
    EXPECT_EQ(ResponseTo(messages, 3)["message"], "The arguments of 'threads' are not an object");
    EXPECT_EQ(ResponseTo(messages, 4)["message"], "'crystal' must be a frequency in Hz, with an optional k or M (11.0592M)");
    EXPECT_EQ(ResponseTo(messages, 5)["message"], "The adapter is already initialized");
    EXPECT_EQ(ResponseTo(messages, 6)["body"]["threads"], json::parse(R"([{"id":1,"name":"8051"}])"));
    EXPECT_EQ(Console(messages),
              "tessaly-dap: a message was dropped: Content-Length is not a number of bytes\n"
              "tessaly-dap: a message that is not a JSON object was dropped\n"
              "tessaly-dap: a message that is not a JSON object was dropped\n");
    // Responses and events are numbered in the order they leave.
    for (std::size_t i = 0; i < messages.size(); ++i) EXPECT_EQ(messages[i]["seq"], i + 1);
}

TEST(DebugAdapter, AProgramThatFailsToLoadIsAnsweredWithTheDesktopsMessages) {
    test::ScratchDirectory dir;
    const auto bad = dir.Path() / "broken.hex";
    std::ofstream(bad) << ":10000000ZZ\n";

    // What the desktop shows for the same file.
    test::MessageRecorder recorder;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    Session desktopSession({}, recorder, desktop, runs);
    ASSERT_NE(desktopSession.OpenFileCommand(bad), ProgramOpen::Opened);
    std::string expected;
    for (const auto& entry : recorder.entries) expected += (expected.empty() ? "" : "\n") + entry.text;
    ASSERT_FALSE(expected.empty());

    MemoryChannel channel;
    channel.Queue(Request(1, "initialize"));
    channel.Queue(Request(2, "launch", {{"program", bad.string()}}));
    channel.Queue(Request(3, "launch", {{"program", kExample.string()}, {"hardwareSerial", true}}));
    channel.Close();
    DebugAdapter(channel).Serve();
    const auto messages = Messages(channel.Written());
    EXPECT_EQ(ResponseTo(messages, 2)["success"], false);
    EXPECT_EQ(ResponseTo(messages, 2)["message"], expected);
    EXPECT_EQ(ResponseTo(messages, 3)["success"], true) << "the failed load lost nothing";
}

TEST(DebugAdapter, TheEndOfTheInputEndsAFreeRun) {
    MemoryChannel channel;
    channel.Queue(Request(1, "initialize"));
    channel.Queue(Request(2, "launch", {{"program", kExample.string()}, {"hardwareSerial", true}}));
    channel.Queue(Request(3, "configurationDone"));
    // The program runs forever in its final while (1); once it has printed
    // "done", the client goes away.
    channel.onIdle = [](MemoryChannel& c) {
        if (c.Written().find("done\\r\\n") != std::string::npos) c.Close();
    };
    DebugAdapter(channel).Serve();
    const auto messages = Messages(channel.Written());
    EXPECT_EQ(ResponseTo(messages, 3)["success"], true);
    for (const json& m : messages) EXPECT_NE(m.value("event", ""), "stopped");
}

TEST(DebugAdapter, PauseAndBreakPointsArriveBetweenTheSlicesOfARun) {
    MemoryChannel channel;
    channel.Queue(Request(1, "initialize"));
    channel.Queue(Request(2, "launch", {{"program", kExample.string()}, {"hardwareSerial", true}}));
    channel.Queue(Request(3, "configurationDone"));
    int step = 0;
    channel.onIdle = [&](MemoryChannel& c) {
        const std::string& written = c.Written();
        if (step == 0 && written.find("fib( 2)") != std::string::npos) {
            // While it runs: a break point on putchar's line 21.
            c.Queue(Request(4, "setBreakpoints", {{"source", {{"path", "c-printf.c"}}}, {"breakpoints", {{{"line", 21}}}}}));
            c.Queue(Request(5, "next", {{"threadId", 1}}));
            c.Queue(Request(6, "continue", {{"threadId", 1}}));
            ++step;
        } else if (step == 1 && written.find("\"reason\":\"breakpoint\"") != std::string::npos) {
            c.Queue(Request(7, "setBreakpoints", {{"source", {{"path", "c-printf.c"}}}, {"breakpoints", json::array()}}));
            c.Queue(Request(8, "continue", {{"threadId", 1}}));
            ++step;
        } else if (step == 2 && written.find("done\\r\\n") != std::string::npos) {
            c.Queue(Request(9, "pause", {{"threadId", 1}}));
            ++step;
        } else if (step == 3 && written.find("\"reason\":\"pause\"") != std::string::npos) {
            c.Queue(Request(10, "disconnect"));
            ++step;
        }
    };
    DebugAdapter(channel).Serve();
    const auto messages = Messages(channel.Written());
    EXPECT_EQ(step, 4);
    EXPECT_EQ(ResponseTo(messages, 4)["body"]["breakpoints"][0]["verified"], true);
    EXPECT_EQ(ResponseTo(messages, 5)["message"], "The program is running; pause it first");
    EXPECT_EQ(ResponseTo(messages, 6)["success"], true);
    EXPECT_EQ(ResponseTo(messages, 9)["success"], true);
    EXPECT_EQ(ResponseTo(messages, 10)["success"], true);
    std::vector<std::string> reasons;
    for (const json& m : messages) {
        if (m.value("event", "") == "stopped") reasons.push_back(m["body"]["reason"]);
    }
    EXPECT_EQ(reasons, (std::vector<std::string>{"breakpoint", "pause"}));
}

}  // namespace
}  // namespace tessaly::dap
