#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control/WatchTarget.h"
#include "core/DataWatch.h"
#include "core/Processor.h"

namespace tessaly {

// When a data break point stops the run: after an instruction that writes
// the target (whatever it stores), reads it, or changes its value.
enum class DataAccess : std::uint8_t { Write, Read, Change };

// "write", "read", "change".
std::string_view DataAccessText(DataAccess access);

struct DataBreakPoint {
    WatchTarget target;
    DataAccess access = DataAccess::Write;
};

// Why a run stopped at a data break point: the location as the stop names
// it (for a range, the byte reached), the access, the value before and after
// the instruction in hexadecimal (a bit as 0 or 1) and the instruction's
// address.
struct DataStop {
    std::string location;
    DataAccess access = DataAccess::Write;
    std::string oldValue;
    std::string newValue;
    std::uint16_t pc = 0;
    std::size_t index = 0;  // of the break point in the list
    // The instruction count after the instruction.
    std::uint64_t instruction = 0;
    // Found by Last Write rather than by a run.
    bool lastWrite = false;
};

// How the status bar tells the stop: "Data break point: 32H written 00 -> 01
// at 00A6H", "... changed 00 -> 01 ...", or for a read the value read,
// "Data break point: 32H read 05 at 00A6H". What Last Write found is told
// with its time: "Last write: 32H written 00 -> 01 at 00A6H, instruction
// 1234".
std::string DataStopText(const DataStop& stop);

// The data break points of a session and the engine watch made from them.
// The list is the owner's; Apply hands the watch to the processor (or takes
// it away when the list is empty), so a run without data break points runs
// the plain engine.
class DataBreakPoints {
public:
    DataBreakPoints() = default;
    DataBreakPoints(const DataBreakPoints&) = delete;
    DataBreakPoints& operator=(const DataBreakPoints&) = delete;

    // Adds the break point unless the same target and access are listed;
    // true when added.
    bool Add(DataBreakPoint point);
    bool Remove(std::size_t index);
    void Clear() { points_.clear(); }
    const std::vector<DataBreakPoint>& List() const { return points_; }
    bool Empty() const { return points_.empty(); }

    // Builds the engine watch for the list and sets it on `p`.
    void Apply(Processor& p);
    // Before a run or step: the SFR comparison starts from the machine as it
    // is now, so what a dialog stored in between is no change of the run's.
    void Arm(Processor& p);

    // After the engine stopped with watch events: the first break point
    // they satisfy (a change break point only when the value differs), or
    // nothing, in which case the run may go on. The events are consumed.
    std::optional<DataStop> TakeStop(const Processor& p);

private:
    std::vector<DataBreakPoint> points_;
    DataWatch watch_;
};

// The value of a watched target as a stop shows it: hexadecimal, two digits
// a byte, most significant first; a bit as 0 or 1. `before` gives bytes
// whose value differs from the machine's (the event's value from before the
// instruction).
std::string WatchValueText(const Processor& p, const WatchTarget& target, const std::vector<WatchEvent>& before = {});

}  // namespace tessaly
