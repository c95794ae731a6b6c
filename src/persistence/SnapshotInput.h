#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

namespace tessaly {

// The bytes of a snapshot being read. It knows how many bytes are left, so
// no length found in the file can make a read allocate or expect more than
// the file holds. A field is read whole or not at all; after the first read
// that falls short every later read finds no data, as at the end of a file.
// A stream that cannot tell its size (not seekable) reads as empty.
class SnapshotInput {
public:
    explicit SnapshotInput(std::istream& in);

    std::uint64_t Remaining() const { return remaining_; }

    // Reads exactly `size` bytes into `destination`; false, leaving it as it
    // was, when the input holds fewer.
    bool Read(void* destination, std::size_t size);

    // Makes every later read find no data.
    void Exhaust() { remaining_ = 0; }

    // Reads a whole fixed-size field into a local buffer.
    template <std::size_t N>
    bool Read(std::uint8_t (&bytes)[N]) {
        return Read(bytes, N);
    }

private:
    std::istream& in_;
    std::uint64_t remaining_ = 0;
};

}  // namespace tessaly
