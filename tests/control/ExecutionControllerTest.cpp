#include <gtest/gtest.h>

#include <memory>

#include "analysis/Workspace.h"
#include "control/ExecutionController.h"
#include "support/RunRecorder.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::RunRecorder;
using Strings = std::vector<std::string>;

// A program of NOPs (code memory is all 00 after a reset), so every
// instruction takes one cycle and moves the PC by one.
struct ControllerTest : ::testing::Test {
    std::unique_ptr<Processor> p = test::NewProcessor();
    Workspace workspace;
    BreakPoints breakPoints;
    SimulationSettings settings;
    RunRecorder host;
    ExecutionController controller{*p, workspace, breakPoints, settings, host};
};

TEST_F(ControllerTest, NestedStartStopEndsTheRunAfterItsTick) {
    settings.refreshType = 3;
    settings.instructionsPerTick = 10;
    host.onPump = [&](int pump) {
        if (pump == 2) controller.StartStop();
    };
    controller.StartStop();
    EXPECT_FALSE(controller.IsExecuting());
    EXPECT_EQ(p->ullInstructionsExecuted, 20u);
    // The nested call and then the outer loop each say the run stopped.
    EXPECT_EQ(host.Only("status0"),
              (Strings{"status0 Execution in Progress", "status0 Execution Stopped", "status0 Execution Stopped"}));
    EXPECT_EQ(host.Only("glyph"), (Strings{"glyph run", "glyph stop", "glyph stop"}));
    EXPECT_EQ(host.refreshes, 0);  // refresh type 3 leaves the views as they were
}

TEST_F(ControllerTest, BreakPointAddedDuringARunStopsItAndTheNextRunExecutesIt) {
    settings.refreshType = 3;
    settings.instructionsPerTick = 1;
    host.onPump = [&](int pump) {
        if (pump == 3) breakPoints.Add(0x0008);
        if (pump == 50) controller.StartStop();  // a safety net: the test fails, it does not hang
    };
    controller.StartStop();
    EXPECT_EQ(p->usPC, 0x0008);
    EXPECT_EQ(p->ullInstructionsExecuted, 8u);
    EXPECT_EQ(host.panels[1], "Break Point encountered");
    EXPECT_EQ(controller.LastStop(), StopReason::BreakPoint);
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);

    // Starting at the break point runs its instruction and goes on.
    host.onPump = [&](int) { controller.StartStop(); };
    controller.StartStop();
    EXPECT_EQ(p->usPC, 0x0009);
    EXPECT_EQ(p->bSkipBreakPointOnce, 0);
}

TEST_F(ControllerTest, StartingOnABreakPointStopsWithoutExecuting) {
    breakPoints.Add(0x0000);
    for (int refreshType : {1, 2, 3}) {
        settings.refreshType = refreshType;
        p->bSkipBreakPointOnce = 0;
        controller.StartStop();
        EXPECT_EQ(p->ullInstructionsExecuted, 0u) << refreshType;
        EXPECT_EQ(p->bSkipBreakPointOnce, 1) << refreshType;
    }
    // A single step runs it and leaves the skip flag as it was.
    controller.SingleStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 1u);
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);
}

TEST_F(ControllerTest, BulkStepRunsItsCountAndRefreshesAsTheRefreshTypeSays) {
    settings.bulkStepCount = 37;
    settings.instructionsPerTick = 5;  // ticks are the free run's, not the bulk step's
    struct Case {
        int refreshType;
        int refreshes;
        int pumps;
    };
    for (const Case& c : {Case{1, 37, 38}, Case{2, 1, 1}, Case{3, 0, 1}}) {
        p->FullReset();
        host = RunRecorder{};
        settings.refreshType = c.refreshType;
        controller.BulkStep();
        EXPECT_EQ(p->ullInstructionsExecuted, 37u) << c.refreshType;
        EXPECT_EQ(host.refreshes, c.refreshes) << c.refreshType;
        EXPECT_EQ(host.pumps, c.pumps) << c.refreshType;
        EXPECT_EQ(host.Only("start"), (Strings{"start off", "start on"}));
        EXPECT_EQ(host.panels[0], "Debugging Stopped");
    }
}

