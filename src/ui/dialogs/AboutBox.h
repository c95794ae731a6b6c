#pragma once

#include <QDialog>

namespace tessaly::ui {

// The about box: icon, product name and version, and OK.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tessaly::ui
