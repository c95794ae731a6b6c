#pragma once

#include <ostream>
#include <string>

#include "core/Processor.h"

namespace tessaly::cli {

// The machine state after a run as one JSON object: the stop reason, the
// program counter, counters, SFRs, internal memory, the serial logs and
// rates, interrupts in progress and the message lists. Upper-case hex.
void WriteStateJson(std::ostream& out, const Processor& p, const std::string& stopReason, bool withExternalRam);

}  // namespace tessaly::cli
