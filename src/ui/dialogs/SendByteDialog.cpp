#include "dialogs/SendByteDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/ValueEntry.h"
#include "core/SerialPort.h"
#include "dialogs/KeyFilter.h"
#include "session/Session.h"

namespace tessaly::ui {

SendByteDialog::SendByteDialog(Session& session, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      messages_(messages) {
    setObjectName(QStringLiteral("TfrmSendByteSerially"));
    setWindowTitle(QStringLiteral("Send Byte to Serial Port"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("Value( Hex )"), this);
    edtValue_ = new QLineEdit(this);
    edtValue_->setObjectName(QStringLiteral("edtValue"));
    edtValue_->setMaxLength(2);
    label->setBuddy(edtValue_);
    new KeyFilter(edtValue_, edtValue_, &FilterHexValueKey);

    btbSend_ = new QPushButton(QStringLiteral("Send"), this);
    btbSend_->setObjectName(QStringLiteral("btbSend"));
    btbSend_->setDefault(true);
    bitBtn2_ = new QPushButton(QStringLiteral("OK"), this);
    bitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    bitBtn2_->setAutoDefault(false);
    connect(btbSend_, &QPushButton::clicked, this, &SendByteDialog::btbSendClick);
    connect(bitBtn2_, &QPushButton::clicked, this, &QDialog::accept);

    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(label);
    valueRow->addWidget(edtValue_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btbSend_);
    buttons->addWidget(bitBtn2_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void SendByteDialog::btbSendClick() {
    Processor& p = session_.processor();
    if (p.iTxBaudRate == -1) {
        messages_.Tell(MessageKind::Plain, "Transmit baud rate is invalid");
        return;
    }
    const QString text = edtValue_->text();
    if (text.isEmpty()) return;
    const auto value = ReadValueText(text.toStdString(), ValueRadix::Hex, messages_);
    if (!value) return;
    session_.SendByte(*value);
}

}  // namespace tessaly::ui
