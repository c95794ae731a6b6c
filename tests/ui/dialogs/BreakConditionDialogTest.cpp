#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <string>
#include <vector>

#include "UiTestRegistry.h"
#include "app/DesktopFixture.h"
#include "dialogs/BreakPointsDialog.h"
#include "dialogs/DialogTestSupport.h"

using tessaly::MessageKind;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::Desktop;
using tessaly::ui::test::WhenModal;

namespace {

struct Typed {
    QString condition;
    QString hits;
};

// In the Break Point Condition dialog that opens next: what it shows, then
// each pair typed over the fields and OK pressed, Cancel if still open.
void WhenConditionOpens(std::vector<Typed> typing, QString* title, Typed* shown) {
    WhenModal([typing = std::move(typing), title, shown] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != "TfrmBreakCondition") {
            if (dialog) dialog->close();  // not the dialog looked for: the comparisons below fail
            return;
        }
        *title = Child<QLabel>(*dialog, "lblBreakAddress")->text();
        auto* condition = Child<QLineEdit>(*dialog, "edtCondition");
        auto* hits = Child<QLineEdit>(*dialog, "edtHitCount");
        *shown = {condition->text(), hits->text()};
        for (const Typed& t : typing) {
            condition->clear();
            QTest::keyClicks(condition, t.condition);
            hits->clear();
            QTest::keyClicks(hits, t.hits);
            Click(*dialog, "btnConditionOk");
            if (!dialog->isVisible()) return;
        }
        Click(*dialog, "btnConditionCancel");
    });
}

}  // namespace

class BreakConditionDialogTest : public QObject {
    Q_OBJECT

private slots:
    // From the Break Points window the selected break point gets a
    // condition and a hit count; a text that does not read is told and the
    // dialog stays open. The program is INC 30H; SJMP back: the break point
    // at 0000H with "30H >= 2" and "2" stops when 30H is 3.
    void conditionAndHitCountStopTheRunWhereTheySay() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.window->session().breakPoints.Add(0x0002);
        d.window->session().breakPoints.Add(0x0000);
        tessaly::ui::BreakPointsDialog& window = d.window->breakPointsDialog();
        QString title;
        Typed shown;
        WhenModal([&] {
            Child<QTableWidget>(window, "sggBrkPtsList")->selectRow(1);
            Click(window, "BitBtn2");  // 0002H goes
            Child<QTableWidget>(window, "sggBrkPtsList")->selectRow(0);
            WhenConditionOpens({{"30H = 2", "2"}, {"30H >= 2", "every 2"}, {"30H >= 2", "2"}}, &title, &shown);
            Click(window, "btnCondition");
            Click(window, "btnOk");
        });
        d.Action("muiBreakPoints")->trigger();
        QCOMPARE(title, QString("Break point at 0000H"));
        QCOMPARE(shown.condition, QString());
        QCOMPARE(d.messages.entries.size(), std::size_t{2});
        QCOMPARE(d.messages.entries[0].kind, MessageKind::Error);
        QCOMPARE(QString::fromStdString(d.messages.entries[0].text),
                 QString("'30H = 2': a condition is LOCATION OP VALUE, OP one of == != < <= > >= &"));
        QCOMPARE(QString::fromStdString(d.messages.entries[1].text),
                 QString("'every 2': a hit count is N, ==N, >=N, >N or %N with N a whole number above 0"));
        QCOMPARE(d.window->session().breakPoints.List().Lines(), std::vector<std::string>({"0x0000"}));

        d.Action("ateStartExecution")->trigger();
        QCOMPARE(d.Machine().usPC, 0x0000);
        QCOMPARE(d.Machine().ucIntRAM[0x30], 0x03);
        QCOMPARE(d.Panel(1), QString("Break Point encountered"));

        // Opened again it shows what it stores; Cancel in the Break Points
        // window takes back a change made meanwhile.
        WhenModal([&] {
            Child<QTableWidget>(window, "sggBrkPtsList")->selectRow(0);
            WhenConditionOpens({{"", ""}}, &title, &shown);
            Click(window, "btnCondition");
            Click(window, "btnCancel");
        });
        d.Action("muiBreakPoints")->trigger();
        QCOMPARE(shown.condition, QString("30H >= 2"));
        QCOMPARE(shown.hits, QString("2"));
        const auto* entry = d.window->session().breakConditions.Find(0x0000);
        QVERIFY(entry && entry->condition && entry->hits);
        QCOMPARE(QString::fromStdString(entry->condition->left), QString("30H"));
    }
};

TESSALY_UI_TEST(BreakConditionDialogTest)
#include "BreakConditionDialogTest.moc"
