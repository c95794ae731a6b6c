#include "control/ViewChanges.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace tessaly {

namespace {

std::size_t CellsOf(ViewMemory memory) {
    switch (memory) {
    case ViewMemory::InternalRAM: return 0x100;
    case ViewMemory::Sfrs: return 0x80;
    case ViewMemory::BitMemory: return 0x80;
    case ViewMemory::ExternalRAM: return 0x10000;
    }
    return 0;
}

// Unchanged stretches are passed over a block at a time; between refreshes a
// running program usually touches few of the 64K external RAM cells.
constexpr std::size_t kBlock = 64;

}  // namespace

MemoryShadow::MemoryShadow(ViewMemory memory)
    : memory_(memory), shown_(CellsOf(memory)), highlighted_(CellsOf(memory)) {}

void MemoryShadow::Refresh(const Processor& p) {
    if (memory_ == ViewMemory::ExternalRAM) {
        Compare(std::span<const std::uint8_t>(p.ucExtRAM.data(), shown_.size()));
        return;
    }
    std::array<std::uint8_t, 0x100> now{};
    for (std::size_t cell = 0; cell < shown_.size(); ++cell) {
        const auto index = static_cast<std::uint8_t>(cell);
        switch (memory_) {
        case ViewMemory::InternalRAM: now[cell] = p.ReadIndirect(index); break;
        case ViewMemory::Sfrs: now[cell] = p.ReadDirect(static_cast<std::uint8_t>(0x80 + cell)); break;
        case ViewMemory::BitMemory: now[cell] = p.ReadBit(index); break;
        case ViewMemory::ExternalRAM: break;
        }
    }
    Compare(std::span<const std::uint8_t>(now.data(), shown_.size()));
}

void MemoryShadow::Compare(std::span<const std::uint8_t> now) {
    for (std::uint32_t cell : changed_) highlighted_[cell] = 0;
    std::vector<std::uint32_t> before;
    before.swap(changed_);
    unmarked_.clear();

    if (!valid_) {
        std::copy(now.begin(), now.end(), shown_.begin());
        valid_ = true;
        rewriteAll_ = true;
        return;
    }
    rewriteAll_ = false;
    for (std::size_t start = 0; start < now.size(); start += kBlock) {
        const std::size_t length = std::min(kBlock, now.size() - start);
        if (std::memcmp(now.data() + start, shown_.data() + start, length) == 0) continue;
        for (std::size_t cell = start; cell < start + length; ++cell) {
            if (now[cell] == shown_[cell]) continue;
            shown_[cell] = now[cell];
            highlighted_[cell] = 1;
            changed_.push_back(static_cast<std::uint32_t>(cell));
        }
    }
    std::set_difference(before.begin(), before.end(), changed_.begin(), changed_.end(),
                        std::back_inserter(unmarked_));
}

ListShadow::Change ListShadow::Refresh(const TextList& list) {
    const std::uint64_t revision = list.Revision();
    const std::size_t count = list.Count();
    Change change = Change::Replaced;
    if (valid_) {
        // An append adds one to both revision and count; every other change
        // adds more to the revision than to the count (see TextList).
        const std::uint64_t changes = revision - revision_;
        if (changes == 0) change = Change::None;
        else if (count >= count_ && changes == count - count_) change = Change::Appended;
    }
    firstNewLine_ = change == Change::Appended ? count_ : 0;
    revision_ = revision;
    count_ = count;
    valid_ = true;
    return change;
}

}  // namespace tessaly
