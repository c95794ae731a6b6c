#include "analysis/CdbName.h"

#include <charconv>

namespace tessaly {

bool IsCdbRecord(std::string_view line) {
    return line.size() >= 2 && line[1] == ':' && line[0] >= 'A' && line[0] <= 'Z';
}

std::string_view CdbKey(std::string_view name) {
    const std::size_t first = name.find('$');
    if (first == std::string_view::npos) return {};
    const std::size_t second = name.find('$', first + 1);
    return name.substr(0, second);
}

std::optional<int> ParseCdbInteger(std::string_view text) {
    if (text.empty() || text.front() == '+') return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<CScopeLevel> ParseCScopeLevel(std::string_view level, std::string_view block) {
    CScopeLevel parsed;
    const std::size_t underscore = level.find('_');
    const auto major = ParseCdbInteger(level.substr(0, underscore));
    const auto minor = underscore == std::string_view::npos ? std::optional<int>(0)
                                                            : ParseCdbInteger(level.substr(underscore + 1));
    const auto number = ParseCdbInteger(block);
    if (!major || !minor || !number || *major < 0 || *minor < 0 || *number < 0) return std::nullopt;
    parsed.level = *major;
    parsed.subLevel = *minor;
    parsed.block = *number;
    return parsed;
}

std::optional<CdbName> ParseCdbName(std::string_view text) {
    // The last three '$' end the owner, the name and the level; a name never
    // holds one, a module or file name may not either.
    const std::size_t blockAt = text.rfind('$');
    if (blockAt == std::string_view::npos || blockAt == 0) return std::nullopt;
    const std::size_t levelAt = text.rfind('$', blockAt - 1);
    if (levelAt == std::string_view::npos || levelAt == 0) return std::nullopt;
    const std::size_t nameAt = text.rfind('$', levelAt - 1);
    if (nameAt == std::string_view::npos) return std::nullopt;

    CdbName parsed;
    parsed.scope = text.front();
    if (parsed.scope != 'G' && parsed.scope != 'F' && parsed.scope != 'L' && parsed.scope != 'S') return std::nullopt;
    parsed.owner = text.substr(1, nameAt - 1);
    if ((parsed.scope == 'G' || parsed.scope == 'S') != parsed.owner.empty()) return std::nullopt;
    if (parsed.scope == 'L' && parsed.owner.find('.') == std::string_view::npos) return std::nullopt;
    parsed.name = text.substr(nameAt + 1, levelAt - nameAt - 1);
    if (parsed.name.empty()) return std::nullopt;
    const auto level = ParseCScopeLevel(text.substr(levelAt + 1, blockAt - levelAt - 1), text.substr(blockAt + 1));
    if (!level) return std::nullopt;
    parsed.level = *level;
    return parsed;
}

}  // namespace tessaly
