#include "persistence/History.h"

#include <algorithm>
#include <string>
#include <vector>

#include "util/AsciiCase.h"
#include "util/FileBytes.h"
#include "util/SafeFileWriter.h"

namespace tessaly {

namespace {

constexpr std::string_view kItemPrefix = "muiOpenedFile";
constexpr std::string_view kSeparator = "muiLastSeparator";

void Replace(TextList& list, const std::vector<std::string>& lines) {
    list.Clear();
    for (const std::string& line : lines) list.Append(line);
}

std::string ItemName(std::size_t n) { return std::string(kItemPrefix) + std::to_string(n); }

}  // namespace

bool LoadHistory(const std::filesystem::path& configDir, TextList& history) {
    history.Clear();
    const std::filesystem::path file = configDir / kHistoryFileName;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return true;
    const auto text = ReadWholeFile(file);
    if (!text) return false;
    history.SetText(*text);
    return true;
}

bool SaveHistory(const std::filesystem::path& configDir, const TextList& history) {
    SafeFileWriter writer(configDir / kHistoryFileName);
    if (!writer.IsOpen()) return false;
    writer.Stream() << history.Text();
    return writer.Commit();
}

bool ClearHistory(const std::filesystem::path& configDir, TextList& history) {
    history.Clear();
    return SaveHistory(configDir, history);
}

HistoryAdd AddToHistory(TextList& history, std::string_view path) {
    std::vector<std::string> lines = history.Lines();
    const auto found =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return SameIgnoringCase(line, path); });
    if (found != lines.end()) {
        // Each entry above moves down by one; the entry keeps its stored text.
        std::rotate(lines.begin(), found, found + 1);
        Replace(history, lines);
        return HistoryAdd::MovedToTop;
    }
    HistoryAdd result = HistoryAdd::Added;
    if (lines.size() >= kOpenedFilesLimit) {
        lines.erase(lines.begin() + (kOpenedFilesLimit - 1));
        result = HistoryAdd::AddedDroppingLast;
    }
    lines.insert(lines.begin(), std::string(path));
    Replace(history, lines);
    return result;
}

HistoryMenuRebuild RebuildHistoryMenu(const TextList& history, HistoryMenu& menu, MessageHost& messages) {
    for (std::size_t n = 1; n <= kOpenedFilesLimit; ++n) {
        if (!menu.SetItem(ItemName(n), "", false)) {
            messages.Tell(MessageKind::Plain, "Unable to find opened files menu item( " + std::to_string(n) + " )");
            return HistoryMenuRebuild::ItemToClearMissing;
        }
    }
    if (!menu.SetSeparatorVisible(kSeparator, false)) {
        messages.Tell(MessageKind::Plain, "Unable to find last separator");
        return HistoryMenuRebuild::SeparatorMissing;
    }
    if (history.Empty()) return HistoryMenuRebuild::Empty;
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (!menu.SetItem(ItemName(i + 1), history[i], true)) {
            messages.Tell(MessageKind::Plain,
                          "Unable to load opened files menu item( " + std::to_string(i + 1) + " )");
            return HistoryMenuRebuild::ItemForEntryMissing;
        }
    }
    menu.SetSeparatorVisible(kSeparator, true);
    return HistoryMenuRebuild::Shown;
}

}  // namespace tessaly
