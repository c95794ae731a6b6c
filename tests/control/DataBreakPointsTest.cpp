#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "control/DataBreakPoints.h"
#include "core/Sfr.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

using test::LoadCode;
using test::NewProcessor;

WatchTarget Target(const Processor& p, const char* text) {
    auto target = ResolveWatchTarget(p, text, nullptr);
    if (auto* why = std::get_if<std::string>(&target)) ADD_FAILURE() << text << ": " << *why;
    return std::get<WatchTarget>(target);
}

// Every byte an instruction changes must have been told as written, with
// the value it held before: the engine's notes over every addressing form,
// the stack, interrupt entries, MOVX with and without paging, and the SFRs
// timers and the serial port change by themselves. Random code over random
// memory, with timers, the serial port and interrupts running.
TEST(DataWatch, EveryChangedByteIsToldAsWrittenWithItsValueBefore) {
    for (const bool paging : {false, true}) {
        auto p = NewProcessor();
        std::mt19937 random(paging ? 7 : 3);
        for (auto& b : p->ucCodeMemory) b = static_cast<std::uint8_t>(random());
        for (std::size_t i = 0; i < 0x180; ++i) p->ucIntRAM[i] = static_cast<std::uint8_t>(random());
        p->WriteDirect(sfr::TMOD, 0x22);
        p->WriteDirect(sfr::TCON, 0x50);   // both timers run
        p->WriteDirect(sfr::IE, 0x9F);     // and may interrupt
        p->WriteDirect(sfr::SCON, 0x50);
        p->InvalidateDerivedState();
        p->SetXramPaging(paging);

        DataWatch watch;
        for (std::uint16_t i = 0; i < 0x180; ++i) watch.WatchInternal(i, 0xFF, kWatchRead | kWatchWrite);
        watch.WatchRange(WatchSpace::External, 0x0000, 0xFFFF, kWatchWrite);
        p->SetDataWatch(&watch);
        watch.Arm(*p);

        std::vector<std::uint8_t> xram(p->ucExtRAM.begin(), p->ucExtRAM.begin() + 0x10000);
        for (int step = 0; step < 4000; ++step) {
            const auto ram = p->ucIntRAM;
            const std::uint16_t pc = p->usPC;
            watch.ClearEvents();
            p->ExecuteInstructions(1);
            const auto told = [&](WatchSpace space, std::uint16_t address, std::uint8_t changed, std::uint8_t before) {
                for (const WatchEvent& e : watch.Events()) {
                    if (e.space == space && e.address == address && e.access == kWatchWrite &&
                        (e.mask & changed) == changed && e.before == before) {
                        return true;
                    }
                }
                return false;
            };
            for (std::uint16_t i = 0; i < 0x180; ++i) {
                const auto changed = static_cast<std::uint8_t>(ram[i] ^ p->ucIntRAM[i]);
                if (changed) {
                    ASSERT_TRUE(told(WatchSpace::Internal, i, changed, ram[i]))
                        << "byte " << std::hex << i << " changed by opcode " << int{p->ucOpcode} << " at " << pc;
                }
            }
            if (std::memcmp(xram.data(), p->ucExtRAM.data(), xram.size()) != 0) {
                for (std::uint32_t a = 0; a < xram.size(); ++a) {
                    if (xram[a] == p->ucExtRAM[a]) continue;
                    ASSERT_TRUE(told(WatchSpace::External, static_cast<std::uint16_t>(a), 0xFF, xram[a]))
                        << "external " << std::hex << a << " written by opcode " << int{p->ucOpcode};
                    xram[a] = p->ucExtRAM[a];
                }
            }
            if (!watch.Events().empty()) {
                EXPECT_EQ(watch.EventPc(), pc);
            }
        }
    }
}

class DataBreakPointStops : public ::testing::Test {
protected:
    std::unique_ptr<Processor> p = NewProcessor();
    DataBreakPoints points;

    // Runs until a data break point stops the run (or 100 instructions pass).
    std::optional<DataStop> Run() {
        points.Arm(*p);
        for (int i = 0; i < 100; ++i) {
            p->ExecuteUntil(1, AddressSet{}, UINT64_MAX);
            if (auto stop = points.TakeStop(*p)) return stop;
        }
        return std::nullopt;
    }
};

