#pragma once

#include <filesystem>
#include <fstream>

namespace tessaly {

// Writes a file under a temporary name next to it and renames it into place
// only when every byte was written, so a failed save (full disk, vanished
// directory) leaves the previous file as it was.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::filesystem::path target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False when the temporary file could not be created.
    bool IsOpen() const { return stream_.is_open(); }
    std::ostream& Stream() { return stream_; }

    // Flushes, closes and renames; false (and the target untouched) when any
    // write, the close or the rename failed.
    bool Commit();

private:
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream stream_;
    bool done_ = false;
};

}  // namespace tessaly
