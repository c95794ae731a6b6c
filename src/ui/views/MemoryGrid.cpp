#include "views/MemoryGrid.h"

#include <QBrush>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "session/Session.h"
#include "views/LocationCommands.h"
#include "views/SelectionCopy.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

// Past this many cells to repaint, one signal over the rows they span costs
// less than one per run of cells.
constexpr std::size_t kManyCells = 256;
// Rows of the external RAM grid a newly opened window shows.
constexpr int kVisibleRowsAtMost = 17;

}  // namespace

MemoryGridModel::MemoryGridModel(const MemoryGridShape& shape, QObject* parent)
    : QAbstractTableModel(parent), shape_(shape), shadow_(shape.memory) {
    for (unsigned value = 0; value < texts_.size(); ++value) {
        texts_[value] = shape_.cellText(static_cast<std::uint8_t>(value));
    }
}

QColor MemoryGridModel::HighlightColour() { return QColor(255, 243, 160); }

int MemoryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shadow_.CellCount()) / shape_.columns;
}

int MemoryGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shape_.columns; }

QVariant MemoryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int cell = CellOf(index);
    const QString& text = texts_[shadow_.Shown(static_cast<std::size_t>(cell))];
    switch (role) {
    case Qt::DisplayRole: return text;
    case Qt::AccessibleTextRole: {
        QString spoken = shape_.cellName(cell) + QStringLiteral(": ") + text.trimmed();
        if (shadow_.IsHighlighted(static_cast<std::size_t>(cell))) spoken += QStringLiteral(", changed");
        return spoken;
    }
    case Qt::BackgroundRole:
        if (shadow_.IsHighlighted(static_cast<std::size_t>(cell))) return QBrush(HighlightColour());
        return {};
    default: return {};
    }
}

QVariant MemoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool columns = orientation == Qt::Horizontal;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return columns ? shape_.columnHeader(section) : shape_.rowHeader(section);
    case Qt::FontRole: return columns ? columnHeaderFont_ : rowHeaderFont_;
    case Qt::ForegroundRole: return QBrush(Qt::blue);
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    default: return {};
    }
}

Qt::ItemFlags MemoryGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void MemoryGridModel::SetHeaderFonts(const QFont& base, int columnPointSize) {
    rowHeaderFont_ = base;
    rowHeaderFont_.setBold(true);
    columnHeaderFont_ = rowHeaderFont_;
    if (columnPointSize > 0) columnHeaderFont_.setPointSize(columnPointSize);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void MemoryGridModel::Refresh(const Processor& p) {
    shadow_.Refresh(p);
    AnnounceChanges();
}

void MemoryGridModel::RefreshFully(const Processor& p) {
    shadow_.Forget();
    Refresh(p);
}

void MemoryGridModel::AnnounceChanges() {
    const int lastColumn = shape_.columns - 1;
    if (shadow_.RewriteAll()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, lastColumn));
        return;
    }
    std::vector<std::uint32_t> cells;
    cells.reserve(shadow_.Changed().size() + shadow_.Unmarked().size());
    std::merge(shadow_.Changed().begin(), shadow_.Changed().end(), shadow_.Unmarked().begin(),
               shadow_.Unmarked().end(), std::back_inserter(cells));
    if (cells.empty()) return;
    const auto columns = static_cast<std::uint32_t>(shape_.columns);
    if (cells.size() > kManyCells) {
        emit dataChanged(index(static_cast<int>(cells.front() / columns), 0),
                         index(static_cast<int>(cells.back() / columns), lastColumn));
        return;
    }
    // One signal per run of neighbouring cells within a row.
    for (std::size_t i = 0; i < cells.size();) {
        const std::uint32_t first = cells[i];
        std::uint32_t last = first;
        while (++i < cells.size() && cells[i] == last + 1 && cells[i] % columns != 0) last = cells[i];
        emit dataChanged(IndexOf(static_cast<int>(first)), IndexOf(static_cast<int>(last)));
    }
}

int CellTextPadding(const QAbstractItemView& view) {
    return 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1) + 3;
}

