#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "dap/AdapterContext.h"
#include "dap/Dispatcher.h"
#include "dap/Frames.h"

namespace tessaly::dap {

// setBreakpoints (C lines, assembler listing lines), setFunctionBreakpoints
// (C functions, stopping after the prologue, or code labels) and
// setInstructionBreakpoints (code addresses). The client replaces each list
// whole; the session's break points are their union.
class BreakpointRequests {
public:
    enum class Kind { Source, Function, Instruction };

    BreakpointRequests(AdapterContext& context, Listings& listings) : c_(context), listings_(listings) {}
    void Register(Dispatcher& dispatcher);

    // What set the break point at `address`: the stopped event's reason
    // ("breakpoint", "function breakpoint", "instruction breakpoint") and the
    // ids of the break points there.
    std::string ReasonAt(std::uint16_t address) const;
    std::vector<int> IdsAt(std::uint16_t address) const;

private:
    struct Placed {
        int id;
        std::uint16_t address;
    };

    void SetBreakpoints(const Request& request);
    void SetFunctionBreakpoints(const Request& request);
    void SetInstructionBreakpoints(const Request& request);
    // One source break point: its response entry, and where it went.
    nlohmann::json PlaceOnLine(const std::filesystem::path& path, const nlohmann::json& source, int line,
                               std::vector<Placed>& placed);
    void Apply();

    AdapterContext& c_;
    Listings& listings_;
    int nextId_ = 1;
    std::map<std::string, std::vector<Placed>> bySource_;
    std::vector<Placed> functions_;
    std::vector<Placed> instructions_;
};

}  // namespace tessaly::dap
