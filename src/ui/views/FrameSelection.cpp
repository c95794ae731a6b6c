#include "views/FrameSelection.h"

#include "session/Session.h"

namespace tessaly::ui {

FrameSelection::FrameSelection(const Session& session, QObject* parent) : QObject(parent), session_(session) {}

void FrameSelection::Update() {
    const Processor& p = session_.processor();
    frames_ = session_.source().CallStack(p);
    const void* info = session_.source().Info();
    if (info != info_ || p.ullInstructionsExecuted != instructions_ || p.usPC != pc_) index_ = 0;
    info_ = info;
    instructions_ = p.ullInstructionsExecuted;
    pc_ = p.usPC;
    if (index_ >= frames_.size()) index_ = 0;
}

void FrameSelection::Select(std::size_t index) {
    if (index >= frames_.size() || index == index_) return;
    index_ = index;
    emit selectionChanged();
}

}  // namespace tessaly::ui
