#include "dap/Frames.h"

#include "dap/CodeListing.h"
#include "util/FileBytes.h"
#include "util/HexText.h"
#include "util/Lines.h"

namespace tessaly::dap {

const ListingLines* Listings::Of(const std::filesystem::path& path) {
    auto found = listings_.find(path);
    if (found == listings_.end()) {
        std::unique_ptr<ListingLines> lines;
        if (const auto text = ReadWholeFile(path)) {
            lines = std::make_unique<ListingLines>(SplitLines(*text));
            if (lines->Empty()) lines.reset();
        }
        found = listings_.emplace(path, std::move(lines)).first;
    }
    return found->second.get();
}

std::optional<std::pair<std::filesystem::path, int>> Listings::LineAt(std::uint16_t address) const {
    for (const auto& [path, lines] : listings_) {
        if (!lines) continue;
        if (const auto line = lines->LineAt(address)) return std::pair{path, *line};
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> Listings::Paths() const {
    std::vector<std::filesystem::path> paths;
    for (const auto& [path, lines] : listings_) {
        if (lines) paths.push_back(path);
    }
    return paths;
}

namespace {

AdapterFrame WithoutSource(const Session& s, const Listings& listings, std::uint16_t pc, const CFrame& frame) {
    AdapterFrame f;
    f.pc = pc;
    f.frame = frame;
    f.name = NearestLabel(s, pc);
    if (f.name.empty()) f.name = "0x" + HexText(pc, 4);
    if (const auto line = listings.LineAt(pc)) {
        f.source = line->first;
        f.line = line->second;
    }
    return f;
}

}  // namespace

std::vector<AdapterFrame> BuildFrames(const Session& s, const Listings& listings) {
    const Processor& p = s.processor();
    const std::vector<CStackFrame> stack = s.source().CallStack(p);
    std::vector<AdapterFrame> frames;
    if (stack.empty()) {
        frames.push_back(WithoutSource(s, listings, p.usPC, CFrame::Current(p)));
        return frames;
    }
    for (const CStackFrame& c : stack) {
        if (!c.position.line) {
            frames.push_back(WithoutSource(s, listings, c.pc, c.frame));
            frames.back().position = c.position;
            continue;
        }
        AdapterFrame f;
        f.pc = c.pc;
        f.position = c.position;
        f.frame = c.frame;
        f.name = c.position.function ? c.position.function->name : NearestLabel(s, c.pc);
        f.source = s.source().SourcePath(c.position.line->file);
        f.line = c.position.line->line;
        frames.push_back(std::move(f));
    }
    return frames;
}

}  // namespace tessaly::dap
