// Arbitrary bytes as an assembler listing (as31's .lst or SDCC's .rst) read
// for the addresses of its lines; what a break point and a frame take from it
// must agree.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "analysis/ListingLines.h"
#include "util/Lines.h"

using tessaly::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const auto lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const ListingLines listing(lines);
    for (int line = 0; line <= static_cast<int>(lines.size()) + 1; ++line) {
        const auto at = listing.BreakPointAt(line);
        if (!at) continue;
        Check(at->first >= line && at->first >= 1 && at->first <= static_cast<int>(lines.size()));
        // The line a frame shows for that address is the first with it.
        const auto shown = listing.LineAt(at->second);
        Check(shown && *shown <= at->first);
        Check(listing.BreakPointAt(*shown)->second == at->second);
    }
    return 0;
}
