#include "persistence/CWatchNames.h"

#include <algorithm>

#include "util/FileBytes.h"
#include "util/Lines.h"
#include "util/SafeFileWriter.h"

namespace tessaly {

CWatchNames::CWatchNames(std::filesystem::path configDir) {
    if (configDir.empty()) return;
    file_ = configDir / kCWatchNamesFileName;
    if (const auto text = ReadWholeFile(file_)) {
        ForEachLine(*text, [this](std::string_view line) {
            const std::string_view name = Trim(line);
            if (!name.empty() && std::find(names_.begin(), names_.end(), name) == names_.end()) names_.emplace_back(name);
        });
    }
}

bool CWatchNames::Add(std::string_view typed) {
    const std::string_view name = Trim(typed);
    if (name.empty() || std::find(names_.begin(), names_.end(), name) != names_.end()) return false;
    names_.emplace_back(name);
    Save();
    return true;
}

bool CWatchNames::Remove(std::size_t index) {
    if (index >= names_.size()) return false;
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(index));
    Save();
    return true;
}

void CWatchNames::Clear() {
    names_.clear();
    Save();
}

// A folder that cannot be written keeps the names for this run only.
void CWatchNames::Save() const {
    if (file_.empty()) return;
    SafeFileWriter writer(file_);
    if (!writer.IsOpen()) return;
    for (const std::string& name : names_) writer.Stream() << name << "\r\n";
    writer.Commit();
}

}  // namespace tessaly
