#pragma once

#include <QDialog>
#include <functional>

#include "dialogs/DisassemblyModel.h"

class QLabel;
class QProgressBar;
class QTableView;

namespace tessaly {
class BreakPoints;
class MessageHost;
class Processor;
class Workspace;
}  // namespace tessaly

namespace tessaly::ui {

// "Progress ": the window that shows how far a disassembly has got.
class DisassemblyProgressWindow : public QDialog, public DisassemblyProgress {
    Q_OBJECT
public:
    explicit DisassemblyProgressWindow(QWidget* parent = nullptr);
    void Started() override;
    void Reached(int percent) override;
    void Finished() override;
    int Position() const;

private:
    QLabel* text_;
    QProgressBar* bar_;
    QLabel* status_;
};

// The whole program listed one instruction per row, with break point marks
// set and cleared by clicking the first column, or by Space or Enter on it;
// OK makes the marks the break point list, Cancel leaves the list alone;
// Save Code exports the listing.
class DisassemblyWindow : public QDialog {
    Q_OBJECT
public:
    DisassemblyWindow(Processor& processor, Workspace& workspace, BreakPoints& breakPoints, MessageHost& messages,
                      QWidget* parent = nullptr);

    // Fills the listing from code memory; false, doing nothing, when no
    // program bytes are loaded.
    bool Fill();
    // Fills and, when there is a program, shows the window modally.
    void Run();
    // Where the export is proposed: "output.asm" beside the program.
    void SetProgramPath(const QString& path) { programPath_ = path; }

    DisassemblyModel& Model() { return model_; }
    DisassemblyProgressWindow& Progress() { return *progress_; }
    // Asks for the export's file name; a test may replace it. Empty: cancelled.
    std::function<QString(const QString& proposed)> askFileName;

public slots:
    void btbOkClick();
    void btbSaveClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each column as wide as its header and its widest text, the label at
    // most a third of the room left, the instruction taking the rest.
    void SizeColumns();

    Processor& processor_;
    Workspace& workspace_;
    BreakPoints& breakPoints_;
    MessageHost& messages_;
    DisassemblyModel model_;
    QTableView* grid_;
    DisassemblyProgressWindow* progress_;
    QString programPath_;
};

}  // namespace tessaly::ui
