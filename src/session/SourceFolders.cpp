#include "session/SourceFolders.h"

#include <algorithm>

namespace tessaly {

std::optional<std::filesystem::path> FindSourceFileIn(const std::filesystem::path& folder,
                                                      const std::string& recorded) {
    std::error_code error;
    const std::filesystem::path named = folder / recorded;
    if (std::filesystem::is_regular_file(named, error)) return named;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && SourceMap::SameSourceFile(recorded, name)) return folder / name;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> SourceFolders::Find(const SourceDebugger& source,
                                                         const std::string& recorded) const {
    std::error_code error;
    const std::filesystem::path beside = source.SourcePath(recorded);
    if (std::filesystem::is_regular_file(beside, error)) return beside;
    for (const auto& folder : folders_) {
        if (auto found = FindSourceFileIn(folder, recorded)) return found;
    }
    return std::nullopt;
}

void SourceFolders::Add(const std::filesystem::path& folder) {
    if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) folders_.push_back(folder);
}

}  // namespace tessaly
