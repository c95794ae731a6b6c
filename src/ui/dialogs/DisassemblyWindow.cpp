#include "dialogs/DisassemblyWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "control/BreakPoints.h"
#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly::ui {

DisassemblyProgressWindow::DisassemblyProgressWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmProgress");
    setWindowTitle("Progress ");
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    resize(387, 120);
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName("lblText");
    text_->setAlignment(Qt::AlignCenter);
    QFont bold = text_->font();
    bold.setBold(true);
    text_->setFont(bold);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("psbProgress");
    bar_->setRange(0, 100);
    status_ = new QLabel(this);
    status_->setObjectName("ssbText");
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(status_);
}

void DisassemblyProgressWindow::Started() {
    text_->setText("Disassembling Code");
    status_->setText("Code Disassembling in progress");
    bar_->setValue(0);
    show();
    repaint();
}

void DisassemblyProgressWindow::Reached(int percent) {
    bar_->setValue(percent);
    repaint();
}

void DisassemblyProgressWindow::Finished() { hide(); }

int DisassemblyProgressWindow::Position() const { return bar_->value(); }

DisassemblyWindow::DisassemblyWindow(Processor& processor, Workspace& workspace, BreakPoints& breakPoints,
                                     MessageHost& messages, QWidget* parent)
    : QDialog(parent),
      processor_(processor),
      workspace_(workspace),
      breakPoints_(breakPoints),
      messages_(messages),
      model_(this) {
    setObjectName("TfrmDisassembly");
    setWindowTitle("Disassembly Window");
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    resize(796, 554);

    grid_ = new QTableView(this);
    grid_->setObjectName("sggDisassembledCode");
    grid_->setModel(&model_);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(17);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPixelSize(12);
    grid_->setFont(fixed);
    const int widths[7] = {44, 60, 60, 211, 294, 52, 61};
    for (int c = 0; c < 7; ++c) grid_->setColumnWidth(c, widths[c]);
    // Selecting a cell of the first column, by mouse or keyboard, toggles
    // the row's break point mark; so does a click on the cell already
    // selected, which selects nothing new.
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                toggledBySelection_ = false;
                if (isVisible() && current.isValid() && current.column() == 0) {
                    model_.ToggleMark(current.row());
                    toggledBySelection_ = true;
                }
            });
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == 0 && !toggledBySelection_) model_.ToggleMark(index.row());
        toggledBySelection_ = false;
    });

    auto* save = new QPushButton("&Save Code", this);
    save->setObjectName("btbSave");
    save->setToolTip("Save extracted code to file");
    save->setDefault(true);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btbOk");
    ok->setToolTip("Update Break Points List and exit");
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("btbCancel");
    cancel->setToolTip("Do'nt update Break Points List and exit");
    connect(save, &QPushButton::clicked, this, &DisassemblyWindow::btbSaveClick);
    connect(ok, &QPushButton::clicked, this, &DisassemblyWindow::btbOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    progress_ = new DisassemblyProgressWindow(this);
    askFileName = [this](const QString& proposed) {
        bool accepted = false;
        const QString name = QInputDialog::getText(this, "Save Extracted Code", "Please enter complete name of output file",
                                                   QLineEdit::Normal, proposed, &accepted);
        return accepted ? name : QString();
    };
}

bool DisassemblyWindow::Fill() {
    if (processor_.iProgramSize == 0) return false;
    std::vector<DisassemblyRow> rows = DisassembleProgram(processor_, workspace_, progress_);
    std::vector<bool> marks(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) marks[i] = breakPoints_.Contains(rows[i].address);
    model_.SetRows(std::move(rows), std::move(marks));
    // A grid that gets the focus makes its first cell current; start on the
    // first row's number instead, so that showing the window marks nothing.
    grid_->selectionModel()->setCurrentIndex(model_.index(0, 1), QItemSelectionModel::NoUpdate);
    return true;
}

void DisassemblyWindow::Run() {
    if (Fill()) exec();
}

void DisassemblyWindow::btbOkClick() {
    breakPoints_.Clear();
    const auto& rows = model_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (model_.Marked(static_cast<int>(i))) breakPoints_.Add(rows[i].address);
    }
    accept();
}

void DisassemblyWindow::btbSaveClick() {
    const QString folder = programPath_.isEmpty() ? QString() : QFileInfo(programPath_).absolutePath() + "/";
    const QString name = askFileName(folder + "output.asm");
    if (name.isEmpty()) return;
    if (WriteExport(name.toStdString(), model_.Rows())) {
        messages_.Tell(MessageKind::Plain, "Extracted code saved successfully");
    } else {
        messages_.Tell(MessageKind::Plain, "An error occured while saving extracted code to file");
    }
}

}  // namespace tessaly::ui
