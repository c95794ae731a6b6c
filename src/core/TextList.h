#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextPool.h"

namespace tessaly {

// A text whose every assignment gets a new process-wide stamp, so that a list
// can tell in one comparison whether it has interned this exact value before.
class TrackedText {
public:
    TrackedText() = default;
    TrackedText& operator=(std::string_view text);
    TrackedText& operator=(std::string&& text);

    const std::string& str() const { return text_; }
    operator const std::string&() const { return text_; }
    bool empty() const { return text_.empty(); }
    std::uint64_t Stamp() const { return stamp_; }

    friend bool operator==(const TrackedText& a, std::string_view b) { return a.text_ == b; }

private:
    std::string text_;
    std::uint64_t stamp_ = 0;
};

// An ordered list of text lines: the container behind the history, the message
// lists, the symbol catalogue, the label lists, the break points and the watch list.
//
// Lines are interned: each distinct text is stored once and a line is an index
// into that pool, so a list that receives the same few texts over and over (the
// executed-instruction history, a persisting serial warning) appends without
// allocating once its storage has grown.
//
// Every change adds to a revision count, so a view can tell whether the list
// changed since it last looked even when the count came out the same (a
// message list emptied at its limit and refilled). An append adds 1 to both
// the revision and the count; every other change adds more to the revision
// than to the count (an insert adds 2 and one line). So revision and count
// that grew by the same amount since a view looked mean that lines were only
// appended.
class TextList {
public:
    TextList() = default;
    // A copy starts at its source's revision; assigning to a list, or moving
    // from it, moves its revision forward past any count its lines may have
    // reached, so that no observer of either list mistakes the change for
    // appends or for no change.
    TextList(const TextList& other) = default;
    TextList(TextList&& other) noexcept;
    TextList& operator=(const TextList& other);
    TextList& operator=(TextList&& other) noexcept;
    ~TextList() = default;

    std::size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    const std::string& operator[](std::size_t index) const { return pool_[lines_[index]]; }
    // The last line; the list must not be empty.
    const std::string& Last() const { return pool_[lines_.back()]; }

    // How many changes the list has seen; see the class comment.
    std::uint64_t Revision() const { return revision_; }

    void Append(std::string_view text) {
        lines_.push_back(Intern(text));
        ++revision_;
    }
    // Appends unless the last line already holds the same text.
    void AppendOnceInARow(std::string_view text);
    // Appends the current text of `text`; repeated appends of an unchanged
    // tracked text skip the pool look-up.
    void Append(const TrackedText& text) {
        if (trackedValid_ && text.Stamp() == trackedStamp_) [[likely]] {
            lines_.push_back(trackedId_);
            ++revision_;
            return;
        }
        AppendNewTrackedText(text);
    }

    // Replaces the line at `index`, which must exist.
    void Set(std::size_t index, std::string_view text) {
        lines_[index] = Intern(text);
        ++revision_;
    }
    // Inserts a line before `index` (at most Count()).
    void Insert(std::size_t index, std::string_view text);
    // Deletes the line at `index`, which must exist.
    void Delete(std::size_t index);
    void DeleteLast() {
        lines_.pop_back();
        ++revision_;
    }
    void Clear();

    // Every line followed by CR LF, the form the snapshot file stores.
    std::string Text() const;
    // Replaces the lines with those of `text`: lines end at CR, LF or CR LF,
    // and a final line break adds no empty line.
    void SetText(std::string_view text);
    std::vector<std::string> Lines() const;

    friend bool operator==(const TextList& a, const TextList& b);

private:
    std::uint32_t Intern(std::string_view text) { return pool_.Intern(text); }
    void AppendNewTrackedText(const TrackedText& text);
    void BecomeEmptyAfterMove();

    std::vector<std::uint32_t> lines_;
    TextPool pool_;
    bool trackedValid_ = false;
    std::uint64_t trackedStamp_ = 0;
    std::uint32_t trackedId_ = 0;
    std::uint64_t revision_ = 0;
};

}  // namespace tessaly
