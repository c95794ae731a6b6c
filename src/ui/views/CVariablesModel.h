#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "control/CObject.h"

namespace tessaly {
class MessageHost;
}

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
    // Stores typed text into an object: an empty text when stored, else why not.
    using Writer = std::function<std::string(const CObject& object, std::string_view text)>;

    enum Column { kName, kType, kValue, kColumnCount };

    CVariablesModel(Writer write, MessageHost& messages, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edit of a value: written through the writer; a refused text shows
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

    Writer write_;
    MessageHost& messages_;
    std::vector<Row> rows_;
    std::vector<bool> changed_;
    std::string scope_;
};

}  // namespace tessaly::ui
