#include <QAccessible>
#include <QAccessibleInterface>
#include <QAbstractItemView>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include "UiTestRegistry.h"
#include "dialogs/AddWatchDialog.h"
#include "dialogs/SendByteDialog.h"
#include "GeneralBench.h"
#include "views/ActiveWatchView.h"
#include "views/BitMemoryView.h"
#include "views/SfrView.h"
#include "views/TerminalView.h"

using tessaly::LocationKind;
using tessaly::ui::ActiveWatchView;
using tessaly::ui::AddWatchDialog;
using tessaly::ui::BitMemoryView;
using tessaly::ui::SfrView;
using tessaly::ui::SendByteDialog;
using tessaly::ui::TerminalView;
using tessaly::ui::test::Child;
using tessaly::ui::test::Choose;
using tessaly::ui::test::GeneralBench;

namespace {

// What a screen reader hears for a widget: its name, and its value when it
// has one.
QString Spoken(QObject* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible) return "(not accessible)";
    const QString value = accessible->text(QAccessible::Value);
    return accessible->text(QAccessible::Name) + (value.isEmpty() ? QString() : " | " + value);
}

QString SpokenCell(QAbstractItemView* grid, int row, int column) {
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(grid)->tableInterface();
    QAccessibleInterface* cell = table ? table->cellAt(row, column) : nullptr;
    return cell ? cell->text(QAccessible::Name) : "(no cell)";
}

}  // namespace

class AccessibleValuesTest : public QObject {
    Q_OBJECT
private slots:
    // The labels that show a count or a description say it to assistive
    // technology as shown, and follow it when it changes.
    void labelsSayTheValueTheyShow() {
        GeneralBench b;
        AddWatchDialog add(*b.session, b.messages);
        ActiveWatchView watch(b.context, add, b.messages);
        SendByteDialog sendByte(*b.session, b.messages);
        TerminalView terminal(b.context, sendByte);
        BitMemoryView bits(b.context);
        SfrView sfrs(b.context, b.messages);
        auto* carry = Child<QLabel>(sfrs, "lblCY");
        auto* transmitted = Child<QLabel>(terminal, "lblTxCount");
        auto* received = Child<QLabel>(terminal, "lblRxCount");
        auto* count = Child<QStatusBar>(watch, "ssbStatusBar")->findChildren<QLabel*>().first();
        auto* description = Child<QStatusBar>(b.write, "ssbGeneralWrite")->findChild<QLabel*>();
        QCOMPARE(Spoken(transmitted), QString("Transmit Buffer Count = 0"));
        QCOMPARE(Spoken(count), QString("Total Count = 0"));
        QCOMPARE(Spoken(carry), QString("CY = 0"));

        b.p().iTxLogPos = 3;
        b.p().iRxLogPos = 12;
        terminal.Refresh();
        b.session->lstActiveWatch.Add({LocationKind::InternalRAM, 0x30});
        watch.Refresh();
        Choose(b.write, "cobType", "SFR Registers");
        Choose(b.write, "cobName", "PSW");
        QCOMPARE(Spoken(transmitted), QString("Transmit Buffer Count = 3"));
        QCOMPARE(Spoken(received), QString("Receive Buffer Count = 12"));
        QCOMPARE(Spoken(count), QString("Total Count = 1"));
        QCOMPARE(description->text(), QString("Program status word"));
        QCOMPARE(Spoken(description), QString("Program status word"));
        Choose(b.write, "cobName", "ACC");
        QCOMPARE(Spoken(description), QString("Accumulator"));

        // The carry shows its value as a colour, a bit cell as a digit.
        b.p().WriteBit(0xD7, 1);
        b.p().WriteBit(0x0B, 1);
        sfrs.Refresh();
        bits.RefreshFully();
        QCOMPARE(Spoken(carry), QString("CY = 1"));
        QCOMPARE(SpokenCell(&bits.Grid(), 1, 3), QString("Bit 0Bh: 1"));
    }
};

TESSALY_UI_TEST(AccessibleValuesTest)
#include "AccessibleValuesTest.moc"
