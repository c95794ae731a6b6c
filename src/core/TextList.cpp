#include "core/TextList.h"

#include <atomic>

#include "util/Lines.h"

namespace tessaly {

namespace {

std::atomic<std::uint64_t> nextStamp{1};

}  // namespace

TextList::TextList(TextList&& other) noexcept
    : lines_(std::move(other.lines_)),
      pool_(std::move(other.pool_)),
      trackedValid_(other.trackedValid_),
      trackedStamp_(other.trackedStamp_),
      trackedId_(other.trackedId_),
      revision_(other.revision_) {
    other.BecomeEmptyAfterMove();
}

TextList& TextList::operator=(const TextList& other) {
    if (this == &other) return *this;
    // Past anything the count can have grown by, so the change never reads as appends.
    revision_ += other.lines_.size() + 1;
    lines_ = other.lines_;
    pool_ = other.pool_;
    trackedValid_ = other.trackedValid_;
    trackedStamp_ = other.trackedStamp_;
    trackedId_ = other.trackedId_;
    return *this;
}

TextList& TextList::operator=(TextList&& other) noexcept {
    if (this == &other) return *this;
    revision_ += other.lines_.size() + 1;
    lines_ = std::move(other.lines_);
    pool_ = std::move(other.pool_);
    trackedValid_ = other.trackedValid_;
    trackedStamp_ = other.trackedStamp_;
    trackedId_ = other.trackedId_;
    other.BecomeEmptyAfterMove();
    return *this;
}

// A moved-from list is an empty list whose pool is gone: its tracked line no
// longer names a pooled text.
void TextList::BecomeEmptyAfterMove() {
    lines_.clear();
    pool_.Clear();
    trackedValid_ = false;
    ++revision_;
}

void TextList::Insert(std::size_t index, std::string_view text) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Intern(text));
    revision_ += 2;
}

void TextList::Delete(std::size_t index) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    ++revision_;
}

void TextList::AppendOnceInARow(std::string_view text) {
    if (!lines_.empty() && pool_[lines_.back()] == text) return;
    Append(text);
}

void TextList::AppendNewTrackedText(const TrackedText& text) {
    trackedId_ = Intern(text.str());
    trackedStamp_ = text.Stamp();
    trackedValid_ = true;
    lines_.push_back(trackedId_);
    ++revision_;
}

void TextList::Clear() {
    lines_.clear();
    ++revision_;
    if (pool_.Size() > TextPool::kKeepLimit) {
        pool_.Clear();
        trackedValid_ = false;
    }
}

std::string TextList::Text() const {
    std::string out;
    for (auto id : lines_) {
        out += pool_[id];
        out += "\r\n";
    }
    return out;
}

void TextList::SetText(std::string_view text) {
    lines_.clear();
    ++revision_;
    ForEachLine(text, [this](std::string_view line) { Append(line); });
}

std::vector<std::string> TextList::Lines() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (auto id : lines_) out.push_back(pool_[id]);
    return out;
}

bool operator==(const TextList& a, const TextList& b) {
    if (a.Count() != b.Count()) return false;
    for (std::size_t i = 0; i < a.Count(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

TrackedText& TrackedText::operator=(std::string_view text) {
    text_.assign(text);
    stamp_ = nextStamp.fetch_add(1, std::memory_order_relaxed);
    return *this;
}

TrackedText& TrackedText::operator=(std::string&& text) {
    text_ = std::move(text);
    stamp_ = nextStamp.fetch_add(1, std::memory_order_relaxed);
    return *this;
}

}  // namespace tessaly
