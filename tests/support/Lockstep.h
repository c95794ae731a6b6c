#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Interrupts.h"
#include "core/Processor.h"
#include "core/SerialPort.h"
#include "support/RandomProgram.h"
#include "support/TestMachine.h"

// Two processors driven alike, for tests that run two ways of executing the
// same program side by side and compare everything a program, a view or a
// snapshot can see.
namespace tessaly::test {

// Does the same to both processors.
template <class Action>
inline void Both(Processor& a, Processor& b, Action&& action) {
    action(a);
    action(b);
}

// A starting configuration: random control registers, biased toward working
// clocks, often the classic timer 1 set-up.
inline void Configure(Random& r, Processor& a, Processor& b) {
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
inline void LibraryWrite(Random& r, Processor& a, Processor& b) {
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
inline std::string FirstDifference(const Processor& a, const Processor& b) {
    for (std::size_t k = 0; k < Processor::kIntRAMSize; ++k) {
        if (a.ucIntRAM[k] != b.ucIntRAM[k]) {
            return "ucIntRAM[" + std::to_string(k) + "]: " + std::to_string(a.ucIntRAM[k]) + " vs " +
                   std::to_string(b.ucIntRAM[k]);
        }
    }
#define SAME(field)                                                                                        \
    if (a.field != b.field) return #field ": " + std::to_string(a.field) + " vs " + std::to_string(b.field);
    SAME(usPC)
    SAME(ucOpcode)
    SAME(ucOperand1)
    SAME(ucOperand2)
    SAME(ucInstructionCycles)
    SAME(ucInstructionLength)
    SAME(ucExecutionStatus)
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
    SAME(lstExecutedInstructions.Count())
    SAME(calls.Frames(a.ucIntRAM[sfr::SP]).size())
#undef SAME
    if (!(a.lstInterruptsInProgress == b.lstInterruptsInProgress)) return "lstInterruptsInProgress";
    if (!a.lstWarnings.Empty() && a.lstWarnings.Last() != b.lstWarnings.Last()) return "last warning";
    if (!a.lstErrors.Empty() && a.lstErrors.Last() != b.lstErrors.Last()) return "last error";
    return "";
}

inline std::string WholeDifference(const Processor& a, const Processor& b) {
    if (!(a.lstWarnings == b.lstWarnings)) return "lstWarnings";
    if (!(a.lstErrors == b.lstErrors)) return "lstErrors";
    if (a.ucTxLog != b.ucTxLog) return "ucTxLog";
    if (a.ucRxLog != b.ucRxLog) return "ucRxLog";
    if (a.ucExtRAM != b.ucExtRAM) return "ucExtRAM";
    if (!(a.lstExecutedInstructions == b.lstExecutedInstructions)) return "lstExecutedInstructions";
    return FirstDifference(a, b);
}

}  // namespace tessaly::test
