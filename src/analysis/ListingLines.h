#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// Which lines of an assembler listing hold code, and at what address: the
// lines of as31's listing that begin "0030: 75 81 5F" and those of SDCC's
// relocated listing (.rst) that begin "      000081 75 08 01" (the address,
// then the bytes the line assembled to). Lines without bytes (comments,
// labels alone, directives) hold none. Lines count from 1.
class ListingLines {
public:
    ListingLines() = default;
    explicit ListingLines(const std::vector<std::string>& lines);

    bool Empty() const { return addressOfLine_.empty(); }
    // A break point on a line: the line itself when it holds code, else the
    // next line that does, with its address. Nothing past the last such line.
    std::optional<std::pair<int, std::uint16_t>> BreakPointAt(int line) const;
    // The line whose code starts at `address`; of several, the first.
    std::optional<int> LineAt(std::uint16_t address) const;

private:
    std::map<int, std::uint16_t> addressOfLine_;
    std::map<std::uint16_t, int> lineOfAddress_;
};

}  // namespace tessaly