TEST_F(ControllerTest, StopDebuggingEndsABulkStepOnlyWhenThePumpRunsBetweenInstructions) {
    settings.bulkStepCount = 100;
    host.onPump = [&](int pump) {
        if (pump == 4) controller.StopDebugging();
    };
    settings.refreshType = 1;
    controller.BulkStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 4u);

    settings.refreshType = 2;
    host.pumps = 0;
    controller.BulkStep();  // the flag is cleared when the step begins
    EXPECT_EQ(p->ullInstructionsExecuted, 104u);
}

TEST_F(ControllerTest, LongStepsAndTicksAtEngineSpeedStillHandleInputAndStop) {
    // Input is handled between slices of 65536 instructions, and Stop,
    // Start/Stop or Stop Debugging chosen there end the loop after the slice.
    settings.refreshType = 3;
    settings.bulkStepCount = 1000000000;
    host.onPump = [&](int pump) {
        if (pump == 2) controller.StopDebugging();
    };
    controller.BulkStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 2u * 65536);
    EXPECT_EQ(host.panels[0], "Debugging Stopped");

    settings.refreshType = 2;
    settings.instructionsPerTick = 1000000000;
    host.pumps = 0;
    host.onPump = [&](int pump) {
        if (pump == 1) controller.StartStop();
    };
    controller.StartStop();
    EXPECT_EQ(p->ullInstructionsExecuted, 3u * 65536);

    // 1000 s at 999 MHz: 83 billion cycles.
    settings.crystalFrequency = 999000000.0;
    settings.stepTimeInUSec = 1000000000;
    host.pumps = 0;
    host.onPump = [&](int pump) {
        if (pump == 1) controller.StopDebugging();
    };
    controller.TimeBaseStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 4u * 65536);
}

TEST_F(ControllerTest, CloseFileOrResetEndsAStepWithoutAWordAndStartStopFollowsTheLastStep) {
    settings.refreshType = 3;
    settings.speedDelay = 50;  // 182 ms per instruction, waited in slices
    settings.bulkStepCount = 10;
    host.onPump = [&](int pump) {
        if (pump == 2) controller.CloseFile();
    };
    controller.BulkStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 1u);
    EXPECT_EQ(host.Only("status0"), (Strings{"status0 Debugging in Progress"}));
    EXPECT_EQ(host.Only("start"), (Strings{"start off", "start on"}));

    host = RunRecorder{};
    settings.stepTimeInUSec = 1000;
    host.onPump = [&](int pump) {
        if (pump == 2) controller.ResetExecution();
    };
    controller.TimeBaseStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 0u);  // reset after its first instruction
    EXPECT_EQ(host.Only("status0"), (Strings{"status0 Debugging in Progress", "status0 Ready"}));

    // A single step nested in a bulk step leaves Start/Stop disabled until
    // the bulk step ends.
    host = RunRecorder{};
    settings.speedDelay = 0;
    settings.refreshType = 1;
    host.onPump = [&](int pump) {
        if (pump == 1) controller.SingleStep();
    };
    controller.BulkStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 11u);
    EXPECT_EQ(host.Only("start"), (Strings{"start off", "start on"}));
}

TEST_F(ControllerTest, ABudgetEndsAFreeRunUnlessAStopIsDueAtItsEnd) {
    settings.refreshType = 3;
    settings.instructionsPerTick = 1000;
    controller.SetBudget({5, UINT64_MAX});
    controller.StartStop();
    EXPECT_EQ(p->ullInstructionsExecuted, 5u);
    EXPECT_EQ(controller.LastStop(), StopReason::InstructionBudget);
    EXPECT_EQ(controller.State(), RunState::Stopped);

    // The budget runs out at a break point: the break point is the reason.
    breakPoints.Add(0x000A);
    controller.SetBudget({10, UINT64_MAX});
    controller.StartStop();
    EXPECT_EQ(p->usPC, 0x000A);
    EXPECT_EQ(controller.LastStop(), StopReason::BreakPoint);
    EXPECT_EQ(p->bSkipBreakPointOnce, 1);

    LoadCode(*p, 0x000A, {0xA4});  // MUL AB: four cycles, past a cycle budget of three
    controller.SetBudget({UINT64_MAX, p->ullCyclesExecuted + 3});
    controller.StartStop();
    EXPECT_EQ(p->ullCyclesExecuted, 14u);
    EXPECT_EQ(controller.LastStop(), StopReason::CycleBudget);
}

