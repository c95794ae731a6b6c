#include "views/SelectionCopy.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>

#include <algorithm>

namespace tessaly::ui {

SelectionCopy::SelectionCopy(QWidget& widget, std::function<QString()> selection)
    : QObject(&widget), selection_(std::move(selection)) {
    widget.installEventFilter(this);
}

SelectionCopy* SelectionCopy::Attach(QAbstractItemView& view) {
    auto* copy = new SelectionCopy(view, [&view] { return SelectedCells(view); });
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&view, &QWidget::customContextMenuRequested, copy, [copy, &view](const QPoint& at) {
        QMenu menu(&view);
        QAction* action = menu.addAction(QStringLiteral("&Copy"), copy, &SelectionCopy::Copy);
        action->setObjectName(QStringLiteral("actCopy"));
        action->setShortcut(QKeySequence::Copy);
        action->setEnabled(!SelectedCells(view).isEmpty());
        if (copy->extendMenu) {
            const QModelIndex clicked = view.indexAt(at);
            copy->extendMenu(menu, clicked.isValid() ? clicked : view.currentIndex());
        }
        // The position is the viewport's, as for every scroll area.
        menu.exec(view.viewport()->mapToGlobal(at));
    });
    return copy;
}

SelectionCopy* SelectionCopy::Attach(QPlainTextEdit& pane) {
    return new SelectionCopy(pane, [&pane] { return pane.textCursor().selection().toPlainText(); });
}

QString SelectionCopy::SelectedCells(const QAbstractItemView& view) {
    if (!view.selectionModel()) return {};
    QModelIndexList cells = view.selectionModel()->selectedIndexes();
    std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
    });
    QString text;
    bool blank = true;
    int row = -1;
    for (const QModelIndex& cell : cells) {
        if (row != -1) text += cell.row() == row ? QLatin1Char('\t') : QLatin1Char('\n');
        row = cell.row();
        const QString shown = cell.data(Qt::DisplayRole).toString().trimmed();
        blank = blank && shown.isEmpty();
        text += shown;
    }
    // Empty cells (the watch window's row with no entry) are nothing to copy.
    return blank ? QString() : text;
}

void SelectionCopy::Copy() const {
    const QString text = selection_();
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

bool SelectionCopy::eventFilter(QObject* watched, QEvent* event) {
    const bool override = event->type() == QEvent::ShortcutOverride;
    if ((override || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) && !selection_().isEmpty()) {
        event->accept();
        if (!override) Copy();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessaly::ui
