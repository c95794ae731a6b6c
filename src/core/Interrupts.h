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
    const std::uint8_t ie = p.ReadDirect(sfr::IE);
    if (!(ie & 0x80)) return;
    // Each source's flags, placed at its request bit; IE holds the six enable
    // bits at the same positions (EX0, ET0, EX1, ET1, ES, ET2).
    const std::uint8_t tcon = p.ReadDirect(sfr::TCON);
    std::uint8_t flags = 0;
    if (tcon & 0x02) flags |= 0x01;                         // IE0
    if (tcon & 0x20) flags |= 0x02;                         // TF0
    if (tcon & 0x08) flags |= 0x04;                         // IE1
    if (tcon & 0x80) flags |= 0x08;                         // TF1
    if (p.ReadDirect(sfr::SCON) & 0x03) flags |= 0x10;      // RI or TI
    if (p.ReadDirect(sfr::T2CON) & 0xC0) flags |= 0x20;     // TF2 or EXF2
    p.ucInterruptFlags |= static_cast<std::uint8_t>(flags & ie & 0x3F);
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
