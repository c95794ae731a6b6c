#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "UiTestRegistry.h"
#include "ViewTestSupport.h"
#include "views/BitMemoryView.h"
#include "views/ExternalRamView.h"
#include "views/InternalRamView.h"
#include "views/SfrView.h"

using tessaly::Location;
using tessaly::LocationKind;
using tessaly::ui::BitMemoryView;
using tessaly::ui::ExternalRamView;
using tessaly::ui::InternalRamView;
using tessaly::ui::SfrView;
using tessaly::ui::test::CellHighlighted;
using tessaly::ui::test::CellText;
using tessaly::ui::test::DoubleClickCell;
using tessaly::ui::test::ViewBench;

class MemoryViewsTest : public QObject {
    Q_OBJECT
private slots:
    // Address 80h of the internal RAM window is the upper RAM byte, while the
    // SFR window's P0 is the SFR at direct address 80h; a changed cell stays
    // highlighted until the next refresh.
    void upperRamAgainstTheSfrAt80h() {
        ViewBench b;
        b.Load({0x78, 0x80,           // MOV R0,#80h
                0x76, 0x3C,           // MOV @R0,#3Ch
                0x75, 0x80, 0x5A});   // MOV 80h,#5Ah
        std::unique_ptr<InternalRamView> ram(b.Open(new InternalRamView(b.context)));
        std::unique_ptr<SfrView> sfrs(b.Open(new SfrView(b.context, b.messages)));
        auto* grid = ram->findChild<QAbstractItemView*>("sggIntRAM");
        auto* p0 = sfrs->findChild<QLineEdit*>("edtP0");
        QVERIFY(grid && p0);
        QCOMPARE(ram->windowTitle(), QString("Internal RAM"));
        QCOMPARE(grid->model()->headerData(8, Qt::Vertical).toString(), QString("80"));
        QCOMPARE(grid->model()->headerData(15, Qt::Vertical).toString(), QString("F0"));
        QCOMPARE(grid->model()->headerData(15, Qt::Horizontal).toString(), QString("0F"));
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::blue));
        QVERIFY(grid->model()->headerData(0, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
        QCOMPARE(CellText(*grid, 8, 0), QString("00"));
        QCOMPARE(p0->text(), QString("FF"));

        b.Step(2);
        QCOMPARE(CellText(*grid, 8, 0), QString("3C"));
        QVERIFY(CellHighlighted(*grid, 8, 0));
        QCOMPARE(grid->model()->index(8, 0).data(Qt::AccessibleTextRole).toString(),
                 QString("Internal RAM 80h: 3C, changed"));
        QCOMPARE(p0->text(), QString("FF"));

        b.Step();
        QCOMPARE(p0->text(), QString("5A"));
        QVERIFY(SfrView::IsHighlighted(*p0));
        QCOMPARE(CellText(*grid, 8, 0), QString("3C"));
        QVERIFY(!CellHighlighted(*grid, 8, 0));
        QCOMPARE(b.Machine().ReadIndirect(0x80), 0x3C);

        DoubleClickCell(*grid, 8, 0);
        QCOMPARE(b.opened, (std::vector<Location>{{LocationKind::InternalRAM, 0x80}}));
    }

    // Bit memory: rows are bytes 20h-2Fh, columns bit numbers; a cell is " 1"
    // or " 0" and opens its bit address.
    void bitMemoryCellsAndTheirBitAddresses() {
        ViewBench b;
        b.Load({0x75, 0x21, 0x08});  // MOV 21h,#08h: bit 0Bh
        std::unique_ptr<BitMemoryView> bits(b.Open(new BitMemoryView(b.context)));
        auto* grid = bits->findChild<QAbstractItemView*>("sggBitMemory");
        QVERIFY(grid);
        QCOMPARE(bits->windowTitle(), QString("Bit Memory"));
        const QAbstractItemModel& model = *grid->model();
        QCOMPARE(model.rowCount(), 16);
        QCOMPARE(model.columnCount(), 8);
        QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QString("08(21)"));
        QCOMPARE(model.headerData(15, Qt::Vertical).toString(), QString("78(2F)"));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("0|8"));
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QString("3|B"));
        QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::FontRole).value<QFont>().pointSize(), 8);

        QCOMPARE(CellText(*grid, 1, 3), QString(" 0"));
        b.Step();
        QCOMPARE(CellText(*grid, 1, 3), QString(" 1"));
        QCOMPARE(CellText(*grid, 1, 2), QString(" 0"));
        QVERIFY(CellHighlighted(*grid, 1, 3));
        QCOMPARE(model.index(1, 3).data(Qt::AccessibleTextRole).toString(), QString("Bit 0Bh: 1, changed"));

        DoubleClickCell(*grid, 1, 3);
        grid->setCurrentIndex(model.index(15, 7));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(b.opened, (std::vector<Location>{{LocationKind::BitMemory, 0x0B}, {LocationKind::BitMemory, 0x7F}}));
    }

    // One MOVX repaints exactly its own cell; a refresh finds every byte
    // written since the last, and a full refresh rewrites all without
    // highlight.
    void externalRamRepaintsTheCellsWritten() {
        ViewBench b;
        b.Load({0x90, 0x12, 0x34,  // MOV DPTR,#1234h
                0x74, 0xA5,        // MOV A,#0A5h
                0xF0,              // MOVX @DPTR,A
                0xA3, 0xA3, 0xF0,  // INC DPTR (twice); MOVX @DPTR,A: 1236h
                0xA3, 0xF0});      // INC DPTR; MOVX @DPTR,A: 1237h
        std::unique_ptr<ExternalRamView> xram(b.Open(new ExternalRamView(b.context)));
        auto* grid = xram->findChild<QAbstractItemView*>("sggExtRAM");
        QVERIFY(grid);
        QCOMPARE(xram->windowTitle(), QString("External RAM"));
        const QAbstractItemModel& model = *grid->model();
        QCOMPARE(model.rowCount(), 4096);
        QCOMPARE(model.columnCount(), 16);
        QCOMPARE(model.headerData(0x123, Qt::Vertical).toString(), QString("1230"));
        QCOMPARE(model.headerData(4095, Qt::Vertical).toString(), QString("FFF0"));
        b.Step(2);

        QSignalSpy repainted(&model, &QAbstractItemModel::dataChanged);
        b.Step();
        QCOMPARE(repainted.count(), 1);
        QCOMPARE(repainted[0][0].toModelIndex(), model.index(0x123, 4));
        QCOMPARE(repainted[0][1].toModelIndex(), model.index(0x123, 4));
        QCOMPARE(CellText(*grid, 0x123, 4), QString("A5"));
        QVERIFY(CellHighlighted(*grid, 0x123, 4));
        QCOMPARE(b.Machine().bExtRAMWritten, 0);

        // Two writes between refreshes: both cells, and the old highlight ends.
        b.Machine().ExecuteInstructions(5);
        repainted.clear();
        b.session->controller().RefreshViews();
        QCOMPARE(repainted.count(), 2);
        QCOMPARE(repainted[0][0].toModelIndex(), model.index(0x123, 4));
        QCOMPARE(repainted[1][0].toModelIndex(), model.index(0x123, 6));
        QCOMPARE(repainted[1][1].toModelIndex(), model.index(0x123, 7));
        QVERIFY(!CellHighlighted(*grid, 0x123, 4));
        QCOMPARE(CellText(*grid, 0x123, 6), QString("A5"));
        QCOMPARE(CellText(*grid, 0x123, 7), QString("A5"));
        QCOMPARE(CellText(*grid, 0x123, 5), QString("00"));

        repainted.clear();
        xram->RefreshFully();
        QCOMPARE(repainted.count(), 1);
        QCOMPARE(repainted[0][1].toModelIndex(), model.index(4095, 15));
        QVERIFY(!CellHighlighted(*grid, 0x123, 7));

        grid->scrollTo(model.index(0x123, 4));
        DoubleClickCell(*grid, 0x123, 4);
        QCOMPARE(b.opened, (std::vector<Location>{{LocationKind::ExternalRAM, 0x1234}}));
    }
};

TESSALY_UI_TEST(MemoryViewsTest)
#include "MemoryViewsTest.moc"
