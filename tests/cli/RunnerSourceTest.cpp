#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Runner.h"

namespace tessaly::cli {
namespace {

struct Outcome {
    int status;
    nlohmann::json state;
    std::string err;
};

Outcome Invoke(std::vector<std::string> arguments) {
    const std::string example = std::string(TESSALY_SOURCE_DIR) + "/examples/c-printf/c-printf.ihx";
    arguments.insert(arguments.begin(), {"--hardware-serial", "--state", "-"});
    arguments.push_back(example);
    std::ostringstream out, err;
    const int status = RunTessaly(arguments, out, err);
    return {status, out.str().empty() ? nlohmann::json() : nlohmann::json::parse(out.str()), err.str()};
}

// The .cdb beside the program gives the state its C view.
TEST(RunnerSource, BreakOnALineThenStepLinesReportsSourceStackAndLocals) {
    const Outcome run = Invoke({"--break", "c-printf.c:50", "--step-line", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.state["stop"], "step");
    EXPECT_EQ(run.state["source"], (nlohmann::json{{"function", "main"}, {"file", "c-printf.c"}, {"line", 45}}));
    EXPECT_EQ(run.state["stack"].size(), 1u);
    const nlohmann::json expected = nlohmann::json::array({
        {{"name", "n"}, {"type", "unsigned char"}, {"value", "1"}},
        {{"name", "factorial"}, {"type", "unsigned long"}, {"value", "1"}},
        {{"name", "a"}, {"type", "unsigned int"}, {"value", "1"}},
        {{"name", "b"}, {"type", "unsigned int"}, {"value", "1"}},
    });
    EXPECT_EQ(run.state["locals"], expected);

    // At putchar, inside printf: frames without source keep their places.
    const Outcome inner = Invoke({"--break", "putchar"});
    EXPECT_EQ(inner.state["stop"], "break");
    EXPECT_EQ(inner.state["stack"].front()["function"], "putchar");
    EXPECT_TRUE(inner.state["stack"][1]["function"].is_null());
    EXPECT_EQ(inner.state["stack"].back()["line"], 44);
}

TEST(RunnerSource, PlacesThatNameNoCodeExitWith2AndSayWhy) {
    EXPECT_EQ(Invoke({"--break", "c-printf.c:99"}).err,
              "tessaly-run: --break c-printf.c:99: No code at or after line 99 of c-printf.c\n");
    EXPECT_EQ(Invoke({"--break", "missing"}).err, "tessaly-run: --break missing: No function named 'missing'\n");
    EXPECT_EQ(Invoke({"--break", "other.c:x"}).status, 2);
}

// Who changes `ticks`? The timer interrupt routine, after 749 instructions.
TEST(RunnerSource, WatchOnACVariableNamesTheStopTheValuesAndTheWriter) {
    const std::string cDebug = std::string(TESSALY_SOURCE_DIR) + "/examples/c-debug/c-debug.ihx";
    std::ostringstream out, err;
    const int status = RunTessaly({"--watch-change", "ticks", "--state", "-", cDebug}, out, err);
    ASSERT_EQ(status, 0) << err.str();
    const auto state = nlohmann::json::parse(out.str());
    EXPECT_EQ(state["stop"], "watch");
    EXPECT_EQ(state["watch"], (nlohmann::json{{"location", "ticks"}, {"access", "change"}, {"old", "0000"},
                                              {"new", "0001"}, {"pc", "00ED"}}));
    EXPECT_EQ(state["source"]["function"], "timer0_isr");
    EXPECT_EQ(state["instructions"], 749);

    std::ostringstream none, why;
    EXPECT_EQ(RunTessaly({"--watch-read", "nothing", cDebug}, none, why), 2);
    EXPECT_EQ(why.str(), "tessaly-run: --watch-read nothing: No variable named 'nothing'\n");
}

// The recursion 5, 4, 3, 2, 1: a counted break point and a conditional one
// stop in the same activation, its parameter read in each call's own frame.
TEST(RunnerSource, CountedAndConditionalBreakPointsStopInTheRightActivation) {
    const std::string cDebug = std::string(TESSALY_SOURCE_DIR) + "/examples/c-debug/c-debug.ihx";
    for (const auto& extra : std::vector<std::vector<std::string>>{{"--hits", "4"}, {"--if", "n == 2"}}) {
        std::vector<std::string> arguments = {"--break", "factorial"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        arguments.insert(arguments.end(), {"--state", "-", cDebug});
        std::ostringstream out, err;
        ASSERT_EQ(RunTessaly(arguments, out, err), 0) << err.str();
        const auto state = nlohmann::json::parse(out.str());
        EXPECT_EQ(state["stop"], "break");
        EXPECT_EQ(state["locals"][0], (nlohmann::json{{"name", "n"}, {"type", "unsigned char"}, {"value", "2"}}));
        EXPECT_EQ(state["stack"].size(), 5u) << extra[0];
    }
    std::ostringstream out, why;
    EXPECT_EQ(RunTessaly({"--if", "n == 2", cDebug}, out, why), 2);
    EXPECT_EQ(why.str().substr(0, 69), "tessaly-run: --if belongs to the --break before it, and there is none");
}

// Going back after the run: to the previous activation's hit, to the last
// writer of a variable, and no further than history reaches.
TEST(RunnerSource, GoingBackFindsThePreviousHitTheLastWriterAndTheHistoryStart) {
    const std::string cDebug = std::string(TESSALY_SOURCE_DIR) + "/examples/c-debug/c-debug.ihx";
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--state", "-", cDebug});
        std::ostringstream out, err;
        const int status = RunTessaly(arguments, out, err);
        EXPECT_EQ(status, 0) << err.str();
        return status == 0 ? nlohmann::json::parse(out.str()) : nlohmann::json();
    };
    const auto previous = run({"--break", "factorial", "--hits", "4", "--reverse-continue"});
    EXPECT_EQ(previous["stop"], "break");
    EXPECT_EQ(previous["instructions"], 618);
    EXPECT_EQ(previous["locals"][0]["value"], "3");
    EXPECT_EQ(previous["stack"].size(), 4u);

    // ticks++ writes the low byte, then the high byte with the value it had.
    const auto writer = run({"--max-instructions", "5000", "--last-write", "ticks"});
    EXPECT_EQ(writer["stop"], "watch");
    EXPECT_EQ(writer["watch"], (nlohmann::json{{"location", "ticks"}, {"access", "write"}, {"old", "0004"},
                                               {"new", "0004"}, {"pc", "00F1"}}));
    EXPECT_EQ(writer["instructions"], 1210);
    EXPECT_EQ(writer["source"]["function"], "timer0_isr");

    const auto start = run({"--max-instructions", "1000", "--step-back", "2000"});
    EXPECT_EQ(start["stop"], "history-start");
    EXPECT_EQ(start["instructions"], 0);
    EXPECT_EQ(start["pc"], "0000");
    const auto unrecorded = run({"--history-mb", "0", "--max-instructions", "1000", "--step-back", "1"});
    EXPECT_EQ(unrecorded["stop"], "history-start");
    EXPECT_EQ(unrecorded["instructions"], 1000);
}

}  // namespace
}  // namespace tessaly::cli
