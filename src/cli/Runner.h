#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tessaly::cli {

inline constexpr int kExitStopped = 0;    // a break point or the self-loop stopped the run
inline constexpr int kExitLimit = 1;      // a limit stopped the run
inline constexpr int kExitBadInput = 2;   // the program could not be loaded or the arguments are wrong

// The whole of `tessaly-run`: parses the arguments, loads the program or
// snapshot, runs it and writes what was asked for. "-" outputs go to `out`,
// messages to `err`. Returns the exit status.
int RunTessaly(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tessaly::cli
