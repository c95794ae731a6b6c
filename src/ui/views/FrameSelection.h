#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "control/CCallStack.h"

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// The call stack the C windows show and the activation they show it from:
// the innermost after every run, step or reset, another after a double-click
// in the Call Stack window. The Source window shows the selected frame's
// line, the Locals window its variables, the C watches see its scope.
class FrameSelection : public QObject {
    Q_OBJECT
public:
    explicit FrameSelection(const Session& session, QObject* parent = nullptr);

    // Builds the stack again as the machine stands; once the machine has
    // moved (an instruction ran, the PC or the debug information changed)
    // the innermost frame is selected again. Run at the start of every
    // refresh of the views.
    void Update();

    // Innermost first; empty without C debug information.
    const std::vector<CStackFrame>& Frames() const { return frames_; }
    std::size_t Index() const { return index_; }
    // Nothing without C debug information.
    const CStackFrame* Selected() const { return index_ < frames_.size() ? &frames_[index_] : nullptr; }
    // Selects frame `index` (ignored past the outermost) and tells the views.
    void Select(std::size_t index);

signals:
    void selectionChanged();

private:
    const Session& session_;
    std::vector<CStackFrame> frames_;
    std::size_t index_ = 0;
    // What the machine was when the selection was made.
    const void* info_ = nullptr;
    std::uint64_t instructions_ = UINT64_MAX;
    std::uint16_t pc_ = 0;
};

}  // namespace tessaly::ui
