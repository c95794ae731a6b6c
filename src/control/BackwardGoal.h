#pragma once

#include "control/RunHost.h"
#include "core/AddressSet.h"
#include "core/Processor.h"

namespace tessaly {

class DataBreakPoints;

// What a reverse command looks for in the recorded past: the latest earlier
// instruction count at which the goal is met. It is met before an
// instruction at one of its candidate addresses that it accepts, or after an
// instruction that reaches one of its data break points.
class BackwardGoal {
public:
    virtual ~BackwardGoal() = default;
    virtual const AddressSet& Candidates() const = 0;
    // At a candidate address, in the past being searched: true when met.
    virtual bool AcceptAt(const Processor& p) = 0;
    // The data break points whose stops meet the goal; nullptr for none.
    virtual DataBreakPoints* DataStops() = 0;
    // How the stop at a met candidate is told: as a break point's, or as the
    // end of a step.
    virtual StopReason CandidateReason() const { return StopReason::BreakPoint; }
    // True when the data stop found is the last write of what it watches.
    virtual bool FindsLastWrite() const { return false; }
};

}  // namespace tessaly
