#pragma once

#include <cstdint>

namespace tessaly {

// Values of Processor::ucExecutionStatus: which job the shared jump routines do.
inline constexpr std::uint8_t kStatusReset = 0;
inline constexpr std::uint8_t kStatusExecuting = 1;
inline constexpr std::uint8_t kStatusDecoding = 2;

}  // namespace tessaly
