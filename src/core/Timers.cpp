#include "core/Timers.h"

namespace tessaly {

namespace {

constexpr std::uint8_t kRequestTimer0 = 0x02;
constexpr std::uint8_t kRequestTimer1 = 0x08;
constexpr std::uint8_t kRequestTimer2 = 0x20;

// An overflow sets the flag and, when the source is enabled, requests service.
// EA is not looked at here: the request waits in the mask whatever EA holds.
void Overflow(Processor& p, std::uint8_t flagBit, std::uint8_t enableBit, std::uint8_t request) {
    p.WriteBit(flagBit, 1);
    if (p.ReadBit(enableBit)) p.ucInterruptFlags |= request;
}

struct TimerRegisters {
    std::uint8_t low, high, flagBit, enableBit, request;
};

constexpr TimerRegisters kTimer0{sfr::TL0, sfr::TH0, bit::TF0, bit::ET0, kRequestTimer0};
constexpr TimerRegisters kTimer1{sfr::TL1, sfr::TH1, bit::TF1, bit::ET1, kRequestTimer1};

// Modes 0, 1 and 2 of timers 0 and 1.
void CountTimer(Processor& p, const TimerRegisters& t, unsigned mode, unsigned n) {
    auto& ram = p.ucIntRAM;
    switch (mode) {
    case 0: {  // 13 bits: the upper three bits of TL never survive a count
        const unsigned old = ram[t.low] & 0x1F;
        const unsigned now = (old + n) & 0x1F;
        ram[t.low] = static_cast<std::uint8_t>(now);
        if (now < old && ++ram[t.high] == 0) Overflow(p, t.flagBit, t.enableBit, t.request);
        break;
    }
    case 1: {  // 16 bits
        const unsigned sum = ((ram[t.high] << 8) | ram[t.low]) + n;
        ram[t.low] = static_cast<std::uint8_t>(sum);
        ram[t.high] = static_cast<std::uint8_t>(sum >> 8);
        if (sum > 0xFFFF) Overflow(p, t.flagBit, t.enableBit, t.request);
        break;
    }
    case 2: {  // 8-bit auto-reload; counts past the overflow are dropped
        const std::uint8_t old = ram[t.low];
        ram[t.low] = static_cast<std::uint8_t>(old + n);
        if (ram[t.low] < old) {
            Overflow(p, t.flagBit, t.enableBit, t.request);
            ram[t.low] = ram[t.high];
        }
        break;
    }
    default:
        break;
    }
}

void UpdateTimer0(Processor& p, unsigned tmod, unsigned n) {
    const bool gate = tmod & 0x08, counter = tmod & 0x04;
    const unsigned mode = tmod & 0x03;
    const bool run = !counter && p.ReadBit(bit::TR0) && (!gate || p.ReadBit(bit::INT0));
    if (mode != 3) {
        if (run) CountTimer(p, kTimer0, mode, n);
        return;
    }
    // Split mode: TL0 is timer 0; TH0 is an 8-bit timer run by TR1 that
    // overflows into TF1.
    auto& ram = p.ucIntRAM;
    if (run) {
        const std::uint8_t old = ram[sfr::TL0];
        ram[sfr::TL0] = static_cast<std::uint8_t>(old + n);
        if (ram[sfr::TL0] < old) Overflow(p, bit::TF0, bit::ET0, kRequestTimer0);
    }
    if (p.ReadBit(bit::TR1)) {
        const std::uint8_t old = ram[sfr::TH0];
        ram[sfr::TH0] = static_cast<std::uint8_t>(old + n);
        if (ram[sfr::TH0] < old) Overflow(p, bit::TF1, bit::ET1, kRequestTimer1);
    }
}

void UpdateTimer1(Processor& p, unsigned tmod, unsigned n) {
    const bool gate = tmod & 0x80, counter = tmod & 0x40;
    const unsigned mode = (tmod >> 4) & 0x03;
    const bool run = !counter && p.ReadBit(bit::TR1) && (!gate || p.ReadBit(bit::INT1));
    if (run && mode != 3) CountTimer(p, kTimer1, mode, n);
}

void LoadTimer2From(Processor& p, std::uint8_t low, std::uint8_t high) {
    p.WriteDirect(sfr::TL2, p.ReadDirect(low));
    p.WriteDirect(sfr::TH2, p.ReadDirect(high));
}

void UpdateTimer2(Processor& p, unsigned n) {
    const std::uint8_t t2con = p.ReadDirect(sfr::T2CON);
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
        if (overflowed) Overflow(p, bit::TF2, bit::ET2, kRequestTimer2);
        if (exen2AndExf2) {
            p.WriteDirect(sfr::RCAP2L, p.ReadDirect(sfr::TL2));
            p.WriteDirect(sfr::RCAP2H, p.ReadDirect(sfr::TH2));
        }
    } else {  // auto-reload
        if (overflowed) {
            p.WriteBit(bit::TF2, 1);
            LoadTimer2From(p, sfr::RCAP2L, sfr::RCAP2H);
            if (p.ReadBit(bit::ET2)) p.ucInterruptFlags |= kRequestTimer2;
        }
        if (exen2AndExf2) LoadTimer2From(p, sfr::RCAP2L, sfr::RCAP2H);
    }
}

}  // namespace

void UpdateTimers(Processor& p) {
    const std::uint8_t tcon = p.ReadDirect(sfr::TCON);
    const std::uint8_t t2con = p.ReadDirect(sfr::T2CON);
    // Nothing counts while TR0, TR1 and TR2 are 0, and timer 2 reloads or
    // captures without running only when EXEN2 is set.
    if ((tcon & 0x50) == 0 && (t2con & 0x0C) == 0) return;
    const unsigned n = p.ucInstructionCycles;
    const unsigned tmod = p.ReadDirect(sfr::TMOD);
    UpdateTimer0(p, tmod, n);
    UpdateTimer1(p, tmod, n);
    UpdateTimer2(p, n);
}

}  // namespace tessaly