MemoryGridView::MemoryGridView(MemoryGridModel* model, const MemoryGridSizes& sizes, QWidget* parent)
    : QTableView(parent), model_(model) {
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A block of cells can be selected and copied; the current cell alone
    // is what a double-click or Enter opens.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(sizes.verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

    model->SetHeaderFonts(font(), sizes.columnHeaderPointSize);

    // The sizes given are the least; a larger system font widens them so no
    // digit is cut.
    const QFontMetrics cells(font());
    const QFontMetrics rowHeaders(model->headerData(0, Qt::Vertical, Qt::FontRole).value<QFont>());
    const QFontMetrics columnHeaders(model->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>());
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const int cellPadding = CellTextPadding(*this);
    int columnWidth = sizes.columnWidth;
    for (const QString& text : model->CellTexts()) {
        columnWidth = std::max(columnWidth, cells.horizontalAdvance(text) + cellPadding);
    }
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString text = model->headerData(column, Qt::Horizontal).toString();
        columnWidth = std::max(columnWidth, columnHeaders.horizontalAdvance(text) + padding);
    }
    int headerWidth = sizes.headerColumnWidth;
    for (int row : {0, model->rowCount() - 1}) {
        const QString text = model->headerData(row, Qt::Vertical).toString();
        headerWidth = std::max(headerWidth, rowHeaders.horizontalAdvance(text) + padding);
    }
    const int rowHeight =
        std::max({sizes.rowHeight, cells.height() + 2, rowHeaders.height() + 2, columnHeaders.height() + 2});

    headerWidth_ = headerWidth;
    columnWidth_ = columnWidth;
    rowHeight_ = rowHeight;

    QHeaderView* top = horizontalHeader();
    top->setMinimumSectionSize(1);
    top->setDefaultSectionSize(columnWidth);
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setFixedHeight(rowHeight);
    top->setHighlightSections(false);
    QHeaderView* left = verticalHeader();
    left->setMinimumSectionSize(1);
    left->setDefaultSectionSize(rowHeight);
    left->setSectionResizeMode(QHeaderView::Fixed);
    left->setFixedWidth(headerWidth);
    left->setHighlightSections(false);

    copy_ = SelectionCopy::Attach(*this);

    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && onOpenCell) onOpenCell(model_->CellOf(index));
    });
}

QSize MemoryGridView::sizeHint() const {
    const int frame = 2 * frameWidth();
    const int rows = std::min(model_->rowCount(), kVisibleRowsAtMost);
    int width = headerWidth_ + model_->columnCount() * columnWidth_ + frame;
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) width += verticalScrollBar()->sizeHint().width();
    const int height = (rows + 1) * rowHeight_ + frame;
    return {width, height};
}

void MemoryGridView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentIndex().isValid() && onOpenCell) {
        onOpenCell(model_->CellOf(currentIndex()));
        return;
    }
    QTableView::keyPressEvent(event);
}

MemoryWindow::MemoryWindow(const Look& look, const MemoryGridShape& shape, const MemoryGridSizes& sizes,
                           ViewContext& context, QWidget* parent)
    : ChildView(look.index, look.caption, parent), context_(context) {
    setObjectName(QLatin1String(look.windowName));
    model_ = new MemoryGridModel(shape, this);
    grid_ = new MemoryGridView(model_, sizes, this);
    grid_->setObjectName(QLatin1String(look.gridName));
    grid_->setAccessibleName(look.caption);
    const LocationKind kind = look.kind;
    grid_->onOpenCell = [this, kind](int cell) {
        context_.openGeneralWrite(Location{kind, static_cast<std::uint16_t>(cell)});
    };
    grid_->Copy().extendMenu = [this, kind](QMenu& menu, const QModelIndex& at) {
        std::string name;
        if (at.isValid()) {
            const Location cell{kind, static_cast<std::uint16_t>(model_->CellOf(at))};
            name = DataBreakName(context_.session.processor(), cell);
        }
        AddLocationCommands(menu, context_.locationCommands, name);
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    model_->RefreshFully(context_.session.processor());
}

void MemoryWindow::Refresh() { model_->Refresh(context_.session.processor()); }

void MemoryWindow::RefreshFully() { model_->RefreshFully(context_.session.processor()); }

}  // namespace tessaly::ui
