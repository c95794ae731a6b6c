#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The C variables the Active Watch follows, by name or by a C expression
// ("head->next->value") as typed, in the order added. They are kept in
// "cwatches.sud" in the configuration folder, one a line ended by CR LF, and
// saved at every change: like the other watches they outlive the program and
// the run, and a name the program at hand lacks shows why instead of a value.
class CWatchNames {
public:
    // Reads the file of `configDir`; with an empty folder the names live in
    // memory only.
    explicit CWatchNames(std::filesystem::path configDir);

    const std::vector<std::string>& Names() const { return names_; }
    // Adds the name, blanks around it dropped; false, changing nothing, when
    // that leaves nothing or the name is listed already.
    bool Add(std::string_view name);
    // Removes the name at `index`; false when there is none.
    bool Remove(std::size_t index);
    void Clear();

private:
    void Save() const;

    std::filesystem::path file_;
    std::vector<std::string> names_;
};

inline constexpr const char* kCWatchNamesFileName = "cwatches.sud";

}  // namespace tessaly
