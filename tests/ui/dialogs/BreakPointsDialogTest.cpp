#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <string>
#include <vector>

#include "UiTestRegistry.h"
#include "control/BreakPointAddress.h"
#include "control/BreakPoints.h"
#include "dialogs/AddBreakPointDialog.h"
#include "dialogs/BreakPointsDialog.h"
#include "dialogs/DialogTestSupport.h"
#include "support/TestMachine.h"

using tessaly::BreakPoints;
using tessaly::MessageKind;
using tessaly::test::MessageRecorder;
using tessaly::ui::AddBreakPointDialog;
using tessaly::ui::BreakPointsDialog;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::WhenModal;

namespace {

using Lines = std::vector<std::string>;

// Every cell of the grid, row by row, and the count field: "n|S No.,Address|1,1A2BH|...".
QString GridText(const BreakPointsDialog& dialog) {
    const auto* grid = Child<QTableWidget>(dialog, "sggBrkPtsList");
    QStringList rows{Child<QLineEdit>(dialog, "edtCount")->text()};
    rows << grid->horizontalHeaderItem(0)->text() + "," + grid->horizontalHeaderItem(1)->text();
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) cells << (grid->item(r, c) ? grid->item(r, c)->text() : "?");
        rows << cells.join(',');
    }
    return rows.join('|');
}

// Presses Add in the Break Points window and, in the Add Break Point dialog
// that opens, types `keys` over the selected address and presses OK (and
// Cancel if OK left it open). Returns the address field as typed.
QString AddThroughDialog(BreakPointsDialog& window, AddBreakPointDialog& add, const QString& keys) {
    QString typed;
    WhenModal([&] {
        auto* address = Child<QLineEdit>(add, "edtAddress");
        QTest::keyClicks(address, keys);
        typed = address->text();
        Click(add, "btbOk");
        if (add.isVisible()) Click(add, "btbCancel");
    });
    Click(window, "BitBtn1");
    return typed;
}

BreakPoints ListOf(std::initializer_list<std::uint16_t> addresses) {
    BreakPoints list;
    for (auto a : addresses) list.Add(a);
    return list;
}

}  // namespace

class BreakPointsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void emptyListShowsOneBlankRowAndDeleteDoesNothing() {
        MessageRecorder messages;
        BreakPoints list;
        AddBreakPointDialog add(messages);
        BreakPointsDialog window(list, add, messages);
        QCOMPARE(GridText(window), QString("0|S No.,Address|,"));
        QVERIFY(Child<QLineEdit>(window, "edtCount")->isReadOnly());
        Click(window, "BitBtn2");
        QCOMPARE(GridText(window), QString("0|S No.,Address|,"));
        QVERIFY(list.Empty());
        QVERIFY(messages.entries.empty());
    }

    // Typed lower-case hex arrives upper case; FFFF is stored as 0xFFFF and
    // shown as FFFFH in row 1; OK keeps the change.
    void hexAddressTypedInLowerCase() {
        MessageRecorder messages;
        BreakPoints list;
        AddBreakPointDialog add(messages);
        BreakPointsDialog window(list, add, messages);
        QString typed;
        QString grid;
        WhenModal([&] {
            typed = AddThroughDialog(window, add, "ffff");
            grid = GridText(window);
            Click(window, "btnOk");
        });
        window.Run();
        QCOMPARE(typed, QString("FFFF"));
        QCOMPARE(add.AcceptedAddress(), std::uint16_t{0xFFFF});
        QCOMPARE(grid, QString("1|S No.,Address|1,FFFFH"));
        QCOMPARE(list.List().Lines(), Lines({"0xFFFF"}));
        QVERIFY(messages.entries.empty());
    }

    // Three adds (one a repeat) shown in order, then Cancel brings back the
    // list the window opened with; the close box does the same.
    void cancelUndoesAdds() {
        MessageRecorder messages;
        BreakPoints list = ListOf({0x0100});
        AddBreakPointDialog add(messages);
        BreakPointsDialog window(list, add, messages);
        QString grid;
        WhenModal([&] {
            AddThroughDialog(window, add, "2000");
            AddThroughDialog(window, add, "10");
            AddThroughDialog(window, add, "2000");
            grid = GridText(window);
            Click(window, "btnCancel");
        });
        window.Run();
        QCOMPARE(grid, QString("3|S No.,Address|1,0010H|2,0100H|3,2000H"));
        QCOMPARE(list.List().Lines(), Lines({"0x0100"}));
        QCOMPARE(GridText(window), QString("1|S No.,Address|1,0100H"));

        WhenModal([&] {
            AddThroughDialog(window, add, "abc");
            window.close();
        });
        window.Run();
        QCOMPARE(list.List().Lines(), Lines({"0x0100"}));
    }

    // Delete removes the selected row's entry; Delete All empties the list
    // and says so; Cancel brings every entry back.
    void deleteAllThenCancelRestores() {
        MessageRecorder messages;
        BreakPoints list = ListOf({0x0001, 0x1A2B, 0xABCD});
        AddBreakPointDialog add(messages);
        BreakPointsDialog window(list, add, messages);
        QString afterDelete;
        QString afterDeleteAll;
        WhenModal([&] {
            Child<QTableWidget>(window, "sggBrkPtsList")->selectRow(1);
            Click(window, "BitBtn2");
            afterDelete = GridText(window);
            Click(window, "BitBtn3");
            afterDeleteAll = GridText(window);
            Click(window, "btnCancel");
        });
        window.Run();
        QCOMPARE(afterDelete, QString("2|S No.,Address|1,0001H|2,ABCDH"));
        QCOMPARE(afterDeleteAll, QString("0|S No.,Address|,"));
        QCOMPARE(messages.entries.size(), std::size_t{1});
        QCOMPARE(messages.entries[0].kind, MessageKind::Information);
        QCOMPARE(messages.entries[0].text, std::string("All break points deleted"));
        QCOMPARE(list.List().Lines(), Lines({"0x0001", "0x1A2B", "0xABCD"}));

        // The last row deleted leaves the selection on the new last row.
        WhenModal([&] {
            Child<QTableWidget>(window, "sggBrkPtsList")->selectRow(2);
            Click(window, "BitBtn2");
            Click(window, "BitBtn2");
            Click(window, "btnOk");
        });
        window.Run();
        QCOMPARE(list.List().Lines(), Lines({"0x0001"}));
    }

    // The Add Break Point dialog alone: decimal range, the typing limits,
    // the key filter and what it keeps between uses.
    void addDialogRadixAndRange() {
        MessageRecorder messages;
        AddBreakPointDialog add(messages);
        auto* address = Child<QLineEdit>(add, "edtAddress");
        QVERIFY(Child<QRadioButton>(add, "ckbHex")->isChecked());
        QCOMPARE(address->text(), QString("0"));
        QCOMPARE(address->maxLength(), 4);
        QCOMPARE(add.minimumSize(), add.maximumSize());
        add.show();

        add.SelectAllAddress();
        QTest::keyClicks(address, "1g2-3x45");
        QCOMPARE(address->text(), QString("1234"));

        // The limit follows the radio buttons only once a key is typed.
        Child<QRadioButton>(add, "ckbDecimal")->click();
        QCOMPARE(address->maxLength(), 4);
        add.SelectAllAddress();
        QTest::keyClicks(address, "6a5f535");
        QCOMPARE(address->maxLength(), 5);
        QCOMPARE(address->text(), QString("65535"));
        Click(add, "btbOk");
        QCOMPARE(add.result(), int(QDialog::Accepted));
        QCOMPARE(add.AcceptedAddress(), std::uint16_t{0xFFFF});

        add.show();
        add.SelectAllAddress();
        QTest::keyClicks(address, "65536");
        QCOMPARE(address->text(), QString("65536"));
        Click(add, "btbOk");
        QVERIFY(add.isVisible());
        QCOMPARE(messages.entries.size(), std::size_t{1});
        QCOMPARE(messages.entries[0].kind, MessageKind::Error);
        QCOMPARE(messages.entries[0].text, std::string(tessaly::kBreakPointRangeMessage));
        QCOMPARE(add.AcceptedAddress(), std::uint16_t{0xFFFF});

        // Back in Hex, a five-digit text is kept whole and cannot grow.
        Child<QRadioButton>(add, "ckbHex")->click();
        QTest::keyClick(address, 'A');
        QCOMPARE(address->text(), QString("65536"));
        address->clear();
        Click(add, "btbOk");
        QCOMPARE(messages.entries.size(), std::size_t{2});
        QCOMPARE(messages.entries[1].text, std::string(tessaly::kBreakPointRangeMessage));
        Click(add, "btbCancel");
        QCOMPARE(add.result(), int(QDialog::Rejected));
        QVERIFY(Child<QRadioButton>(add, "ckbHex")->isChecked());
    }
};

TESSALY_UI_TEST(BreakPointsDialogTest)

#include "BreakPointsDialogTest.moc"
