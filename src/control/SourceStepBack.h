#pragma once

#include <cstddef>
#include <optional>

#include "analysis/DebugInfo.h"
#include "control/BackwardGoal.h"

namespace tessaly {

// Step Back Line, the reverse of Step Over: back to where the line before
// this one started in this activation (or, from the first line of a
// function, to the line of the caller that called it). From inside a line,
// back to where this line started. Calls and interrupt routines made in
// between are gone back over.
class SourceStepBack final : public BackwardGoal {
public:
    // Nothing when the PC has no C line (the caller then steps back one
    // instruction). `lineStarts` holds the address of every C line record.
    static std::optional<SourceStepBack> Begin(const Processor& p, const DebugInfo& info, const AddressSet& lineStarts);

    const AddressSet& Candidates() const override { return *lineStarts_; }
    bool AcceptAt(const Processor& p) override;
    DataBreakPoints* DataStops() override { return nullptr; }
    StopReason CandidateReason() const override { return StopReason::StepEnd; }

private:
    SourceStepBack(const DebugInfo& info, const AddressSet& lineStarts, std::size_t depth, const CSourceLine& line,
                   bool atLineStart)
        : info_(&info), lineStarts_(&lineStarts), depth_(depth), line_(&line), atLineStart_(atLineStart) {}

    const DebugInfo* info_;
    const AddressSet* lineStarts_;
    std::size_t depth_;
    const CSourceLine* line_;
    bool atLineStart_;
};

}  // namespace tessaly
