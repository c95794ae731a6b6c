#include "persistence/SnapshotInput.h"

namespace tessaly {

SnapshotInput::SnapshotInput(std::istream& in) : in_(in) {
    const std::istream::pos_type start = in_.tellg();
    if (start == std::istream::pos_type(-1)) return;
    in_.seekg(0, std::ios::end);
    const std::istream::pos_type end = in_.tellg();
    in_.seekg(start);
    if (end != std::istream::pos_type(-1) && end > start && in_) {
        remaining_ = static_cast<std::uint64_t>(end - start);
    }
}

bool SnapshotInput::Read(void* destination, std::size_t size) {
    if (size > remaining_) {
        remaining_ = 0;
        return false;
    }
    if (size == 0) return true;
    in_.read(static_cast<char*>(destination), static_cast<std::streamsize>(size));
    if (in_.gcount() != static_cast<std::streamsize>(size)) {
        remaining_ = 0;
        return false;
    }
    remaining_ -= size;
    return true;
}

}  // namespace tessaly
