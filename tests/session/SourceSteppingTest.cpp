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
        session.controller().SetBudget({1000000});  // a step gone wrong ends, and fails below
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

namespace tessaly {
namespace {

// examples/c-debug built with --model-large --stack-auto: every local lives
// on the stack, in frames that SDCC's _bp addresses.
struct StackAutoProgram : ::testing::Test {
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    Session session{{}, messages, desktop, runs};

    void SetUp() override {
        const auto example = std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-debug";
        session.settings.Live().refreshType = 3;
        ASSERT_EQ(session.OpenFileCommand(example / "c-debug-large.ihx"), ProgramOpen::Opened);
        ASSERT_TRUE(session.LoadDebugInfo(example / "c-debug-large.cdb"));
        ASSERT_TRUE(session.source().FramePointer().has_value()) << "the map beside the .cdb names _bp";
        session.SetXramPaging(true);  // the start-up code copies xdata page by page
        session.controller().SetBudget({kInstructionLimit});  // a step gone wrong ends, and fails below
    }
    static constexpr std::uint64_t kInstructionLimit = 1000000;
    void RunTo(const std::string& place) {
        session.RunToCursor(std::get<std::uint16_t>(session.source().Resolve(place)));
    }
    // Each frame as "function:line name=value ...", innermost first.
    std::vector<std::string> Frames() {
        std::vector<std::string> frames;
        const Processor& p = session.processor();
        for (const auto& f : session.source().CallStack(p)) {
            std::string text = f.position.line ? f.position.function->name + ":" + std::to_string(f.position.line->line)
                                                : "?";
            if (f.interruptedBy >= 0) text += " (interrupt " + std::to_string(f.interruptedBy) + ")";
            if (f.position.line) {
                for (const auto& v : DescribeLocals(p, *session.source().Info(), f.pc, f.frame)) {
                    // Register variables of callers hold whatever their
                    // callees left there; only the stack keeps theirs.
                    const CSymbol* symbol = nullptr;
                    for (const CSymbol& s : session.source().Info()->Symbols()) {
                        if (s.name == v.name && s.function == f.position.function->name) symbol = &s;
                    }
                    if (symbol && symbol->onStack) text += " " + v.name + "=" + v.value;
                }
            }
            frames.push_back(text);
        }
        return frames;
    }
};

TEST_F(StackAutoProgram, EveryActivationOfARecursionShowsItsOwnLocals) {
    RunTo("c-debug.c:29");  // return 1, in the innermost call
    EXPECT_EQ(Frames(), (std::vector<std::string>{
                            "factorial:29 level=1 below=0",
                            "factorial:30 level=2 below=0",
                            "factorial:30 level=3 below=0",
                            "factorial:30 level=4 below=0",
                            "factorial:30 level=5 below=0",
                            "main:60 f=0",
                        }));
    // Out of the innermost call, through the rest of its caller's line.
    session.StepOut();
    EXPECT_EQ(Frames().front(), "factorial:31 level=2 below=1");
    session.StepOver();
    EXPECT_EQ(Frames().front(), "factorial:32 level=2 below=1") << "the closing brace";
    session.StepOver();
    EXPECT_EQ(Frames().front(), "factorial:31 level=3 below=2") << "back in the caller, its frame again";
}

TEST_F(StackAutoProgram, AnInterruptRoutineAndACallThroughAPointerAreFrames) {
    // The timer's first interrupt comes during the recursion.
    const std::uint16_t routine = std::get<std::uint16_t>(session.source().Resolve("timer0_isr"));
    session.breakPoints.Add(routine);
    session.controller().StartStop();
    std::vector<std::string> frames = Frames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], "timer0_isr:46");
    EXPECT_NE(frames[1].find("(interrupt 1)"), std::string::npos) << frames[1];
    EXPECT_EQ(frames.back(), "main:60 f=0");
    session.breakPoints.Delete(routine);

    RunTo("twice");
    frames = Frames();
    EXPECT_EQ(frames.front(), "twice:36");
    EXPECT_EQ(frames.back(), "main:61 f=120");
    session.StepOut();
    EXPECT_EQ(Frames().front().substr(0, 7), "main:62");
}

}  // namespace
}  // namespace tessaly
