#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace tessaly::ui {

namespace {

QMessageBox::Icon IconFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Confirmation: return QMessageBox::Question;
    case MessageKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

// The texts end their lines with CR LF, as they are written in the program's
// own words; a box wants plain line feeds.
QString BoxText(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

void MessageBoxes::Tell(MessageKind kind, const std::string& text) {
    QMessageBox box(IconFor(kind), QApplication::applicationName(), BoxText(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool MessageBoxes::AskYesNo(MessageKind kind, const std::string& text) {
    QMessageBox box(IconFor(kind), QApplication::applicationName(), BoxText(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tessaly::ui
