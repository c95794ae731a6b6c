#include "control/SourceStepBack.h"

#include "core/Sfr.h"

namespace tessaly {

namespace {

std::size_t Depth(const Processor& p) { return p.calls.Frames(p.ReadDirect(sfr::SP)).size(); }

}  // namespace

std::optional<SourceStepBack> SourceStepBack::Begin(const Processor& p, const DebugInfo& info,
                                                    const AddressSet& lineStarts) {
    const CSourcePosition here = info.PositionAt(p.usPC);
    if (!here.line) return std::nullopt;
    return SourceStepBack(info, lineStarts, Depth(p), *here.line, lineStarts.Contains(p.usPC));
}

bool SourceStepBack::AcceptAt(const Processor& p) {
    const std::size_t depth = Depth(p);
    if (depth > depth_) return false;
    const CSourcePosition here = info_->PositionAt(p.usPC);
    if (!here.line) return false;
    // A function's prologue is no line of its own: its first body line is.
    if (here.function && here.function->start == p.usPC && info_->BodyStart(*here.function) != p.usPC) return false;
    if (!atLineStart_ || depth < depth_) return true;
    return here.line->line != line_->line || here.line->file != line_->file;
}

}  // namespace tessaly
