#pragma once

#include <QDialog>
#include <optional>

#include "control/BreakCondition.h"
#include "control/BreakPoints.h"
#include "core/MessageHost.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tessaly::ui {

class AddBreakPointDialog;
class BreakConditionDialog;

// The Break Points window: the list with its count, and commands to add,
// delete one and delete all. Every change goes to the list at once; leaving
// with Cancel or the close box puts back the list as it was when the window
// opened.
class BreakPointsDialog : public QDialog {
    Q_OBJECT
public:
    BreakPointsDialog(BreakPoints& breakPoints, AddBreakPointDialog& add, MessageHost& messages,
                      QWidget* parent = nullptr);

    // Gives the window its Condition command, which edits the condition and
    // hit count of the selected break point; they go with their break point
    // when it is deleted and come back with it on Cancel.
    void SetConditionEditor(BreakPointConditions& conditions, BreakConditionDialog& editor);
    // Shows the window modally over the current list.
    void Run();
    // Shows the list: the count, and one row per entry (a blank row when the
    // list is empty).
    void Fill();

private slots:
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void EditCondition();

private:
    BreakPoints& breakPoints_;
    AddBreakPointDialog& add_;
    MessageHost& messages_;
    QLineEdit* edtCount_;
    QTableWidget* sggBrkPtsList_;
    QPushButton* condition_;
    BreakPointConditions* conditions_ = nullptr;
    BreakConditionDialog* conditionEditor_ = nullptr;
};

}  // namespace tessaly::ui
