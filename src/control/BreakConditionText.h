#pragma once

#include <string>

#include "control/BreakCondition.h"

namespace tessaly {

// A condition written back as it is typed: "30H >= 3", the value in decimal.
std::string BreakConditionText(const BreakCondition& condition);

// A hit count written back as it is typed: "4", ">=4", ">4", "%4".
std::string HitConditionText(const HitCondition& hits);

}  // namespace tessaly
