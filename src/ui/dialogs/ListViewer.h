#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// The List Viewer: the executed-instruction history as it was when the
// window opened, until its Refresh is pressed. Created once, shown modally.
class ListViewer : public QDialog {
    Q_OBJECT
public:
    explicit ListViewer(Session& session, QWidget* parent = nullptr);

    // The status window's "..." button: the history read afresh, then shown
    // modally.
    void Run();
    // Replaces the text with the whole history.
    void tlbRefreshClick();
    // Empties the history, then shows it.
    void tlbClearClick();

private:
    Session& session_;
    QPlainTextEdit* rheList_;
};

}  // namespace tessaly::ui
