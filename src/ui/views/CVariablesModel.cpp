#include "views/CVariablesModel.h"

#include <QColor>

#include "core/MessageHost.h"
#include "session/Session.h"

namespace tessaly::ui {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CVariablesModel::CVariablesModel(Session& session, MessageHost& messages, QObject* parent)
    : QAbstractTableModel(parent), session_(session), messages_(messages) {}

QColor CVariablesModel::ChangedColour() { return {255, 250, 190}; }

int CVariablesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CVariablesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

bool CVariablesModel::Writable(const Row& row) {
    return row.object.Available() && row.object.memory != CMemory::Code;
}

QVariant CVariablesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto r = static_cast<std::size_t>(index.row());
    const Row& row = rows_[r];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(index.column() == kName ? row.name : index.column() == kType ? row.type : row.value);
    case Qt::ToolTipRole:
        if (index.column() == kValue && Writable(row)) return QStringLiteral("Double-click to type a new value");
        return {};
    case Qt::BackgroundRole:
        if (index.column() == kValue && changed_[r]) return ChangedColour();
        return {};
    default: return {};
    }
}

QVariant CVariablesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[kColumnCount] = {"Name", "Type", "Value"};
    return section >= 0 && section < kColumnCount ? QString(kTitles[section]) : QVariant();
}

Qt::ItemFlags CVariablesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kValue && Writable(rows_[static_cast<std::size_t>(index.row())])) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool CVariablesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const std::string text = value.toString().toStdString();
    // An edit left as it was is no write.
    if (text == rows_[static_cast<std::size_t>(index.row())].value) return false;
    // A copy: the write refreshes the views, which replaces the rows.
    const CObject object = rows_[static_cast<std::size_t>(index.row())].object;
    const std::string refused = session_.WriteCValue(object, text);
    if (refused.empty()) return true;
    messages_.Tell(MessageKind::Error, refused);
    return false;
}

void CVariablesModel::Show(std::vector<Row> rows, const std::string& scope) {
    const bool sameRows = scope == scope_ && rows.size() == rows_.size() &&
                          std::equal(rows.begin(), rows.end(), rows_.begin(),
                                     [](const Row& a, const Row& b) { return a.name == b.name && a.type == b.type; });
    if (!sameRows) {
        beginResetModel();
        rows_ = std::move(rows);
        changed_.assign(rows_.size(), false);
        scope_ = scope;
        endResetModel();
        return;
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool changed = rows[r].value != rows_[r].value;
        const bool repaint = changed || changed_[r];
        rows_[r] = std::move(rows[r]);
        changed_[r] = changed;
        if (repaint) {
            const QModelIndex cell = index(static_cast<int>(r), kValue);
            emit dataChanged(cell, cell);
        }
    }
}

}  // namespace tessaly::ui
