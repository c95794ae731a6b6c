#pragma once

#include <QDialog>

#include "control/BreakPoints.h"
#include "core/MessageHost.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tessaly::ui {

class AddBreakPointDialog;

// The Break Points window: the list with its count, and commands to add,
// delete one and delete all. Every change goes to the list at once; leaving
// with Cancel or the close box puts back the list as it was when the window
// opened.
class BreakPointsDialog : public QDialog {
    Q_OBJECT
public:
    BreakPointsDialog(BreakPoints& breakPoints, AddBreakPointDialog& add, MessageHost& messages,
                      QWidget* parent = nullptr);

    // Shows the window modally over the current list.
    void Run();
    // Shows the list: the count, and one row per entry (a blank row when the
    // list is empty).
    void Fill();

private slots:
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

private:
    BreakPoints& breakPoints_;
    AddBreakPointDialog& add_;
    MessageHost& messages_;
    QLineEdit* edtCount_;
    QTableWidget* sggBrkPtsList_;
};

}  // namespace tessaly::ui
