#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <variant>
#include <string>
#include <vector>

#include "control/BreakCondition.h"
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
    // The id of the data break point the session lists at `index`.
    std::optional<int> DataIdAt(std::size_t index) const;

private:
    struct Placed {
        int id;
        std::uint16_t address;
        BreakPointConditions::Entry extras;  // condition and hit count, when given
    };

    void SetBreakpoints(const Request& request);
    void SetFunctionBreakpoints(const Request& request);
    void SetInstructionBreakpoints(const Request& request);
    void SetDataBreakpoints(const Request& request);
    // The condition and hit condition of a break point's request entry; a
    // message when either cannot be read.
    std::variant<BreakPointConditions::Entry, std::string> ExtrasOf(const nlohmann::json& breakpoint) const;
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
    // Per data break point of the session, in its order, the client's id.
    std::vector<int> dataIds_;
};

}  // namespace tessaly::dap
