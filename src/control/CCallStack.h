#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/DebugInfo.h"
#include "control/CFrame.h"
#include "core/Processor.h"

namespace tessaly {

// One activation on the call stack: where it is (the instruction it runs
// next, or the call it waits on), what function and line that is, and the
// frame its variables are found in.
struct CStackFrame {
    std::uint16_t pc = 0;
    CSourcePosition position;  // nothing where the code has no C source
    CFrame frame;
    // The interrupt source whose entry interrupted this activation's code (it
    // sits just below an interrupt routine's frame); -1 otherwise.
    int interruptedBy = -1;
};

// The call stack, innermost first, from the calls and interrupt entries the
// engine saw open. The innermost frame is at the PC; each outer one at the
// call it waits on (the address before its return address), or, below an
// interrupt, at the interrupted instruction itself. A frame whose code has no
// C source (start-up code, library routines) keeps its place with no
// position. Register variables of outer frames are read in the bank their
// function is declared to use; the innermost in the bank PSW selects.
//
// Stack variables count from a frame base, SDCC's _bp. A called
// activation's base is the SP at its entry plus one, where its prologue
// puts _bp. The outermost activation, never called (main), needs _bp's
// address from the program's map (`framePointer`): its base is the _bp its
// first reentrant callee saved on entry (pushed just above the return
// address), or _bp's value while no such callee has saved it; without the
// map it has none.
std::vector<CStackFrame> BuildCallStack(const Processor& p, const DebugInfo& info,
                                        std::optional<std::uint8_t> framePointer = std::nullopt);

}  // namespace tessaly
