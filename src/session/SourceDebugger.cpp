#include "session/SourceDebugger.h"

#include "analysis/CdbReader.h"
#include "analysis/SymbolFile.h"
#include "session/SourceFolders.h"
#include "util/FileBytes.h"
#include "util/IntegerText.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

// The address of _bp in a linker map: the line "     00000008  _bp   ...".
std::optional<std::uint8_t> FramePointerFromMap(const std::filesystem::path& map) {
    const auto text = ReadWholeFile(map);
    if (!text) return std::nullopt;
    for (const std::string& line : SplitLines(*text)) {
        const auto words = symbols::Words(line);
        if (words.size() >= 2 && words[1] == "_bp") {
            const auto address = ParseUnsigned<std::uint32_t>(words[0], 16);
            if (address && *address < 0x100) return static_cast<std::uint8_t>(*address);
        }
    }
    return std::nullopt;
}

}  // namespace

bool SourceDebugger::Load(const std::filesystem::path& cdb, MessageHost& messages) {
    const auto fail = [&](const std::string& why) {
        messages.Tell(MessageKind::Error,
                      "Cannot load C debug information from " + cdb.filename().string() + ": " + why);
        return false;
    };
    const auto text = ReadWholeFile(cdb);
    if (!text) return fail("the file cannot be read");
    auto read = ReadCdb(SplitLines(*text));
    if (const auto* why = std::get_if<std::string>(&read)) return fail(*why);
    info_ = std::make_unique<DebugInfo>(std::move(std::get<DebugInfo>(read)));
    file_ = cdb;
    framePointer_ = FramePointerFromMap(std::filesystem::path(cdb).replace_extension(".map"));
    sourcePaths_.clear();
    lineStarts_.Clear();
    for (const CSourceLine& line : info_->Lines().Lines()) lineStarts_.Insert(line.address);
    return true;
}

void SourceDebugger::Clear() {
    info_.reset();
    file_.clear();
    lineStarts_.Clear();
    framePointer_.reset();
    sourcePaths_.clear();
}

std::filesystem::path SourceDebugger::SourcePath(const std::string& recorded) const {
    const auto known = sourcePaths_.find(recorded);
    if (known != sourcePaths_.end()) return known->second;
    const std::filesystem::path folder = file_.parent_path();
    return sourcePaths_[recorded] = FindSourceFileIn(folder, recorded).value_or(folder / recorded);
}

std::vector<CStackFrame> SourceDebugger::CallStack(const Processor& p) const {
    if (!info_) return {};
    return BuildCallStack(p, *info_, framePointer_);
}

std::optional<SourceStep> SourceDebugger::Begin(SourceStep::Kind kind, const Processor& p) const {
    if (!info_) return std::nullopt;
    return SourceStep::Begin(kind, p, *info_, lineStarts_);
}

std::variant<std::uint16_t, std::string> SourceDebugger::Resolve(std::string_view place) const {
    const std::string text(Trim(place));
    if (!info_) return "No C debug information is loaded for '" + text + "'";
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        const std::string file = text.substr(0, colon);
        const auto line = ParseUnsigned<unsigned>(text.substr(colon + 1));
        if (!line || *line == 0 || file.empty()) return "'" + text + "' is not a file and line (FILE.c:LINE)";
        if (const auto at = info_->Lines().BreakPointAt(file, static_cast<int>(*line))) return at->address;
        return "No code at or after line " + std::to_string(*line) + " of " + file;
    }
    if (const CFunction* function = info_->FunctionNamed(text)) {
        if (const auto body = info_->BodyStart(*function)) return *body;
        return "The function " + text + " has no code";
    }
    return "No function named '" + text + "'";
}

}  // namespace tessaly
