#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTest>

#include <fstream>
#include <memory>

#include "UiTestRegistry.h"
#include "analysis/Workspace.h"
#include "control/BreakPoints.h"
#include "dialogs/DisassemblyWindow.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

using namespace tessaly;

namespace {

struct Listing {
    std::unique_ptr<Processor> p = test::NewProcessor();
    Workspace workspace;
    BreakPoints breakPoints;
    test::MessageRecorder messages;
    ui::DisassemblyWindow window{*p, workspace, breakPoints, messages};

    QString Cell(int row, int column) {
        return window.Model().data(window.Model().index(row, column), Qt::DisplayRole).toString();
    }
    QTableView* Grid() { return window.findChild<QTableView*>("sggDisassembledCode"); }
    std::vector<int> MarkedRows() {
        std::vector<int> rows;
        for (int row = 0; row < window.Model().rowCount(); ++row)
            if (window.Model().Marked(row)) rows.push_back(row);
        return rows;
    }
    // Clicks a cell of the grid as a user would.
    void Click(int row, int column) {
        auto* grid = Grid();
        grid->scrollTo(window.Model().index(row, column));
        const QRect cell = grid->visualRect(window.Model().index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

}  // namespace

class DisassemblyWindowTest : public QObject {
    Q_OBJECT
private slots:
    void aFullProgramOfNopsListsEveryAddress() {
        Listing l;
        l.p->iProgramSize = 65536;
        QVERIFY(l.window.Fill());
        QCOMPARE(l.window.Model().rowCount(), 65536);
        QCOMPARE(l.Cell(65535, 1), QString("65536"));
        QCOMPARE(l.Cell(65535, 2), QString("FFFFH"));
        QCOMPARE(l.Cell(0, 4), QString("NOP       "));
        QCOMPARE(l.window.Progress().Position(), 100);
        QVERIFY(!l.window.Progress().isVisible());

        l.p->iProgramSize = 0;
        QVERIFY(!l.window.Fill());
    }

    void clickedMarksBecomeTheBreakPointsOnOkOnly() {
        Listing l;
        test::LoadCode(*l.p, 0, {0x02, 0x00, 0x10});  // LJMP 0010h, then NOPs
        l.p->iProgramSize = 0x20;
        l.breakPoints.Add(0x0001);  // inside the LJMP: no row of its own
        l.breakPoints.Add(0x0005);
        QVERIFY(l.window.Fill());
        l.window.show();
        l.window.findChild<QTableView*>("sggDisassembledCode")->setFocus();
        QCOMPARE(l.Cell(0, 0), QString());  // showing the window marks nothing
        QCOMPARE(l.Cell(3, 0), QString("B"));  // row of 0005H
        l.Click(1, 0);  // 0003H
        l.Click(14, 0);  // 0010H
        l.Click(14, 0);  // clicked twice: unmarked again
        l.Click(14, 3);  // not the mark column
        l.Click(14, 0);
        l.Click(3, 0);  // 0005H unmarked
        l.window.btbOkClick();
        QCOMPARE(l.breakPoints.List().Lines(), (std::vector<std::string>{"0x0003", "0x0010"}));
    }

    // At the default 800 wide every column shows its header and its text
    // whole and nothing scrolls sideways; a label too long for its share is
    // the one column cut.
    void columnsFitTheDefaultWidth() {
        Listing l;
        test::LoadCode(*l.p, 0, {0x02, 0x00, 0x03, 0x90, 0xFF, 0xFF, 0x12, 0x00, 0x00});  // LJMP; MOV DPTR; LCALL
        l.p->iProgramSize = 9;
        l.workspace.lstCodeLabels.Set(0, "START");
        l.workspace.lstCodeLabels.Set(3, "MAIN");
        l.workspace.lstCodeLabels.Set(6, "__sdcc_external_startup_of_a_rather_long_program_name");
        QVERIFY(l.window.Fill());
        l.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&l.window));
        QTableView* grid = l.Grid();
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(l.window.size(), QSize(800, 477));
        QCOMPARE(grid->horizontalHeader()->length(), grid->viewport()->width());

        const QFontMetrics metrics(grid->font());
        const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
        QStringList cut;
        for (int c = 0; c < 7; ++c) {
            if (grid->horizontalHeader()->sectionSizeHint(c) > grid->columnWidth(c)) cut << l.Cell(-1, c) + "header";
            for (int r = 0; r < l.window.Model().rowCount(); ++r)
                if (metrics.horizontalAdvance(l.Cell(r, c)) + margins > grid->columnWidth(c)) cut << l.Cell(r, c);
        }
        QCOMPARE(cut, QStringList({"__sdcc_external_startup_of_a_rather_long_program_name"}));
        QCOMPARE(l.Cell(2, 4).trimmed(), QString("LCALL     START"));
    }

    // Moving through the mark column marks nothing; Space and Enter there
    // toggle the current row's mark, and Enter does not press Save Code.
    void onlySpaceOrEnterMarkFromTheKeyboard() {
        Listing l;
        l.p->iProgramSize = 8;  // NOPs
        QVERIFY(l.window.Fill());
        int saves = 0;
        l.window.askFileName = [&](const QString&) {
            ++saves;
            return QString();
        };
        l.window.show();
        QTableView* grid = l.Grid();
        grid->setFocus();
        grid->setCurrentIndex(l.window.Model().index(0, 0));
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(l.MarkedRows(), std::vector<int>());

        QTest::keyClick(grid, Qt::Key_Space);
        QTest::keyClick(grid, Qt::Key_Up);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(l.MarkedRows(), (std::vector<int>{1, 2}));
        QTest::keyClick(grid, Qt::Key_Enter);
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Space);
        QCOMPARE(l.MarkedRows(), std::vector<int>{2});
        QCOMPARE(saves, 0);
        QVERIFY(l.window.isVisible());
    }

    void exportWritesLabelsOnTheirOwnLine() {
        Listing l;
        test::ScratchDirectory dir;
        test::LoadCode(*l.p, 0, {0x02, 0x00, 0x03, 0x00});
        l.p->iProgramSize = 4;
        l.workspace.lstCodeLabels.Set(0, "START");
        l.workspace.lstCodeLabels.Set(3, "MAIN");
        QVERIFY(l.window.Fill());
        QString proposed;
        l.window.SetProgramPath(QString::fromStdString((dir.Path() / "prog.hex").string()));
        l.window.askFileName = [&](const QString& name) {
            proposed = name;
            return name;
        };
        l.window.btbSaveClick();
        QCOMPARE(proposed, QString::fromStdString((dir.Path() / "output.asm").string()));
        QCOMPARE(QString::fromStdString(dir.Read("output.asm")),
                 QString("START:\r\n\t\t\tLJMP      MAIN\r\nMAIN:\r\n\t\t\tNOP       \r\n"));
        QCOMPARE(QString::fromStdString(l.messages.entries.back().text), QString("Extracted code saved successfully"));

        l.window.askFileName = [&](const QString&) { return QString::fromStdString((dir.Path() / "no/such/dir").string()); };
        l.window.btbSaveClick();
        QCOMPARE(QString::fromStdString(l.messages.entries.back().text),
                 QString("An error occured while saving extracted code to file"));
    }
};

TESSALY_UI_TEST(DisassemblyWindowTest)
#include "DisassemblyWindowTest.moc"