TEST_F(ControllerTest, TimeBaseStepRunsUntilItsCyclesHavePassed) {
    LoadCode(*p, 0, {0xA4, 0x00, 0x00});  // MUL AB (4 cycles), then NOPs
    settings.stepTimeInUSec = 10;
    settings.crystalFrequency = 12000000.0;  // 10 cycles
    settings.refreshType = 3;
    controller.TimeBaseStep();
    EXPECT_EQ(p->ullCyclesExecuted, 10u);
    EXPECT_EQ(p->ullInstructionsExecuted, 7u);

    // 1 us at 4 MHz is a third of a cycle: nothing runs.
    settings.stepTimeInUSec = 1;
    settings.crystalFrequency = 4000000.0;
    controller.TimeBaseStep();
    EXPECT_EQ(p->ullInstructionsExecuted, 7u);
    EXPECT_EQ(TimeBaseCycles(1000, 11059200.0), 921u);
}

TEST_F(ControllerTest, SkipMovesPastTheInstructionWithoutRunningIt) {
    LoadCode(*p, 0xFFFF, {0x12});  // LCALL, its operands in the guard bytes
    p->usPC = 0xFFFF;
    controller.SkipInstruction();
    EXPECT_EQ(p->usPC, 0x0002);
    EXPECT_EQ(p->ullInstructionsExecuted, 0u);
    EXPECT_EQ(p->ReadDirect(sfr::SP), 0x07);
    EXPECT_EQ(host.panels[0], "Instruction Skipped");
}

TEST_F(ControllerTest, ResetDuringAFreeRunKeepsTheProgramAndTheRunGoesOn) {
    LoadCode(*p, 0, {0x05, 0x30, 0x80, 0xFC});  // INC 30h; SJMP back
    p->iProgramSize = 4;
    settings.refreshType = 3;
    settings.instructionsPerTick = 4;
    host.onPump = [&](int pump) {
        if (pump == 3) controller.ResetExecution();
        if (pump == 4) controller.StartStop();
    };
    controller.StartStop();
    EXPECT_EQ(p->ullInstructionsExecuted, 4u);  // one tick after the reset
    EXPECT_EQ(p->ReadDirect(0x30), 2);
    EXPECT_EQ(p->iProgramSize, 4);
    EXPECT_EQ(p->ucCodeMemory[2], 0x80);
    EXPECT_EQ(host.Only("xram").size(), 1u);
    EXPECT_NE(std::find(host.log.begin(), host.log.end(), "status0 Ready"), host.log.end());
}

TEST_F(ControllerTest, PacingSleepsPerInstructionAndALongWaitEndsWhenStopped) {
    EXPECT_EQ(PacingDelayMilliseconds(0), 0u);
    EXPECT_EQ(PacingDelayMilliseconds(1), 1u);
    EXPECT_EQ(PacingDelayMilliseconds(30), 22u);
    EXPECT_EQ(PacingDelayMilliseconds(99), 30145u);

    settings.refreshType = 3;
    settings.speedDelay = 30;
    settings.bulkStepCount = 3;
    controller.BulkStep();
    EXPECT_EQ(host.sleeps, (std::vector<std::uint32_t>{22, 22, 22}));

    // Half a minute per instruction is waited in slices with input handled
    // between them; Stop ends the wait.
    host.sleeps.clear();
    host.pumps = 0;
    settings.speedDelay = 99;
    host.onPump = [&](int pump) {
        if (pump == 3) controller.StartStop();
    };
    controller.StartStop();
    EXPECT_EQ(p->ullInstructionsExecuted, 4u);
    EXPECT_EQ(host.sleeps, (std::vector<std::uint32_t>{50, 50, 50}));
}

TEST_F(ControllerTest, StatusPanelsNameTheInnermostInterruptAndCountErrors) {
    EXPECT_EQ(ExecutionController::InterruptsPanelText(*p), "Interrupt(s) in progress = 0");
    p->lstInterruptsInProgress.Append("1");
    p->lstInterruptsInProgress.Append("4");
    EXPECT_EQ(ExecutionController::InterruptsPanelText(*p), "Interrupt(s) in progress = 2 Active = ES");
    p->lstInterruptsInProgress.Append("9");
    EXPECT_EQ(ExecutionController::InterruptsPanelText(*p), "Interrupt(s) in progress = 3 Active = ");
    p->lstErrors.Append("x");
    controller.RefreshViews();
    EXPECT_EQ(host.panels[1], "Warnings = 0    Errors = 1");
}

}  // namespace
}  // namespace tessaly
