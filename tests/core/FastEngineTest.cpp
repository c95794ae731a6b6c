#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/AddressSet.h"
#include "core/DataWatch.h"
#include "support/Lockstep.h"
#include "support/RandomProgram.h"
#include "support/TestMachine.h"

// Batches of instructions run on the fast engine, which defers the timers'
// counting and the history's bookkeeping, and on the plain one, which does
// everything after every instruction. Over generated programs that use every
// peripheral, every kind of instruction and every way of reaching the
// timers' registers, batches of every length must leave the same state.
namespace tessaly {
namespace {

using test::Random;

std::string EventsText(const DataWatch& watch) {
    std::string text = std::to_string(watch.EventPc()) + ":";
    for (const WatchEvent& e : watch.Events()) {
        text += " " + std::to_string(static_cast<int>(e.space)) + "/" + std::to_string(e.address) + "/" +
                std::to_string(e.mask) + "/" + std::to_string(e.access) + "/" + std::to_string(e.before);
    }
    return text;
}

TEST(FastEngine, BatchesLeaveWhatThePlainEngineLeaves) {
    constexpr unsigned kPrograms = 200;
    constexpr unsigned kBatches = 120;
    Random r(0xFA57E9ull);
    std::uint64_t instructions = 0, interruptsEntered = 0, stopsAtAddresses = 0, watchEvents = 0;
    for (unsigned program = 0; program < kPrograms; ++program) {
        auto fast = test::NewProcessor();
        auto plain = test::NewProcessor();
        plain->UsePlainEngine(true);
        const bool wired = program % 3 == 1, paged = program % 4 == 2;
        test::Both(*fast, *plain, [&](Processor& p) {
            p.SetHardwareSerial(wired);
            p.SetXramPaging(paged);
        });
        // Every other program runs with data break points on a few places,
        // now and then on a timer's counting register.
        DataWatch fastWatch, plainWatch;
        if (program % 2 == 0) {
            for (unsigned k = 1 + r.Below(3); k > 0; --k) {
                const std::uint16_t index = r.Percent(25) ? r.Pick({sfr::TL0, sfr::TH1, sfr::TL2, sfr::TCON, sfr::PSW})
                                                          : static_cast<std::uint16_t>(0x30 + r.Below(0x50));
                const std::uint8_t mask = r.Percent(50) ? 0xFF : static_cast<std::uint8_t>(1u << r.Below(8));
                const auto access = static_cast<std::uint8_t>(1 + r.Below(3));
                for (DataWatch* w : {&fastWatch, &plainWatch}) w->WatchInternal(index, mask, access);
            }
            if (r.Percent(50)) {
                const auto first = static_cast<std::uint16_t>(r.Below(0x200));
                for (DataWatch* w : {&fastWatch, &plainWatch}) {
                    w->WatchRange(WatchSpace::External, first, static_cast<std::uint16_t>(first + 15), kWatchWrite);
                }
            }
        }
        const std::vector<std::uint8_t> image = test::RandomProgramImage(r, true);
        test::Both(*fast, *plain, [&](Processor& p) { std::copy(image.begin(), image.end(), p.ucCodeMemory.begin()); });
        test::Configure(r, *fast, *plain);
        if (program % 2 == 0) {
            fastWatch.Arm(*fast);
            plainWatch.Arm(*plain);
            fast->SetDataWatch(&fastWatch);
            plain->SetDataWatch(&plainWatch);
        }
        // A few break points in the main loop and the interrupt routines.
        AddressSet stops;
        for (unsigned k = r.Below(3); k > 0; --k) stops.Insert(static_cast<std::uint16_t>(0x100 + r.Below(0x60)));
        if (r.Percent(30)) stops.Insert(static_cast<std::uint16_t>(0x800 + 0x40 * r.Below(6)));
        for (unsigned batch = 0; batch < kBatches; ++batch) {
            if (r.Percent(20)) test::LibraryWrite(r, *fast, *plain);
            if (r.Percent(5)) {
                // An edit of A or PSW that leaves P out of step until the next instruction.
                const std::uint8_t address = r.Percent(50) ? sfr::ACC : sfr::PSW, value = r.Byte();
                test::Both(*fast, *plain, [&](Processor& p) { p.WriteDirect(address, value); });
            }
            // Mostly short batches, so that many instruction boundaries end
            // one; some long ones that cross many timer events.
            const auto count = static_cast<std::uint32_t>(r.Percent(70) ? 2 + r.Below(40) : 2 + r.Below(3000));
            const std::uint64_t cycleEnd = r.Percent(20) ? fast->ullCyclesExecuted + r.Below(500) : ~std::uint64_t{0};
            const std::size_t inService = fast->lstInterruptsInProgress.Count();
            const std::uint32_t doneFast = fast->ExecuteUntil(count, stops, cycleEnd);
            const std::uint32_t donePlain = plain->ExecuteUntil(count, stops, cycleEnd);
            ASSERT_EQ(doneFast, donePlain) << "program " << program << ", batch " << batch;
            ASSERT_EQ(test::FirstDifference(*fast, *plain), "") << "program " << program << ", batch " << batch;
            ASSERT_EQ(EventsText(fastWatch), EventsText(plainWatch)) << "program " << program << ", batch " << batch;
            watchEvents += fastWatch.Events().size();
            fastWatch.ClearEvents();
            plainWatch.ClearEvents();
            instructions += doneFast;
            interruptsEntered += fast->lstInterruptsInProgress.Count() > inService;
            stopsAtAddresses += doneFast < count && stops.Contains(fast->usPC);
            // Step over a break point as a debugger does.
            if (stops.Contains(fast->usPC)) test::Both(*fast, *plain, [](Processor& p) { p.ExecuteInstructions(1); });
        }
        ASSERT_EQ(test::WholeDifference(*fast, *plain), "") << "program " << program;
    }
    // The programs did exercise what the fast engine defers.
    EXPECT_GT(instructions, 5000000u);
    EXPECT_GT(interruptsEntered, 1000u);
    EXPECT_GT(stopsAtAddresses, 500u);
    EXPECT_GT(watchEvents, 2000u);
}

}  // namespace
}  // namespace tessaly
