#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaly {

// Each distinct text stored once, named by a small number.
class TextPool {
public:
    std::uint32_t Intern(std::string_view text);
    const std::string& operator[](std::uint32_t id) const { return texts_[id]; }
    std::size_t Size() const { return texts_.size(); }
    void Clear() {
        texts_.clear();
        index_.clear();
    }

    // Pools larger than this are dropped when their list is emptied, so that
    // a long session of ever-new texts cannot grow memory without bound.
    static constexpr std::size_t kKeepLimit = 4096;

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::vector<std::string> texts_;
    std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>> index_;
};

}  // namespace tessaly
