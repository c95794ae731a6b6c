#pragma once

#include "persistence/WindowLayout.h"
#include "session/SessionHost.h"

namespace tessaly {

// The session host of a front end without windows (the headless runner, an
// editor's debug adapter): no child view is ever open, every other window is
// where the session's layout records it, so saving a simulation keeps the
// layout it was given; the history menu, caption and command states are
// nowhere to be shown, and the process keeps the priorities it has.
class HeadlessSessionHost final : public SessionHost, public LayoutWindows, public HistoryMenu {
public:
    // The layout the windows follow: the session's own.
    void Follow(const WindowLayout& layout) { layout_ = &layout; }

    // SessionHost
    LayoutWindows& Windows() override { return *this; }
    HistoryMenu& OpenedFilesMenu() override { return *this; }
    void CheckHistoryItem(int, bool) override {}
    void SetCaption(std::string_view) override {}
    void SetMainWindowEnabled(bool) override {}
    void UpdateCommandStates(bool) override {}
    ImportProgress& LabelProgress() override { return progress_; }
    bool SetProcessPriority(ProcessPriority) override { return true; }
    bool SetThreadPriority(ThreadPriority) override { return true; }

    // LayoutWindows
    bool IsChildOpen(std::size_t) const override { return false; }
    void OpenChild(std::size_t) override {}
    void CloseChild(std::size_t) override {}
    WindowBounds Bounds(std::size_t index) const override {
        return layout_ ? layout_->entries[index].bounds : WindowBounds{};
    }
    void SetBounds(std::size_t, const WindowBounds&) override {}
    bool IsShown(std::size_t index) const override { return layout_ && layout_->entries[index].visible != 0; }
    void SetShown(std::size_t, bool) override {}

    // HistoryMenu
    bool SetItem(std::string_view, std::string_view, bool) override { return true; }
    bool SetSeparatorVisible(std::string_view, bool) override { return true; }

private:
    const WindowLayout* layout_ = nullptr;
    NoImportProgress progress_;
};

}  // namespace tessaly
