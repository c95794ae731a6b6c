#include "control/SourceStep.h"

namespace tessaly {

namespace {

bool SameLine(const CSourceLine& a, const CSourceLine& b) { return a.line == b.line && a.file == b.file; }

}  // namespace

SourceStep::SourceStep(Kind kind, const DebugInfo& info, const AddressSet& lineStarts, std::size_t depth,
                       const CSourceLine& line)
    : kind_(kind), info_(&info), lineStarts_(&lineStarts), candidates_(lineStarts), depth_(depth), line_(&line) {}

std::optional<SourceStep> SourceStep::Begin(Kind kind, const Processor& p, const DebugInfo& info,
                                            const AddressSet& lineStarts) {
    const CSourcePosition here = info.PositionAt(p.usPC);
    if (!here.line) return std::nullopt;
    const auto frames = p.calls.Frames(p.ReadDirect(sfr::SP));
    SourceStep step(kind, info, lineStarts, frames.size(), *here.line);
    if (!frames.empty()) {
        // Where this activation returns: the step notices the return there,
        // and ends there when no caller has source.
        step.candidates_.Insert(frames.back().returnAddress);
        for (std::size_t k = frames.size(); k-- > 0;) {
            const CallTrace::Frame& call = frames[k];
            const auto at = call.interrupt >= 0 ? call.returnAddress
                                                : static_cast<std::uint16_t>(call.returnAddress - 1);
            if (info.PositionAt(at).line) {
                step.callerDepth_ = k;
                break;
            }
        }
    }
    return step;
}

bool SourceStep::ReachedInActivation(const Processor& p, std::size_t depth) const {
    if (depth > depth_) {
        if (kind_ != Kind::Into) return false;
        const auto frames = p.calls.Frames(p.ReadDirect(sfr::SP));
        for (std::size_t i = depth_; i < depth; ++i) {
            if (frames[i].interrupt >= 0) return false;
        }
    }
    if (kind_ == Kind::Out || !lineStarts_->Contains(p.usPC)) return false;
    const CSourcePosition here = info_->PositionAt(p.usPC);
    if (!here.line) return false;
    if (here.function && here.function->start == p.usPC && info_->BodyStart(*here.function) != p.usPC) {
        return false;  // a callee's prologue: its first body line comes next
    }
    return depth > depth_ || !SameLine(*here.line, *line_);
}

bool SourceStep::ReachedAt(const Processor& p) {
    const std::size_t depth = p.calls.Frames(p.ReadDirect(sfr::SP)).size();
    if (depth < depth_) returned_ = true;
    if (!returned_) return ReachedInActivation(p, depth);
    if (!callerDepth_) return true;
    return depth <= *callerDepth_ && lineStarts_->Contains(p.usPC) && info_->PositionAt(p.usPC).line;
}

}  // namespace tessaly
