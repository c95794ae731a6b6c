#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "UiTestRegistry.h"
#include "dialogs/AddWatchDialog.h"
#include "GeneralBench.h"
#include "views/ActiveWatchView.h"

using tessaly::ui::ActiveWatchView;
using tessaly::ui::AddWatchDialog;
using tessaly::ui::test::Child;
using tessaly::ui::test::Choose;
using tessaly::ui::test::Click;
using tessaly::ui::test::GeneralBench;
using tessaly::ui::test::WhenModal;

namespace {

using Strings = std::vector<std::string>;

// The grid row by row, cells joined by commas, rows by "|", the header first.
QString Grid(const ActiveWatchView& view) {
    const auto* grid = Child<QTableWidget>(view, "sggActiveWatch");
    QStringList rows;
    QStringList header;
    for (int c = 0; c < grid->columnCount(); ++c) header << grid->horizontalHeaderItem(c)->text();
    rows << header.join(',');
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) cells << (grid->item(r, c) ? grid->item(r, c)->text() : "?");
        rows << cells.join(',');
    }
    return rows.join('|');
}

QString Count(const ActiveWatchView& view) {
    return Child<QStatusBar>(view, "ssbStatusBar")->findChildren<QLabel*>().first()->text();
}

// Adds through the Add to Active Watch dialog: a type, then a name chosen
// from the list or, for the memory types, typed over the selected text.
void Add(AddWatchDialog& add, const QString& type, const QString& name) {
    Choose(add, "cobType", type);
    auto* box = Child<QComboBox>(add, "cobName");
    if (box->isEditable()) {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, name);
    } else {
        box->setCurrentIndex(box->findText(name));
    }
    Click(add, "btbAdd");
}

// A double-click as the mouse makes it: the first click selects the cell.
void DoubleClick(QTableWidget& grid, int row) {
    const QPoint centre = grid.visualItemRect(grid.item(row, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre);
}

bool Marked(const ActiveWatchView& view, int row, int column) {
    return Child<QTableWidget>(view, "sggActiveWatch")->item(row, column)->data(Qt::BackgroundRole).isValid();
}

}  // namespace

class ActiveWatchViewTest : public QObject {
    Q_OBJECT

private slots:
    // Whatever the order of adding, the rows follow the list: bit memory,
    // external RAM, internal RAM, SFR bits, registers. Pairs and external
    // RAM show four hex and sixteen binary digits, bytes two and eight, bits
    // "1 " in all three columns. The dialog stays open between adds.
    void rowsFollowTheListWithTheirFormats() {
        GeneralBench b;
        AddWatchDialog add(*b.session, b.messages);
        ActiveWatchView view(b.context, add, b.messages);
        QCOMPARE(view.windowTitle(), QString("Active Watch"));
        QCOMPARE(Grid(view), QString("SNo.,Name,Type,Hex,Decimal,Binary|,,,,,"));
        QCOMPARE(Count(view), QString("Total Count = 0"));

        b.p().WriteDirect(0x83, 0x12);  // DPH
        b.p().WriteDirect(0x82, 0x34);  // DPL
        b.p().WriteDirect(0x88, 0x10);  // TCON
        b.p().WriteExtRAM(0x1234, 0xAB);
        b.p().WriteIndirect(0x30, 0x7F);
        b.p().WriteBit(0x05, 1);
        b.p().WriteDirect(0xD0, 0x80);  // CY
        QString afterTwo;
        QString status;
        WhenModal([&] {
            Add(add, "SFR Registers", "ACC");
            status = Child<QStatusBar>(add, "ssAddActiveWatch")->findChild<QLabel*>()->text();
            Add(add, "Internal RAM", "30");
            afterTwo = Grid(view);
            Add(add, "SFR Registers", "DPTR");
            Add(add, "SFR Registers", "TCON");
            Add(add, "External RAM", "1234");
            Add(add, "Bit Memory", "5");
            Add(add, "SFR Bits", "CY");
            Add(add, "SFR Bits", "CY");
            Add(add, "Internal RAM", "123");
            Click(add, "btbOK");
        });
        Click(view, "tobAdd");
        QCOMPARE(status, QString("Accumulator"));
        QCOMPARE(afterTwo, QString("SNo.,Name,Type,Hex,Decimal,Binary"
                                   "|1,30,Internal RAM,7F,127,01111111"
                                   "|2,ACC,SFR Registers,00,0,00000000"));
        QCOMPARE(Grid(view), QString("SNo.,Name,Type,Hex,Decimal,Binary"
                                     "|1,05,Bit Memory,1 ,1 ,1 "
                                     "|2,1234,External RAM,00AB,171,0000000010101011"
                                     "|3,30,Internal RAM,7F,127,01111111"
                                     "|4,CY,SFR Bits,1 ,1 ,1 "
                                     "|5,ACC,SFR Registers,00,0,00000000"
                                     "|6,TCON,SFR Registers,10,16,00010000"
                                     "|7,DPTR,SFR Registers,1234,4660,0001001000110100"));
        QCOMPARE(Count(view), QString("Total Count = 7"));
        QCOMPARE(b.Texts(), Strings({"Invalid Address\r\nPlease enter a valid address( 0-FF )"}));
        QCOMPARE(Child<QComboBox>(add, "cobName")->currentText(), QString("123"));
    }

