#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tessaly {

// The calls and interrupt entries still open on the stack, as the engine saw
// them happen: what a debugger's call stack is built from. Nothing in the
// machine reads it, so it is not part of a saved simulation; a loaded one
// starts with an empty trace.
//
// A frame is known by where its return address lies on the stack: SP after
// the push. Whatever moves SP below a frame ends it, whether a RET, a RETI or
// code that resets SP or unwinds by hand; so a RET used as a computed jump
// (two pushes and a RET) leaves the frames below it alone, and frames stay in
// rising stack order, at most one per stack byte.
class CallTrace {
public:
    struct Frame {
        std::uint16_t returnAddress;  // where the caller goes on; the interrupted instruction for an interrupt
        std::uint16_t entry;          // the called address or the interrupt vector
        std::uint8_t stackTop;        // SP after the return address was pushed
        std::int8_t interrupt;        // the source 0-5 for an interrupt entry, -1 for a call
    };

    void Enter(std::uint16_t returnAddress, std::uint16_t entry, std::uint8_t stackTop, std::int8_t interrupt = -1) {
        EndFramesFrom(stackTop);
        frames_[depth_++] = Frame{returnAddress, entry, stackTop, interrupt};
    }
    // A RET or RETI at `stackTop` (SP before it pops) ends the frame whose
    // return address lies there and any left above it.
    void Return(std::uint8_t stackTop) { EndFramesFrom(stackTop); }
    void Clear() { depth_ = 0; }

    // The frames still open with SP at `sp`, outermost first.
    std::span<const Frame> Frames(std::uint8_t sp) const {
        std::size_t depth = depth_;
        while (depth > 0 && frames_[depth - 1].stackTop > sp) --depth;
        return {frames_.data(), depth};
    }

private:
    void EndFramesFrom(std::uint8_t stackTop) {
        while (depth_ > 0 && frames_[depth_ - 1].stackTop >= stackTop) --depth_;
    }

    std::array<Frame, 256> frames_{};
    std::uint16_t depth_ = 0;
};

}  // namespace tessaly
