#include "dialogs/DisassemblyWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "control/BreakPoints.h"
#include "core/MessageHost.h"
#include "core/Processor.h"
#include "views/MemoryGrid.h"

namespace tessaly::ui {

namespace {

enum Column { kMark, kLineNumber, kAddress, kLabel, kInstruction, kLength, kCycles, kColumns };

}  // namespace

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
    resize(800, 477);

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
    // The instruction takes the room the other columns leave, so the listing
    // never scrolls sideways.
    grid_->horizontalHeader()->setSectionResizeMode(kInstruction, QHeaderView::Stretch);
    // A click on the mark column toggles the row's break point; moving the
    // cursor through the column leaves the marks alone.
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == kMark) model_.ToggleMark(index.row());
    });
    grid_->installEventFilter(this);

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
    SizeColumns();
    // A grid that gets the focus makes its first cell current; start on the
    // first row's number instead, so that showing the window marks nothing.
    grid_->selectionModel()->setCurrentIndex(model_.index(0, 1), QItemSelectionModel::NoUpdate);
    return true;
}

void DisassemblyWindow::SizeColumns() {
    const QFontMetrics metrics(grid_->font());
    const int padding = CellTextPadding(*grid_);
    const auto fit = [&](int column, const QString& widest) {
        const int width = std::max(grid_->horizontalHeader()->sectionSizeHint(column),
                                   metrics.horizontalAdvance(widest) + padding);
        grid_->setColumnWidth(column, width);
        return width;
    };
    // Line numbers, addresses and the one-digit lengths and cycle counts are
    // at their widest in the last row.
    const int last = model_.rowCount() - 1;
    int taken = 0;
    for (int column : {kMark, kLineNumber, kAddress, kLength, kCycles}) {
        taken += fit(column, last < 0 ? QString() : model_.index(last, column).data().toString());
    }
    // The longest label, but never more than a third of what is left, so a
    // long compiler name cannot push the instructions out of sight.
    QString longest;
    int longestWidth = 0;
    for (const DisassemblyRow& row : model_.Rows()) {
        if (row.label.empty()) continue;
        const QString label = QString::fromStdString(row.label);
        const int width = metrics.horizontalAdvance(label);
        if (width > longestWidth) {
            longest = label;
            longestWidth = width;
        }
    }
    const int labelWidth = fit(kLabel, longest);
    // The grid's width is current before the window first shows once the
    // layout has placed it.
    layout()->activate();
    const int room = grid_->width() - 2 * grid_->frameWidth() - grid_->verticalScrollBar()->sizeHint().width() - taken;
    const int third = std::max(grid_->horizontalHeader()->sectionSizeHint(kLabel), room / 3);
    if (labelWidth > third) grid_->setColumnWidth(kLabel, third);
}

bool DisassemblyWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool toggle = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
        const QModelIndex current = grid_->currentIndex();
        if (toggle && current.isValid() && current.column() == kMark) {
            model_.ToggleMark(current.row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
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
