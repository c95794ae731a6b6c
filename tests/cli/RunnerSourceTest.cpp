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

}  // namespace
}  // namespace tessaly::cli
