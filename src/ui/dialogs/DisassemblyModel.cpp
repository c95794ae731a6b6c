#include "dialogs/DisassemblyModel.h"

#include <QBrush>
#include <QColor>

namespace tessaly::ui {

namespace {

constexpr const char* kTitles[] = {"Brk P.", "Line No.", "Address", "Label", "Instruction", "Length", "Cycles"};

}  // namespace

void DisassemblyModel::SetRows(std::vector<DisassemblyRow> rows, std::vector<bool> marks) {
    beginResetModel();
    rows_ = std::move(rows);
    marks_ = std::move(marks);
    marks_.resize(rows_.size());
    endResetModel();
}

void DisassemblyModel::ToggleMark(int row) {
    if (row < 0 || row >= rowCount()) return;
    marks_[static_cast<std::size_t>(row)] = !marks_[static_cast<std::size_t>(row)];
    emit dataChanged(index(row, 0), index(row, 0));
}

int DisassemblyModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DisassemblyModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 7; }

QVariant DisassemblyModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case 0: return Marked(index.row()) ? QStringLiteral("B") : QString();
        case 1: return index.row() + 1;
        case 2: return QString::fromStdString(ListingAddress(row.address));
        case 3: return QString::fromStdString(row.label);
        case 4: return QString::fromStdString(row.instruction);
        case 5: return row.length;
        case 6: return row.cycles;
        default: return {};
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0 && Marked(index.row())) return QColor(0xC6, 0x28, 0x28);
    if (role == Qt::ForegroundRole && index.column() == 0) return QBrush(QColor(0xC6, 0x28, 0x28));
    if (role == Qt::TextAlignmentRole && index.column() != 3 && index.column() != 4) return Qt::AlignCenter;
    return {};
}

QVariant DisassemblyModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) &&
        section >= 0 && section < 7) {
        return QString(kTitles[section]);
    }
    return {};
}

}  // namespace tessaly::ui
