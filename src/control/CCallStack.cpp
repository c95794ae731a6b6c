#include "control/CCallStack.h"

namespace tessaly {

std::vector<CStackFrame> BuildCallStack(const Processor& p, const DebugInfo& info,
                                        std::optional<std::uint8_t> framePointer) {
    const auto calls = p.calls.Frames(p.ReadDirect(sfr::SP));
    const CFrame current = CFrame::Current(p);
    std::vector<CStackFrame> stack;
    stack.reserve(calls.size() + 1);
    // Frame k (innermost k = 0) runs inside the activation that calls[n-k-1]
    // opened, whose stack top gives its frame base; the outermost was never
    // called.
    const std::size_t n = calls.size();
    for (std::size_t k = 0; k <= n; ++k) {
        CStackFrame frame;
        frame.frame = current;
        if (k == 0) {
            frame.pc = p.usPC;
        } else {
            const CallTrace::Frame& inner = calls[n - k];
            frame.interruptedBy = inner.interrupt;
            frame.pc = inner.interrupt >= 0 ? inner.returnAddress
                                            : static_cast<std::uint16_t>(inner.returnAddress - 1);
        }
        frame.position = info.PositionAt(frame.pc);
        if (k > 0 && frame.position.function) {
            frame.frame.registerBank = static_cast<std::uint8_t>(frame.position.function->registerBank & 3);
        }
        if (k < n) {
            frame.frame.stackFrame = CFrame::StackFrameFromEntrySp(calls[n - k - 1].stackTop);
        }
        stack.push_back(frame);
    }
    if (framePointer) {
        // The outermost activation's _bp: saved by the first reentrant
        // activation it led to, once that one's prologue has pushed it; live
        // in _bp otherwise.
        std::uint8_t bp = p.ucIntRAM[*framePointer];
        for (std::size_t j = 0; j < n; ++j) {
            const CStackFrame& callee = stack[n - 1 - j];
            const CFunction* function = callee.position.function;
            if (!function || !function->reentrant) continue;
            if (n - 1 - j != 0 || p.usPC != function->start) {
                bp = p.ReadIndirect(static_cast<std::uint8_t>(calls[j].stackTop + 1));
            }
            break;
        }
        stack[n].frame.stackFrame = bp;
    }
    return stack;
}

}  // namespace tessaly
