#include "dialogs/DataBreakPointsModel.h"

#include <algorithm>

#include "control/DataBreakPoints.h"

namespace tessaly::ui {

DataBreakPointsModel::DataBreakPointsModel(const DataBreakPoints& points, QObject* parent)
    : QAbstractTableModel(parent), points_(points), rows_(ListRows()) {}

int DataBreakPointsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DataBreakPointsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant DataBreakPointsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    return index.column() == 0 ? row.first : row.second;
}

QVariant DataBreakPointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return section == 0 ? QStringLiteral("Location") : QStringLiteral("Access");
}

std::vector<DataBreakPointsModel::Row> DataBreakPointsModel::ListRows() const {
    std::vector<Row> rows;
    for (const DataBreakPoint& point : points_.List()) {
        const std::string_view access = DataAccessText(point.access);
        rows.emplace_back(QString::fromStdString(point.target.name),
                          QString::fromUtf8(access.data(), static_cast<qsizetype>(access.size())));
    }
    return rows;
}

void DataBreakPointsModel::Refresh() {
    std::vector<Row> now = ListRows();
    // The rows both lists begin and end with stay; what lies between them
    // goes and the list's rows come in its place.
    const std::size_t common = std::min(rows_.size(), now.size());
    std::size_t head = 0;
    while (head < common && rows_[head] == now[head]) ++head;
    std::size_t tail = 0;
    while (tail < common - head && rows_[rows_.size() - 1 - tail] == now[now.size() - 1 - tail]) ++tail;
    const auto first = static_cast<int>(head);
    if (rows_.size() - tail > head) {
        beginRemoveRows({}, first, static_cast<int>(rows_.size() - tail) - 1);
        rows_.erase(rows_.begin() + first, rows_.end() - static_cast<std::ptrdiff_t>(tail));
        endRemoveRows();
    }
    if (now.size() - tail > head) {
        beginInsertRows({}, first, static_cast<int>(now.size() - tail) - 1);
        rows_.insert(rows_.begin() + first, now.begin() + first, now.end() - static_cast<std::ptrdiff_t>(tail));
        endInsertRows();
    }
}

}  // namespace tessaly::ui
