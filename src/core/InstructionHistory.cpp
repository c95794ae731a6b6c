#include "core/InstructionHistory.h"

#include <algorithm>

#include "util/Lines.h"

namespace tessaly {

const std::string& InstructionHistory::operator[](std::size_t index) const {
    if (cursorRun_ >= runs_.size() || index < runs_[cursorRun_].first) cursorRun_ = 0;
    while (index >= RunEnd(cursorRun_)) ++cursorRun_;
    return pool_[runs_[cursorRun_].id];
}

void InstructionHistory::StartRun(std::uint32_t id) {
    if (runs_.empty() || runs_.back().id != id) runs_.push_back({id, count_});
    ++count_;
}

void InstructionHistory::Append(std::string_view text) {
    StartRun(pool_.Intern(text));
    lastRunStamp_ = kNoStamp;
}

void InstructionHistory::Clear() {
    runs_.clear();
    count_ = 0;
    lastRunStamp_ = kNoStamp;
    cursorRun_ = 0;
    if (pool_.Size() > TextPool::kKeepLimit) pool_.Clear();
}

void InstructionHistory::AppendRepeated(const TrackedText& text, std::uint64_t n, std::size_t limit) {
    while (n != 0) {
        if (count_ > limit) Clear();
        // Lines that fit before the limit is looked at again.
        const std::uint64_t lines = std::min<std::uint64_t>(n, limit + 1 - count_);
        Append(text);
        count_ += static_cast<std::size_t>(lines - 1);
        n -= lines;
    }
}

void InstructionHistory::DropLast(std::size_t n) {
    count_ = n < count_ ? count_ - n : 0;
    while (!runs_.empty() && runs_.back().first >= count_) runs_.pop_back();
    lastRunStamp_ = kNoStamp;
    cursorRun_ = 0;
}

std::string InstructionHistory::Text() const {
    std::string out;
    for (std::size_t run = 0; run < runs_.size(); ++run) {
        for (std::size_t line = runs_[run].first; line < RunEnd(run); ++line) {
            out += pool_[runs_[run].id];
            out += "\r\n";
        }
    }
    return out;
}

void InstructionHistory::SetText(std::string_view text) {
    Clear();
    ForEachLine(text, [this](std::string_view line) { Append(line); });
}

std::vector<std::string> InstructionHistory::Lines() const {
    std::vector<std::string> out;
    out.reserve(count_);
    for (std::size_t run = 0; run < runs_.size(); ++run) {
        out.insert(out.end(), RunEnd(run) - runs_[run].first, pool_[runs_[run].id]);
    }
    return out;
}

}  // namespace tessaly
