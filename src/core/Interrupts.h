#pragma once

#include <cstdint>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

// Interrupt sources, numbered as their request bits in ucInterruptFlags.
enum InterruptSource : int {
    kExternal0 = 0,
    kTimer0 = 1,
    kExternal1 = 2,
    kTimer1 = 3,
    kSerialPort = 4,
    kTimer2 = 5,
};

inline constexpr std::uint16_t kInterruptVectors[6] = {0x0003, 0x000B, 0x0013, 0x001B, 0x0023, 0x002B};

// ORs into ucInterruptFlags every enabled source whose flag is set, when EA is 1.
inline void ScanInterruptRequests(Processor& p) {
    // The scan only ever adds bits, and they stay until a RETI or a reset
    // (both note a change), so it needs to run again only after one of the
    // flags or enables it reads was written.
    if (!(p.ucSfrChanges & sfr_watch::kInterrupts)) return;
    p.ucSfrChanges &= static_cast<std::uint8_t>(~sfr_watch::kInterrupts);
    const unsigned ie = p.ucIntRAM[sfr::IE];
    if (!(ie & 0x80)) return;
    // Each source's flags moved to its request bit; IE holds the six enable
    // bits at the same positions (EX0, ET0, EX1, ET1, ES, ET2). TCON has IE0,
    // IE1 at bits 1, 3 and TF0, TF1 at bits 5, 7.
    const unsigned tcon = p.ucIntRAM[sfr::TCON];
    const unsigned serial = (p.ucIntRAM[sfr::SCON] & 0x03) != 0;   // RI or TI
    const unsigned timer2 = (p.ucIntRAM[sfr::T2CON] & 0xC0) != 0;  // TF2 or EXF2
    const unsigned flags = ((tcon >> 1) & 0x05) | ((tcon >> 4) & 0x0A) | (serial << 4) | (timer2 << 5);
    p.RequestInterrupts(static_cast<std::uint8_t>(flags & ie));
}

// Chooses the source to enter after the current instruction (or -1).
void SelectInterrupt(Processor& p);
// Pushes the PC and jumps to the vector of source n.
void VectorInterrupt(Processor& p, int n);
// Ends the innermost service; called by RETI after it has popped the PC.
void ReturnFromInterrupt(Processor& p);

// The interrupt buttons of the main tool bar.
enum class InterruptButton { External0, Timer0, External1, Timer1, Receive, Transmit, Timer2, Capture };

// Sets the button's flag and requests its source, asking first when EA or the
// source's enable bit is 0. Returns true when the request was made.
bool ForceInterrupt(Processor& p, InterruptButton button, MessageHost& host);

// Enable-bit name of a source ("EX0" ... "ET2"), as the status bar shows it.
const char* InterruptEnableName(int source);

}  // namespace tessaly
