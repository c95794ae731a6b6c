#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "control/CObject.h"

namespace tessaly {
class MessageHost;
class Session;
}  // namespace tessaly

namespace tessaly::ui {

// C variables as a table of name, type and value, the value as C prints it
// and typed over in place. A value that changed since the refresh before
// stands out until the next one, provided the row still shows the same
// variable of the same scope.
class CVariablesModel : public QAbstractTableModel {
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

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edit of a value: stored through the session; a refused text shows
    // its message and the value stays as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Shows `rows`. `scope` names whose variables they are (a function's
    // activation); values are compared with the rows shown before only when
    // it is the scope shown before. Only the cells that differ are repainted.
    void Show(std::vector<Row> rows, const std::string& scope);
    const std::vector<Row>& Rows() const { return rows_; }
    bool IsChanged(int row) const { return changed_[static_cast<std::size_t>(row)]; }

    static QColor ChangedColour();

private:
    static bool Writable(const Row& row);

    Session& session_;
    MessageHost& messages_;
    std::vector<Row> rows_;
    std::vector<bool> changed_;
    std::string scope_;
};

}  // namespace tessaly::ui
