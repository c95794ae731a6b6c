#include "views/CVariablesModel.h"

#include <QColor>

#include "control/CValueText.h"
#include "core/MessageHost.h"
#include "session/Session.h"

namespace tessaly::ui {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CVariablesModel::CVariablesModel(Session& session, MessageHost& messages, QObject* parent)
    : QAbstractItemModel(parent), session_(session), messages_(messages) {}

CVariablesModel::~CVariablesModel() = default;

QColor CVariablesModel::ChangedColour() { return {255, 250, 190}; }

const DebugInfo* CVariablesModel::Info() const { return session_.source().Info(); }

QModelIndex CVariablesModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= kColumnCount || (parent.isValid() && parent.column() != kName)) return {};
    const auto& list = parent.isValid() ? NodeOf(parent)->children : rows_;
    if (static_cast<std::size_t>(row) >= list.size()) return {};
    return createIndex(row, column, list[static_cast<std::size_t>(row)].get());
}

QModelIndex CVariablesModel::parent(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    Node* up = NodeOf(index)->parent;
    return up ? createIndex(up->row, kName, up) : QModelIndex();
}

int CVariablesModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(rows_.size());
    return parent.column() == kName ? static_cast<int>(NodeOf(parent)->children.size()) : 0;
}

int CVariablesModel::columnCount(const QModelIndex&) const { return kColumnCount; }

bool CVariablesModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return !rows_.empty();
    return parent.column() == kName && NodeOf(parent)->expandable;
}

bool CVariablesModel::canFetchMore(const QModelIndex& parent) const {
    return parent.isValid() && parent.column() == kName && NodeOf(parent)->expandable && !NodeOf(parent)->fetched;
}

void CVariablesModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) Fetch(*NodeOf(parent), parent, true);
}

bool CVariablesModel::Writable(const Node& node) {
    return node.object.Available() && node.object.memory != CMemory::Code;
}

QVariant CVariablesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Node& node = *NodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(index.column() == kName ? node.name : index.column() == kType ? node.type : node.value);
    case Qt::ToolTipRole:
        if (index.column() == kValue && Writable(node)) return QStringLiteral("Double-click to type a new value");
        return {};
    case Qt::BackgroundRole:
        if (index.column() == kValue && node.changed) return ChangedColour();
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
    if (index.column() == kValue && Writable(*NodeOf(index))) flags |= Qt::ItemIsEditable;
    return flags;
}

bool CVariablesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const std::string text = value.toString().toStdString();
    // An edit left as it was is no write.
    if (text == NodeOf(index)->value) return false;
    // A copy: the write refreshes the views, which may list other rows.
    const CObject object = NodeOf(index)->object;
    const std::string refused = session_.WriteCValue(object, text);
    if (refused.empty()) return true;
    messages_.Tell(MessageKind::Error, refused);
    return false;
}

std::string CVariablesModel::PathOf(const QModelIndex& index) const {
    return index.isValid() ? NodeOf(index)->path : std::string();
}

const CObject* CVariablesModel::ObjectOf(const QModelIndex& index) const {
    if (!index.isValid() || !NodeOf(index)->object.Available()) return nullptr;
    return &NodeOf(index)->object;
}

std::string CVariablesModel::OpenKey(const std::string& path) const { return scope_ + '\n' + path; }

void CVariablesModel::SetOpen(const QModelIndex& index, bool open) {
    if (!index.isValid()) return;
    if (open) open_.insert(OpenKey(PathOf(index)));
    else open_.erase(OpenKey(PathOf(index)));
}

bool CVariablesModel::IsOpen(const QModelIndex& index) const {
    return index.isValid() && open_.count(OpenKey(PathOf(index))) != 0;
}

