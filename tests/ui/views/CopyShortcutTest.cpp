#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "UiTestRegistry.h"
#include "app/DesktopFixture.h"

using tessaly::ui::test::Desktop;

namespace {

// A child view's widget `name`, its view opened and focused.
template <class Widget>
Widget* Focused(Desktop& d, int view, const char* name) {
    auto* found = d.window->views().OpenChildWindow(view)->findChild<Widget*>(name);
    d.window->area().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(d.window->views().View(view)->parentWidget()));
    found->setFocus();
    return found;
}

void Select(QAbstractItemView& grid, int top, int left, int bottom, int right) {
    const QAbstractItemModel& model = *grid.model();
    grid.selectionModel()->select(QItemSelection(model.index(top, left), model.index(bottom, right)),
                                  QItemSelectionModel::ClearAndSelect);
}

// Chooses Copy in the grid's right-click menu; false when the menu offers
// no enabled Copy.
bool ChooseCopyFromMenu(QAbstractItemView& grid) {
    bool enabled = false;
    QTimer::singleShot(0, &grid, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* copy = menu ? menu->findChild<QAction*>("actCopy") : nullptr;
        enabled = copy && copy->isEnabled() && copy->text() == "&Copy";
        if (enabled) copy->trigger();
        if (menu) menu->close();
    });
    emit grid.customContextMenuRequested(grid.visualRect(grid.model()->index(0, 0)).center());
    return enabled;
}

}  // namespace

class CopyShortcutTest : public QObject {
    Q_OBJECT
private slots:
    // Ctrl+C in a view with a selection copies it and leaves the file open;
    // in the same view with nothing selected it is still Close File.
    void ctrlCCopiesASelectionElseClosesTheFile() {
        Desktop d(Desktop::Views::Real);
        d.window->show();
        QVERIFY(d.window->session().OpenFileCommand(d.Program().toStdString()) == tessaly::ProgramOpen::Opened);
        QApplication::setActiveWindow(d.window.get());
        QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
        const bool& open = d.window->session().isFileOpen;
        d.Machine().WriteIndirect(0x30, 0x99);
        d.Machine().WriteIndirect(0x31, 0xA5);
        d.Machine().WriteIndirect(0x41, 0x07);
        d.window->session().controller().RefreshViews();

        QPointer<QAbstractItemView> ram = Focused<QAbstractItemView>(d, 2, "sggIntRAM");
        Select(*ram, 3, 0, 4, 1);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(ram, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("99\tA5\n00\t07"));
        QVERIFY(open);

        // The watch window's row, and a terminal pane's selected text.
        d.window->session().lstActiveWatch.Add({tessaly::LocationKind::InternalRAM, 0x30});
        d.window->session().controller().RefreshViews();
        auto* watch = Focused<QTableView>(d, 5, "sggActiveWatch");
        watch->selectRow(0);
        QTest::keyClick(watch, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("1\t30\tInternal RAM\t99\t153\t10011001"));
        auto* pane = Focused<QPlainTextEdit>(d, 6, "rheTransmit");
        pane->setPlainText("41 42 43 ");
        QTextCursor cursor(pane->document());
        cursor.setPosition(3);
        cursor.setPosition(8, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("42 43"));
        QVERIFY(open);

        // The right-click menu's Copy.
        ram = Focused<QAbstractItemView>(d, 2, "sggIntRAM");
        Select(*ram, 3, 1, 3, 1);
        QVERIFY(ChooseCopyFromMenu(*ram));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("A5"));
        ram->clearSelection();
        QApplication::setActiveWindow(d.window.get());
        ram->setFocus();

        QTest::keyClick(ram, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!open);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(ram.isNull());  // the views closed with the file
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("A5"));
    }
};

TESSALY_UI_TEST(CopyShortcutTest)
#include "CopyShortcutTest.moc"
