#include "dap/StackRequests.h"

#include <algorithm>

#include "util/HexText.h"

namespace tessaly::dap {

void StackRequests::Register(Dispatcher& dispatcher) {
    dispatcher.On("stackTrace", [this](const Request& r) { StackTrace(r); });
    dispatcher.On("source", [this](const Request& r) { Source(r); });
    dispatcher.On("loadedSources", [this](const Request& r) { LoadedSources(r); });
}

void StackRequests::Forget() {
    frames_.reset();
    disassembly_.reset();
}

const std::vector<AdapterFrame>& StackRequests::Frames() {
    if (!frames_) frames_ = BuildFrames(c_.Stopped(), listings_);
    return *frames_;
}

const AdapterFrame& StackRequests::Frame(std::optional<std::int64_t> frameId) {
    const auto& frames = Frames();
    const std::int64_t id = frameId.value_or(1);
    if (id < 1 || id > static_cast<std::int64_t>(frames.size())) {
        throw RequestError("No stack frame " + std::to_string(id));
    }
    return frames[static_cast<std::size_t>(id - 1)];
}

const std::vector<ListedInstruction>& StackRequests::Disassembly() {
    if (!disassembly_) {
        Session& s = c_.Stopped();
        std::set<std::uint16_t> anchors;
        std::uint32_t end = static_cast<std::uint32_t>(std::max<std::int32_t>(s.processor().iProgramSize, 0));
        for (const AdapterFrame& frame : Frames()) {
            anchors.insert(frame.pc);
            end = std::max<std::uint32_t>(end, frame.pc + 1u);
        }
        disassembly_ = ListCode(s, 0, end, anchors);
    }
    return *disassembly_;
}

int StackRequests::DisassemblyLine(std::uint16_t address) {
    const auto& rows = Disassembly();
    const auto found = std::lower_bound(rows.begin(), rows.end(), address,
                                        [](const ListedInstruction& row, std::uint16_t a) { return row.address < a; });
    return static_cast<int>(found - rows.begin()) + 1;
}

nlohmann::json StackRequests::DisassemblySource() const {
    return {{"name", c_.session.currentFileName.empty() ? "Disassembly"
                                                         : std::filesystem::path(c_.session.currentFileName).filename().string() +
                                                               " (disassembly)"},
            {"sourceReference", kDisassemblyReference},
            {"presentationHint", "deemphasize"}};
}

void StackRequests::StackTrace(const Request& request) {
    const Arguments args(request.arguments);
    const auto& frames = Frames();
    const auto start = static_cast<std::size_t>(std::max<std::int64_t>(0, args.OptionalInteger("startFrame").value_or(0)));
    const std::int64_t levels = args.OptionalInteger("levels").value_or(0);
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i = start; i < frames.size() && (levels <= 0 || static_cast<std::int64_t>(i - start) < levels); ++i) {
        const AdapterFrame& f = frames[i];
        nlohmann::json frame = {{"id", i + 1},
                                {"name", f.name},
                                {"column", 1},
                                {"instructionPointerReference", "0x" + HexText(f.pc, 4)}};
        if (!f.source.empty()) {
            frame["source"] = {{"name", f.source.filename().string()}, {"path", f.source.string()}};
            frame["line"] = f.line;
        } else {
            frame["source"] = DisassemblySource();
            frame["line"] = DisassemblyLine(f.pc);
            frame["presentationHint"] = i == 0 ? "normal" : "subtle";
        }
        list.push_back(std::move(frame));
    }
    c_.out.Respond(request, {{"stackFrames", list}, {"totalFrames", frames.size()}});
}

void StackRequests::Source(const Request& request) {
    const Arguments args(request.arguments);
    std::optional<std::int64_t> reference = args.OptionalInteger("sourceReference");
    if (const nlohmann::json* source = args.Find("source")) {
        if (const auto inner = Arguments(*source).OptionalInteger("sourceReference"); inner && *inner != 0) reference = inner;
    }
    if (reference != kDisassemblyReference) {
        throw RequestError("No source with reference " + std::to_string(reference.value_or(0)));
    }
    std::string content;
    for (const ListedInstruction& row : Disassembly()) {
        std::string line = HexText(row.address, 4) + "H  " + row.bytes;
        line.resize(std::max<std::size_t>(line.size() + 1, 17), ' ');
        if (!row.label.empty()) line += row.label + ":";
        line.resize(std::max<std::size_t>(line.size() + 1, 40), ' ');
        content += line + row.text + "\n";
    }
    c_.out.Respond(request, {{"content", content}, {"mimeType", "text/x-asm"}});
}

void StackRequests::LoadedSources(const Request& request) {
    Session& s = c_.Stopped();
    nlohmann::json sources = nlohmann::json::array();
    if (const DebugInfo* info = s.source().Info()) {
        for (const std::string& file : info->Lines().Files()) {
            const auto path = s.source().SourcePath(file);
            sources.push_back({{"name", path.filename().string()}, {"path", path.string()}});
        }
    }
    for (const auto& path : listings_.Paths()) sources.push_back({{"name", path.filename().string()}, {"path", path.string()}});
    sources.push_back(DisassemblySource());
    c_.out.Respond(request, {{"sources", sources}});
}

}  // namespace tessaly::dap
