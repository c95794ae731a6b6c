#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "core/Processor.h"

namespace tessaly {

// The recorded past of the machine, for going back in time. The engine is
// deterministic: from a copy of the whole machine (a checkpoint) the same
// instructions always leave the same state. So the history keeps checkpoints
// taken as the program runs, and one after every change made from outside
// the program (an edit, a byte typed to the serial port, a forced interrupt,
// an engine option), and rebuilds any earlier instruction count by running
// forward from the checkpoint before it: no re-run ever crosses an input.
//
// Positions are instruction counts. A change made at count N belongs to N:
// going back to N gives the machine as it was after the change, to N - 1 as
// it was before. Checkpoints past the position gone back to are dropped, so
// the history is always one line of time ending at the machine as it is.
//
// The memory kept is bounded; the oldest checkpoints go first, which moves
// where history starts. A bound of 0 records nothing.
class RunHistory {
public:
    static constexpr std::uint64_t kDefaultLimitBytes = 256ull << 20;
    // Instructions between two checkpoints of a run: a re-run of that many
    // takes a few milliseconds.
    static constexpr std::uint64_t kDefaultInterval = 1u << 20;

    RunHistory();
    ~RunHistory();
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    // The memory bound in bytes; 0 stops recording and forgets the past.
    void SetLimit(std::uint64_t bytes);
    std::uint64_t Limit() const { return limit_; }
    bool Recording() const { return limit_ != 0; }
    // Instructions a run goes between two checkpoints (at least 1).
    void SetInterval(std::uint64_t instructions) { interval_ = instructions ? instructions : 1; }

    // Forgets the past: history starts again at `p` as it is now (a program
    // load, a reset, an opened simulation).
    void Restart(const Processor& p);
    // After `p` was changed from outside the program: the change is kept as
    // a checkpoint. A count that went back (a reset) starts history again.
    void NoteChange(const Processor& p);
    // Between batches of a run: a checkpoint once enough instructions ran.
    void NoteProgress(const Processor& p) {
        if (limit_ != 0 && p.ullInstructionsExecuted >= nextCheckpoint_) Take(p);
    }

    bool Empty() const { return checkpoints_.empty(); }
    // The earliest instruction count the machine can go back to (0 when
    // nothing is recorded).
    std::uint64_t Start() const { return checkpoints_.empty() ? 0 : checkpoints_.front().instructions; }
    std::size_t Checkpoints() const { return checkpoints_.size(); }
    std::uint64_t MemoryUsed() const { return used_; }
    // How many times a machine was put back in the past: views that keep
    // what they showed (the terminal) start again when it changes.
    std::uint64_t Rewinds() const { return rewinds_; }

    // Brings `p` back to instruction count `target`, between Start() and
    // where `p` is now; false, changing nothing, outside that. The engine
    // options and data watch `p` has now stay; the instruction history keeps
    // the lines `p` showed for those instructions when it still has them.
    bool Rewind(Processor& p, std::uint64_t target);

    // What a search of the past takes from the machine before it loads
    // checkpoints into it, to give back with Return.
    struct Present {
        std::uint64_t instructions = 0;
        InstructionHistory shown;
        bool hardwareSerial = false;
        bool xramPaging = false;
        double crystal = 0;
        DataWatch* watch = nullptr;
    };
    // Keeps the machine as it is as a checkpoint, and takes what Return needs.
    Present Leave(Processor& p);
    // Puts `p` at instruction count `target` (from Start() up to where it was
    // when left) with the present's options, watch and instruction history.
    void Return(Processor& p, Present present, std::uint64_t target);

    // --- for searches of the past -----------------------------------------
    // Checkpoint `index`'s instruction count; the last one with a count at
    // or before `target` (which must not be before Start()).
    std::uint64_t CountAt(std::size_t index) const { return checkpoints_[index].instructions; }
    std::size_t IndexBefore(std::uint64_t target) const;
    // Puts checkpoint `index` into `p`, with the engine options it was taken
    // with and no data watch, ready to run forward as it once did.
    void Load(Processor& p, std::size_t index) const;

private:
    struct Checkpoint {
        std::uint64_t instructions = 0;
        std::unique_ptr<Processor> state;
        std::uint64_t bytes = 0;
    };
    // With `bounded` clear the bound may be passed until the next Take: a
    // search keeps the present that way without losing the past it needs.
    void Take(const Processor& p, bool bounded = true);
    // Drops the checkpoints past instruction count `count`.
    void DropAfter(std::uint64_t count);
    void DropOldest();
    std::unique_ptr<Processor> CopyOf(const Processor& p);

    std::deque<Checkpoint> checkpoints_;
    // A dropped checkpoint's machine, reused by the next one: copying into
    // memory already touched is several times faster than into new pages.
    std::unique_ptr<Processor> spare_;
    std::uint64_t limit_ = kDefaultLimitBytes;
    std::uint64_t used_ = 0;
    std::uint64_t nextCheckpoint_ = 0;
    std::uint64_t interval_ = kDefaultInterval;
    std::uint64_t rewinds_ = 0;
};

// How a reverse command that ran out of history tells where it stopped:
// "History starts at instruction 1048576".
std::string HistoryStartText(std::uint64_t start);

}  // namespace tessaly
