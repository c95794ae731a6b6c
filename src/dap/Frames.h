#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/ListingLines.h"
#include "control/CFrame.h"
#include "session/Session.h"

namespace tessaly::dap {

// The assembler listings whose lines break points and frames name, read once
// each: the listing beside the program and any a break point names.
class Listings {
public:
    // The listing of `path`; nullptr when the file cannot be read or holds no
    // line of code.
    const ListingLines* Of(const std::filesystem::path& path);
    // The first listing read that has a line at `address`.
    std::optional<std::pair<std::filesystem::path, int>> LineAt(std::uint16_t address) const;
    std::vector<std::filesystem::path> Paths() const;
    void Clear() { listings_.clear(); }

private:
    std::map<std::filesystem::path, std::unique_ptr<ListingLines>> listings_;
};

// One frame of the call stack as the client sees it.
struct AdapterFrame {
    std::uint16_t pc = 0;
    std::string name;
    // The C function and line, when the code has C source.
    CSourcePosition position;
    CFrame frame;
    // The file shown and the line in it: the C file, an assembler listing,
    // or nothing for the disassembly.
    std::filesystem::path source;
    int line = 0;
};

// The call stack, innermost first: the C call stack when the program has C
// debug information, each frame without C source (library code) at its
// place; otherwise one frame at the PC. A frame without C source shows a
// listing line when a listing has one for its address.
std::vector<AdapterFrame> BuildFrames(const Session& s, const Listings& listings);

}  // namespace tessaly::dap
