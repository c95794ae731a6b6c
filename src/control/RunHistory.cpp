#include "control/RunHistory.h"

#include <algorithm>

namespace tessaly {

namespace {

// What a copy of the machine costs: the object, and the lists on the heap.
std::uint64_t BytesOf(const Processor& p) {
    const std::size_t lines = p.lstWarnings.Count() + p.lstErrors.Count() + p.lstInterruptsInProgress.Count() +
                              p.lstSymbolCatalogue.Count();
    return sizeof(Processor) + lines * sizeof(std::uint32_t) + p.lstExecutedInstructions.StorageBytes();
}

void RunForward(Processor& p, std::uint64_t count) {
    while (count != 0) {
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, UINT32_MAX));
        p.ExecuteInstructions(n);
        count -= n;
    }
}

}  // namespace

std::string HistoryStartText(std::uint64_t start) {
    return "History starts at instruction " + std::to_string(start);
}

RunHistory::RunHistory() = default;
RunHistory::~RunHistory() = default;

void RunHistory::SetLimit(std::uint64_t bytes) {
    limit_ = bytes;
    if (limit_ == 0) {
        checkpoints_.clear();
        spare_.reset();
        used_ = 0;
        return;
    }
    while (used_ > limit_ && checkpoints_.size() > 1) DropOldest();
}

void RunHistory::Restart(const Processor& p) {
    while (!checkpoints_.empty()) DropOldest();
    if (limit_ != 0) Take(p);
}

void RunHistory::NoteChange(const Processor& p) {
    if (limit_ == 0) return;
    if (!checkpoints_.empty() && p.ullInstructionsExecuted < checkpoints_.back().instructions) {
        Restart(p);
        return;
    }
    Take(p);
}

std::unique_ptr<Processor> RunHistory::CopyOf(const Processor& p) {
    std::unique_ptr<Processor> copy;
    if (spare_) {
        copy = std::move(spare_);
        *copy = p;
    } else {
        copy = std::make_unique<Processor>(p);
    }
    // The watch belongs to the live machine and may not outlive it here.
    copy->SetDataWatch(nullptr);
    return copy;
}

void RunHistory::Take(const Processor& p, bool bounded) {
    const std::uint64_t count = p.ullInstructionsExecuted;
    nextCheckpoint_ = count + interval_;
    // Of checkpoints at one count only the last is ever gone back to.
    if (!checkpoints_.empty() && checkpoints_.back().instructions == count) {
        Checkpoint& last = checkpoints_.back();
        *last.state = p;
        last.state->SetDataWatch(nullptr);
        used_ -= last.bytes;
        last.bytes = BytesOf(p);
        used_ += last.bytes;
    } else {
        Checkpoint checkpoint{count, nullptr, BytesOf(p)};
        checkpoint.state = CopyOf(p);
        used_ += checkpoint.bytes;
        checkpoints_.push_back(std::move(checkpoint));
    }
    // The newest checkpoint stays whatever the bound: it is the way back to
    // the present.
    while (bounded && used_ > limit_ && checkpoints_.size() > 1) DropOldest();
}

void RunHistory::DropOldest() {
    Checkpoint& oldest = checkpoints_.front();
    used_ -= oldest.bytes;
    spare_ = std::move(oldest.state);
    checkpoints_.pop_front();
}

void RunHistory::DropAfter(std::uint64_t count) {
    while (!checkpoints_.empty() && checkpoints_.back().instructions > count) {
        used_ -= checkpoints_.back().bytes;
        spare_ = std::move(checkpoints_.back().state);
        checkpoints_.pop_back();
    }
    nextCheckpoint_ = (checkpoints_.empty() ? count : checkpoints_.back().instructions) + interval_;
}

std::size_t RunHistory::IndexBefore(std::uint64_t target) const {
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), target,
                                        [](std::uint64_t t, const Checkpoint& c) { return t < c.instructions; });
    return after == checkpoints_.begin() ? 0 : static_cast<std::size_t>(after - checkpoints_.begin()) - 1;
}

void RunHistory::Load(Processor& p, std::size_t index) const {
    p = *checkpoints_[index].state;
    p.SetDataWatch(nullptr);
}

RunHistory::Present RunHistory::Leave(Processor& p) {
    Take(p, false);
    Present present;
    present.instructions = p.ullInstructionsExecuted;
    present.shown = p.lstExecutedInstructions;
    present.hardwareSerial = p.HardwareSerial();
    present.xramPaging = p.XramPaging();
    present.crystal = p.CrystalFrequency();
    present.watch = p.ActiveDataWatch();
    return present;
}

void RunHistory::Return(Processor& p, Present present, std::uint64_t target) {
    ++rewinds_;
    target = std::clamp(target, Start(), present.instructions);
    DropAfter(target);
    const std::size_t index = IndexBefore(target);
    Load(p, index);
    RunForward(p, target - checkpoints_[index].instructions);
    // The lines shown for the instructions gone back over are the ones to
    // keep, rather than those a re-run decodes (it decodes nothing).
    const std::uint64_t undone = present.instructions - target;
    if (present.shown.Count() >= undone && present.shown.Count() - undone == p.lstExecutedInstructions.Count()) {
        present.shown.DropLast(static_cast<std::size_t>(undone));
        p.lstExecutedInstructions = std::move(present.shown);
    }
    // The engine choices are the present's: a re-run used those of its past.
    p.SetHardwareSerial(present.hardwareSerial);
    p.SetXramPaging(present.xramPaging);
    if (p.CrystalFrequency() != present.crystal) p.SetCrystalFrequency(present.crystal);
    p.SetDataWatch(present.watch);
    while (used_ > limit_ && checkpoints_.size() > 1) DropOldest();
}

bool RunHistory::Rewind(Processor& p, std::uint64_t target) {
    if (checkpoints_.empty() || target < Start() || target > p.ullInstructionsExecuted) return false;
    if (target == p.ullInstructionsExecuted) return true;
    Return(p, Leave(p), target);
    return true;
}

}  // namespace tessaly
