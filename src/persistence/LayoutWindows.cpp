#include "persistence/LayoutWindows.h"

namespace tessaly {

// A visible byte other than 0 or 1 (only a foreign file holds one) changes
// nothing about whether the window is shown.
void ApplyWindowLayout(const WindowLayout& layout, LayoutWindows& windows) {
    for (std::size_t i = 0; i < WindowLayout::kEntryCount; ++i) {
        const WindowLayoutEntry& entry = layout.entries[i];
        if (i >= WindowLayout::kChildViewCount) {
            windows.SetBounds(i, entry.bounds);
            if (entry.visible <= 1) windows.SetShown(i, entry.visible == 1);
        } else if (entry.visible == 1) {
            if (windows.IsChildOpen(i)) windows.SetBounds(i, entry.bounds);
            else windows.OpenChild(i);
        } else if (entry.visible == 0 && windows.IsChildOpen(i)) {
            windows.CloseChild(i);
        }
    }
}

void CaptureWindowLayout(WindowLayout& layout, const LayoutWindows& windows) {
    for (std::size_t i = 0; i < WindowLayout::kEntryCount; ++i) {
        WindowLayoutEntry& entry = layout.entries[i];
        if (i >= WindowLayout::kChildViewCount) {
            entry.bounds = windows.Bounds(i);
            entry.visible = windows.IsShown(i) ? 1 : 0;
        } else if (windows.IsChildOpen(i)) {
            entry.bounds = windows.Bounds(i);
            entry.visible = 1;
        }
    }
}

void ChildWindowClosed(WindowLayout& layout, std::size_t index, const WindowBounds& bounds, bool trackChildClose) {
    if (!trackChildClose || index >= WindowLayout::kChildViewCount) return;
    layout.entries[index].bounds = bounds;
    layout.entries[index].visible = 0;
}

}  // namespace tessaly
