#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/DebugInfo.h"
#include "control/CFrame.h"
#include "control/CObject.h"
#include "core/Processor.h"

namespace tessaly {

// A variable as a front end lists it: the runner's JSON locals, a locals view.
struct CVariableText {
    std::string name;
    std::string type;   // CType::Spelling
    std::string value;  // FormatCValue
};

// A variable listed together with its place, for the front ends that also
// store into it (WriteCValue).
struct CVariable {
    CVariableText text;
    CObject object;
};

CVariableText DescribeSymbol(const Processor& p, const DebugInfo& info, const CSymbol& symbol, const CFrame& frame);
CVariable LocateVariable(const Processor& p, const DebugInfo& info, const CSymbol& symbol, const CFrame& frame);

// The locals and parameters in scope at pc (DebugInfo::LocalsAt) of the
// function holding pc; none outside every function.
std::vector<CVariableText> DescribeLocals(const Processor& p, const DebugInfo& info, std::uint16_t pc,
                                          const CFrame& frame);
std::vector<CVariable> LocateLocals(const Processor& p, const DebugInfo& info, std::uint16_t pc, const CFrame& frame);

}  // namespace tessaly
