#include "cli/StateJson.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "control/CVariables.h"
#include "core/Diagnostics.h"
#include "util/IntegerText.h"
#include "util/CodePointText.h"
#include "util/HexText.h"

namespace tessaly::cli {

namespace {

using Json = nlohmann::ordered_json;

// Most lines of each message list written out; the counts give the totals.
constexpr std::size_t kMessageLinesShown = 1000;

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) AppendHexByte(text, bytes[i]);
    return text;
}

// Any byte is written, as the character of its code point, escaped.
Json Text(const std::string& bytes) { return BytesAsCodePoints(bytes); }

Json Lines(const TextList& list) {
    Json lines = Json::array();
    const std::size_t first = list.Count() > kMessageLinesShown ? list.Count() - kMessageLinesShown : 0;
    for (std::size_t i = first; i < list.Count(); ++i) lines.push_back(Text(list[i]));
    return lines;
}

// A frame's place as {"function", "file", "line"}, null where there is no
// source.
Json Place(const SourceDebugger& source, const CSourcePosition& at) {
    Json place;
    place["function"] = at.function ? Json(at.function->name) : Json();
    place["file"] = at.line ? Json(source.SourcePath(at.line->file).filename().string()) : Json();
    place["line"] = at.line ? Json(at.line->line) : Json();
    return place;
}

void AddSource(Json& state, const Processor& p, const SourceDebugger& source) {
    const std::vector<CStackFrame> stack = source.CallStack(p);
    const CSourcePosition& here = stack.front().position;
    state["source"] = here.line ? Place(source, here) : Json();
    Json& frames = state["stack"] = Json::array();
    for (const CStackFrame& frame : stack) frames.push_back(Place(source, frame.position));
    Json& locals = state["locals"] = Json::array();
    for (const CVariableText& variable : DescribeLocals(p, *source.Info(), p.usPC, stack.front().frame)) {
        locals.push_back({{"name", variable.name}, {"type", variable.type}, {"value", Text(variable.value)}});
    }
}

}  // namespace

void WriteStateJson(std::ostream& out, const Processor& p, const std::string& stopReason, bool withExternalRam,
                    const SourceDebugger* source, const DataStop* watch) {
    char pc[8];
    std::snprintf(pc, sizeof pc, "%04X", p.usPC);
    Json state;
    state["stop"] = Text(stopReason);
    if (watch) {
        char at[8];
        std::snprintf(at, sizeof at, "%04X", watch->pc);
        state["watch"] = {{"location", Text(watch->location)},
                          {"access", Text(std::string(DataAccessText(watch->access)))},
                          {"old", watch->oldValue},
                          {"new", watch->newValue},
                          {"pc", at}};
    }
    state["pc"] = pc;
    state["instructions"] = p.ullInstructionsExecuted;
    state["cycles"] = p.ullCyclesExecuted;
    state["bytes"] = p.ullBytesExecuted;
    state["elapsed"] = Text(ElapsedTimeText(p.ullCyclesExecuted, p.CrystalFrequency()));
    Json& sfrs = state["sfr"] = Json::object();
    for (const auto& definition : kSfrDefinitions) sfrs[std::string(definition.name)] = Hex(&p.ucIntRAM[definition.address], 1);
    state["direct"] = Hex(p.ucIntRAM.data(), 0x100);
    state["upper"] = Hex(p.ucIntRAM.data() + Processor::kUpperRAMOffset, 0x80);
    state["tx"] = Hex(p.ucTxLog.data(), static_cast<std::size_t>(p.iTxLogPos));
    state["rx"] = Hex(p.ucRxLog.data(), static_cast<std::size_t>(p.iRxLogPos));
    state["tx_baud"] = p.iTxBaudRate;
    state["rx_baud"] = p.iRxBaudRate;
    Json& interrupts = state["interrupts"] = Json::array();
    for (std::size_t i = 0; i < p.lstInterruptsInProgress.Count(); ++i) {
        const std::string& entry = p.lstInterruptsInProgress[i];
        if (const auto source = ParseUnsigned<unsigned>(entry)) interrupts.push_back(*source);
        else interrupts.push_back(Text(entry));
    }
    state["errors"] = Lines(p.lstErrors);
    state["error_count"] = p.lstErrors.Count();
    state["warnings"] = Lines(p.lstWarnings);
    state["warning_count"] = p.lstWarnings.Count();
    if (withExternalRam) state["xram"] = Hex(p.ucExtRAM.data(), 0x10000);
    if (source && source->Info()) AddSource(state, p, *source);
    out << state.dump(-1, ' ', true) << '\n';
}

}  // namespace tessaly::cli
