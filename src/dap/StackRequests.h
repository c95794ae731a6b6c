#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dap/AdapterContext.h"
#include "dap/CodeListing.h"
#include "dap/Dispatcher.h"
#include "dap/Frames.h"

namespace tessaly::dap {

// stackTrace, source (the disassembly) and loadedSources. The frames and the
// disassembly are made once per stop and forgotten when the program runs.
class StackRequests {
public:
    // The disassembly's sourceReference.
    static constexpr int kDisassemblyReference = 1;

    StackRequests(AdapterContext& context, Listings& listings) : c_(context), listings_(listings) {}
    void Register(Dispatcher& dispatcher);
    void Forget();

    // The frame a frameId names (ids count from 1, innermost first); a
    // RequestError for an id that names none. Without an id, the innermost.
    const AdapterFrame& Frame(std::optional<std::int64_t> frameId);

private:
    void StackTrace(const Request& request);
    void Source(const Request& request);
    void LoadedSources(const Request& request);
    const std::vector<AdapterFrame>& Frames();
    // The whole program's disassembly, one instruction a line, and the line
    // of each frame's address in it.
    const std::vector<ListedInstruction>& Disassembly();
    int DisassemblyLine(std::uint16_t address);
    nlohmann::json DisassemblySource() const;

    AdapterContext& c_;
    Listings& listings_;
    std::optional<std::vector<AdapterFrame>> frames_;
    std::optional<std::vector<ListedInstruction>> disassembly_;
};

}  // namespace tessaly::dap
