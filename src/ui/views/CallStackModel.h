#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace tessaly::ui {

// The call stack as a table, innermost first: the function, its file and
// line, and the code address; the frame the C windows show in bold. A
// refresh repaints only the rows that differ.
class CallStackModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kFunction, kPlace, kAddress, kColumnCount };
    using Row = std::array<QString, kColumnCount>;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void Show(std::vector<Row> rows, int selected);
    int Selected() const { return selected_; }

private:
    void RepaintRow(int row);

    std::vector<Row> rows_;
    int selected_ = -1;
};

}  // namespace tessaly::ui
