#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextList.h"
#include "core/TextPool.h"

namespace tessaly {

// The executed-instruction history: one line per executed instruction, read
// like a TextList. Between two refreshes of the display the engine appends the
// same decoded text for every instruction, so lines are kept as runs of one
// text: an instruction that repeats the last text costs two increments.
class InstructionHistory {
public:
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // Line `index`, which must exist. Reading the lines in order is cheap.
    const std::string& operator[](std::size_t index) const;
    const std::string& Last() const { return pool_[runs_.back().id]; }

    void Append(const TrackedText& text) {
        // The last run reaches to the end, so extending it is counting a line.
        if (text.Stamp() == lastRunStamp_) [[likely]] {
            ++count_;
            return;
        }
        StartRun(pool_.Intern(text.str()));
        lastRunStamp_ = text.Stamp();
    }
    void Append(std::string_view text);
    // Appends `text` `n` times, emptying the list first whenever it holds more
    // than `limit` lines, as n single appends that each look at the limit do.
    void AppendRepeated(const TrackedText& text, std::uint64_t n, std::size_t limit);
    void Clear();
    // Removes the last `n` lines (all of them when there are fewer).
    void DropLast(std::size_t n);
    // Roughly what the list holds on the heap, for memory budgets.
    std::size_t StorageBytes() const { return runs_.capacity() * sizeof(Run) + pool_.Size() * 32; }

    // Every line followed by CR LF, as the snapshot file stores lists.
    std::string Text() const;
    void SetText(std::string_view text);
    std::vector<std::string> Lines() const;

    friend bool operator==(const InstructionHistory& a, const InstructionHistory& b) {
        return a.Lines() == b.Lines();
    }

private:
    // A run holds its text from line `first` up to the next run's first line
    // (the last run: up to the end).
    struct Run {
        std::uint32_t id;
        std::size_t first;
    };
    void StartRun(std::uint32_t id);
    std::size_t RunEnd(std::size_t run) const { return run + 1 < runs_.size() ? runs_[run + 1].first : count_; }

    std::vector<Run> runs_;
    std::size_t count_ = 0;
    TextPool pool_;
    // The stamp of the tracked text the last run was appended from; kNoStamp
    // when the last run did not come from a tracked text.
    static constexpr std::uint64_t kNoStamp = ~std::uint64_t{0};
    std::uint64_t lastRunStamp_ = kNoStamp;
    // The run of the last indexed read, so that reading in order is linear.
    mutable std::size_t cursorRun_ = 0;
};

}  // namespace tessaly
