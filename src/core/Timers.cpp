#include "core/Timers.h"

#include <algorithm>

#include "core/DataWatch.h"

namespace tessaly::timer_detail {

namespace {

// TCON, IE and T2CON masks of the timers' run bits, flags and enables.
constexpr std::uint8_t kTR0 = MaskOf(bit::TR0), kTF0 = MaskOf(bit::TF0);
constexpr std::uint8_t kTR1 = MaskOf(bit::TR1), kTF1 = MaskOf(bit::TF1);
constexpr std::uint8_t kET0 = MaskOf(bit::ET0), kET1 = MaskOf(bit::ET1), kET2 = MaskOf(bit::ET2);
constexpr std::uint8_t kTF2 = MaskOf(bit::TF2);
static_assert(kTR0 == 0x10 && kTF1 == 0x80 && kET0 == 0x02 && kET2 == 0x20 && kTF2 == 0x80);

// An overflow sets the flag and, when the source is enabled, requests service.
// EA is not looked at here: the request waits in the mask whatever EA holds.
// A timer's request bit in ucInterruptFlags equals its enable bit in IE. As
// the request goes in directly, the interrupt scan could add nothing for this
// flag, so the flag is set in place without noting a change.
[[gnu::always_inline]] inline void Overflow(Processor& p, std::uint8_t flagRegister, std::uint8_t flagMask, std::uint8_t enableMask) {
    RequestInterrupts(p, static_cast<std::uint8_t>(p.ucIntRAM[sfr::IE] & enableMask));
    NoteHardwareStore(p, flagRegister, static_cast<std::uint8_t>(p.ucIntRAM[flagRegister] | flagMask));
    p.ucIntRAM[flagRegister] |= flagMask;
}

struct TimerRegisters {
    std::uint8_t low, high, flagMask, enableMask;
};
constexpr TimerRegisters kTimer0Registers{sfr::TL0, sfr::TH0, kTF0, kET0};
constexpr TimerRegisters kTimer1Registers{sfr::TL1, sfr::TH1, kTF1, kET1};

// Modes 0, 1 and 2 of timers 0 and 1.
[[gnu::always_inline]] inline void CountTimer(Processor& p, const TimerRegisters& t, unsigned mode, unsigned n) {
    auto& ram = p.ucIntRAM;
    if (mode == 1) {  // 16 bits
        const unsigned sum = ((ram[t.high] << 8) | ram[t.low]) + n;
        ram[t.low] = static_cast<std::uint8_t>(sum);
        ram[t.high] = static_cast<std::uint8_t>(sum >> 8);
        if (sum > 0xFFFF) Overflow(p, sfr::TCON, t.flagMask, t.enableMask);
    } else if (mode == 2) {  // 8-bit auto-reload; counts past the overflow are dropped
        const unsigned sum = ram[t.low] + n;
        if (sum > 0xFF) {
            Overflow(p, sfr::TCON, t.flagMask, t.enableMask);
            ram[t.low] = ram[t.high];
        } else {
            ram[t.low] = static_cast<std::uint8_t>(sum);
        }
    } else {  // 13 bits: TL's upper three bits never survive a count
        const unsigned old = ram[t.low] & 0x1F;
        const unsigned now = (old + n) & 0x1F;
        ram[t.low] = static_cast<std::uint8_t>(now);
        if (now < old && ++ram[t.high] == 0) Overflow(p, sfr::TCON, t.flagMask, t.enableMask);
    }
}

// An 8-bit counter without reload: the two halves of timer 0 in mode 3.
void CountByte(Processor& p, std::uint8_t address, unsigned n, std::uint8_t flagMask, std::uint8_t enableMask) {
    const unsigned sum = p.ucIntRAM[address] + n;
    p.ucIntRAM[address] = static_cast<std::uint8_t>(sum);
    if (sum > 0xFF) Overflow(p, sfr::TCON, flagMask, enableMask);
}

void LoadTimer2FromRCAP2(Processor& p) {
    p.ucIntRAM[sfr::TL2] = p.ucIntRAM[sfr::RCAP2L];
    p.ucIntRAM[sfr::TH2] = p.ucIntRAM[sfr::RCAP2H];
}

bool Timer2Runs(std::uint8_t t2con) { return !(t2con & 0x02) && (t2con & 0x04); }  // CNT2 = 0, TR2 = 1

void UpdateTimer2(Processor& p, unsigned n) {
    const std::uint8_t t2con = p.ucIntRAM[sfr::T2CON];
    const bool running = Timer2Runs(t2con);
    const bool exen2AndExf2 = (t2con & 0x48) == 0x48;
    unsigned sum = 0;
    if (running) {
        sum = p.GetTimer2() + n;
        p.ucIntRAM[sfr::TL2] = static_cast<std::uint8_t>(sum);
        p.ucIntRAM[sfr::TH2] = static_cast<std::uint8_t>(sum >> 8);
    }
    const bool overflowed = sum > 0xFFFF;

    if (t2con & 0x30) {  // RCLK or TCLK: baud-rate generator, never sets TF2
        if (overflowed) LoadTimer2FromRCAP2(p);
    } else if (t2con & 0x01) {  // CAP2: capture
        if (overflowed) Overflow(p, sfr::T2CON, kTF2, kET2);
        if (exen2AndExf2) {
            // RCAP2 feeds the serial baud rate, so this goes through WriteDirect.
            NoteHardwareStore(p, sfr::RCAP2L, p.ucIntRAM[sfr::TL2]);
            NoteHardwareStore(p, sfr::RCAP2H, p.ucIntRAM[sfr::TH2]);
            p.WriteDirect(sfr::RCAP2L, p.ucIntRAM[sfr::TL2]);
            p.WriteDirect(sfr::RCAP2H, p.ucIntRAM[sfr::TH2]);
        }
    } else {  // auto-reload
        if (overflowed) {
            Overflow(p, sfr::T2CON, kTF2, kET2);
            LoadTimer2FromRCAP2(p);
        }
        if (exen2AndExf2) LoadTimer2FromRCAP2(p);
    }
}

// Counting routines made for one configuration each: the mode of timer 0
// and of timer 1 (-1 when the timer does not count) and whether timer 2 has
// anything to do.
template <int Mode0, int Mode1, bool Timer2>
void CountPlanned(Processor& p, unsigned n) {
    if constexpr (Mode0 >= 0) CountTimer(p, kTimer0Registers, Mode0, n);
    if constexpr (Mode1 >= 0) CountTimer(p, kTimer1Registers, Mode1, n);
    if constexpr (Timer2) UpdateTimer2(p, n);
}

// Timer 0 in mode 3, whatever the others do.
void CountWithSplitTimer0(Processor& p, unsigned n) {
    const auto& plan = Derived(p).timers;
    if (plan.run0) CountByte(p, sfr::TL0, n, kTF0, kET0);
    if (plan.splitTimer0High) CountByte(p, sfr::TH0, n, kTF1, kET1);
    if (plan.run1) CountTimer(p, kTimer1Registers, plan.mode1, n);
    if (plan.timer2) UpdateTimer2(p, n);
}

using Counter = void (*)(Processor&, unsigned);

template <int Mode0, int Mode1>
constexpr Counter kCountersForModes[2] = {CountPlanned<Mode0, Mode1, false>, CountPlanned<Mode0, Mode1, true>};

// Indexed by timer 0's mode (3: not counting), timer 1's mode (3: not
// counting) and timer 2.
constexpr const Counter* kCounters[4][4] = {
    {kCountersForModes<0, 0>, kCountersForModes<0, 1>, kCountersForModes<0, 2>, kCountersForModes<0, -1>},
    {kCountersForModes<1, 0>, kCountersForModes<1, 1>, kCountersForModes<1, 2>, kCountersForModes<1, -1>},
    {kCountersForModes<2, 0>, kCountersForModes<2, 1>, kCountersForModes<2, 2>, kCountersForModes<2, -1>},
    {kCountersForModes<-1, 0>, kCountersForModes<-1, 1>, kCountersForModes<-1, 2>, kCountersForModes<-1, -1>},
};

// Cycles before timer 0 or 1 in mode 0, 1 or 2 overflows, and the count of
// `n` cycles short of that.
unsigned CyclesBeforeOverflow(const Processor& p, const TimerRegisters& t, unsigned mode) {
    const auto& ram = p.ucIntRAM;
    if (mode == 1) return 0x10000u - ((ram[t.high] << 8) | ram[t.low]);
    if (mode == 2) return 0x100u - ram[t.low];
    return 0x2000u - ((ram[t.high] << 5) | (ram[t.low] & 0x1Fu));
}

void CountShortOfOverflow(Processor& p, const TimerRegisters& t, unsigned mode, unsigned n) {
    auto& ram = p.ucIntRAM;
    if (mode == 2) {
        ram[t.low] = static_cast<std::uint8_t>(ram[t.low] + n);
        return;
    }
    // 13 bits: TL holds the low five (its upper three cleared, as by any
    // count), TH the high eight.
    const unsigned shift = mode == 1 ? 8 : 5;
    const unsigned value = ((ram[t.high] << shift) | (ram[t.low] & ((1u << shift) - 1))) + n;
    ram[t.low] = static_cast<std::uint8_t>(value & ((1u << shift) - 1));
    ram[t.high] = static_cast<std::uint8_t>(value >> shift);
}

}  // namespace

void PlanTimers(Processor& p) {
    ClearChanges(p, sfr_watch::kTimers);
    const unsigned tcon = p.ucIntRAM[sfr::TCON];
    const unsigned tmod = p.ucIntRAM[sfr::TMOD];
    const unsigned p3 = p.ucIntRAM[sfr::P3];
    auto& plan = Derived(p).timers;
    // Timer k runs when TRk is set, its C/T bit is clear, and GATE is clear
    // or INTk (P3.2, P3.3) is high.
    plan.mode0 = static_cast<std::uint8_t>(tmod & 0x03);
    plan.mode1 = static_cast<std::uint8_t>((tmod >> 4) & 0x03);
    plan.run0 = (tcon & kTR0) && !(tmod & 0x04) && (!(tmod & 0x08) || (p3 & 0x04));
    // Timer 1 in mode 3 holds its count.
    plan.run1 = (tcon & kTR1) && !(tmod & 0x40) && (!(tmod & 0x80) || (p3 & 0x08)) && plan.mode1 != 3;
    // Timer 0 in mode 3 lends TH0 to TR1, without gate or C/T.
    plan.splitTimer0High = plan.mode0 == 3 && (tcon & kTR1);
    plan.timer2 = (p.ucIntRAM[sfr::T2CON] & 0x0C) != 0;  // TR2 or EXEN2
    plan.timer2Counts = Timer2Runs(p.ucIntRAM[sfr::T2CON]);
    if (plan.mode0 == 3) {
        plan.count = (plan.run0 || plan.run1 || plan.splitTimer0High || plan.timer2) ? CountWithSplitTimer0 : nullptr;
    } else if (plan.run0 || plan.run1 || plan.timer2) {
        plan.count = kCounters[plan.run0 ? plan.mode0 : 3][plan.run1 ? plan.mode1 : 3][plan.timer2 ? 1 : 0];
    } else {
        plan.count = nullptr;
    }
}

}  // namespace tessaly::timer_detail

