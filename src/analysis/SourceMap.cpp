#include "analysis/SourceMap.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace tessaly {

namespace {

// The base name of a path with spaces and '-' as '_', as line records name files.
std::string Normalised(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    std::string name(path);
    for (char& c : name) {
        if (c == '-' || c == ' ' || c == '\t') c = '_';
    }
    return name;
}

}  // namespace

SourceMap::SourceMap(std::vector<CSourceLine> lines, std::vector<AsmSourceLine> asmLines) {
    std::set<std::tuple<std::string, int, std::uint16_t>> seen;
    for (CSourceLine& record : lines) {
        if (!seen.emplace(record.file, record.line, record.address).second) continue;
        const std::string key = Normalised(record.file);
        byLine_[{key, record.line}].push_back(record.address);
        recordedName_.emplace(key, record.file);
        lines_.push_back(std::move(record));
    }
    for (auto& [key, addresses] : byLine_) {
        std::sort(addresses.begin(), addresses.end());
    }
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const CSourceLine& a, const CSourceLine& b) { return a.address < b.address; });

    asmLines_ = std::move(asmLines);
    std::stable_sort(asmLines_.begin(), asmLines_.end(),
                     [](const AsmSourceLine& a, const AsmSourceLine& b) { return a.address < b.address; });
    for (const AsmSourceLine& record : asmLines_) {
        std::uint16_t& end = asmModuleEnd_[record.module];
        end = std::max(end, record.address);
    }
}

std::vector<std::string> SourceMap::Files() const {
    std::set<std::string> files;
    for (const CSourceLine& record : lines_) files.insert(record.file);
    return {files.begin(), files.end()};
}

const CSourceLine* SourceMap::LineAt(std::uint16_t pc, std::uint16_t lowest, std::uint16_t highest) const {
    if (pc < lowest || pc > highest) return nullptr;
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), pc,
                                        [](std::uint16_t value, const CSourceLine& record) {
                                            return value < record.address;
                                        });
    if (after == lines_.begin()) return nullptr;
    const CSourceLine& found = *(after - 1);
    return found.address >= lowest ? &found : nullptr;
}

const AsmSourceLine* SourceMap::AsmLineAt(std::uint16_t pc) const {
    const auto after = std::upper_bound(asmLines_.begin(), asmLines_.end(), pc,
                                        [](std::uint16_t value, const AsmSourceLine& record) {
                                            return value < record.address;
                                        });
    if (after == asmLines_.begin()) return nullptr;
    const AsmSourceLine& found = *(after - 1);
    return pc <= asmModuleEnd_.at(found.module) ? &found : nullptr;
}

std::vector<std::uint16_t> SourceMap::AddressesOf(std::string_view file, int line) const {
    const auto found = byLine_.find({Normalised(file), line});
    return found == byLine_.end() ? std::vector<std::uint16_t>{} : found->second;
}

std::optional<LineBreakPoint> SourceMap::BreakPointAt(std::string_view file, int line) const {
    const std::string key = Normalised(file);
    const auto found = byLine_.lower_bound({key, line});
    if (found == byLine_.end() || found->first.first != key) return std::nullopt;
    return LineBreakPoint{recordedName_.at(key), found->first.second, found->second.front()};
}

bool SourceMap::SameSourceFile(std::string_view recorded, std::string_view path) {
    return Normalised(recorded) == Normalised(path);
}

}  // namespace tessaly