    // A value that changed is marked until the next refresh; a row that now
    // shows another location is not. Delete removes the current row, Delete
    // All leaves the header and one empty row.
    void changesStandOutUntilTheNextRefresh() {
        GeneralBench b;
        AddWatchDialog add(*b.session, b.messages);
        auto& watch = b.session->lstActiveWatch;
        watch.Add({tessaly::LocationKind::SfrRegister, 0});     // ACC
        watch.Add({tessaly::LocationKind::InternalRAM, 0x30});  // row 1
        ActiveWatchView view(b.context, add, b.messages);
        QVERIFY(!Marked(view, 1, 3));

        b.p().WriteDirect(0xE0, 0x05);
        view.Refresh();
        QCOMPARE(Grid(view).section('|', 2, 2), QString("2,ACC,SFR Registers,05,5,00000101"));
        QVERIFY(Marked(view, 1, 3) && Marked(view, 1, 4) && Marked(view, 1, 5));
        QVERIFY(!Marked(view, 1, 1) && !Marked(view, 0, 3));
        view.Refresh();
        QVERIFY(!Marked(view, 1, 3));

        Child<QTableWidget>(view, "sggActiveWatch")->setCurrentCell(0, 0);
        Click(view, "tobDelete");
        QCOMPARE(Grid(view), QString("SNo.,Name,Type,Hex,Decimal,Binary|1,ACC,SFR Registers,05,5,00000101"));
        QVERIFY(!Marked(view, 0, 3));  // the row shows ACC now, which did not change
        QCOMPARE(Count(view), QString("Total Count = 1"));
        QCOMPARE(Child<QToolButton>(view, "tobAdd")->toolTip(), QString("Add Items"));
        QCOMPARE(Child<QToolButton>(view, "tobDelete")->toolTip(), QString("Delete selected item"));
        QCOMPARE(Child<QToolButton>(view, "tobDeleteAll")->toolTip(), QString("Delete all items"));
        Click(view, "tobDeleteAll");
        QCOMPARE(Grid(view), QString("SNo.,Name,Type,Hex,Decimal,Binary|,,,,,"));
        QVERIFY(watch.List().Empty());
    }

    // At the window's own size every column shows its header and the widest
    // values whole: an external RAM byte's four hex and sixteen binary
    // digits, a register pair's five decimal ones, the longest type.
    void columnsShowTheirWholeContent() {
        GeneralBench b;
        AddWatchDialog add(*b.session, b.messages);
        auto& watch = b.session->lstActiveWatch;
        watch.Add({tessaly::LocationKind::ExternalRAM, 0xFFFF});
        b.p().WriteExtRAM(0xFFFF, 0x99);
        b.p().WriteDirect(0x83, 0xFF);  // DPTR 65535
        b.p().WriteDirect(0x82, 0xFF);
        for (const auto& name : tessaly::FillNames(b.p(), tessaly::LocationKind::SfrRegister).items)
            watch.Add({tessaly::LocationKind::SfrRegister, name.key});
        ActiveWatchView view(b.context, add, b.messages);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.width() >= 470);
        auto* grid = Child<QTableWidget>(view, "sggActiveWatch");
        QCOMPARE(grid->item(0, 3)->text(), QString("0099"));
        QCOMPARE(grid->item(0, 5)->text(), QString("0000000010011001"));

        const QFontMetrics metrics(grid->font());
        const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
        QStringList cut;
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (grid->horizontalHeader()->sectionSizeHint(c) > grid->columnWidth(c)) cut << "header " + QString::number(c);
            for (int r = 0; r < grid->rowCount(); ++r) {
                const QString text = grid->item(r, c)->text();
                if (metrics.horizontalAdvance(text) + margins > grid->columnWidth(c)) cut << text;
            }
        }
        QCOMPARE(cut, QStringList());
        QCOMPARE(grid->rowCount(), 23);  // every register and the external RAM byte
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
    }

    // A double-click opens General Write at the row's location with its value
    // selected for overtyping; on the empty row it names the missing type.
    void doubleClickOpensGeneralWriteAtTheRow() {
        GeneralBench b;
        AddWatchDialog add(*b.session, b.messages);
        b.session->lstActiveWatch.Add({tessaly::LocationKind::SfrRegister, 11});  // TCON
        b.session->lstActiveWatch.Add({tessaly::LocationKind::ExternalRAM, 0x0012});
        b.p().WriteExtRAM(0x0012, 0x3C);
        ActiveWatchView view(b.context, add, b.messages);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* grid = Child<QTableWidget>(view, "sggActiveWatch");

        QStringList seen;
        const auto doubleClickRow = [&](int row) {
            WhenModal([&] {
                auto& d = b.write;
                seen << Child<QComboBox>(d, "cobType")->currentText() + "," +
                            Child<QComboBox>(d, "cobName")->currentText() + "," +
                            Child<QLineEdit>(d, "edtHex")->selectedText() + "," +
                            QString(d.focusWidget() == Child<QLineEdit>(d, "edtHex") ? "focus" : "no focus");
                Click(d, "tlbOK");
            });
            DoubleClick(*grid, row);
            // Had no dialog opened, the pending act runs now, while its
            // captures live.
            QCoreApplication::processEvents();
        };
        doubleClickRow(0);
        doubleClickRow(1);
        QCOMPARE(seen, QStringList({"External RAM,0012,3C,focus", "SFR Registers,TCON,00,focus"}));
        QCOMPARE(b.writeOpenedAt.size(), 2u);

        Click(view, "tobDeleteAll");
        DoubleClick(*grid, 0);
        QCOMPARE(b.Texts(), Strings({"Type not found( Active watch General Write )"}));
        QCOMPARE(b.writeOpenedAt.size(), 2u);
    }
};

TESSALY_UI_TEST(ActiveWatchViewTest)
#include "ActiveWatchViewTest.moc"
