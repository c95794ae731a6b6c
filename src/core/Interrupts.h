#pragma once

#include <cstdint>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

inline constexpr std::uint16_t kInterruptVectors[6] = {0x0003, 0x000B, 0x0013, 0x001B, 0x0023, 0x002B};

// ORs into ucInterruptFlags every enabled source whose flag is set, when EA
// is 1. The engine runs it before an instruction when one of the flags or
// enables it reads has been written since.
void ScanInterruptRequests(Processor& p);
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
