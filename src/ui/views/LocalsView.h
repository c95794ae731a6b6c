#pragma once

#include <string>

#include "views/CDebugView.h"

class QLabel;

namespace tessaly::ui {

class CVariablesModel;
class CVariablesTree;

// The Locals window: the parameters and locals of the selected frame's
// function that are in scope at its line, each with its C type and value;
// arrays and structs open into their elements and members. A value that
// changed at the last step stands out; a double-click on a value types a new
// one, stored through the session.
class LocalsView : public CDebugView {
    Q_OBJECT
public:
    explicit LocalsView(CDebugContext& context, QWidget* parent = nullptr);

    void Refresh() override;
    QSize sizeHint() const override;

    CVariablesTree& Tree() { return *tree_; }
    CVariablesModel& Model() { return *model_; }
    // The function whose variables are shown, or why there are none.
    QString Heading() const;

private:
    CDebugContext& context_;
    QLabel* heading_;
    CVariablesTree* tree_;
    CVariablesModel* model_;
};

}  // namespace tessaly::ui