TEST_F(DataBreakPointStops, WriteStopsOnTheSameValueChangeOnlyOnADifferentOne) {
    // MOV 30H,#00h (30H already 0); MOV R0,#30H; MOV @R0,#05h; SETB 20H.1
    LoadCode(*p, 0, {0x75, 0x30, 0x00, 0x78, 0x30, 0x76, 0x05, 0xD2, 0x01});
    points.Add({Target(*p, "30H"), DataAccess::Change});
    points.Add({Target(*p, "I:30H"), DataAccess::Write});
    points.Add({Target(*p, "20H.1"), DataAccess::Change});
    points.Apply(*p);

    auto stop = Run();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->access, DataAccess::Write);  // the change break point saw no change
    EXPECT_EQ(stop->location, "I:30H");
    EXPECT_EQ(stop->oldValue, "00");
    EXPECT_EQ(stop->newValue, "00");
    EXPECT_EQ(stop->pc, 0x0000);

    stop = Run();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->access, DataAccess::Change);  // listed first, and the value changed
    EXPECT_EQ(stop->location, "30H");
    EXPECT_EQ(stop->oldValue, "00");
    EXPECT_EQ(stop->newValue, "05");
    EXPECT_EQ(stop->pc, 0x0005);

    stop = Run();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->location, "20H.1");
    EXPECT_EQ(stop->oldValue, "0");
    EXPECT_EQ(stop->newValue, "1");
    EXPECT_EQ(stop->pc, 0x0007);
}

TEST_F(DataBreakPointStops, RangesNameTheByteReachedAndMovcReadsCode) {
    // MOV DPTR,#1234h; MOV A,#7; MOVX @DPTR,A; CLR A; MOVC A,@A+DPTR
    LoadCode(*p, 0, {0x90, 0x12, 0x34, 0x74, 0x07, 0xF0, 0xE4, 0x93});
    p->ucCodeMemory[0x1234] = 0x5A;
    points.Add({Target(*p, "X:1200H-12FFH"), DataAccess::Write});
    points.Add({Target(*p, "C:1234H"), DataAccess::Read});
    points.Apply(*p);

    auto stop = Run();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->location, "X:1234H");
    EXPECT_EQ(stop->newValue, "07");
    EXPECT_EQ(stop->pc, 0x0005);
    stop = Run();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->location, "C:1234H");
    EXPECT_EQ(stop->access, DataAccess::Read);
    EXPECT_EQ(stop->oldValue, "5A");
    EXPECT_EQ(stop->pc, 0x0007);
}

// The status bar's words for each access: a write and a change give the
// value before and after, a read the value it read.
TEST(DataStopText, TellsTheAccessTheValuesAndTheInstruction) {
    struct Row {
        DataStop stop;
        const char* text;
    };
    const Row rows[] = {
        {{"32H", DataAccess::Write, "00", "01", 0x00A6}, "Data break point: 32H written 00 -> 01 at 00A6H"},
        {{"PSW.1", DataAccess::Change, "1", "0", 0x0012}, "Data break point: PSW.1 changed 1 -> 0 at 0012H"},
        {{"X:1234H", DataAccess::Read, "5A", "5A", 0xFFFF}, "Data break point: X:1234H read 5A at FFFFH"},
    };
    for (const Row& row : rows) EXPECT_EQ(DataStopText(row.stop), row.text);
}

TEST(WatchTarget, NamesResolveToTheirBytes) {
    auto p = NewProcessor();
    const WatchTarget dptr = Target(*p, "DPTR");
    ASSERT_EQ(dptr.bytes.size(), 2u);
    EXPECT_EQ(dptr.bytes[0].address, sfr::DPL);
    EXPECT_EQ(dptr.bytes[1].address, sfr::DPH);
    const WatchTarget carry = Target(*p, "CY");
    EXPECT_TRUE(carry.bit);
    EXPECT_EQ(carry.bytes[0], (WatchPlace{WatchSpace::Internal, sfr::PSW, 0x80}));
    EXPECT_EQ(Target(*p, "I:90H").bytes[0].address, 0x110);  // upper RAM, not P1

    const auto refuse = [&](const char* text) {
        auto target = ResolveWatchTarget(*p, text, nullptr);
        return std::holds_alternative<std::string>(target) ? std::get<std::string>(target) : std::string("resolved");
    };
    EXPECT_EQ(refuse("PC"), "'PC' is not in memory: break on an address instead");
    EXPECT_EQ(refuse("X:2000H-1000H"), "'X:2000H-1000H': the range ends before it begins");
    EXPECT_EQ(refuse("C:10000H"), "'C:10000H': an address is 0000H to FFFFH");
}

}  // namespace
}  // namespace tessaly
