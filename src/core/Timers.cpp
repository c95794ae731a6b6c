#include "core/Timers.h"

namespace tessaly {

namespace {

constexpr std::uint8_t kRequestTimer0 = 0x02;
constexpr std::uint8_t kRequestTimer1 = 0x08;
constexpr std::uint8_t kRequestTimer2 = 0x20;

// TCON and IE masks of the timers' flags and enables.
constexpr std::uint8_t kTF0 = 0x20, kTF1 = 0x80, kTR0 = 0x10, kTR1 = 0x40;
constexpr std::uint8_t kET0 = 0x02, kET1 = 0x08, kET2 = 0x20;
constexpr std::uint8_t kTF2 = 0x80;

// An overflow sets the flag and, when the source is enabled, requests service.
// EA is not looked at here: the request waits in the mask whatever EA holds.
// The request bits of the three timers equal their enable bits in IE.
inline void Overflow(Processor& p, std::uint8_t flagRegister, std::uint8_t flagMask, std::uint8_t enableMask) {
    p.ucIntRAM[flagRegister] |= flagMask;
    p.ucInterruptFlags |= static_cast<std::uint8_t>(p.ucIntRAM[sfr::IE] & enableMask);
}

struct TimerRegisters {
    std::uint8_t low, high, flagMask, enableMask;
};

constexpr TimerRegisters kTimer0Registers{sfr::TL0, sfr::TH0, kTF0, kET0};
constexpr TimerRegisters kTimer1Registers{sfr::TL1, sfr::TH1, kTF1, kET1};
static_assert(kET0 == kRequestTimer0 && kET1 == kRequestTimer1 && kET2 == kRequestTimer2);

// Modes 0, 1 and 2 of timers 0 and 1.
inline void CountTimer(Processor& p, const TimerRegisters& t, unsigned mode, unsigned n) {
    auto& ram = p.ucIntRAM;
    switch (mode) {
    case 0: {  // 13 bits: the upper three bits of TL never survive a count
        const unsigned old = ram[t.low] & 0x1F;
        const unsigned now = (old + n) & 0x1F;
        ram[t.low] = static_cast<std::uint8_t>(now);
        if (now < old && ++ram[t.high] == 0) Overflow(p, sfr::TCON, t.flagMask, t.enableMask);
        break;
    }
    case 1: {  // 16 bits
        const unsigned sum = ((ram[t.high] << 8) | ram[t.low]) + n;
        ram[t.low] = static_cast<std::uint8_t>(sum);
        ram[t.high] = static_cast<std::uint8_t>(sum >> 8);
        if (sum > 0xFFFF) Overflow(p, sfr::TCON, t.flagMask, t.enableMask);
        break;
    }
    case 2: {  // 8-bit auto-reload; counts past the overflow are dropped
        const std::uint8_t old = ram[t.low];
        ram[t.low] = static_cast<std::uint8_t>(old + n);
        if (ram[t.low] < old) {
            Overflow(p, sfr::TCON, t.flagMask, t.enableMask);
            ram[t.low] = ram[t.high];
        }
        break;
    }
    default:
        break;
    }
}

void UpdateTimer0(Processor& p, unsigned tcon, unsigned tmod, unsigned n) {
    const bool gate = tmod & 0x08, counter = tmod & 0x04;
    const unsigned mode = tmod & 0x03;
    const bool run = !counter && (tcon & kTR0) && (!gate || (p.ucIntRAM[sfr::P3] & 0x04));
    if (mode != 3) {
        if (run) CountTimer(p, kTimer0Registers, mode, n);
        return;
    }
    // Split mode: TL0 is timer 0; TH0 is an 8-bit timer run by TR1 that
    // overflows into TF1.
    auto& ram = p.ucIntRAM;
    if (run) {
        const std::uint8_t old = ram[sfr::TL0];
        ram[sfr::TL0] = static_cast<std::uint8_t>(old + n);
        if (ram[sfr::TL0] < old) Overflow(p, sfr::TCON, kTF0, kET0);
    }
    if (tcon & kTR1) {
        const std::uint8_t old = ram[sfr::TH0];
        ram[sfr::TH0] = static_cast<std::uint8_t>(old + n);
        if (ram[sfr::TH0] < old) Overflow(p, sfr::TCON, kTF1, kET1);
    }
}

void UpdateTimer1(Processor& p, unsigned tcon, unsigned tmod, unsigned n) {
    const bool gate = tmod & 0x80, counter = tmod & 0x40;
    const unsigned mode = (tmod >> 4) & 0x03;
    const bool run = !counter && (tcon & kTR1) && (!gate || (p.ucIntRAM[sfr::P3] & 0x08));
    if (run && mode != 3) CountTimer(p, kTimer1Registers, mode, n);
}

void LoadTimer2From(Processor& p, std::uint8_t low, std::uint8_t high) {
    p.WriteDirect(sfr::TL2, p.ReadDirect(low));
    p.WriteDirect(sfr::TH2, p.ReadDirect(high));
}

void UpdateTimer2(Processor& p, std::uint8_t t2con, unsigned n) {
    if ((t2con & 0x0C) == 0) return;  // neither TR2 nor EXEN2: nothing happens
    const bool running = !(t2con & 0x02) && (t2con & 0x04);  // CNT2 = 0, TR2 = 1
    const bool exen2AndExf2 = (t2con & 0x48) == 0x48;
    unsigned sum = 0;
    if (running) {
        sum = p.GetTimer2() + n;
        p.WriteDirect(sfr::TL2, static_cast<std::uint8_t>(sum));
        p.WriteDirect(sfr::TH2, static_cast<std::uint8_t>(sum >> 8));
    }
    const bool overflowed = sum > 0xFFFF;

    if (t2con & 0x30) {  // RCLK or TCLK: baud-rate generator, never sets TF2
        if (overflowed) LoadTimer2From(p, sfr::RCAP2L, sfr::RCAP2H);
    } else if (t2con & 0x01) {  // CAP2: capture
        if (overflowed) Overflow(p, sfr::T2CON, kTF2, kET2);
        if (exen2AndExf2) {
            p.WriteDirect(sfr::RCAP2L, p.ReadDirect(sfr::TL2));
            p.WriteDirect(sfr::RCAP2H, p.ReadDirect(sfr::TH2));
        }
    } else {  // auto-reload
        if (overflowed) {
            Overflow(p, sfr::T2CON, kTF2, kET2);
            LoadTimer2From(p, sfr::RCAP2L, sfr::RCAP2H);
        }
        if (exen2AndExf2) LoadTimer2From(p, sfr::RCAP2L, sfr::RCAP2H);
    }
}

}  // namespace

void UpdateRunningTimers(Processor& p, std::uint8_t tcon, std::uint8_t t2con) {
    const unsigned n = p.ucInstructionCycles;
    const unsigned tmod = p.ReadDirect(sfr::TMOD);
    auto& ram = p.ucIntRAM;
    // The usual set-ups get a straight path: timer 0 as a plain 16-bit timer,
    // timer 1 as a plain 8-bit auto-reload timer (the baud-rate clock).
    const bool plain16BitTimer0 = (tcon & kTR0) && (tmod & 0x0F) == 0x01;
    const bool plainReloadTimer1 = (tcon & kTR1) && (tmod & 0xF0) == 0x20;
    if (plain16BitTimer0) {
        const unsigned sum = ((ram[sfr::TH0] << 8) | ram[sfr::TL0]) + n;
        ram[sfr::TL0] = static_cast<std::uint8_t>(sum);
        ram[sfr::TH0] = static_cast<std::uint8_t>(sum >> 8);
        if (sum > 0xFFFF) Overflow(p, sfr::TCON, kTF0, kET0);
    } else if (tcon & (kTR0 | kTR1)) {
        UpdateTimer0(p, tcon, tmod, n);
    }
    if (plainReloadTimer1) {
        const unsigned sum = ram[sfr::TL1] + n;
        if (sum > 0xFF) {
            Overflow(p, sfr::TCON, kTF1, kET1);
            ram[sfr::TL1] = ram[sfr::TH1];
        } else {
            ram[sfr::TL1] = static_cast<std::uint8_t>(sum);
        }
    } else if (tcon & kTR1) {
        UpdateTimer1(p, tcon, tmod, n);
    }
    UpdateTimer2(p, t2con, n);
}

}  // namespace tessaly
