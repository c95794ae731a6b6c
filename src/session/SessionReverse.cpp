#include "control/SourceStepBack.h"
#include "persistence/EngineOptions.h"
#include "session/Session.h"

namespace tessaly {

namespace {

// Last Write's goal: the latest instruction that wrote the target.
class LastWriteGoal final : public BackwardGoal {
public:
    explicit LastWriteGoal(WatchTarget target) { writes_.Add({std::move(target), DataAccess::Write}); }
    const AddressSet& Candidates() const override { return none_; }
    bool AcceptAt(const Processor&) override { return false; }
    DataBreakPoints* DataStops() override { return &writes_; }
    bool FindsLastWrite() const override { return true; }

private:
    AddressSet none_;
    DataBreakPoints writes_;
};

}  // namespace

void Session::SetHistoryMegabytes(std::uint16_t megabytes) {
    engineOptions_.historyMegabytes = megabytes;
    history_.SetLimit(std::uint64_t{megabytes} << 20);
    // Recording starts from the machine as it is.
    if (history_.Empty()) history_.Restart(*processor_);
    if (HasConfigurationFiles()) SaveEngineOptions(configDirectory_, engineOptions_);
}

void Session::StepBack(std::uint64_t count) { controller_.StepBack(count); }

void Session::StepBackLine() {
    std::optional<SourceStepBack> goal;
    if (const DebugInfo* info = source_.Info()) goal = SourceStepBack::Begin(*processor_, *info, source_.LineStarts());
    if (goal) controller_.ReverseTo(*goal);
    else controller_.StepBack(1);
}

void Session::ReverseContinue() { controller_.ReverseContinue(); }

std::string Session::LastWrite(std::string_view text) {
    auto target = ResolveTarget(text);
    if (const std::string* why = std::get_if<std::string>(&target)) return *why;
    LastWriteGoal goal(std::move(std::get<WatchTarget>(target)));
    controller_.ReverseTo(goal);
    return {};
}

}  // namespace tessaly
