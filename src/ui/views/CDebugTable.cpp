#include "views/CDebugTable.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

#include "views/SelectionCopy.h"

namespace tessaly::ui {

QTableView* CreateCDebugTable(QWidget* parent, const char* name, const QString& accessibleName,
                              QAbstractItemModel* model, bool editable) {
    auto* table = new QTableView(parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    SelectionCopy::Attach(*table);
    QObject::connect(model, &QAbstractItemModel::modelReset, table, &QTableView::resizeColumnsToContents);
    return table;
}

}  // namespace tessaly::ui
