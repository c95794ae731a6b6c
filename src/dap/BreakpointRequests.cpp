#include "dap/BreakpointRequests.h"

#include "dap/ValueText.h"
#include "util/AsciiCase.h"
#include "util/HexText.h"

namespace tessaly::dap {

namespace {

bool IsListing(const std::filesystem::path& path) {
    const std::string extension = UpperCase(path.extension().string());
    return extension == ".LST" || extension == ".RST";
}

nlohmann::json Unverified(int id, const std::string& message) {
    return {{"id", id}, {"verified", false}, {"message", message}};
}

std::string AddressText(std::uint16_t address) { return "0x" + HexText(address, 4); }

}  // namespace

void BreakpointRequests::Register(Dispatcher& dispatcher) {
    dispatcher.On("setBreakpoints", [this](const Request& r) { SetBreakpoints(r); });
    dispatcher.On("setFunctionBreakpoints", [this](const Request& r) { SetFunctionBreakpoints(r); });
    dispatcher.On("setInstructionBreakpoints", [this](const Request& r) { SetInstructionBreakpoints(r); });
}

nlohmann::json BreakpointRequests::PlaceOnLine(const std::filesystem::path& path, const nlohmann::json& source,
                                               int line, std::vector<Placed>& placed) {
    const int id = nextId_++;
    if (line < 1) return Unverified(id, "Line " + std::to_string(line) + " is not a line of " + path.filename().string());
    std::uint16_t address = 0;
    int actualLine = line;
    if (IsListing(path)) {
        const ListingLines* lines = listings_.Of(path);
        if (!lines) return Unverified(id, "No code is listed in " + path.filename().string());
        const auto at = lines->BreakPointAt(line);
        if (!at) return Unverified(id, "No code at or after line " + std::to_string(line) + " of " + path.filename().string());
        actualLine = at->first;
        address = at->second;
    } else {
        const auto resolved = c_.session.source().Resolve(path.filename().string() + ":" + std::to_string(line));
        if (const auto* why = std::get_if<std::string>(&resolved)) return Unverified(id, *why);
        address = std::get<std::uint16_t>(resolved);
        const CSourcePosition position = c_.session.source().PositionAt(address);
        if (position.line) actualLine = position.line->line;
    }
    placed.push_back({id, address});
    return {{"id", id}, {"verified", true}, {"line", actualLine}, {"source", source},
            {"instructionReference", AddressText(address)}};
}

void BreakpointRequests::SetBreakpoints(const Request& request) {
    if (!c_.launched) throw RequestError("No program is launched");
    const Arguments args(request.arguments);
    const nlohmann::json& source = args.Object("source");
    const Arguments sourceArgs(source);
    std::string path = sourceArgs.OptionalString("path").value_or("");
    if (path.empty()) path = sourceArgs.OptionalString("name").value_or("");
    if (path.empty()) throw RequestError("'source' names no file");
    std::vector<int> lines;
    for (const auto& breakpoint : args.Array("breakpoints")) lines.push_back(static_cast<int>(Arguments(breakpoint).Integer("line")));
    if (!args.Find("breakpoints")) {
        for (const auto& line : args.Array("lines")) lines.push_back(line.get<int>());
    }
    std::vector<Placed> placed;
    nlohmann::json answers = nlohmann::json::array();
    for (int line : lines) answers.push_back(PlaceOnLine(path, source, line, placed));
    bySource_[path] = std::move(placed);
    Apply();
    c_.out.Respond(request, {{"breakpoints", answers}});
}

void BreakpointRequests::SetFunctionBreakpoints(const Request& request) {
    if (!c_.launched) throw RequestError("No program is launched");
    const Arguments args(request.arguments);
    std::vector<Placed> placed;
    nlohmann::json answers = nlohmann::json::array();
    for (const auto& breakpoint : args.Array("breakpoints")) {
        const std::string name = Arguments(breakpoint).String("name");
        const int id = nextId_++;
        auto resolved = c_.session.source().Resolve(name);
        if (std::holds_alternative<std::string>(resolved)) {
            // An assembler program's routines are its code labels.
            const TextList& labels = c_.session.workspace.lstCodeLabels;
            for (std::size_t address = 0; address < labels.Count() && address <= 0xFFFF; ++address) {
                if (labels[address] == name) {
                    resolved = static_cast<std::uint16_t>(address);
                    break;
                }
            }
        }
        if (const auto* why = std::get_if<std::string>(&resolved)) {
            answers.push_back(Unverified(id, *why));
            continue;
        }
        const auto address = std::get<std::uint16_t>(resolved);
        placed.push_back({id, address});
        nlohmann::json answer = {{"id", id}, {"verified", true}, {"instructionReference", AddressText(address)}};
        const CSourcePosition position = c_.session.source().PositionAt(address);
        if (position.line) {
            answer["line"] = position.line->line;
            answer["source"] = {{"path", c_.session.source().SourcePath(position.line->file).string()}};
        }
        answers.push_back(answer);
    }
    functions_ = std::move(placed);
    Apply();
    c_.out.Respond(request, {{"breakpoints", answers}});
}

void BreakpointRequests::SetInstructionBreakpoints(const Request& request) {
    if (!c_.launched) throw RequestError("No program is launched");
    const Arguments args(request.arguments);
    std::vector<Placed> placed;
    nlohmann::json answers = nlohmann::json::array();
    for (const auto& breakpoint : args.Array("breakpoints")) {
        const Arguments entry(breakpoint);
        const std::string reference = entry.String("instructionReference");
        const std::int64_t offset = entry.IntegerIn("offset", -0x10000, 0x10000, 0);
        const int id = nextId_++;
        const auto base = ParseTypedNumber(reference);
        if (!base || *base + offset < 0 || *base + offset > 0xFFFF) {
            answers.push_back(Unverified(id, "'" + reference + "' is not a code address (0000H to FFFFH)"));
            continue;
        }
        const auto address = static_cast<std::uint16_t>(*base + offset);
        placed.push_back({id, address});
        answers.push_back({{"id", id}, {"verified", true}, {"instructionReference", AddressText(address)}});
    }
    instructions_ = std::move(placed);
    Apply();
    c_.out.Respond(request, {{"breakpoints", answers}});
}

void BreakpointRequests::Apply() {
    BreakPoints& breakPoints = c_.session.breakPoints;
    breakPoints.Clear();
    for (const auto& [path, placed] : bySource_) {
        for (const Placed& p : placed) breakPoints.Add(p.address);
    }
    for (const Placed& p : functions_) breakPoints.Add(p.address);
    for (const Placed& p : instructions_) breakPoints.Add(p.address);
}

std::string BreakpointRequests::ReasonAt(std::uint16_t address) const {
    for (const auto& [path, placed] : bySource_) {
        for (const Placed& p : placed) {
            if (p.address == address) return "breakpoint";
        }
    }
    for (const Placed& p : functions_) {
        if (p.address == address) return "function breakpoint";
    }
    for (const Placed& p : instructions_) {
        if (p.address == address) return "instruction breakpoint";
    }
    return "breakpoint";
}

std::vector<int> BreakpointRequests::IdsAt(std::uint16_t address) const {
    std::vector<int> ids;
    for (const auto& [path, placed] : bySource_) {
        for (const Placed& p : placed) {
            if (p.address == address) ids.push_back(p.id);
        }
    }
    for (const auto* list : {&functions_, &instructions_}) {
        for (const Placed& p : *list) {
            if (p.address == address) ids.push_back(p.id);
        }
    }
    return ids;
}

}  // namespace tessaly::dap
