#pragma once

#include "core/MessageHost.h"
#include "views/ChildView.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tessaly::ui {

struct ViewContext;

// The Execution Status window: the instruction at the program counter and
// its bytes, the instruction and cycle counters, the elapsed simulated time,
// the numbers of errors and warnings, the program counter, and how far back
// the recorded history reaches ("from instruction 1048576", or "off"). Its "..."
// buttons open the history and toggle the Errors and Warnings windows; a
// double-click on the program counter opens the General Write dialog on it.
class ExecutionStatusView : public ChildView {
    Q_OBJECT
public:
    ExecutionStatusView(ViewContext& context, MessageHost& messages, QWidget* parent = nullptr);

    void Refresh() override;
    // The General Write dialog preset to the program counter.
    void edtPCDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ViewContext& context_;
    MessageHost& messages_;
    QLineEdit* mmoCurrentInstruction_;
    QLineEdit* edtElapsedTime_;
    QLineEdit* edtInstructionsExecuted_;
    QLineEdit* edtCyclesExecuted_;
    QLineEdit* edtErrorsEncountered_;
    QLineEdit* edtWarningsReceived_;
    QLineEdit* edtCurrentOpcode_;
    QLineEdit* edtPC_;
    QLineEdit* edtHistory_;
    QPushButton* btnViewExecutedInstructions_;
};

}  // namespace tessaly::ui
