#include "views/ToolButtons.h"
#include "views/ActiveWatchView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <QFontMetrics>

#include <algorithm>
#include <array>

#include "control/WatchList.h"
#include "dialogs/AddWatchDialog.h"
#include "session/Session.h"
#include "views/CWatchPanel.h"
#include "views/LocationCommands.h"
#include "views/MemoryGrid.h"
#include "views/SelectionCopy.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

constexpr int kFirstValueColumn = 3;
constexpr int kWidth = 470;
constexpr int kHeight = 240;
const QColor kChangedBackground(255, 250, 190);


// The widest text of `length` characters drawn from `alphabet`.
QString Widest(const QFontMetrics& metrics, const QString& alphabet, int length) {
    QString widest;
    for (const QChar c : alphabet) {
        const QString text(length, c);
        if (widest.isEmpty() || metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest)) widest = text;
    }
    return widest;
}

// Everything a column may have to show, so no value is ever cut: an entry
// number of five digits (the list can hold every location), each register
// and bit name and an external RAM address, each type, and the values of the
// widest locations (the register pairs and external RAM, sixteen bits; a
// bit's "1 " is narrower).
std::array<QStringList, 6> PossibleTexts(const Processor& p, const QFontMetrics& metrics) {
    const QString decimal = QStringLiteral("0123456789");
    const QString hex = QStringLiteral("0123456789ABCDEF");
    std::array<QStringList, 6> texts;
    texts[0] << Widest(metrics, decimal, 5);
    texts[1] << Widest(metrics, hex, 4);
    for (LocationKind kind : kLocationKinds) {
        const std::string_view type = LocationTypeText(kind);
        texts[2] << QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size()));
        if (kind != LocationKind::SfrRegister && kind != LocationKind::SfrBit) continue;
        for (const auto& item : FillNames(p, kind).items) {
            texts[1] << QString::fromStdString(LocationName(p, Location{kind, item.key}));
        }
    }
    texts[3] << Widest(metrics, hex, 4);
    texts[4] << Widest(metrics, decimal, 5);
    texts[5] << Widest(metrics, QStringLiteral("01"), 16);
    return texts;
}

QLabel* Panel(int width, QStatusBar* bar) {
    auto* panel = new QLabel(bar);
    panel->setFixedWidth(width);
    bar->addWidget(panel);
    return panel;
}

}  // namespace

ActiveWatchView::ActiveWatchView(ViewContext& context, AddWatchDialog& add, MessageHost& messages, QWidget* parent)
    : ChildView(layout_window::kActiveWatch, QStringLiteral("Active Watch"), parent), context_(context), add_(add), messages_(messages) {
    setObjectName(QStringLiteral("TfrmActiveWatch"));

    auto* bar = new QToolBar(this);
    auto* addButton = AddToolButton(bar, "tobAdd", QStringLiteral("Add"), QStringLiteral("Add Items"),
                                    QIcon(QStringLiteral(":/icons/view-watch.svg")));
    auto* remove = AddToolButton(bar, "tobDelete", QStringLiteral("Delete"), QStringLiteral("Delete selected item"),
                                 style()->standardIcon(QStyle::SP_DialogDiscardButton));
    auto* removeAll = AddToolButton(bar, "tobDeleteAll", QStringLiteral("Delete All"),
                                    QStringLiteral("Delete all items"),
                                    style()->standardIcon(QStyle::SP_DialogResetButton));
    connect(addButton, &QToolButton::clicked, this, &ActiveWatchView::tobAddClick);
    connect(remove, &QToolButton::clicked, this, &ActiveWatchView::tobDeleteClick);
    connect(removeAll, &QToolButton::clicked, this, &ActiveWatchView::tobDeleteAllClick);
    // The dialog adds while it is open; the grid follows each add.
    connect(&add_, &AddWatchDialog::watchListChanged, this, &ActiveWatchView::Refresh);

    sggActiveWatch_ = new QTableWidget(0, static_cast<int>(WatchList::kHeader.size()), this);
    sggActiveWatch_->setObjectName(QStringLiteral("sggActiveWatch"));
    sggActiveWatch_->setAccessibleName(QStringLiteral("Active Watch"));
    QStringList header;
    for (std::string_view title : WatchList::kHeader) header << QString::fromUtf8(title.data(), title.size());
    sggActiveWatch_->setHorizontalHeaderLabels(header);
    sggActiveWatch_->verticalHeader()->hide();
    SizeColumns();
    sggActiveWatch_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sggActiveWatch_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sggActiveWatch_->setSelectionMode(QAbstractItemView::SingleSelection);
    SelectionCopy::Attach(*sggActiveWatch_)->extendMenu = [this](QMenu& menu, const QModelIndex& at) {
        const Session& session = context_.session;
        const TextList& list = session.lstActiveWatch.List();
        const auto row = static_cast<std::size_t>(at.row());
        const std::optional<Location> location =
            at.isValid() && row < list.Count() ? WatchList::ParseEntry(list[row]) : std::nullopt;
        AddLocationCommands(menu, context_.locationCommands,
                            location ? DataBreakName(session.processor(), *location) : std::string());
    };
    connect(sggActiveWatch_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { sggActiveWatchDblClick(row); });

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("ssbStatusBar"));
    statusBar->setSizeGripEnabled(false);
    // No accessible name of its own: the panel is read as the count it shows.
    countPanel_ = Panel(200, statusBar);
    Panel(50, statusBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(sggActiveWatch_, 1);
    layout->addWidget(statusBar);
    resize(std::max(kWidth, sizeHint().width()), kHeight);
    Refresh();
}

