#include "dialogs/BreakConditionDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/BreakConditionText.h"
#include "control/BreakPoints.h"

namespace tessaly::ui {

BreakConditionDialog::BreakConditionDialog(BreakPointConditions& conditions, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), conditions_(conditions), messages_(messages) {
    setObjectName(QStringLiteral("TfrmBreakCondition"));
    setWindowTitle(QStringLiteral("Break Point Condition"));

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblBreakAddress"));
    condition_ = new QLineEdit(this);
    condition_->setObjectName(QStringLiteral("edtCondition"));
    condition_->setPlaceholderText(QStringLiteral("e.g. 30H >= 5, ACC & 80H, count == 3"));
    hits_ = new QLineEdit(this);
    hits_->setObjectName(QStringLiteral("edtHitCount"));
    hits_->setPlaceholderText(QStringLiteral("e.g. 5, >=5, >5, %5"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnConditionOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnConditionCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &BreakConditionDialog::Store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Condition"), condition_);
    fields->addRow(QStringLiteral("&Hit count"), hits_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(340, 140);
}

bool BreakConditionDialog::Run(std::uint16_t address) {
    address_ = address;
    title_->setText(QStringLiteral("Break point at ") + QString::fromStdString(BreakPoints::DisplayText(address)));
    const BreakPointConditions::Entry* entry = conditions_.Find(address);
    condition_->setText(entry && entry->condition ? QString::fromStdString(BreakConditionText(*entry->condition))
                                                  : QString());
    hits_->setText(entry && entry->hits ? QString::fromStdString(HitConditionText(*entry->hits)) : QString());
    condition_->setFocus();
    condition_->selectAll();
    return exec() == QDialog::Accepted;
}

void BreakConditionDialog::Store() {
    BreakPointConditions::Entry entry;
    const std::string condition = condition_->text().trimmed().toStdString();
    if (!condition.empty()) {
        auto parsed = ParseBreakCondition(condition);
        if (const std::string* why = std::get_if<std::string>(&parsed)) {
            messages_.Tell(MessageKind::Error, *why);
            condition_->setFocus();
            return;
        }
        entry.condition = std::get<BreakCondition>(parsed);
    }
    const std::string hits = hits_->text().trimmed().toStdString();
    if (!hits.empty()) {
        auto parsed = ParseHitCondition(hits);
        if (const std::string* why = std::get_if<std::string>(&parsed)) {
            messages_.Tell(MessageKind::Error, *why);
            hits_->setFocus();
            return;
        }
        entry.hits = std::get<HitCondition>(parsed);
    }
    if (entry.condition || entry.hits) conditions_.Set(address_, std::move(entry));
    else conditions_.Remove(address_);
    accept();
}

}  // namespace tessaly::ui
