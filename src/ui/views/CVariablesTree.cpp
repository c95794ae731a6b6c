#include "views/CVariablesTree.h"

#include <QHeaderView>
#include <QMenu>

#include "views/CDebugView.h"
#include "views/CVariablesModel.h"
#include "views/FrameSelection.h"
#include "views/LocationCommands.h"
#include "views/SelectionCopy.h"

namespace tessaly::ui {

CVariablesTree::CVariablesTree(CVariablesModel* model, const char* name, const QString& accessibleName,
                               CDebugContext& context, QWidget* parent)
    : QTreeView(parent), model_(model) {
    setObjectName(QLatin1String(name));
    setAccessibleName(accessibleName);
    setModel(model);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    // The session reads a C expression from the innermost frame: a row of
    // another frame could name some other variable there, so its commands
    // wait until that frame is the innermost again.
    SelectionCopy::Attach(*this)->extendMenu = [this, &context](QMenu& menu, const QModelIndex& at) {
        const bool named = context.frames.Index() == 0 && model_->ObjectOf(at);
        AddLocationCommands(menu, context.locationCommands, named ? model_->PathOf(at) : std::string());
    };
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        model_->SetOpen(index, true);
        resizeColumnToContents(CVariablesModel::kName);
        resizeColumnToContents(CVariablesModel::kType);
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { model_->SetOpen(index, false); });
    // Connected after the view's own handlers, so the view has taken the
    // new rows in when they are opened.
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        Reopen({}, 0, model_->rowCount() - 1);
        resizeColumnToContents(CVariablesModel::kName);
        resizeColumnToContents(CVariablesModel::kType);
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, &CVariablesTree::Reopen);
}

void CVariablesTree::Reopen(const QModelIndex& parent, int first, int last) {
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model_->index(row, CVariablesModel::kName, parent);
        if (!model_->IsOpen(index)) continue;
        expand(index);
        Reopen(index, 0, model_->rowCount(index) - 1);
    }
}

}  // namespace tessaly::ui
