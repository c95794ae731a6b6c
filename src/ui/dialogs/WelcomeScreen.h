#pragma once

#include <QDialog>
#include <QImage>

namespace tessaly::ui {

// The welcome screen shown while the program starts: one picture, no frame,
// above every other window.
class WelcomeScreen : public QDialog {
    Q_OBJECT
public:
    explicit WelcomeScreen(QWidget* parent = nullptr);

    // The picture at `size`, drawn rather than loaded so that no image file
    // has to travel with the program.
    static QImage Picture(const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;  // drawn again only when the size changes
};

}  // namespace tessaly::ui