void ActiveWatchView::SizeColumns() {
    const QFontMetrics metrics(sggActiveWatch_->font());
    const std::array<QStringList, 6> texts = PossibleTexts(context_.session.processor(), metrics);
    const int padding = CellTextPadding(*sggActiveWatch_);
    columnsWidth_ = 0;
    for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
        int width = sggActiveWatch_->horizontalHeader()->sectionSizeHint(c);
        for (const QString& text : texts[static_cast<std::size_t>(c)]) {
            width = std::max(width, metrics.horizontalAdvance(text) + padding);
        }
        sggActiveWatch_->setColumnWidth(c, width);
        columnsWidth_ += width;
    }
}

QSize ActiveWatchView::sizeHint() const {
    // Every column whole beside the vertical scroll bar a long list brings.
    const int table = columnsWidth_ + 2 * sggActiveWatch_->frameWidth() +
                      sggActiveWatch_->verticalScrollBar()->sizeHint().width();
    const QSize laidOut = ChildView::sizeHint();
    return {std::max(laidOut.width(), table), laidOut.height()};
}

void ActiveWatchView::Refresh() {
    const Session& session = context_.session;
    const WatchList& watch = session.lstActiveWatch;
    const QString count = QString::fromStdString(watch.CountText());
    if (countPanel_->text() != count) countPanel_->setText(count);

    const std::vector<WatchList::Row> rows = watch.Rows(session.processor());
    const std::vector<std::string> entries = watch.List().Lines();
    const int dataRows = static_cast<int>(rows.size()) - 1;
    if (sggActiveWatch_->rowCount() != dataRows) sggActiveWatch_->setRowCount(dataRows);

    for (int r = 0; r < dataRows; ++r) {
        const auto entry = static_cast<std::size_t>(r);
        const bool sameEntry =
            entry < entries.size() && entry < shownEntries_.size() && entries[entry] == shownEntries_[entry];
        const WatchList::Row& cells = rows[entry + 1];
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            QTableWidgetItem* item = sggActiveWatch_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                sggActiveWatch_->setItem(r, c, item);
            }
            const QString text = QString::fromStdString(cells[static_cast<std::size_t>(c)]);
            const bool changed = item->text() != text;
            if (changed) item->setText(text);
            const bool marked = sameEntry && changed && c >= kFirstValueColumn;
            const bool wasMarked = item->data(Qt::BackgroundRole).isValid();
            if (marked && !wasMarked) item->setBackground(kChangedBackground);
            else if (!marked && wasMarked) item->setData(Qt::BackgroundRole, QVariant());
        }
    }
    shownEntries_ = entries;
    if (cWatches_) cWatches_->Refresh();
}

void ActiveWatchView::SetCWatches(CWatchPanel* panel) {
    cWatches_ = panel;
    panel->setParent(this);
    // Between the locations and the status bar, sharing the height with them.
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, panel, 1);
    panel->Refresh();
}

void ActiveWatchView::RefreshFully() {
    shownEntries_.clear();
    Refresh();
}

void ActiveWatchView::tobAddClick() {
    add_.Run();
    Refresh();
}

void ActiveWatchView::tobDeleteClick() {
    const int row = sggActiveWatch_->currentRow();
    if (row < 0) return;
    context_.session.lstActiveWatch.DeleteRow(static_cast<std::size_t>(row) + 1);
    Refresh();
}

void ActiveWatchView::tobDeleteAllClick() {
    context_.session.lstActiveWatch.Clear();
    Refresh();
}

void ActiveWatchView::sggActiveWatchDblClick(int row) {
    const Session& session = context_.session;
    const TextList& list = session.lstActiveWatch.List();
    const auto index = static_cast<std::size_t>(row);
    const std::string entry = row >= 0 && index < list.Count() ? list[index] : std::string();
    const std::optional<Location> at = WatchList::ParseEntry(entry);
    if (!at && !LocationKindFromText(entry.substr(0, entry.find(WatchList::kSeparator)))) {
        messages_.Tell(MessageKind::Plain, "Type not found( Active watch General Write )");
        return;
    }
    if (!at || LocationWidth(session.processor(), *at) == 0) {
        messages_.Tell(MessageKind::Plain, "Name not found( Active watch General Write )");
        // The dialog still opens on the row's type when it names one.
        if (!at) return;
    }
    if (context_.openGeneralWrite) context_.openGeneralWrite(*at);
}

}  // namespace tessaly::ui
