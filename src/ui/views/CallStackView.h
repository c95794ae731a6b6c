#pragma once

#include "views/CDebugView.h"

class QTableView;

namespace tessaly::ui {

class CallStackModel;

// The Call Stack window: every activation open on the stack, innermost
// first, with its function, line and address; code without C source keeps
// its place with its address, named after the nearest code label below it. A double-click on a frame makes the Source
// window show its line and the Locals window its variables.
class CallStackView : public CDebugView {
    Q_OBJECT
public:
    explicit CallStackView(CDebugContext& context, QWidget* parent = nullptr);

    void Refresh() override;
    QSize sizeHint() const override;

    QTableView& Table() { return *table_; }
    CallStackModel& Model() { return *model_; }

private:
    CDebugContext& context_;
    QTableView* table_;
    CallStackModel* model_;
};

}  // namespace tessaly::ui
