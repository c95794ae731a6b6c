#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "analysis/Disassembly.h"

namespace tessaly::ui {

// The disassembly grid: one row per instruction of the listing and a
// break point mark per row, seven columns ("Brk P.", "Line No.", "Address",
// "Label", "Instruction", "Length", "Cycles"). Rows are made as the view
// asks for them, so a 64 KB listing costs no widgets.
class DisassemblyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<DisassemblyRow> rows, std::vector<bool> marks);
    const std::vector<DisassemblyRow>& Rows() const { return rows_; }
    bool Marked(int row) const { return marks_[static_cast<std::size_t>(row)]; }
    void ToggleMark(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<DisassemblyRow> rows_;
    std::vector<bool> marks_;
};

}  // namespace tessaly::ui
