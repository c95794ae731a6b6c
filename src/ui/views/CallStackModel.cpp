#include "views/CallStackModel.h"

#include <QFont>

namespace tessaly::ui {

int CallStackModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CallStackModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant CallStackModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    if (role == Qt::FontRole && index.row() == selected_) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

QVariant CallStackModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[kColumnCount] = {"Function", "Line", "Address"};
    return section >= 0 && section < kColumnCount ? QString(kTitles[section]) : QVariant();
}

void CallStackModel::RepaintRow(int row) {
    if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void CallStackModel::Show(std::vector<Row> rows, int selected) {
    if (rows.size() != rows_.size()) {
        beginResetModel();
        rows_ = std::move(rows);
        selected_ = selected;
        endResetModel();
        return;
    }
    const int before = selected_;
    selected_ = selected;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        if (rows[r] != rows_[r]) {
            rows_[r] = std::move(rows[r]);
            RepaintRow(row);
        } else if (row == before || row == selected) {
            if (before != selected) RepaintRow(row);
        }
    }
}

}  // namespace tessaly::ui
