#include "dialogs/InitializeDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/Centre.h"
#include "dialogs/KeyFilter.h"
#include "session/Session.h"

namespace tessaly::ui {

void InitializeSfrRegisters(Session& session, MessageHost& messages) {
    if (!messages.AskYesNo(MessageKind::Confirmation, "Load power on reset values to SFR Registers ?")) return;
    session.LoadSfrPowerOnValues();
}

InitializeDialog::InitializeDialog(const Look& look, Session& session, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      messages_(messages),
      preset_(look.preset),
      radix_(look.radix) {
    setObjectName(QLatin1String(look.objectName));
    setWindowTitle(look.caption);
    setModal(true);

    auto* label = new QLabel(look.label, this);
    edtValue_ = new QLineEdit(this);
    edtValue_->setObjectName(QStringLiteral("edtValue"));
    edtValue_->setMaxLength(look.maxLength);
    label->setBuddy(edtValue_);
    new KeyFilter(edtValue_, edtValue_, look.keyFilter);

    btnOK_ = new QPushButton(QStringLiteral("OK"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(label);
    valueRow->addWidget(edtValue_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

bool InitializeDialog::Run() {
    edtValue_->setText(preset_);
    edtValue_->selectAll();
    edtValue_->setFocus();
    CentreOnScreen(*this);
    if (exec() != QDialog::Accepted) return false;
    const auto value = ReadValueText(edtValue_->text().toStdString(), radix_, messages_);
    if (!value) return false;
    Fill(*value);
    return true;
}

InitializeIntRamDialog::InitializeIntRamDialog(Session& session, MessageHost& messages, QWidget* parent)
    : InitializeDialog({"TfrmInitializeIntRAM", QStringLiteral("Initialize Whole Internal RAM"),
                        QStringLiteral("Value( Hex )"), 2, QStringLiteral("00"), &FilterHexValueKey, ValueRadix::Hex},
                       session, messages, parent) {}

void InitializeIntRamDialog::Fill(std::uint8_t value) {
    session_.FillInternalRam(value);
}

InitializeExtRamDialog::InitializeExtRamDialog(Session& session, MessageHost& messages, QWidget* parent)
    : InitializeDialog({"TfrmInitializeExtRAM", QStringLiteral("Initialize Whole External RAM"),
                        QStringLiteral("Value( Hex )"), 2, QStringLiteral("00"), &FilterHexValueKey, ValueRadix::Hex},
                       session, messages, parent) {}

void InitializeExtRamDialog::Fill(std::uint8_t value) {
    session_.FillExternalRam(value);
}

InitializeBitMemoryDialog::InitializeBitMemoryDialog(Session& session, MessageHost& messages, QWidget* parent)
    : InitializeDialog({"TfrmInitializeBitMemory", QStringLiteral("Initialize Whole Bit Memory"),
                        QStringLiteral("Value"), 1, QStringLiteral("0"), &FilterBitValueKey, ValueRadix::Decimal},
                       session, messages, parent) {}

void InitializeBitMemoryDialog::Fill(std::uint8_t value) {
    session_.FillBitMemory(value);
}

}  // namespace tessaly::ui
