#pragma once

#include "core/AddressSet.h"
#include "core/Processor.h"

namespace tessaly {

// Where a step to a place ends: the source-level steps and Run to Cursor.
// The controller runs the program as a free run does and asks only at the
// goal's candidate addresses, before their instruction; break points stop
// it on the way as they stop any run.
class StepGoal {
public:
    virtual ~StepGoal() = default;
    virtual const AddressSet& Candidates() const = 0;
    // At a candidate address: true when the step ends here. A goal may
    // remember what it saw on the way.
    virtual bool ReachedAt(const Processor& p) = 0;
};

// Run to Cursor: the first time the program reaches the address.
class AddressGoal final : public StepGoal {
public:
    explicit AddressGoal(std::uint16_t address) { candidates_.Insert(address); }
    const AddressSet& Candidates() const override { return candidates_; }
    bool ReachedAt(const Processor&) override { return true; }

private:
    AddressSet candidates_;
};

}  // namespace tessaly
