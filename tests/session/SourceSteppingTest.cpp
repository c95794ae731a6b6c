#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "control/CVariables.h"
#include "session/Session.h"
#include "support/DesktopRecorder.h"
#include "support/RunRecorder.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

// examples/c-printf stepped by C line in a session without configuration
// files, as the runner and the debug adapter drive it.
struct SourceStepping : ::testing::Test {
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    Session session{{}, messages, desktop, runs};
    const std::filesystem::path example = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-printf";

    void SetUp() override {
        session.settings.Live().refreshType = 3;
        ASSERT_EQ(session.OpenFileCommand(example / "c-printf.ihx"), ProgramOpen::Opened);
        ASSERT_TRUE(session.ImportLabels({example / "c-printf.cdb"}));
        session.SetHardwareSerial(true);  // putchar waits for TI after writing SBUF
    }
    std::uint16_t Resolve(const std::string& place) {
        const auto at = session.source().Resolve(place);
        EXPECT_TRUE(std::holds_alternative<std::uint16_t>(at)) << place;
        return std::holds_alternative<std::uint16_t>(at) ? std::get<std::uint16_t>(at) : 0;
    }
    void RunTo(const std::string& place) { session.RunToCursor(Resolve(place)); }
    // "function:line" of each frame, innermost first; "?" without source.
    std::vector<std::string> Stack() {
        std::vector<std::string> frames;
        for (const auto& f : session.source().CallStack(session.processor())) {
            frames.push_back(f.position.line ? f.position.function->name + ":" + std::to_string(f.position.line->line)
                                             : "?");
        }
        return frames;
    }
    int Line() { return Stack().front() == "?" ? 0 : std::stoi(Stack().front().substr(Stack().front().find(':') + 1)); }
    std::map<std::string, std::string> Locals() {
        std::map<std::string, std::string> values;
        const Processor& p = session.processor();
        const auto stack = session.source().CallStack(p);
        for (const auto& v : DescribeLocals(p, *session.source().Info(), p.usPC, stack.front().frame)) {
            values[v.name] = v.value;
        }
        return values;
    }
};

TEST_F(SourceStepping, StepOverWalksMainLineByLineAndThroughTheLoop) {
    RunTo("main");
    EXPECT_EQ(Stack(), std::vector<std::string>{"main:40"});
    std::vector<int> lines;
    for (int i = 0; i < 11; ++i) {
        session.StepOver();
        EXPECT_EQ(session.controller().LastStop(), StopReason::StepEnd);
        lines.push_back(Line());
    }
    // The for line comes back after each pass; printf's calls run through.
    EXPECT_EQ(lines, (std::vector<int>{41, 43, 44, 45, 46, 47, 49, 48, 50, 51, 45}));
    // At the loop's increment the body's block, and its `next`, is left.
    EXPECT_EQ(Locals(), (std::map<std::string, std::string>{{"n", "1"}, {"factorial", "1"}, {"a", "1"}, {"b", "1"}}));
    EXPECT_EQ(session.processor().ucTxLog[0], 'T') << "the first printf ran in full";
}

TEST_F(SourceStepping, StepIntoEntersACalleeWithSourceThroughLibraryCodeAndStepOutComesBack) {
    RunTo("c-printf.c:44");
    session.StepInto();
    // printf has no source: the step runs on into the putchar it calls,
    // past putchar's prologue.
    const std::vector<std::string> stack = Stack();
    ASSERT_GE(stack.size(), 3u);
    EXPECT_EQ(stack.front(), "putchar:21");
    EXPECT_EQ(stack.back(), "main:44");
    EXPECT_EQ(stack[1], "?");

    session.StepOut();
    // Out of putchar, through the rest of printf, to main's next line.
    EXPECT_EQ(Stack(), std::vector<std::string>{"main:45"});
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(session.processor().ucTxLog.data()), 20),
              "Tessaly C example: f");
}

TEST_F(SourceStepping, BreakPointsStopStepsAndPlacesWithoutCodeMoveOn) {
    RunTo("c-printf.c:44");
    session.breakPoints.Add(Resolve("putchar"));
    session.StepOver();
    EXPECT_EQ(session.controller().LastStop(), StopReason::BreakPoint);
    EXPECT_EQ(Stack().front(), "putchar:21");

    // Line 42 is blank: a break there goes to line 43's code.
    EXPECT_EQ(Resolve("c-printf.c:42"), Resolve("c-printf.c:43"));
    EXPECT_EQ(std::get<std::string>(session.source().Resolve("c-printf.c:57")),
              "No code at or after line 57 of c-printf.c");
    EXPECT_EQ(std::get<std::string>(session.source().Resolve("nowhere")), "No function named 'nowhere'");
}

TEST_F(SourceStepping, WithoutSourceAStepIsOneInstruction) {
    ASSERT_EQ(session.processor().usPC, 0x0000);  // the start-up code has no C line
    session.StepOver();
    EXPECT_EQ(session.processor().ullInstructionsExecuted, 1u);
    EXPECT_EQ(Stack(), std::vector<std::string>{"?"});
}

}  // namespace
}  // namespace tessaly
