#pragma once

#include <filesystem>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

// What loading a binary image came to.
enum class BinLoad { Ok, CannotOpen, ShortRead };

// Loads a raw binary image at 0000h: at most 64K (a longer file loads its first
// 64K after a warning). Sets iProgramSize to the number of bytes loaded.
// A file that cannot be opened shows nothing.
BinLoad LoadBinFile(const std::filesystem::path& path, Processor& processor, MessageHost& host);

}  // namespace tessaly
