#pragma once

#include <string>

#include "views/CDebugView.h"

class QLabel;
class QTableView;

namespace tessaly::ui {

class CVariablesModel;

// The Locals window: the parameters and locals of the selected frame's
// function that are in scope at its line, each with its C type and value. A
// value that changed at the last step stands out; a double-click on a value
// types a new one, stored through the session.
class LocalsView : public CDebugView {
    Q_OBJECT
public:
    explicit LocalsView(CDebugContext& context, QWidget* parent = nullptr);

    void Refresh() override;
    QSize sizeHint() const override;

    QTableView& Table() { return *table_; }
    CVariablesModel& Model() { return *model_; }
    // The function whose variables are shown, or why there are none.
    QString Heading() const;

private:
    CDebugContext& context_;
    QLabel* heading_;
    QTableView* table_;
    CVariablesModel* model_;
};

}  // namespace tessaly::ui
