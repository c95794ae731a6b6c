#include "dialogs/BreakPointsDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/AddBreakPointDialog.h"
#include "dialogs/BreakConditionDialog.h"
#include "dialogs/NamedButton.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 319;
constexpr int kHeight = 273;

}  // namespace

BreakPointsDialog::BreakPointsDialog(BreakPoints& breakPoints, AddBreakPointDialog& add, MessageHost& messages,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), breakPoints_(breakPoints), add_(add),
      messages_(messages) {
    setObjectName(QStringLiteral("TfrmBreakPoints"));
    setWindowTitle(QStringLiteral("Break Points"));

    auto* countLabel = new QLabel(QStringLiteral("Total Count = "), this);
    edtCount_ = new QLineEdit(this);
    edtCount_->setObjectName(QStringLiteral("edtCount"));
    edtCount_->setReadOnly(true);
    countLabel->setBuddy(edtCount_);

    sggBrkPtsList_ = new QTableWidget(0, 2, this);
    sggBrkPtsList_->setObjectName(QStringLiteral("sggBrkPtsList"));
    sggBrkPtsList_->setHorizontalHeaderLabels({QStringLiteral("S No."), QStringLiteral("Address")});
    sggBrkPtsList_->verticalHeader()->hide();
    sggBrkPtsList_->horizontalHeader()->setStretchLastSection(true);
    sggBrkPtsList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sggBrkPtsList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sggBrkPtsList_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* addButton = NamedButton(QStringLiteral("Add"), "BitBtn1", this);
    auto* remove = NamedButton(QStringLiteral("Delete"), "BitBtn2", this);
    auto* removeAll = NamedButton(QStringLiteral("Delete All"), "BitBtn3", this);
    condition_ = NamedButton(QStringLiteral("Condition..."), "btnCondition", this);
    condition_->hide();
    auto* ok = NamedButton(QStringLiteral("OK"), "btnOk", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(QStringLiteral("Cancel"), "btnCancel", this);
    connect(addButton, &QPushButton::clicked, this, &BreakPointsDialog::BitBtn1Click);
    connect(remove, &QPushButton::clicked, this, &BreakPointsDialog::BitBtn2Click);
    connect(removeAll, &QPushButton::clicked, this, &BreakPointsDialog::BitBtn3Click);
    connect(condition_, &QPushButton::clicked, this, &BreakPointsDialog::EditCondition);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(countLabel);
    countRow->addWidget(edtCount_, 1);
    auto* commands = new QVBoxLayout;
    commands->addWidget(addButton);
    commands->addWidget(remove);
    commands->addWidget(removeAll);
    commands->addWidget(condition_);
    commands->addStretch(1);
    commands->addWidget(ok);
    commands->addWidget(cancel);
    auto* listColumn = new QVBoxLayout;
    listColumn->addLayout(countRow);
    listColumn->addWidget(sggBrkPtsList_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(commands);

    resize(kWidth, kHeight);
    Fill();
}

void BreakPointsDialog::SetConditionEditor(BreakPointConditions& conditions, BreakConditionDialog& editor) {
    conditions_ = &conditions;
    conditionEditor_ = &editor;
    condition_->show();
}

void BreakPointsDialog::Run() {
    const std::vector<std::string> saved = breakPoints_.List().Lines();
    std::optional<BreakPointConditions> savedConditions;
    if (conditions_) savedConditions = *conditions_;
    Fill();
    if (exec() != QDialog::Accepted) {
        breakPoints_.SetFromLines(saved);
        if (savedConditions) *conditions_ = std::move(*savedConditions);
        Fill();
    }
}

void BreakPointsDialog::Fill() {
    const auto count = static_cast<int>(breakPoints_.Count());
    edtCount_->setText(QString::number(count));

    // The selected row survives a refill as far as the new rows reach.
    const int selected = sggBrkPtsList_->currentRow();
    sggBrkPtsList_->clearContents();
    sggBrkPtsList_->setRowCount(std::max(count, 1));
    for (int row = 0; row < count; ++row) {
        const std::string address = BreakPoints::DisplayText(breakPoints_.AddressAt(static_cast<std::size_t>(row)));
        sggBrkPtsList_->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
        sggBrkPtsList_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(address)));
    }
    if (count == 0) {
        sggBrkPtsList_->setItem(0, 0, new QTableWidgetItem);
        sggBrkPtsList_->setItem(0, 1, new QTableWidgetItem);
    }
    sggBrkPtsList_->setCurrentCell(std::clamp(selected, 0, sggBrkPtsList_->rowCount() - 1), 0);
}

void BreakPointsDialog::BitBtn1Click() {
    add_.SelectAllAddress();
    if (add_.exec() != QDialog::Accepted) return;
    breakPoints_.Add(add_.AcceptedAddress());
    Fill();
}

void BreakPointsDialog::BitBtn2Click() {
    // With no entries the one blank row stands for nothing.
    const int row = sggBrkPtsList_->currentRow();
    const bool listed = row >= 0 && static_cast<std::size_t>(row) < breakPoints_.Count();
    const std::uint16_t address = listed ? breakPoints_.AddressAt(static_cast<std::size_t>(row)) : 0;
    if (!listed || !breakPoints_.DeleteAt(static_cast<std::size_t>(row))) return;
    if (conditions_) conditions_->Remove(address);
    Fill();
}

void BreakPointsDialog::BitBtn3Click() {
    breakPoints_.Clear();
    if (conditions_) conditions_->Clear();
    Fill();
    messages_.Tell(MessageKind::Information, "All break points deleted");
}

void BreakPointsDialog::EditCondition() {
    const int row = sggBrkPtsList_->currentRow();
    if (!conditionEditor_ || row < 0 || static_cast<std::size_t>(row) >= breakPoints_.Count()) return;
    conditionEditor_->Run(breakPoints_.AddressAt(static_cast<std::size_t>(row)));
}

}  // namespace tessaly::ui
