#pragma once

#include <filesystem>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

namespace bin_status {
inline constexpr int kOk = 1;
inline constexpr int kCannotOpen = -1;
inline constexpr int kShortRead = -2;
}  // namespace bin_status

// Loads a raw binary image at 0000h: at most 64K (a longer file loads its first
// 64K after a warning). Sets iProgramSize to the number of bytes loaded.
// Returns a bin_status code; a file that cannot be opened shows nothing.
int LoadBinFile(const std::filesystem::path& path, Processor& processor, MessageHost& host);

}  // namespace tessaly
