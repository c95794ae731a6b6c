#pragma once

#include <QDialog>
#include <cstdint>

#include "control/BreakCondition.h"
#include "core/MessageHost.h"

class QLabel;
class QLineEdit;

namespace tessaly::ui {

// The condition and hit count of one code break point. OK stores what the
// two fields say (both empty: the break point always stops again) and
// starts the count afresh; a text that does not read is told and the
// dialog stays open.
class BreakConditionDialog : public QDialog {
    Q_OBJECT
public:
    BreakConditionDialog(BreakPointConditions& conditions, MessageHost& messages, QWidget* parent = nullptr);

    // Shows the fields of the break point at `address` modally; true when
    // OK stored them.
    bool Run(std::uint16_t address);

private:
    void Store();

    BreakPointConditions& conditions_;
    MessageHost& messages_;
    std::uint16_t address_ = 0;
    QLabel* title_;
    QLineEdit* condition_;
    QLineEdit* hits_;
};

}  // namespace tessaly::ui
