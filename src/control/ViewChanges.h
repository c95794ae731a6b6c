#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Processor.h"
#include "core/TextList.h"

namespace tessaly {

// The memories a view shows cell by cell.
enum class ViewMemory : std::uint8_t {
    InternalRAM,  // 256 cells as indirect addressing sees them: 80h-FFh are the upper RAM
    Sfrs,         // 128 cells, the direct addresses 80h-FFh
    BitMemory,    // 128 cells of 0 or 1, the bit addresses 00h-7Fh
    ExternalRAM,  // 65536 cells
};

// One view's copy of the cells it showed at its last refresh. Comparing at
// refresh time keeps the instruction engine free of any bookkeeping for the
// views, and it catches every change, however many instructions ran since.
class MemoryShadow {
public:
    explicit MemoryShadow(ViewMemory memory);

    ViewMemory Memory() const { return memory_; }
    std::size_t CellCount() const { return shown_.size(); }

    // Reads the memory now and compares it with what the view showed.
    void Refresh(const Processor& p);

    // After the first refresh, and the first after Forget: the view writes
    // every cell, with no highlight; Changed() and Unmarked() are empty.
    bool RewriteAll() const { return rewriteAll_; }
    // Cells whose value changed since the refresh before, ascending; they stay
    // highlighted until the next refresh.
    const std::vector<std::uint32_t>& Changed() const { return changed_; }
    // Cells highlighted by the refresh before that did not change again: the
    // view repaints them without the highlight.
    const std::vector<std::uint32_t>& Unmarked() const { return unmarked_; }
    bool IsHighlighted(std::size_t cell) const { return highlighted_[cell] != 0; }
    // The value the view shows in `cell`.
    std::uint8_t Shown(std::size_t cell) const { return shown_[cell]; }

    // The next refresh rewrites every cell (a window opened again, a full
    // refresh after a reset or a snapshot load).
    void Forget() { valid_ = false; }

private:
    void Compare(std::span<const std::uint8_t> now);

    ViewMemory memory_;
    std::vector<std::uint8_t> shown_;
    std::vector<std::uint8_t> highlighted_;
    std::vector<std::uint32_t> changed_;
    std::vector<std::uint32_t> unmarked_;
    bool valid_ = false;
    bool rewriteAll_ = false;
};

// What a view of a text list (warnings, errors) last showed, told by the
// list's revision and count.
class ListShadow {
public:
    enum class Change { None, Appended, Replaced };

    // Compares the list with what the view showed and takes it as shown.
    // Replaced the first time and after Forget; Appended when lines were only
    // added at the end, from FirstNewLine() on.
    Change Refresh(const TextList& list);
    std::size_t FirstNewLine() const { return firstNewLine_; }
    void Forget() { valid_ = false; }

private:
    std::uint64_t revision_ = 0;
    std::size_t count_ = 0;
    std::size_t firstNewLine_ = 0;
    bool valid_ = false;
};

}  // namespace tessaly
