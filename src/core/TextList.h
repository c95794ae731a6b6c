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
class TextList {
public:
    std::size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    const std::string& operator[](std::size_t index) const { return pool_[lines_[index]]; }
    // The last line; the list must not be empty.
    const std::string& Last() const { return pool_[lines_.back()]; }

    void Append(std::string_view text) { lines_.push_back(Intern(text)); }
    // Appends unless the last line already holds the same text.
    void AppendOnceInARow(std::string_view text);
    // Appends the current text of `text`; repeated appends of an unchanged
    // tracked text skip the pool look-up.
    void Append(const TrackedText& text) {
        if (trackedValid_ && text.Stamp() == trackedStamp_) [[likely]] {
            lines_.push_back(trackedId_);
            return;
        }
        AppendNewTrackedText(text);
    }

    // Replaces the line at `index`, which must exist.
    void Set(std::size_t index, std::string_view text) { lines_[index] = Intern(text); }
    void DeleteLast() { lines_.pop_back(); }
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

    std::vector<std::uint32_t> lines_;
    TextPool pool_;
    bool trackedValid_ = false;
    std::uint64_t trackedStamp_ = 0;
    std::uint32_t trackedId_ = 0;
};

}  // namespace tessaly
