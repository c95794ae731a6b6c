#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Interrupts.h"
#include "core/SerialPort.h"
#include "support/Lockstep.h"
#include "support/RandomProgram.h"
#include "support/TestMachine.h"

// The engine keeps what it derives from SFRs (timer plan, interrupt scan and
// selection, baud rates) until an input changes. Here a second processor
// throws all of that away before every instruction, so it recomputes
// everything from scratch; run in lockstep over generated programs that keep
// rewriting the inputs, the two must never differ in anything observable.
namespace tessaly {
namespace {

using test::Random;

using test::FirstDifference;
using test::WholeDifference;

void LoadProgram(Random& r, Processor& a, Processor& b) {
    const std::vector<std::uint8_t> image = test::RandomProgramImage(r);
    for (Processor* p : {&a, &b}) std::copy(image.begin(), image.end(), p->ucCodeMemory.begin());
}

TEST(DerivedStateLockstep, CachedAndRecomputedEnginesNeverDiffer) {
    constexpr unsigned kPrograms = 240;
    constexpr unsigned kInstructions = 2500;
    Random r(0x7E55A1Full);
    unsigned transmissionsCompleted = 0, interruptsEntered = 0;
    for (unsigned program = 0; program < kPrograms; ++program) {
        auto cached = test::NewProcessor();
        auto recomputed = test::NewProcessor();
        const bool wired = program % 2 == 1;
        cached->SetHardwareSerial(wired);
        recomputed->SetHardwareSerial(wired);
        LoadProgram(r, *cached, *recomputed);
        test::Configure(r, *cached, *recomputed);
        for (unsigned step = 0; step < kInstructions; ++step) {
            if (r.Percent(3)) test::LibraryWrite(r, *cached, *recomputed);
            const std::uint16_t pc = cached->usPC;
            const std::size_t inService = cached->lstInterruptsInProgress.Count();
            const bool sending = cached->bTxInProgress;
            recomputed->InvalidateDerivedState();
            recomputed->ExecuteInstructions(1);
            cached->ExecuteInstructions(1);
            ASSERT_EQ(FirstDifference(*cached, *recomputed), "")
                << "program " << program << " (hardware serial " << wired << "), instruction " << step
                << " at " << std::hex << pc;
            transmissionsCompleted += sending && !cached->bTxInProgress;
            interruptsEntered += cached->lstInterruptsInProgress.Count() > inService;
        }
        ASSERT_EQ(WholeDifference(*cached, *recomputed), "") << "program " << program;
    }
    // The programs did exercise what the caches feed.
    EXPECT_GT(transmissionsCompleted, 2000u);
    EXPECT_GT(interruptsEntered, 10000u);
}

}  // namespace
}  // namespace tessaly
