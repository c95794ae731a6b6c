#include "util/FileBytes.h"

#include <array>
#include <fstream>

namespace tessaly {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string contents;
    std::array<char, 65536> chunk;
    // Read until the end rather than trusting a size query, so that a file
    // that changes size while it is read still yields what was there.
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        contents.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return contents;
}

}  // namespace tessaly
