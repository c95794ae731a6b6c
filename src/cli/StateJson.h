#pragma once

#include <ostream>
#include <string>

#include "control/DataBreakPoints.h"
#include "core/Processor.h"
#include "session/SourceDebugger.h"

namespace tessaly::cli {

// The machine state after a run as one JSON object: the stop reason, the
// program counter, counters, SFRs, internal memory, the serial logs and
// rates, interrupts in progress and the message lists. Upper-case hex. With C
// debug information, also where the PC is in the source, the call stack
// (innermost first) and the innermost frame's variables. After a data break
// point, what it found.
void WriteStateJson(std::ostream& out, const Processor& p, const std::string& stopReason, bool withExternalRam,
                    const SourceDebugger* source = nullptr, const DataStop* watch = nullptr);

}  // namespace tessaly::cli
