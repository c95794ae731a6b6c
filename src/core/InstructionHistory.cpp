#include "core/InstructionHistory.h"

#include "core/Lines.h"

namespace tessaly {

const std::string& InstructionHistory::operator[](std::size_t index) const {
    if (cursorRun_ >= runs_.size() || index < cursorFirstLine_) {
        cursorRun_ = 0;
        cursorFirstLine_ = 0;
    }
    while (index >= cursorFirstLine_ + runs_[cursorRun_].count) {
        cursorFirstLine_ += runs_[cursorRun_].count;
        ++cursorRun_;
    }
    return pool_[runs_[cursorRun_].id];
}

void InstructionHistory::StartRun(std::uint32_t id) {
    if (!runs_.empty() && runs_.back().id == id) ++runs_.back().count;
    else runs_.push_back({id, 1});
    ++count_;
}

void InstructionHistory::Append(std::string_view text) {
    StartRun(pool_.Intern(text));
    lastRunStamp_ = kNoStamp;
}

void InstructionHistory::DeleteLast() {
    if (--runs_.back().count == 0) {
        runs_.pop_back();
        lastRunStamp_ = kNoStamp;
    }
    --count_;
}

void InstructionHistory::Clear() {
    runs_.clear();
    count_ = 0;
    lastRunStamp_ = kNoStamp;
    cursorRun_ = cursorFirstLine_ = 0;
    if (pool_.Size() > TextPool::kKeepLimit) pool_.Clear();
}

std::string InstructionHistory::Text() const {
    std::string out;
    for (const Run& run : runs_) {
        for (std::uint32_t i = 0; i < run.count; ++i) {
            out += pool_[run.id];
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
    for (const Run& run : runs_) out.insert(out.end(), run.count, pool_[run.id]);
    return out;
}

}  // namespace tessaly
