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

#include <fstream>
#include <memory>

#include "UiTestRegistry.h"
#include "app/MainWindow.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

using tessaly::test::MessageRecorder;
using tessaly::test::ScratchDirectory;
using tessaly::ui::MainWindow;

namespace {

// The real main window with the program's own views on a scratch
// configuration directory, a program (INC 30h; SJMP back) open, the window
// active so its shortcuts fire.
struct OpenDesktop {
    ScratchDirectory dir;
    MessageRecorder messages;
    std::unique_ptr<MainWindow> window;

    OpenDesktop() {
        window = std::make_unique<MainWindow>(MainWindow::Options{dir.Path(), &messages, {}});
        window->endProcess = [] {};
        window->StartUp();
        window->show();
        std::ofstream(dir.Path() / "loop.bin", std::ios::binary) << std::string("\x05\x30\x80\xFC", 4);
        window->session().OpenFileCommand((dir.Path() / "loop.bin").string());
        QApplication::setActiveWindow(window.get());
    }

    tessaly::Processor& Machine() { return window->session().processor(); }
    bool FileOpen() { return window->session().isFileOpen; }

    // A child view's widget `name`, its view opened and focused.
    template <class Widget>
    Widget* Focused(int view, const char* name) {
        auto* found = window->views().OpenChildWindow(view)->findChild<Widget*>(name);
        window->area().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->views().View(view)->parentWidget()));
        found->setFocus();
        return found;
    }
};

void Select(QAbstractItemView& grid, int top, int left, int bottom, int right) {
    const QAbstractItemModel& model = *grid.model();
    grid.selectionModel()->select(QItemSelection(model.index(top, left), model.index(bottom, right)),
                                  QItemSelectionModel::ClearAndSelect);
}

// Opens the grid's right-click menu and reports its Copy entry's state,
// choosing it when it is enabled.
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
        OpenDesktop d;
        QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
        QVERIFY(d.FileOpen());
        d.Machine().WriteIndirect(0x30, 0x99);
        d.Machine().WriteIndirect(0x31, 0xA5);
        d.Machine().WriteIndirect(0x41, 0x07);
        d.Machine().WriteBit(0x0B, 1);
        d.window->session().controller().RefreshViews();

        QPointer<QAbstractItemView> ram = d.Focused<QAbstractItemView>(2, "sggIntRAM");
        Select(*ram, 3, 0, 4, 1);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(ram, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("99\tA5\n00\t07"));
        QVERIFY(d.FileOpen());

        // The bit cells without the blank that aligns them.
        auto* bits = d.Focused<QAbstractItemView>(4, "sggBitMemory");
        Select(*bits, 1, 2, 1, 3);
        QTest::keyClick(bits, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0\t1"));

        // The watch window's row, and a terminal pane's selected text.
        d.window->session().lstActiveWatch.Add({tessaly::LocationKind::InternalRAM, 0x30});
        d.window->session().controller().RefreshViews();
        auto* watch = d.Focused<QTableView>(5, "sggActiveWatch");
        watch->selectRow(0);
        QTest::keyClick(watch, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("1\t30\tInternal RAM\t99\t153\t10011001"));
        auto* pane = d.Focused<QPlainTextEdit>(6, "rheTransmit");
        pane->setPlainText("41 42 43 ");
        QTextCursor cursor(pane->document());
        cursor.setPosition(3);
        cursor.setPosition(8, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("42 43"));
        QVERIFY(d.FileOpen());

        // The right-click menu's Copy, enabled only with a selection.
        ram = d.Focused<QAbstractItemView>(2, "sggIntRAM");
        Select(*ram, 3, 1, 3, 1);
        QVERIFY(ChooseCopyFromMenu(*ram));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("A5"));
        ram->clearSelection();
        QVERIFY(!ChooseCopyFromMenu(*ram));
        QApplication::setActiveWindow(d.window.get());
        ram->setFocus();

        QTest::keyClick(ram, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!d.FileOpen());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(ram.isNull());  // the views closed with the file
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("A5"));
    }
};

TESSALY_UI_TEST(CopyShortcutTest)
#include "CopyShortcutTest.moc"
