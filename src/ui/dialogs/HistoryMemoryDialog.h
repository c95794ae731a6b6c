#pragma once

#include <QDialog>

class QLabel;
class QSpinBox;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// Options > History Memory: how many megabytes the recorded history of the
// run may keep for going back in time (0 records nothing), with what it
// keeps now. OK stores the bound with the engine options; a smaller bound
// forgets the oldest past at once, 0 all of it.
class HistoryMemoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit HistoryMemoryDialog(Session& session, QWidget* parent = nullptr);

    // Shows the dialog over the bound in force; true when OK stored one.
    bool Run();

private:
    void ShowInUse();

    Session& session_;
    QSpinBox* megabytes_;
    QLabel* inUse_;
};

}  // namespace tessaly::ui
