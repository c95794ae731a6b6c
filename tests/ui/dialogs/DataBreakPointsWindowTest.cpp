#include <QAbstractItemModel>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "UiTestRegistry.h"
#include "app/DesktopFixture.h"
#include "dialogs/DataBreakPointsWindow.h"
#include "dialogs/DialogTestSupport.h"

using tessaly::MessageKind;
using tessaly::ui::DataBreakPointsWindow;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::Desktop;

namespace {

// The table's header and rows: "Location,Access|30H,write|...".
QString TableText(const DataBreakPointsWindow& window) {
    const QAbstractItemModel* model = Child<QTableView>(window, "tblDataBreakPoints")->model();
    QStringList rows{model->headerData(0, Qt::Horizontal).toString() + "," +
                     model->headerData(1, Qt::Horizontal).toString()};
    for (int r = 0; r < model->rowCount(); ++r) {
        rows << model->index(r, 0).data().toString() + "," + model->index(r, 1).data().toString();
    }
    return rows.join('|');
}

// Types `location` into the window, picks `access` and presses Add.
void AddThroughWindow(DataBreakPointsWindow& window, const QString& location, const QString& access) {
    auto* edit = Child<QLineEdit>(window, "edtDataLocation");
    edit->clear();
    QTest::keyClicks(edit, location);
    auto* combo = Child<QComboBox>(window, "cmbDataAccess");
    combo->setCurrentIndex(combo->findText(access));
    Click(window, "btnDataAdd");
}

}  // namespace

class DataBreakPointsWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The Debugging menu opens the window; what it adds and removes is the
    // session's list, and a text that names nothing is told and not added.
    void addsRefusesAndRemovesThroughTheSession() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.Action("muiDataBreakPoints")->trigger();
        DataBreakPointsWindow& window = d.window->dataBreakPointsWindow();
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QString("Data Break Points"));
        QCOMPARE(Child<QComboBox>(window, "cmbDataAccess")->count(), 3);

        AddThroughWindow(window, "30H", "write");
        AddThroughWindow(window, "X:1000H-10FFH", "read");
        AddThroughWindow(window, "PSW.1", "change");
        QCOMPARE(TableText(window), QString("Location,Access|30H,write|X:1000H-10FFH,read|PSW.1,change"));
        QVERIFY(Child<QLineEdit>(window, "edtDataLocation")->text().isEmpty());
        QVERIFY(d.messages.entries.empty());

        AddThroughWindow(window, "NOWHERE", "write");
        QCOMPARE(d.messages.entries.size(), std::size_t{1});
        QCOMPARE(d.messages.entries[0].kind, MessageKind::Error);
        QCOMPARE(QString::fromStdString(d.messages.entries[0].text), QString("'NOWHERE' names no register, bit or memory cell"));
        QCOMPARE(d.window->session().DataBreaks().List().size(), std::size_t{3});
        QCOMPARE(Child<QLineEdit>(window, "edtDataLocation")->text(), QString("NOWHERE"));

        auto* table = Child<QTableView>(window, "tblDataBreakPoints");
        table->setCurrentIndex(table->model()->index(1, 0));
        Click(window, "btnDataRemove");
        QCOMPARE(TableText(window), QString("Location,Access|30H,write|PSW.1,change"));
        const auto& list = d.window->session().DataBreaks().List();
        QCOMPARE(list.size(), std::size_t{2});
        QCOMPARE(QString::fromStdString(list[1].target.name), QString("PSW.1"));
    }

    // A run or step that a data break point ends says so in the errors
    // panel until the next one; the program is INC 30H; SJMP back.
    void theStopIsToldInTheStatusBar() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.Action("muiDataBreakPoints")->trigger();
        DataBreakPointsWindow& window = d.window->dataBreakPointsWindow();
        AddThroughWindow(window, "30H", "change");
        QCOMPARE(d.Machine().ucIntRAM[0x30], 0x00);

        d.Action("ateStartExecution")->trigger();
        QCOMPARE(d.Machine().usPC, 0x0002);
        QCOMPARE(d.Panel(1), QString("Data break point: 30H changed 00 -> 01 at 0000H"));
        d.Action("muiSingleStep")->trigger();  // the SJMP: nothing watched
        QCOMPARE(d.Panel(1), QString("Warnings = 0    Errors = 0"));
        d.Action("muiSingleStep")->trigger();
        QCOMPARE(d.Panel(1), QString("Data break point: 30H changed 01 -> 02 at 0000H"));

        auto* table = Child<QTableView>(window, "tblDataBreakPoints");
        table->setCurrentIndex(table->model()->index(0, 0));
        Click(window, "btnDataRemove");
        AddThroughWindow(window, "30H", "read");
        d.Action("ateStartExecution")->trigger();
        QCOMPARE(d.Panel(1), QString("Data break point: 30H read 02 at 0000H"));
        d.Action("ateResetExecution")->trigger();
        QCOMPARE(d.Panel(1), QString("Warnings = 0    Errors = 0"));
    }
};

TESSALY_UI_TEST(DataBreakPointsWindowTest)
#include "DataBreakPointsWindowTest.moc"
