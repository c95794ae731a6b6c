#pragma once

#include <QDialog>

#include <string>

#include "control/DataBreakPoints.h"
#include "core/MessageHost.h"

class QComboBox;
class QLineEdit;
class QTableView;

namespace tessaly {
class Session;
}  // namespace tessaly

namespace tessaly::ui {

class DataBreakPointsModel;

// The Data Break Points window: the list of data break points and the
// commands to add one (a location, range or C expression with its access)
// and to remove the selected one. It stays open beside the views while the
// program runs; a text the session refuses is told and nothing is added.
class DataBreakPointsWindow : public QDialog {
    Q_OBJECT
public:
    DataBreakPointsWindow(Session& session, MessageHost& messages, QWidget* parent = nullptr);

    // Shows the window over the current list, or brings it to the front.
    void Open();
    // Adds a data break point on what `text` names, as a location's
    // right-click menu asks, and shows the list with it. A text the session
    // refuses is told and nothing is added; false then.
    bool Add(const std::string& text, DataAccess access);

private:
    void AddTyped();
    void RemoveSelected();

    Session& session_;
    MessageHost& messages_;
    DataBreakPointsModel* model_;
    QTableView* table_;
    QLineEdit* location_;
    QComboBox* access_;
};

}  // namespace tessaly::ui
