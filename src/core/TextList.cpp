#include "core/TextList.h"

#include <atomic>

#include "util/Lines.h"

namespace tessaly {

namespace {

std::atomic<std::uint64_t> nextStamp{1};

}  // namespace

void TextList::AppendOnceInARow(std::string_view text) {
    if (!lines_.empty() && pool_[lines_.back()] == text) return;
    Append(text);
}

void TextList::AppendNewTrackedText(const TrackedText& text) {
    trackedId_ = Intern(text.str());
    trackedStamp_ = text.Stamp();
    trackedValid_ = true;
    lines_.push_back(trackedId_);
}

void TextList::Clear() {
    lines_.clear();
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
