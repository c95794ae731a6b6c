#pragma once

#include <QWidget>

#include "views/CDebugView.h"

class QLineEdit;

namespace tessaly::ui {

class CVariablesModel;
class CVariablesTree;

// The C variables of the Active Watch window, below its locations: each
// watched name or expression ("list[2].value", "*head", "head->next->value")
// with its C type and value as seen from the selected frame (its locals and
// parameters, then the globals and the file statics of its module), or why it
// means nothing there; arrays and structs open into their elements and
// members. A watch is typed into the line below and added with Enter; Delete
// removes the selected one; a double-click on a value types a new one. Shown
// while C debug information is loaded.
class CWatchPanel : public QWidget {
    Q_OBJECT
public:
    explicit CWatchPanel(CDebugContext& context, QWidget* parent = nullptr);

    void Refresh();
    // Adds the name or expression typed; a text that is no C expression is
    // refused with the reason and stays to be mended.
    void AddTyped();
    void DeleteSelected();

    CVariablesTree& Tree() { return *tree_; }
    CVariablesModel& Model() { return *model_; }
    QLineEdit& NameEdit() { return *name_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDebugContext& context_;
    CVariablesTree* tree_;
    CVariablesModel* model_;
    QLineEdit* name_;
};

}  // namespace tessaly::ui
