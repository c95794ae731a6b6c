#pragma once

#include <QDialog>

#include <cstdint>

#include "control/BreakPointAddress.h"
#include "core/MessageHost.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessaly::ui {

// The Add Break Point dialog: an address typed in hexadecimal or decimal.
// Created once and reused; the text typed and the radio button chosen stay
// as they were between uses, and the last accepted address is kept.
class AddBreakPointDialog : public QDialog {
    Q_OBJECT
public:
    AddBreakPointDialog(MessageHost& messages, QWidget* parent = nullptr);

    // The address of the last OK, 0 before the first.
    std::uint16_t AcceptedAddress() const { return accepted_; }
    // Selects the whole address text and gives the field the focus, so the
    // next address typed replaces it.
    void SelectAllAddress();

    AddressRadix Radix() const;

private slots:
    void btbOkClick();

private:
    // The field's length limit follows the radio buttons only when a key is
    // typed; a longer text already there is kept, not cut.
    void ApplyTypingLimit();

    MessageHost& messages_;
    std::uint16_t accepted_ = 0;
    QRadioButton* ckbHex_;
    QRadioButton* ckbDecimal_;
    QLineEdit* edtAddress_;
    QPushButton* btbOk_;
    QPushButton* btbCancel_;
};

}  // namespace tessaly::ui
