#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "session/SourceDebugger.h"

namespace tessaly {

// The file in `folder` that a C line record names: the recorded name itself,
// else a file whose name SDCC records that way ('-' and spaces as '_').
// Nothing when the folder holds none.
std::optional<std::filesystem::path> FindSourceFileIn(const std::filesystem::path& folder,
                                                      const std::string& recorded);

// Where the C files of the loaded program are: beside the .cdb, else in the
// folders the user named for those that are not, in the order named.
class SourceFolders {
public:
    // The file on disk that a line record names; nothing when no folder has it.
    std::optional<std::filesystem::path> Find(const SourceDebugger& source, const std::string& recorded) const;
    // A folder to look in too; one already named is not added again.
    void Add(const std::filesystem::path& folder);
    const std::vector<std::filesystem::path>& Folders() const { return folders_; }

private:
    std::vector<std::filesystem::path> folders_;
};

}  // namespace tessaly
