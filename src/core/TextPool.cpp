#include "core/TextPool.h"

namespace tessaly {

std::uint32_t TextPool::Intern(std::string_view text) {
    auto found = index_.find(text);
    if (found != index_.end()) return found->second;
    const auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.emplace_back(text);
    index_.emplace(texts_.back(), id);
    return id;
}

}  // namespace tessaly
