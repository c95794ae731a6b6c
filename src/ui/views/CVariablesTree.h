#pragma once

#include <QString>
#include <QTreeView>

namespace tessaly::ui {

class CVariablesModel;
class SelectionCopy;
struct CDebugContext;

// The tree of the C variables windows (the locals, the C watches) over their
// model: an array or struct opens with its arrow or the Right key, whole
// rows are selected one at a time, a value is typed over on a double-click
// or the edit key, Ctrl+C copies the selection. What the user opened stays
// open from step to step, and opens again when its variables are listed anew.
// The right-click menu offers Last Write and Add Data Break Point for the
// variable, element or member of a row, by its C expression.
class CVariablesTree : public QTreeView {
    Q_OBJECT
public:
    CVariablesTree(CVariablesModel* model, const char* name, const QString& accessibleName, CDebugContext& context,
                   QWidget* parent = nullptr);

private:
    // Opens again the rows from `first` to `last` under `parent`, and the
    // rows listed under them, that the user left open.
    void Reopen(const QModelIndex& parent, int first, int last);

    CVariablesModel* model_;
};

}  // namespace tessaly::ui
