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
    dispatcher.On("setDataBreakpoints", [this](const Request& r) { SetDataBreakpoints(r); });
}

std::variant<BreakPointConditions::Entry, std::string> BreakpointRequests::ExtrasOf(const nlohmann::json& breakpoint) const {
    const Arguments args(breakpoint);
    return ParseBreakPointExtras(args.OptionalString("condition").value_or(""),
                                 args.OptionalString("hitCondition").value_or(""));
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
    placed.push_back({id, address, {}});
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
    std::vector<std::pair<int, nlohmann::json>> lines;
    for (const auto& breakpoint : args.Array("breakpoints")) {
        lines.emplace_back(static_cast<int>(Arguments(breakpoint).Integer("line")), breakpoint);
    }
    if (!args.Find("breakpoints")) {
        for (const auto& line : args.Array("lines")) lines.emplace_back(line.get<int>(), nlohmann::json::object());
    }
    std::vector<Placed> placed;
    nlohmann::json answers = nlohmann::json::array();
    for (const auto& [line, breakpoint] : lines) {
        auto extras = ExtrasOf(breakpoint);
        if (const auto* why = std::get_if<std::string>(&extras)) {
            answers.push_back(Unverified(nextId_++, *why));
            continue;
        }
        const std::size_t before = placed.size();
        answers.push_back(PlaceOnLine(path, source, line, placed));
        if (placed.size() > before) placed.back().extras = std::get<BreakPointConditions::Entry>(extras);
    }
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
        auto extras = ExtrasOf(breakpoint);
        if (const auto* why = std::get_if<std::string>(&extras)) {
            answers.push_back(Unverified(id, *why));
            continue;
        }
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
        placed.push_back({id, address, std::get<BreakPointConditions::Entry>(extras)});
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
        auto extras = ExtrasOf(breakpoint);
        if (const auto* why = std::get_if<std::string>(&extras)) {
            answers.push_back(Unverified(id, *why));
            continue;
        }
        const auto address = static_cast<std::uint16_t>(*base + offset);
        placed.push_back({id, address, std::get<BreakPointConditions::Entry>(extras)});
        answers.push_back({{"id", id}, {"verified", true}, {"instructionReference", AddressText(address)}});
    }
    instructions_ = std::move(placed);
    Apply();
    c_.out.Respond(request, {{"breakpoints", answers}});
}

void BreakpointRequests::Apply() {
    BreakPoints& breakPoints = c_.session.breakPoints;
    BreakPointConditions& conditions = c_.session.breakConditions;
    breakPoints.Clear();
    conditions.Clear();
    // Two break points at one address share one condition: the last given.
    const auto place = [&](const Placed& p) {
        breakPoints.Add(p.address);
        if (p.extras.condition || p.extras.hits) conditions.Set(p.address, p.extras);
    };
    for (const auto& [path, placed] : bySource_) {
        for (const Placed& p : placed) place(p);
    }
    for (const Placed& p : functions_) place(p);
    for (const Placed& p : instructions_) place(p);
}

void BreakpointRequests::SetDataBreakpoints(const Request& request) {
    if (!c_.launched) throw RequestError("No program is launched");
    const Arguments args(request.arguments);
    Session& s = c_.session;
    s.ClearDataBreakPoints();
    dataIds_.clear();
    nlohmann::json answers = nlohmann::json::array();
    for (const auto& breakpoint : args.Array("breakpoints")) {
        const Arguments entry(breakpoint);
        const std::string dataId = entry.String("dataId");
        const std::string type = entry.OptionalString("accessType").value_or("write");
        const int id = nextId_++;
        std::vector<DataAccess> accesses;
        if (type == "read" || type == "readWrite") accesses.push_back(DataAccess::Read);
        if (type == "write" || type == "readWrite") accesses.push_back(DataAccess::Write);
        if (accesses.empty()) {
            answers.push_back(Unverified(id, "'" + type + "' is no access type: read, write or readWrite"));
            continue;
        }
        std::string why;
        for (DataAccess access : accesses) {
            const std::size_t before = s.DataBreaks().List().size();
            why = s.AddDataBreakPoint(dataId, access);
            if (!why.empty()) break;
            if (s.DataBreaks().List().size() > before) dataIds_.push_back(id);
        }
        answers.push_back(why.empty() ? nlohmann::json{{"id", id}, {"verified", true}} : Unverified(id, why));
    }
    c_.out.Respond(request, {{"breakpoints", answers}});
}

std::optional<int> BreakpointRequests::DataIdAt(std::size_t index) const {
    if (index >= dataIds_.size()) return std::nullopt;
    return dataIds_[index];
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
