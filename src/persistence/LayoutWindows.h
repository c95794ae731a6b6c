#pragma once

#include <cstddef>
#include <cstdint>

#include "persistence/WindowLayout.h"

namespace tessaly {

// The live windows behind the 22 layout entries, as the GUI provides them.
// Indexes 0-8 are the child views, which exist only while open; 9-21 exist
// for the whole run.
class LayoutWindows {
public:
    virtual ~LayoutWindows() = default;
    virtual bool IsChildOpen(std::size_t index) const = 0;
    // Creates the child view and places it from its layout entry.
    virtual void OpenChild(std::size_t index) = 0;
    virtual void CloseChild(std::size_t index) = 0;
    // Only for windows that exist: an open child view or 9-21.
    virtual WindowBounds Bounds(std::size_t index) const = 0;
    virtual void SetBounds(std::size_t index, const WindowBounds& bounds) = 0;
    // Only for 9-21.
    virtual bool IsShown(std::size_t index) const = 0;
    virtual void SetShown(std::size_t index, bool shown) = 0;
    // How the default layout is scaled for the fonts these windows use.
    virtual LayoutScale DefaultLayoutScale() const { return {}; }
};

// Makes the windows match the layout: places and shows or hides 9-21, opens
// or places the child views recorded as open, closes the others.
void ApplyWindowLayout(const WindowLayout& layout, LayoutWindows& windows);

// Makes the layout match the windows. A closed child view keeps the entry it
// got when it closed.
void CaptureWindowLayout(WindowLayout& layout, const LayoutWindows& windows);

// A child view (0-8) is closing with these bounds. While the workspace reset
// closes the views (`trackChildClose` clear) the entry keeps them as open, so
// the next load reopens them.
void ChildWindowClosed(WindowLayout& layout, std::size_t index, const WindowBounds& bounds, bool trackChildClose);

}  // namespace tessaly
