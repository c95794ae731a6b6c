#pragma once

#include "core/MessageHost.h"

class QWidget;

namespace tessaly::ui {

// The library's messages and questions as modal message boxes over the main
// window, titled with the program's name and typed as the logic asks.
class MessageBoxes : public MessageHost {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void Tell(MessageKind kind, const std::string& text) override;
    bool AskYesNo(MessageKind kind, const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace tessaly::ui
