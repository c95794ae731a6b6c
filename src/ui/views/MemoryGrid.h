#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QTableView>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "control/Location.h"
#include "control/ViewChanges.h"
#include "views/ChildView.h"

namespace tessaly {
class Processor;
}

namespace tessaly::ui {

class SelectionCopy;

// How one memory window lays its cells out and names them.
struct MemoryGridShape {
    ViewMemory memory;
    int columns;                              // cells per row
    QString (*rowHeader)(int row);            // the fixed column's text of a row
    QString (*columnHeader)(int column);      // the fixed row's text of a column
    QString (*cellText)(std::uint8_t value);  // what a cell shows for a value
    QString (*cellName)(int cell);            // how assistive technology names a cell
};

// The cells of a memory window as a table model over the window's change
// shadow: a cell shows the value the shadow took at the last refresh, so the
// grid keeps what it showed until it is refreshed, and a refresh repaints
// only the cells whose value changed (drawn highlighted until the next
// refresh) and those whose highlight ends.
class MemoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MemoryGridModel(const MemoryGridShape& shape, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the cells up to date with the memory.
    void Refresh(const Processor& p);
    // Rewrites every cell, with no highlight.
    void RefreshFully(const Processor& p);

    int CellOf(const QModelIndex& index) const { return index.row() * shape_.columns + index.column(); }
    QModelIndex IndexOf(int cell) const { return index(cell / shape_.columns, cell % shape_.columns); }
    const MemoryShadow& Shadow() const { return shadow_; }
    // What a cell shows for each value.
    const std::array<QString, 256>& CellTexts() const { return texts_; }

    // The header font; a smaller point size for the column headers when
    // `columnPointSize` is not 0.
    void SetHeaderFonts(const QFont& base, int columnPointSize);

    // The background of a cell whose value changed at the last refresh.
    static QColor HighlightColour();

private:
    void AnnounceChanges();

    MemoryGridShape shape_;
    MemoryShadow shadow_;
    std::array<QString, 256> texts_;
    QFont rowHeaderFont_;
    QFont columnHeaderFont_;
};

// The room a cell of `view` needs beside its text: the focus frame's margin
// on each side and the grid line, and two pixels for the rounding of
// fractional advances.
int CellTextPadding(const QAbstractItemView& view);

// Pixel sizes of a grid as the windows give them; each grows to fit the
// font in use.
struct MemoryGridSizes {
    int headerColumnWidth;
    int columnWidth;
    int rowHeight;
    bool verticalScrollBar;
    int columnHeaderPointSize = 0;  // 0: the same size as the row headers
};

// A read-only grid of a memory window. A double-click on a cell, or Enter on
// the current cell, asks for that cell's location to be edited; Ctrl+C and
// the right-click menu copy a selected block of cells, and the menu offers
// what the window adds for the cell clicked.
class MemoryGridView : public QTableView {
    Q_OBJECT
public:
    MemoryGridView(MemoryGridModel* model, const MemoryGridSizes& sizes, QWidget* parent = nullptr);

    // Called with the cell number to edit.
    std::function<void(int cell)> onOpenCell;

    QSize sizeHint() const override;

    // Ctrl+C and the right-click menu.
    SelectionCopy& Copy() { return *copy_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    MemoryGridModel* model_;
    SelectionCopy* copy_ = nullptr;
    int headerWidth_ = 0;
    int columnWidth_ = 0;
    int rowHeight_ = 0;
};

struct ViewContext;

// A child view that is one memory grid: the internal RAM, external RAM and
// bit memory windows. Every cell is written when the window is created; a
// double-click on a cell opens the General Write dialog at the cell's
// location of `kind` (the cell number is the address), and its right-click
// menu offers Last Write and Add Data Break Point for that location.
class MemoryWindow : public ChildView {
    Q_OBJECT
public:
    void Refresh() override;
    void RefreshFully() override;

    MemoryGridModel& Model() { return *model_; }
    MemoryGridView& Grid() { return *grid_; }

protected:
    struct Look {
        int index;
        QString caption;
        const char* windowName;
        const char* gridName;
        LocationKind kind;
    };
    MemoryWindow(const Look& look, const MemoryGridShape& shape, const MemoryGridSizes& sizes, ViewContext& context,
                 QWidget* parent);

    ViewContext& context_;

private:
    MemoryGridModel* model_;
    MemoryGridView* grid_;
};

}  // namespace tessaly::ui
