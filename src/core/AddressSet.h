#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace tessaly {

// A set of 16-bit code addresses as 64K bits: membership in constant time,
// for the tests made before every instruction.
class AddressSet {
public:
    static constexpr std::size_t kAddressCount = 0x10000;

    bool Contains(std::uint16_t address) const { return (words_[address >> 6] >> (address & 63)) & 1u; }
    bool Empty() const { return size_ == 0; }
    void Insert(std::uint16_t address) {
        std::uint64_t& word = words_[address >> 6];
        size_ += (word & Bit(address)) == 0;
        word |= Bit(address);
    }
    void Erase(std::uint16_t address) {
        std::uint64_t& word = words_[address >> 6];
        size_ -= (word & Bit(address)) != 0;
        word &= ~Bit(address);
    }
    void Clear() {
        words_.fill(0);
        size_ = 0;
    }
    // Adds every address of `other`.
    void InsertAll(const AddressSet& other) {
        size_ = 0;
        for (std::size_t i = 0; i < words_.size(); ++i) {
            words_[i] |= other.words_[i];
            size_ += static_cast<std::size_t>(std::popcount(words_[i]));
        }
    }

    // Calls `visit` with every address in the set, in ascending order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (std::size_t word = 0; word < words_.size(); ++word) {
            for (std::uint64_t bits = words_[word]; bits != 0; bits &= bits - 1) {
                visit(static_cast<std::uint16_t>(word * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
            }
        }
    }

    friend bool operator==(const AddressSet&, const AddressSet&) = default;

private:
    static std::uint64_t Bit(std::uint16_t address) { return std::uint64_t{1} << (address & 63); }

    std::array<std::uint64_t, kAddressCount / 64> words_{};
    std::size_t size_ = 0;
};

}  // namespace tessaly
