#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Interrupts.h"
#include "core/SerialPort.h"
#include "support/RandomProgram.h"
#include "support/TestMachine.h"

// The engine keeps what it derives from SFRs (timer plan, interrupt scan and
// selection, baud rates) until an input changes. Here a second processor
// throws all of that away before every instruction, so it recomputes
// everything from scratch; run in lockstep over generated programs that keep
// rewriting the inputs, the two must never differ in anything observable.
namespace tessaly {
namespace {

using test::BitAddress;
using test::kCrystals;
using test::kTargets;
using test::Random;
using test::ValueFor;

void LoadProgram(Random& r, Processor& a, Processor& b) {
    const std::vector<std::uint8_t> image = test::RandomProgramImage(r);
    for (Processor* p : {&a, &b}) std::copy(image.begin(), image.end(), p->ucCodeMemory.begin());
}

// Does the same to both processors.
template <class Action>
void Both(Processor& a, Processor& b, Action&& action) {
    action(a);
    action(b);
}

// A starting configuration: random control registers, biased toward working
// clocks, often the classic timer 1 set-up.
void Configure(Random& r, Processor& a, Processor& b) {
    const double crystal = r.Pick(kCrystals);
    std::vector<std::pair<std::uint8_t, std::uint8_t>> writes = {{sfr::SP, 0x60}};
    for (std::uint8_t address = 0x30; address < 0x80; ++address) writes.emplace_back(address, r.Byte());
    for (std::uint8_t target : kTargets) writes.emplace_back(target, ValueFor(r, target));
    if (r.Percent(40)) {
        writes.insert(writes.end(), {{sfr::TMOD, 0x21}, {sfr::TH1, 0xFD}, {sfr::TCON, 0x50}, {sfr::SCON, 0x50}});
    }
    Both(a, b, [&](Processor& p) {
        p.SetCrystalFrequency(crystal);
        for (const auto& [address, value] : writes) p.WriteDirect(address, value);
    });
}

// What a user or a loaded snapshot may do between two instructions.
void LibraryWrite(Random& r, Processor& a, Processor& b) {
    const std::uint8_t target = r.Pick(kTargets);
    const std::uint8_t value = ValueFor(r, target);
    const std::uint8_t bitAddress = BitAddress(r);
    const double crystal = r.Pick(kCrystals);
    const auto button = static_cast<InterruptButton>(r.Below(8));
    switch (r.Below(9)) {
    case 0:
    case 1: Both(a, b, [&](Processor& p) { p.WriteDirect(target, value); }); break;
    case 2: Both(a, b, [&](Processor& p) { p.WriteBit(bitAddress, value & 1); }); break;
    case 3: Both(a, b, [&](Processor& p) { p.SetCrystalFrequency(crystal); }); break;
    case 4:
        if (value < 0x20) Both(a, b, [](Processor& p) { p.LoadPowerOnResetValues(); });
        break;
    case 5: Both(a, b, [&](Processor& p) { p.InitializeBitMemory(value & 1); }); break;
    case 6: Both(a, b, [&](Processor& p) { TransmitByte(p, value); }); break;
    case 7:
        // The snapshot reader's way: bytes written behind the engine's back.
        Both(a, b, [&](Processor& p) {
            p.ucIntRAM[target] = value;
            p.InvalidateDerivedState();
        });
        break;
    default:
        Both(a, b, [&](Processor& p) {
            test::MessageRecorder host;  // answers Yes
            ForceInterrupt(p, button, host);
        });
        break;
    }
}

// The first observable difference, or "" when there is none. The message
// lists are compared by count and last line here, in full at the end.
std::string FirstDifference(const Processor& a, const Processor& b) {
    for (std::size_t k = 0; k < Processor::kIntRAMSize; ++k) {
        if (a.ucIntRAM[k] != b.ucIntRAM[k]) {
            return "ucIntRAM[" + std::to_string(k) + "]: " + std::to_string(a.ucIntRAM[k]) + " vs " +
                   std::to_string(b.ucIntRAM[k]);
        }
    }
#define SAME(field)                                                                                        \
    if (a.field != b.field) return #field ": " + std::to_string(a.field) + " vs " + std::to_string(b.field);
    SAME(usPC)
    SAME(ullInstructionsExecuted)
    SAME(ullCyclesExecuted)
    SAME(ullBytesExecuted)
    SAME(iTxBaudRate)
    SAME(iRxBaudRate)
    SAME(iTxFrameTime)
    SAME(iRxFrameTime)
    SAME(bTxInProgress)
    SAME(iTxCyclesLeft)
    SAME(iTxLogPos)
    SAME(iRxLogPos)
    SAME(ucInterruptFlags)
    SAME(iInterruptToService)
    SAME(lstWarnings.Count())
    SAME(lstErrors.Count())
#undef SAME
    if (!(a.lstInterruptsInProgress == b.lstInterruptsInProgress)) return "lstInterruptsInProgress";
    if (!a.lstWarnings.Empty() && a.lstWarnings.Last() != b.lstWarnings.Last()) return "last warning";
    if (!a.lstErrors.Empty() && a.lstErrors.Last() != b.lstErrors.Last()) return "last error";
    return "";
}

std::string WholeDifference(const Processor& a, const Processor& b) {
    if (!(a.lstWarnings == b.lstWarnings)) return "lstWarnings";
    if (!(a.lstErrors == b.lstErrors)) return "lstErrors";
    if (a.ucTxLog != b.ucTxLog) return "ucTxLog";
    if (a.ucRxLog != b.ucRxLog) return "ucRxLog";
    return FirstDifference(a, b);
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
        Configure(r, *cached, *recomputed);
        for (unsigned step = 0; step < kInstructions; ++step) {
            if (r.Percent(3)) LibraryWrite(r, *cached, *recomputed);
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
