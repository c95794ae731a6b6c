#include "util/SafeFileWriter.h"

#include <system_error>

namespace tessaly {

SafeFileWriter::SafeFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    temporary_ = target_;
    temporary_ += ".saving";
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_.is_open()) done_ = true;
}

SafeFileWriter::~SafeFileWriter() {
    if (!done_) Discard();
}

void SafeFileWriter::Discard() {
    done_ = true;
    if (stream_.is_open()) stream_.close();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

bool SafeFileWriter::Commit() {
    if (done_) return false;
    stream_.flush();
    const bool written = static_cast<bool>(stream_);
    stream_.close();
    if (!written || stream_.fail()) {
        Discard();
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) {
        Discard();
        return false;
    }
    done_ = true;
    return true;
}

}  // namespace tessaly
