#pragma once

#include <QDialog>

#include "control/Location.h"
#include "core/MessageHost.h"

class QComboBox;
class QLabel;

namespace tessaly {
class Session;
}

namespace tessaly::ui {

// The Add to Active Watch dialog: a type and a name or typed address, added
// to the watch list by Add as many times as wanted; OK (also Escape) closes
// it. Created once; the type chosen stays between uses.
class AddWatchDialog : public QDialog {
    Q_OBJECT
public:
    AddWatchDialog(Session& session, MessageHost& messages, QWidget* parent = nullptr);

    // The watch window's Add: the names of the current type refilled, then
    // shown modally.
    void Run();
    // Adds the chosen location to the watch list.
    void btbAddClick();

    // Every close is an OK.
    void reject() override { accept(); }

signals:
    // An entry went into the watch list.
    void watchListChanged();

private:
    LocationKind Kind() const;
    // Refills the names for the chosen type without reading any value.
    void FillNames();
    void cobNameChange();

    Session& session_;
    MessageHost& messages_;
    QComboBox* cobType_;
    QComboBox* cobName_;
    QLabel* status_;
};

}  // namespace tessaly::ui
