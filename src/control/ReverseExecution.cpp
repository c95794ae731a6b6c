// The reverse commands of the execution controller: the machine goes back
// by loading a checkpoint of the recorded history and running forward from
// it, and a search of the past runs each stretch between two checkpoints
// again, newest first, noting where its goal was met.
#include <algorithm>

#include "control/BackwardGoal.h"
#include "control/ExecutionController.h"
#include "control/RunHistory.h"
#include "core/DataWatch.h"
#include "core/Processor.h"

namespace tessaly {

namespace {

// Instructions a search runs between two looks at its watch's events.
constexpr std::uint32_t kSearchSlice = 1u << 20;

struct Found {
    std::uint64_t at = 0;
    StopReason reason = StopReason::None;
    std::optional<DataStop> data;
};

// The latest place in the stretch of checkpoint `index` at which `goal` is
// met, before instruction count `before`. A place at the next checkpoint's
// count belongs to that checkpoint: the machine there is the one kept after
// a change made from outside, which the next stretch's search looks at.
std::optional<Found> SearchStretch(Processor& p, const RunHistory& history, BackwardGoal& goal, std::size_t index,
                                   std::uint64_t before) {
    const std::uint64_t next = index + 1 < history.Checkpoints() ? history.CountAt(index + 1) : before;
    const std::uint64_t end = std::min(next, before - 1);
    history.Load(p, index);
    DataBreakPoints* data = goal.DataStops();
    if (data) data->Apply(p);
    const AddressSet& candidates = goal.Candidates();
    std::optional<Found> found;
    const auto lookHere = [&] {
        const std::uint64_t at = p.ullInstructionsExecuted;
        if (at <= end && at != next && candidates.Contains(p.usPC) && goal.AcceptAt(p)) {
            found = Found{at, goal.CandidateReason(), std::nullopt};
        }
    };
    lookHere();
    while (p.ullInstructionsExecuted < end) {
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(end - p.ullInstructionsExecuted, kSearchSlice));
        if (candidates.Contains(p.usPC)) p.ExecuteInstructions(1);
        else p.ExecuteUntil(n, candidates, UINT64_MAX);
        const DataWatch* watch = p.ActiveDataWatch();
        if (data && watch && watch->HasEvents()) {
            if (auto stop = data->TakeStop(p)) found = Found{p.ullInstructionsExecuted, StopReason::DataBreakPoint, std::move(stop)};
        }
        lookHere();
    }
    return found;
}

// Reverse Continue's goal: the break points whose conditions hold, and the
// data break points.
class EarlierStop final : public BackwardGoal {
public:
    EarlierStop(const AddressSet& breakPoints, const BreakPointConditions* conditions,
                const BreakPointConditions::Evaluator& evaluate, DataBreakPoints* data)
        : breakPoints_(breakPoints), conditions_(conditions), evaluate_(evaluate), data_(data) {}
    const AddressSet& Candidates() const override { return breakPoints_; }
    bool AcceptAt(const Processor& p) override { return !conditions_ || conditions_->ConditionHolds(p.usPC, evaluate_); }
    DataBreakPoints* DataStops() override { return data_ && !data_->Empty() ? data_ : nullptr; }

private:
    const AddressSet& breakPoints_;
    const BreakPointConditions* conditions_;
    const BreakPointConditions::Evaluator& evaluate_;
    DataBreakPoints* data_;
};

}  // namespace

void ExecutionController::StepBack(std::uint64_t count) {
    BeginStep();
    lastStop_ = StopReason::HistoryStart;
    const std::uint64_t now = p_.ullInstructionsExecuted;
    if (history_ && !history_->Empty() && now >= history_->Start()) {
        const std::uint64_t reach = now - history_->Start();
        history_->Rewind(p_, now - std::min(count, reach));
        if (count <= reach) lastStop_ = StopReason::StepEnd;
    }
    EndReverse();
    EndStep();
}

void ExecutionController::ReverseContinue() {
    EarlierStop goal(breakPoints_.Addresses(), conditions_, evaluate_, dataBreakPoints_);
    ReverseTo(goal);
}

void ExecutionController::ReverseTo(BackwardGoal& goal) {
    BeginStep();
    lastStop_ = StopReason::HistoryStart;
    const std::uint64_t now = p_.ullInstructionsExecuted;
    if (history_ && !history_->Empty() && now >= history_->Start()) {
        RunHistory::Present present = history_->Leave(p_);
        const std::uint64_t start = history_->Start();
        std::optional<Found> found;
        if (now > start) {
            for (std::size_t index = history_->IndexBefore(now - 1);; --index) {
                found = SearchStretch(p_, *history_, goal, index, now);
                if (found || index == 0) break;
            }
        }
        history_->Return(p_, std::move(present), found ? found->at : start);
        if (found) {
            lastStop_ = found->reason;
            lastDataStop_ = std::move(found->data);
            if (lastDataStop_) lastDataStop_->lastWrite = goal.FindsLastWrite();
        }
    }
    EndReverse();
    EndStep();
}

void ExecutionController::EndReverse() {
    // A run resumed at a break point executes its instruction first, as
    // after a run's stop there.
    p_.bSkipBreakPointOnce = breakPoints_.Contains(p_.usPC) ? 1 : 0;
    DecodeCurrentInstruction();
    host_.RefreshExternalRAMFully();
    RefreshViews();
    if (lastStop_ == StopReason::BreakPoint) {
        host_.SetStatusText(StatusPanel::Errors, run_status::kBreakPointEncountered, false);
    } else if (lastStop_ == StopReason::HistoryStart) {
        host_.SetStatusText(StatusPanel::Errors, HistoryStartText(history_ && !history_->Empty() ? history_->Start() : p_.ullInstructionsExecuted),
                            false);
    }
    host_.SetStatusText(StatusPanel::State, run_status::kDebuggingStopped, false);
    host_.PumpEvents();
}

}  // namespace tessaly
