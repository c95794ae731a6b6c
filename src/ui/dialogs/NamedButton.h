#pragma once

#include <QLatin1String>
#include <QPushButton>
#include <QString>

namespace tessaly::ui {

// A push button with its object name that Return in a line edit does not
// press: the dialogs' own buttons.
inline QPushButton* NamedButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace tessaly::ui
