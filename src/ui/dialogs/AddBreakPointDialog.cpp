#include "dialogs/AddBreakPointDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/KeyFilter.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 264;
constexpr int kHeight = 130;

}  // namespace

AddBreakPointDialog::AddBreakPointDialog(MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      messages_(messages) {
    setObjectName(QStringLiteral("TfrmAddBreakPoint"));
    setWindowTitle(QStringLiteral("Add Break Point"));

    auto* radix = new QGroupBox(this);
    ckbHex_ = new QRadioButton(QStringLiteral("Hex"), radix);
    ckbHex_->setObjectName(QStringLiteral("ckbHex"));
    ckbHex_->setChecked(true);
    ckbDecimal_ = new QRadioButton(QStringLiteral("Decimal"), radix);
    ckbDecimal_->setObjectName(QStringLiteral("ckbDecimal"));
    auto* radixRow = new QHBoxLayout(radix);
    radixRow->addWidget(ckbHex_);
    radixRow->addWidget(ckbDecimal_);

    auto* addressLabel = new QLabel(QStringLiteral("Address"), this);
    edtAddress_ = new QLineEdit(QStringLiteral("0"), this);
    edtAddress_->setObjectName(QStringLiteral("edtAddress"));
    edtAddress_->setMaxLength(static_cast<int>(BreakPointAddressMaxLength(AddressRadix::Hex)));
    addressLabel->setBuddy(edtAddress_);
    auto* filter = new KeyFilter(edtAddress_, edtAddress_,
                                 [this](char key) { return FilterBreakPointAddressKey(key, Radix()); });
    filter->SetBeforeKey([this] { ApplyTypingLimit(); });

    btbOk_ = new QPushButton(QStringLiteral("OK"), this);
    btbOk_->setObjectName(QStringLiteral("btbOk"));
    btbOk_->setDefault(true);
    btbCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    btbCancel_->setObjectName(QStringLiteral("btbCancel"));
    connect(btbOk_, &QPushButton::clicked, this, &AddBreakPointDialog::btbOkClick);
    connect(btbCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(addressLabel);
    addressRow->addWidget(edtAddress_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btbOk_);
    buttons->addWidget(btbCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(radix);
    layout->addLayout(addressRow);
    layout->addLayout(buttons);

    // Every resize is refused; the window may still be moved.
    setFixedSize(kWidth, kHeight);
}

AddressRadix AddBreakPointDialog::Radix() const {
    return ckbDecimal_->isChecked() ? AddressRadix::Decimal : AddressRadix::Hex;
}

void AddBreakPointDialog::SelectAllAddress() {
    edtAddress_->selectAll();
    edtAddress_->setFocus();
}

void AddBreakPointDialog::ApplyTypingLimit() {
    const int limit = static_cast<int>(BreakPointAddressMaxLength(Radix()));
    // A shorter limit than the text would cut it; it then only stops growth.
    const int maxLength = std::max(limit, static_cast<int>(edtAddress_->text().size()));
    if (edtAddress_->maxLength() == maxLength) return;

    // Setting the limit sets the text again, which drops the selection the
    // key is about to replace; put it back.
    const int start = edtAddress_->selectionStart();
    const int length = static_cast<int>(edtAddress_->selectedText().size());
    const int cursor = edtAddress_->cursorPosition();
    edtAddress_->setMaxLength(maxLength);
    if (start < 0) edtAddress_->setCursorPosition(cursor);
    else if (cursor == start) edtAddress_->setSelection(start + length, -length);
    else edtAddress_->setSelection(start, length);
}

void AddBreakPointDialog::btbOkClick() {
    const auto address = AcceptBreakPointAddress(edtAddress_->text().toStdString(), Radix(), messages_);
    if (!address) return;
    accepted_ = *address;
    accept();
}

}  // namespace tessaly::ui
