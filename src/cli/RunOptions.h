#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "control/DataBreakPoints.h"

namespace tessaly::cli {

// What `tessaly-run` was asked to do.
struct RunOptions {
    std::string program;
    std::optional<std::uint64_t> maxInstructions;
    std::optional<std::uint64_t> maxCycles;
    std::optional<std::uint64_t> maxTime;  // simulated microseconds
    std::vector<std::uint16_t> breakPoints;
    // Break points on C places, resolved once the .cdb is loaded: FILE.c:LINE
    // or a function's name (one that reads as a hexadecimal number is taken
    // as an address).
    std::vector<std::string> sourceBreakPoints;
    // --if and --hits, for the --break given before them: which list and
    // which entry of it.
    struct BreakExtra {
        bool source = false;
        std::size_t index = 0;
        std::string condition;
        std::string hits;
    };
    std::vector<BreakExtra> breakExtras;
    // Step Over commands run once the run has stopped at a break point, or
    // from the start when no break point is given.
    std::optional<std::uint64_t> stepLines;
    bool stopOnSelfLoop = false;
    // Once stopped: back to the previous stop, back to the last write of a
    // location, then this many instructions back; and the memory the
    // history may keep.
    bool reverseContinue = false;
    std::string lastWrite;
    std::optional<std::uint64_t> stepBack;
    std::uint16_t historyMegabytes = 256;
    // Data break points: a location as General Read names it, an external
    // RAM or code range, or a C variable, each with the access it stops on.
    struct Watch {
        std::string location;
        DataAccess access = DataAccess::Write;
    };
    std::vector<Watch> watches;
    double crystal = 12000000.0;
    std::vector<std::string> labels;  // imported together, in order
    std::string serialOut;
    std::string trace;
    std::string state;
    bool xram = false;
    std::string saveSnapshot;
    std::string disassemble;
    bool hardwareSerial = false;
    bool xramPaging = false;
    bool help = false;
};

// Instructions run when no stop option is given.
inline constexpr std::uint64_t kDefaultInstructionLimit = 1000000000ull;

struct ParsedOptions {
    RunOptions options;
    std::string error;  // empty when the arguments are fine
};

ParsedOptions ParseRunOptions(const std::vector<std::string>& arguments);

// "1234", "0x1234" and "1234H", hexadecimal, 0000-FFFF.
std::optional<std::uint16_t> ParseHexAddress(const std::string& text);

std::string UsageText();

}  // namespace tessaly::cli
