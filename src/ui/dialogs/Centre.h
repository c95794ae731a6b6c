#pragma once

#include <QScreen>
#include <QWidget>

namespace tessaly::ui {

// Places a window in the middle of its screen's free area at its current
// size; bounds applied later from a saved layout replace this.
inline void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace tessaly::ui
