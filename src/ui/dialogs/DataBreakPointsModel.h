#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <utility>
#include <vector>

namespace tessaly {
class DataBreakPoints;
}  // namespace tessaly

namespace tessaly::ui {

// The data break points as a table: the location as it was given and the
// access (write, read, change). Refresh compares the list with the rows it
// shows and inserts or removes only the rows that differ.
class DataBreakPointsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataBreakPointsModel(const DataBreakPoints& points, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Refresh();

private:
    using Row = std::pair<QString, QString>;
    std::vector<Row> ListRows() const;

    const DataBreakPoints& points_;
    std::vector<Row> rows_;
};

}  // namespace tessaly::ui
