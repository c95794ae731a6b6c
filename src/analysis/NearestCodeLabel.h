#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/Workspace.h"

namespace tessaly {

// A code label at or below an address, and how far the address lies past it.
struct CodeLabelDistance {
    std::string label;
    std::uint16_t distance = 0;
};

// The nearest code label of the workspace at or below `address`, at most
// `reach` bytes below it, as a call stack names code that has no C source
// (a library routine, start-up code). Nothing when no label is that close.
std::optional<CodeLabelDistance> NearestCodeLabel(const Workspace& w, std::uint16_t address,
                                                  std::uint16_t reach = 0x1000);

}  // namespace tessaly
