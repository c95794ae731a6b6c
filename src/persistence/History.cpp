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

int LoadHistory(const std::filesystem::path& configDir, TextList& history) {
    history.Clear();
    const std::filesystem::path file = configDir / kHistoryFileName;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return 1;
    const auto text = ReadWholeFile(file);
    if (!text) return -1;
    history.SetText(*text);
    return 1;
}

int SaveHistory(const std::filesystem::path& configDir, const TextList& history) {
    SafeFileWriter writer(configDir / kHistoryFileName);
    if (!writer.IsOpen()) return -1;
    writer.Stream() << history.Text();
    return writer.Commit() ? 1 : -1;
}

int ClearHistory(const std::filesystem::path& configDir, TextList& history) {
    history.Clear();
    return SaveHistory(configDir, history);
}

int AddToHistory(TextList& history, std::string_view path) {
    std::vector<std::string> lines = history.Lines();
    const auto found =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return SameIgnoringCase(line, path); });
    if (found != lines.end()) {
        // Each entry above moves down by one; the entry keeps its stored text.
        std::rotate(lines.begin(), found, found + 1);
        Replace(history, lines);
        return 1;
    }
    int result = 3;
    if (lines.size() >= kOpenedFilesLimit) {
        lines.erase(lines.begin() + (kOpenedFilesLimit - 1));
        result = 2;
    }
    lines.insert(lines.begin(), std::string(path));
    Replace(history, lines);
    return result;
}

int RebuildHistoryMenu(const TextList& history, HistoryMenu& menu, MessageHost& messages) {
    for (std::size_t n = 1; n <= kOpenedFilesLimit; ++n) {
        if (!menu.SetItem(ItemName(n), "", false)) {
            messages.Tell(MessageKind::Plain, "Unable to find opened files menu item( " + std::to_string(n) + " )");
            return -1;
        }
    }
    if (!menu.SetSeparatorVisible(kSeparator, false)) {
        messages.Tell(MessageKind::Plain, "Unable to find last separator");
        return -4;
    }
    if (history.Empty()) return 2;
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (!menu.SetItem(ItemName(i + 1), history[i], true)) {
            messages.Tell(MessageKind::Plain,
                          "Unable to load opened files menu item( " + std::to_string(i + 1) + " )");
            return -3;
        }
    }
    menu.SetSeparatorVisible(kSeparator, true);
    return 1;
}

}  // namespace tessaly
