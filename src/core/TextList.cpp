#include "core/TextList.h"

#include <atomic>

namespace tessaly {

namespace {

// Pools larger than this are dropped when their list is cleared, so that a long
// session of ever-new texts cannot grow a list's memory without bound.
constexpr std::size_t kPoolKeepLimit = 4096;

std::atomic<std::uint64_t> nextStamp{1};

}  // namespace

std::uint32_t TextList::Intern(std::string_view text) {
    auto found = index_.find(text);
    if (found != index_.end()) return found->second;
    const auto id = static_cast<std::uint32_t>(pool_.size());
    pool_.emplace_back(text);
    index_.emplace(pool_.back(), id);
    return id;
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
}

void TextList::Clear() {
    lines_.clear();
    if (pool_.size() > kPoolKeepLimit) {
        pool_.clear();
        index_.clear();
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
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            Append(text.substr(start));
            break;
        }
        Append(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
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
