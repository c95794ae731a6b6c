#pragma once

#include <QIcon>
#include <QToolBar>
#include <QToolButton>

namespace tessaly::ui {

// Adds a tool button named `name` to `bar`: its caption, its hint as tool
// tip (none when empty), an accessible name (the hint, or the caption when
// there is no hint), and how it shows caption and icon.
inline QToolButton* AddToolButton(QToolBar* bar, const char* name, const QString& caption, const QString& hint,
                                  const QIcon& icon = {},
                                  Qt::ToolButtonStyle style = Qt::ToolButtonTextBesideIcon) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    if (!hint.isEmpty()) button->setToolTip(hint);
    button->setAccessibleName(hint.isEmpty() ? caption : hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setToolButtonStyle(style);
    bar->addWidget(button);
    return button;
}

}  // namespace tessaly::ui
