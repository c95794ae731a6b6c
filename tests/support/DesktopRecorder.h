#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "analysis/ListingImport.h"
#include "session/SessionHost.h"

namespace tessaly::test {

// The desktop side of a session without widgets: nine child views that are
// open or closed with their bounds, thirteen other windows, the history menu
// items, caption and command states. Closing a child view reports to
// `onChildClosed` as a real view's close handler does.
class DesktopRecorder : public SessionHost, public LayoutWindows, public HistoryMenu {
public:
    // SessionHost
    LayoutWindows& Windows() override { return *this; }
    HistoryMenu& OpenedFilesMenu() override { return *this; }
    void CheckHistoryItem(int number, bool checked) override { historyChecked[number - 1] = checked; }
    void SetCaption(std::string_view text) override { caption = text; }
    void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
    void UpdateCommandStates(bool fileOpen) override { commandsForOpenFile = fileOpen; }
    ImportProgress& LabelProgress() override { return progress; }
    bool SetProcessPriority(ProcessPriority) override { return processPriorityAllowed; }
    bool SetThreadPriority(ThreadPriority) override { return threadPriorityAllowed; }

    // LayoutWindows
    bool IsChildOpen(std::size_t index) const override { return open[index]; }
    void OpenChild(std::size_t index) override {
        open[index] = true;
        if (layout) bounds[index] = layout->entries[index].bounds;
    }
    void CloseChild(std::size_t index) override {
        open[index] = false;
        if (onChildClosed) onChildClosed(index, bounds[index]);
    }
    WindowBounds Bounds(std::size_t index) const override { return bounds[index]; }
    void SetBounds(std::size_t index, const WindowBounds& b) override { bounds[index] = b; }
    bool IsShown(std::size_t index) const override { return open[index]; }
    void SetShown(std::size_t index, bool shown) override { open[index] = shown; }

    // HistoryMenu
    bool SetItem(std::string_view name, std::string_view text, bool visible) override {
        const std::string prefix = "muiOpenedFile";
        if (name.substr(0, prefix.size()) != prefix) return false;
        const int number = std::stoi(std::string(name.substr(prefix.size())));
        if (number < 1 || number > 10) return false;
        historyItems[number - 1] = visible ? std::string(text) : "";
        return true;
    }
    bool SetSeparatorVisible(std::string_view, bool) override { return true; }

    std::size_t OpenChildCount() const {
        std::size_t count = 0;
        for (std::size_t i = 0; i < 9; ++i) count += open[i];
        return count;
    }

    // The layout a child view is placed from when it opens.
    const WindowLayout* layout = nullptr;
    std::function<void(std::size_t, const WindowBounds&)> onChildClosed;
    std::array<bool, 22> open{};
    std::array<WindowBounds, 22> bounds{};
    std::array<std::string, 10> historyItems;
    std::array<bool, 10> historyChecked{};
    std::string caption;
    bool mainWindowEnabled = false;
    bool commandsForOpenFile = false;
    bool processPriorityAllowed = true;
    bool threadPriorityAllowed = true;
    NoImportProgress progress;
};

}  // namespace tessaly::test