namespace tessaly {

using namespace timer_detail;

int FastReloadingTimer(Processor& p, unsigned shorterThan) {
    if (Changed(p, sfr_watch::kTimers)) PlanTimers(p);
    const auto& plan = Derived(p).timers;
    if (plan.mode0 == 3) return -1;
    if (plan.run1 && plan.mode1 == 2 && 0x100u - p.ucIntRAM[sfr::TH1] < shorterThan) return 1;
    if (plan.run0 && plan.mode0 == 2 && 0x100u - p.ucIntRAM[sfr::TH0] < shorterThan) return 0;
    return -1;
}

std::uint64_t CyclesBeforeTimerEvent(Processor& p, int except) {
    if (Changed(p, sfr_watch::kTimers)) PlanTimers(p);
    const auto& plan = Derived(p).timers;
    if (plan.count == nullptr) return kNoTimerEvent;
    // Timer 0 split in two is rare enough to count as it goes.
    if (plan.mode0 == 3) return 0;
    std::uint64_t cycles = kNoTimerEvent;
    if (plan.run0 && except != 0) {
        cycles = std::min<std::uint64_t>(cycles, CyclesBeforeOverflow(p, kTimer0Registers, plan.mode0));
    }
    if (plan.run1 && except != 1) {
        cycles = std::min<std::uint64_t>(cycles, CyclesBeforeOverflow(p, kTimer1Registers, plan.mode1));
    }
    if (plan.timer2) {
        const std::uint8_t t2con = p.ucIntRAM[sfr::T2CON];
        // EXEN2 with EXF2 set reloads or captures after every instruction.
        if ((t2con & 0x48) == 0x48) return 0;
        if (Timer2Runs(t2con)) cycles = std::min<std::uint64_t>(cycles, 0x10000u - p.GetTimer2());
    }
    return cycles;
}

void CountBeforeTimerEvent(Processor& p, std::uint64_t cycles, int except) {
    // The plan, not the registers: an instruction that changed the
    // configuration has its earlier cycles counted under the old one.
    const auto& plan = Derived(p).timers;
    const auto n = static_cast<unsigned>(cycles);
    if (plan.run0 && except != 0) CountShortOfOverflow(p, kTimer0Registers, plan.mode0, n);
    if (plan.run1 && except != 1) CountShortOfOverflow(p, kTimer1Registers, plan.mode1, n);
    if (plan.timer2Counts) {
        const unsigned sum = p.GetTimer2() + n;
        p.ucIntRAM[sfr::TL2] = static_cast<std::uint8_t>(sum);
        p.ucIntRAM[sfr::TH2] = static_cast<std::uint8_t>(sum >> 8);
    }
}

}  // namespace tessaly
