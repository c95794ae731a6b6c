#include "analysis/ListingImport.h"


#include "analysis/ListingImportText.h"
#include "util/FileBytes.h"
#include "util/Lines.h"

namespace tessaly {

namespace listing {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void FillUnlabelled(TextList& list) { list = Workspace::Unlabelled(); }

}  // namespace listing

namespace {

constexpr const char* kUnreadableMessage = "Unable to open file";
constexpr const char* kInvalidListingMessage = "Invalid LST file";

}  // namespace

namespace {
bool ImportSymbolText(SymbolFileKind kind, const std::vector<std::string>& lines, bool lastLineComplete,
                      Workspace& w, ImportProgress& progress, MessageHost& messages);
}  // namespace

bool ReadListingLines(const std::filesystem::path& path, std::vector<std::string>& lines) {
    const auto text = ReadWholeFile(path);
    if (!text) return false;
    lines = SplitLines(*text);
    return true;
}

bool ImportListingLabels(const std::filesystem::path& path, Workspace& w, ImportProgress& progress,
                         MessageHost& messages) {
    const auto text = ReadWholeFile(path);
    if (!text) {
        messages.Tell(MessageKind::Error, kUnreadableMessage);
        return false;
    }
    const bool complete = text->empty() || text->back() == '\n' || text->back() == '\r';
    return ImportSymbolText(SymbolFileKindOf(path), SplitLines(*text), complete, w, progress, messages);
}

namespace {

using Reader = bool (*)(const std::vector<std::string>&, std::vector<ImportedSymbol>&);

Reader ReaderOf(SymbolFileKind kind) {
    switch (kind) {
        case SymbolFileKind::SdccMap: return ReadSdccMap;
        case SymbolFileKind::SdccNoice: return ReadNoiceFile;
        case SymbolFileKind::SdccDebug: return ReadSdccDebugFile;
        case SymbolFileKind::SdccRelocatedListing: return ReadRelocatedListing;
        case SymbolFileKind::Listing: break;
    }
    return ReadAs31Listing;
}

// Reads the symbols; when the file is of the reader's kind, stores them with
// the progress window up, and leaves the lists alone otherwise.
// A file cut off in the middle of its last line would give a cut name or
// value there: that line is left out.
bool ImportWith(Reader read, const std::vector<std::string>& lines, bool lastLineComplete, Workspace& w,
                ImportProgress& progress) {
    std::vector<ImportedSymbol> symbols;
    const bool recognised = lastLineComplete || lines.empty()
                                ? read(lines, symbols)
                                : read(std::vector<std::string>(lines.begin(), lines.end() - 1), symbols);
    if (!recognised) return false;
    progress.SetPosition(0);
    progress.Show();
    StoreSymbols(symbols, w);
    progress.SetPosition(100);
    progress.Show();
    progress.Hide();
    return true;
}

bool ImportListing(const std::vector<std::string>& lines, bool lastLineComplete, Workspace& w,
                   ImportProgress& progress, MessageHost& messages) {
    const LayoutImport first = ImportLayout1(lines, w, progress, messages);
    if (first == LayoutImport::Ok) return true;
    // A symbol table with a broken value has already been reported and has
    // filled part of the lists; the other layouts would wipe them.
    if (first != LayoutImport::NotRecognised) return false;
    if (ImportLayout2(lines, w, progress, messages) == LayoutImport::Ok) return true;
    if (ImportWith(ReadAs31Listing, lines, lastLineComplete, w, progress)) return true;
    messages.Tell(MessageKind::Plain, kInvalidListingMessage);
    return false;
}

bool ImportSymbolText(SymbolFileKind kind, const std::vector<std::string>& lines, bool lastLineComplete,
                      Workspace& w, ImportProgress& progress, MessageHost& messages) {
    if (kind == SymbolFileKind::Listing) return ImportListing(lines, lastLineComplete, w, progress, messages);
    if (ImportWith(ReaderOf(kind), lines, lastLineComplete, w, progress)) return true;
    messages.Tell(MessageKind::Plain, kInvalidListingMessage);
    return false;
}

// Messages kept back, to be shown later or dropped.
class HeldMessages final : public MessageHost {
public:
    void Tell(MessageKind kind, const std::string& text) override { told_.emplace_back(kind, text); }
    bool AskYesNo(MessageKind, const std::string&) override { return false; }
    void ShowTo(MessageHost& host) const {
        for (const auto& [kind, text] : told_) host.Tell(kind, text);
    }

private:
    std::vector<std::pair<MessageKind, std::string>> told_;
};

}  // namespace

bool ImportSymbolLines(SymbolFileKind kind, const std::vector<std::string>& lines, Workspace& w,
                       ImportProgress& progress, MessageHost& messages) {
    return ImportSymbolText(kind, lines, true, w, progress, messages);
}

bool ImportLabelFiles(const std::vector<std::filesystem::path>& paths, Workspace& w, ImportProgress& progress,
                      MessageHost& messages) {
    if (paths.empty()) return false;
    if (!ImportListingLabels(paths.front(), w, progress, messages)) return false;
    for (std::size_t i = 1; i < paths.size(); ++i) {
        Workspace next;
        if (!ImportListingLabels(paths[i], next, progress, messages)) return false;
        MergeLabels(w, next);
    }
    return true;
}

bool ImportFirstLabelFile(const std::vector<std::filesystem::path>& candidates, Workspace& w,
                          ImportProgress& progress, MessageHost& messages) {
    HeldMessages first;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        HeldMessages held;
        if (ImportListingLabels(candidates[i], w, progress, held)) return true;
        if (i == 0) first = held;
    }
    first.ShowTo(messages);
    return false;
}

bool ImportListingLabels(const std::vector<std::string>& lines, Workspace& w, ImportProgress& progress,
                         MessageHost& messages) {
    return ImportListing(lines, true, w, progress, messages);
}

}  // namespace tessaly
