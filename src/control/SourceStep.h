#pragma once

#include <cstddef>
#include <optional>

#include "analysis/DebugInfo.h"
#include "control/StepGoal.h"

namespace tessaly {

// The C-level steps, as debuggers have them:
// - Into: to the next line that starts, in this function or in a function it
//   calls that has source (stopping after the callee's prologue, at its
//   first body line). Interrupt routines entered meanwhile run through.
// - Over: to the next line of this activation; calls and interrupt routines
//   run through. A loop that stays within one line runs until the line
//   changes.
// - Out: until this activation returns.
// Once the activation has returned, each of them goes on to the next line
// that starts in the nearest caller with source, running through the
// callers without source (library code) and whatever they call; with no
// caller with source at all, it ends where the return lands. Activations are
// told apart by the calls and interrupt entries open on the stack (the
// engine's call trace).
class SourceStep final : public StepGoal {
public:
    enum class Kind { Into, Over, Out };

    // The step from where the processor is; nothing when the PC has no C
    // line (the caller then steps one instruction). `lineStarts` holds the
    // address of every C line record.
    static std::optional<SourceStep> Begin(Kind kind, const Processor& p, const DebugInfo& info,
                                           const AddressSet& lineStarts);

    const AddressSet& Candidates() const override { return candidates_; }
    bool ReachedAt(const Processor& p) override;

private:
    SourceStep(Kind kind, const DebugInfo& info, const AddressSet& lineStarts, std::size_t depth,
               const CSourceLine& line);
    bool ReachedInActivation(const Processor& p, std::size_t depth) const;

    Kind kind_;
    const DebugInfo* info_;
    const AddressSet* lineStarts_;
    AddressSet candidates_;
    std::size_t depth_;
    const CSourceLine* line_;
    // The depth of the nearest caller with source; nothing when none has.
    std::optional<std::size_t> callerDepth_;
    bool returned_ = false;
};

}  // namespace tessaly
