#pragma once

#include <cstdint>
#include <optional>

#include "core/Processor.h"
#include "core/Sfr.h"

namespace tessaly {

// What the place of a C variable depends on besides its debug record: the
// register bank in use and the stack frame of the function's activation.
//
// SDCC's reentrant functions (and all functions under --stack-auto) address
// their stack variables from a frame base that the prologue sets up:
//     push _bp        ; SP now holds the address of the saved _bp
//     mov  _bp,sp     ; (or mov a,sp / mov _bp,a / add a,#n / mov sp,a)
// A stack symbol's offset counts from that base: locals from _bp+1 upward,
// parameters below the saved _bp and the two-byte return address, so the
// last-pushed parameter ends at _bp-3 (a long at offset -6 fills _bp-6 to
// _bp-3). Multi-byte values run upward, least significant byte first. The
// base is _bp's value while the body runs, or the SP at entry (after the
// call pushed the return address) plus one.
// Under --xstack the stack is the pdata page of external RAM and the base is
// _bpx; locals count up from _bpx+0.
struct CFrame {
    std::uint8_t registerBank = 0;                     // 0-3: where r0-r7 live
    std::optional<std::uint8_t> stackFrame;            // _bp
    std::optional<std::uint8_t> externalStackFrame;    // _bpx
    std::uint8_t pdataPage = 0;  // high address byte of pdata pointers and the external stack

    // The frame as the processor stands: the bank PSW selects, and the page
    // P2 gives MOVX @Ri when external RAM paging is on (0 otherwise). No
    // stack frame: the caller knows which activation it shows.
    static CFrame Current(const Processor& p) {
        CFrame frame;
        frame.registerBank = static_cast<std::uint8_t>(p.RegisterBankBase() >> 3);
        frame.pdataPage = p.XramPaging() ? p.ReadDirect(sfr::P2) : 0;
        return frame;
    }

    // The frame base of an activation from the SP at its entry.
    static std::uint8_t StackFrameFromEntrySp(std::uint8_t spAtEntry) {
        return static_cast<std::uint8_t>(spAtEntry + 1);
    }
};

}  // namespace tessaly
