#pragma once

#include <QDialog>

#include "core/MessageHost.h"

class QLineEdit;
class QPushButton;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// The Send Byte to Serial Port dialog: each Send pushes the typed byte
// through the serial port's transmit path as if the program had written
// SBUF, then refreshes the views. It stays open for further bytes; OK closes
// it.
class SendByteDialog : public QDialog {
    Q_OBJECT
public:
    SendByteDialog(Session& session, MessageHost& messages, QWidget* parent = nullptr);

private slots:
    void btbSendClick();

private:
    Session& session_;
    MessageHost& messages_;
    QLineEdit* edtValue_;
    QPushButton* btbSend_;
    QPushButton* bitBtn2_;
};

}  // namespace tessaly::ui
