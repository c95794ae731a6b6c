#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tessaly {

// The whole contents of a file, or nothing when it cannot be opened or read
// (a directory included).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace tessaly
