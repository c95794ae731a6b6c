#include "session/Session.h"

#include <optional>

namespace tessaly {

std::variant<WatchTarget, std::string> Session::ResolveTarget(std::string_view text) const {
    std::optional<CScope> scope;
    if (const DebugInfo* info = source_.Info()) {
        const std::vector<CStackFrame> stack = source_.CallStack(*processor_);
        scope = CScope{info, processor_->usPC, stack.empty() ? CFrame{} : stack.front().frame};
    }
    return ResolveWatchTarget(*processor_, text, scope ? &*scope : nullptr);
}

std::variant<std::int64_t, std::string> Session::ReadValue(std::string_view text) const {
    auto target = ResolveTarget(text);
    if (const std::string* why = std::get_if<std::string>(&target)) return *why;
    return WatchValue(*processor_, std::get<WatchTarget>(target));
}

std::string Session::AddDataBreakPoint(std::string_view text, DataAccess access) {
    auto target = ResolveTarget(text);
    if (const std::string* why = std::get_if<std::string>(&target)) return *why;
    dataBreakPoints_.Add({std::move(std::get<WatchTarget>(target)), access});
    dataBreakPoints_.Apply(*processor_);
    return {};
}

bool Session::RemoveDataBreakPoint(std::size_t index) {
    if (!dataBreakPoints_.Remove(index)) return false;
    dataBreakPoints_.Apply(*processor_);
    return true;
}

void Session::ClearDataBreakPoints() {
    dataBreakPoints_.Clear();
    dataBreakPoints_.Apply(*processor_);
}

}  // namespace tessaly
