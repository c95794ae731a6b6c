#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAbstractItemView;
class QMenu;
class QModelIndex;
class QPlainTextEdit;
class QWidget;

namespace tessaly::ui {

// Ctrl+C copies what a view has selected. The main window's Close File owns
// Ctrl+C as a window shortcut, which would otherwise fire from any view: a
// view with a selection claims the key (the shortcut override) and copies on
// the key press that follows; with nothing selected the key still closes the
// file. One filter serves every view; the view only says what its selection
// reads as.
class SelectionCopy : public QObject {
    Q_OBJECT
public:
    // A grid or table: its selected cells as shown, without the blanks that
    // align them, a tab between cells and a line break between rows, as a
    // spreadsheet or an editor takes them. A right-click offers Copy too.
    static SelectionCopy* Attach(QAbstractItemView& view);
    // A read-only text pane: its selected text. The pane's own right-click
    // menu already has Copy.
    static SelectionCopy* Attach(QPlainTextEdit& pane);

    // What Ctrl+C copies from a grid or table now; empty when nothing, or
    // only empty cells, are selected.
    static QString SelectedCells(const QAbstractItemView& view);

    // A grid's or table's own commands for its right-click menu, added after
    // Copy for the cell clicked (the current cell when the click is on none).
    std::function<void(QMenu& menu, const QModelIndex& at)> extendMenu;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SelectionCopy(QWidget& widget, std::function<QString()> selection);
    void Copy() const;

    std::function<QString()> selection_;
};

}  // namespace tessaly::ui
