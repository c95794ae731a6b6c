#include "loading/BinLoader.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

namespace tessaly {

namespace {

constexpr std::uintmax_t kImageSize = 0x10000;

}  // namespace

BinLoad LoadBinFile(const std::filesystem::path& path, Processor& processor, MessageHost& host) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return BinLoad::CannotOpen;
    std::ifstream in(path, std::ios::binary);
    if (!in) return BinLoad::CannotOpen;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return BinLoad::CannotOpen;

    if (size > kImageSize) {
        host.Tell(MessageKind::Plain, "Warning ! File length is greater than 64K\r\nFirst 64K bytes will be loaded");
        size = kImageSize;
    }
    auto& code = processor.ucCodeMemory;
    std::fill_n(code.begin(), kImageSize, std::uint8_t{0});
    in.read(reinterpret_cast<char*>(code.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        host.Tell(MessageKind::Plain, "Cannot read all bytes");
        return BinLoad::ShortRead;
    }
    processor.iProgramSize = static_cast<std::int32_t>(size);
    return BinLoad::Ok;
}

}  // namespace tessaly
