#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace tessaly::ui {

// A table of the C windows (the call stack; the variables are trees, see
// CVariablesTree) over `model`: whole rows selected one at a time, compact
// rows without numbers, the last column taking the room left, Ctrl+C copying
// the selection, and the columns fitted to the contents whenever the model
// lists other things. An editable table edits a cell on a double-click or
// F2's edit key.
QTableView* CreateCDebugTable(QWidget* parent, const char* name, const QString& accessibleName,
                              QAbstractItemModel* model, bool editable);

}  // namespace tessaly::ui
