#pragma once

#include <QAbstractItemModel>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "control/CObject.h"

namespace tessaly {
class DebugInfo;
class MessageHost;
class Session;
}  // namespace tessaly

namespace tessaly::ui {

// C variables as a tree of name, type and value, the value as C prints it
// and typed over in place. An array or a struct opens into its elements
// ("[3]") and members ("next"), listed when first opened, and they into
// theirs. A value that changed since the refresh before stands out until the
// next one, provided the row still shows the same object of the same scope:
// a variable by its place in the list, an element or member by its path from
// there. Only the cells that differ are repainted.
class CVariablesModel : public QAbstractItemModel {
    Q_OBJECT
public:
    struct Row {
        std::string name;
        std::string type;
        std::string value;  // or, without an object, why there is none
        CObject object;
    };
    enum Column { kName, kType, kValue, kColumnCount };

    // Edits are stored through `session` (Session::WriteCValue).
    CVariablesModel(Session& session, MessageHost& messages, QObject* parent = nullptr);
    ~CVariablesModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edit of a value: stored through the session; a refused text shows
    // its message and the value stays as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Shows `rows`, each a variable (or a watched expression) named by its
    // name. `scope` names whose variables they are (a function's
    // activation); values are compared with the rows shown before only when
    // it is the scope shown before. The elements and members listed under
    // them are read again from the machine.
    void Show(std::vector<Row> rows, const std::string& scope);

    // The C expression of the object a row shows: the row's name at the top,
    // "box.corners[1].x" below it.
    std::string PathOf(const QModelIndex& index) const;
    // The object a row shows; null for a row that shows why there is none.
    const CObject* ObjectOf(const QModelIndex& index) const;
    // Which rows the view has open, by scope and path, so that rows listed
    // anew (the function's variables after a call returns, a watch added)
    // open as they were left.
    void SetOpen(const QModelIndex& index, bool open);
    bool IsOpen(const QModelIndex& index) const;

    static QColor ChangedColour();

private:
    struct Node {
        std::string name;
        std::string type;
        std::string value;
        CObject object;
        std::string path;
        Node* parent = nullptr;
        int row = 0;
        bool changed = false;
        bool expandable = false;  // an aggregate with elements or members
        bool fetched = false;     // its children are listed
        std::vector<std::unique_ptr<Node>> children;
    };

    static bool Writable(const Node& node);
    static Node* NodeOf(const QModelIndex& index) { return static_cast<Node*>(index.internalPointer()); }
    const DebugInfo* Info() const;
    std::string OpenKey(const std::string& path) const;
    // Lists the children of `node` (at `at`), and theirs where open; the
    // view is told of the rows unless the whole model is being reset.
    void Fetch(Node& node, const QModelIndex& at, bool announce);
    // Takes a new value for the node at `at` and reads its listed children again.
    void Update(Node& node, std::string value, CObject object, const QModelIndex& at);
    void UpdateChildren(Node& node, const QModelIndex& at);

    Session& session_;
    MessageHost& messages_;
    std::vector<std::unique_ptr<Node>> rows_;
    std::string scope_;
    std::set<std::string> open_;
};

}  // namespace tessaly::ui