void CVariablesModel::Fetch(Node& node, const QModelIndex& at, bool announce) {
    const DebugInfo* info = Info();
    node.fetched = true;
    if (!info) return;
    const std::vector<CChild> children = ChildrenOf(*info, node.object);
    if (children.empty()) return;
    const Processor& p = session_.processor();
    if (announce) beginInsertRows(at, 0, static_cast<int>(children.size()) - 1);
    for (const CChild& child : children) {
        auto added = std::make_unique<Node>();
        added->name = child.name;
        added->type = child.object.type.Spelling();
        added->value = FormatCValue(p, *info, child.object);
        added->object = child.object;
        added->path = ChildExpression(node.path, child);
        added->parent = &node;
        added->row = static_cast<int>(node.children.size());
        added->expandable = HasChildren(*info, child.object);
        node.children.push_back(std::move(added));
    }
    if (announce) endInsertRows();
    // The view may have opened some already, when told of the rows.
    for (const auto& child : node.children) {
        const QModelIndex place = createIndex(child->row, kName, child.get());
        if (child->expandable && !child->fetched && IsOpen(place)) Fetch(*child, place, announce);
    }
}

void CVariablesModel::Update(Node& node, std::string value, CObject object, const QModelIndex& at) {
    const bool changed = value != node.value;
    const bool repaint = changed || node.changed;
    node.value = std::move(value);
    node.object = std::move(object);
    node.changed = changed;
    if (repaint) {
        const QModelIndex cell = createIndex(node.row, kValue, &node);
        emit dataChanged(cell, cell);
    }
    if (node.fetched) UpdateChildren(node, at);
}

void CVariablesModel::UpdateChildren(Node& node, const QModelIndex& at) {
    const DebugInfo* info = Info();
    if (!info) return;
    const std::vector<CChild> children = ChildrenOf(*info, node.object);
    // The node's type is the one listed before, so its children's names and
    // types are too; only an object gone out of reach lists none.
    bool same = children.size() == node.children.size();
    for (std::size_t i = 0; same && i < children.size(); ++i) same = children[i].name == node.children[i]->name;
    if (!same) {
        // Another shape (the object gone out of reach, say): listed afresh.
        if (!node.children.empty()) {
            beginRemoveRows(at, 0, static_cast<int>(node.children.size()) - 1);
            node.children.clear();
            endRemoveRows();
        }
        Fetch(node, at, true);
        return;
    }
    const Processor& p = session_.processor();
    for (std::size_t i = 0; i < children.size(); ++i) {
        Node& child = *node.children[i];
        Update(child, FormatCValue(p, *info, children[i].object), children[i].object,
               createIndex(child.row, kName, &child));
    }
}

void CVariablesModel::Show(std::vector<Row> rows, const std::string& scope) {
    const DebugInfo* info = Info();
    const auto expandable = [info](const CObject& object) { return info && HasChildren(*info, object); };
    bool sameRows = scope == scope_ && rows.size() == rows_.size();
    for (std::size_t r = 0; sameRows && r < rows.size(); ++r) {
        const Node& shown = *rows_[r];
        sameRows = rows[r].name == shown.name && rows[r].type == shown.type &&
                   expandable(rows[r].object) == shown.expandable;
    }
    if (!sameRows) {
        beginResetModel();
        rows_.clear();
        scope_ = scope;
        for (Row& row : rows) {
            auto node = std::make_unique<Node>();
            node->expandable = expandable(row.object);
            node->path = row.name;
            node->name = std::move(row.name);
            node->type = std::move(row.type);
            node->value = std::move(row.value);
            node->object = std::move(row.object);
            node->row = static_cast<int>(rows_.size());
            rows_.push_back(std::move(node));
        }
        for (const auto& node : rows_) {
            const QModelIndex place = createIndex(node->row, kName, node.get());
            if (node->expandable && IsOpen(place)) Fetch(*node, place, false);
        }
        endResetModel();
        return;
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Node& node = *rows_[r];
        Update(node, std::move(rows[r].value), std::move(rows[r].object), createIndex(node.row, kName, &node));
    }
}

}  // namespace tessaly::ui
