#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <vector>

#include "UiTestRegistry.h"
#include "app/CDesktop.h"
#include "dialogs/DataBreakPointsWindow.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/HistoryMemoryDialog.h"
#include "views/CVariablesModel.h"
#include "views/CVariablesTree.h"

using tessaly::LocationKind;
using tessaly::ui::test::CDesktop;
using tessaly::ui::test::Child;
using tessaly::ui::test::Desktop;

namespace {

// timer-counter: a timer 0 interrupt counts seconds in 33H (MS_LO in 31H);
// each second ends in INC 33H at 0079H and CPL P1.0 at 007BH, and after the
// third the program ends in a jump to itself at 0057H.
constexpr std::uint16_t kDone = 0x0057;
constexpr std::uint16_t kBlink = 0x007B;

void OpenTimerCounter(Desktop& d) {
    d.window->session().settings.Live().refreshType = 2;
    d.window->session().settings.Live().instructionsPerTick = 1000000;
    d.window->session().OpenFileCommand(std::filesystem::path(TESSALY_SOURCE_DIR) /
                                        "examples/timer-counter/timer-counter.hex");
}

// The PC, the counters and the whole internal RAM with the SFRs.
QString MachineState(const tessaly::Processor& p) {
    QString state = QString("%1 %2 %3 ").arg(p.usPC, 4, 16).arg(p.ullInstructionsExecuted).arg(p.ullCyclesExecuted);
    for (std::uint8_t byte : p.ucIntRAM) state += QString::number(byte, 16);
    return state;
}

// A forward run on a desktop of its own: the counts at which the three
// blinks are about to run, and the machine after `end` instructions.
struct ForwardRun {
    std::vector<std::uint64_t> blinks;
    QString stateAt;
};
ForwardRun RunForward(std::uint64_t end) {
    Desktop r;
    OpenTimerCounter(r);
    ForwardRun run;
    r.window->session().breakPoints.Add(kBlink);
    for (int second = 0; second < 3; ++second) {
        r.Action("ateStartExecution")->trigger();
        run.blinks.push_back(r.Machine().ullInstructionsExecuted);
    }
    r.window->session().breakPoints.Delete(kBlink);
    r.window->session().controller().SetBudget({end});
    r.Action("ateStartExecution")->trigger();
    run.stateAt = MachineState(r.Machine());
    return run;
}

// Chooses item `name` of the right-click menu `widget` opens at `at` (an
// item view's viewport position); false when the menu has no such item
// enabled.
bool ChooseFromMenu(QWidget& widget, const QPoint& at, const char* name) {
    bool chosen = false;
    QTimer::singleShot(0, &widget, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* item = menu ? menu->findChild<QAction*>(name) : nullptr;
        chosen = item && item->isEnabled();
        if (chosen) item->trigger();
        if (menu) menu->close();
    });
    emit widget.customContextMenuRequested(at);
    return chosen;
}

QPoint Centre(const QAbstractItemView& view, int row, int column, const QModelIndex& parent = {}) {
    return view.visualRect(view.model()->index(row, column, parent)).center();
}

QString Status(Desktop& d, const char* box) {
    return d.window->views().View(0)->findChild<QLineEdit*>(box)->text();
}

QString FirstDataBreakPoint(Desktop& d) {
    const auto* model = Child<QAbstractItemView>(d.window->dataBreakPointsWindow(), "tblDataBreakPoints")->model();
    return model->index(0, 0).data().toString() + "," + model->index(0, 1).data().toString();
}

// Shift and `key` pressed in the main window.
void Press(Desktop& d, Qt::Key key) {
    QApplication::setActiveWindow(d.window.get());
    QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
    QTest::keyClick(d.window.get(), key, Qt::ShiftModifier);
}

QString LineAndState(CDesktop& d) {
    return QString::number(d.Source()->CurrentLine()) + " " + MachineState(d.Machine());
}

}  // namespace

class ReverseDebuggingTest : public QObject {
    Q_OBJECT
private slots:
    // From the end of the program: Step Back by menu and Shift+F2 is where a
    // forward run is two instructions earlier; Last Write on 33H (the
    // internal RAM grid) lands after the third INC, and on ACC (the SFR box)
    // after MOV A,32H four instructions before; the PC's watch row is refused
    // with the session's reason; Reverse Continue (Shift+F9) lands on the
    // second blink; a data break point added on 31H stops the run from there
    // at MS_LO's next write.
    void theReverseCommandsLandWhereAForwardRunWas() {
        Desktop d(Desktop::Views::Real);
        OpenTimerCounter(d);
        tessaly::Session& s = d.window->session();
        s.breakPoints.Add(kDone);
        d.Action("ateStartExecution")->trigger();
        const ForwardRun forward = RunForward(d.Machine().ullInstructionsExecuted - 2);
        QVERIFY(s.History().Checkpoints() >= 2);
        d.Action("muiStepBack")->trigger();
        Press(d, Qt::Key_F2);
        QCOMPARE(MachineState(d.Machine()), forward.stateAt);
        QCOMPARE(Status(d, "edtHistory"), QString("from instruction 0"));

        auto* ram = d.window->views().View(2)->findChild<QAbstractItemView*>("sggIntRAM");
        QVERIFY(ChooseFromMenu(*ram, Centre(*ram, 3, 3), "actLastWrite"));
        QCOMPARE(d.Machine().usPC, kBlink);
        const QString lastWrite("Last write: %1 at %2H, instruction %3");
        QCOMPARE(d.Panel(1), lastWrite.arg("33H written 02 -> 03", "0079").arg(forward.blinks[2]));
        QCOMPARE(Status(d, "edtInstructionsExecuted"), QString::number(forward.blinks[2]));
        auto* acc = d.window->views().View(1)->findChild<QLineEdit*>("edtACC");
        QVERIFY(ChooseFromMenu(*acc, acc->rect().center(), "actLastWrite"));
        QCOMPARE(d.Panel(1), lastWrite.arg("ACC written E8 -> 03", "006E").arg(forward.blinks[2] - 4));
        QCOMPARE(acc->text(), QString("03"));

        s.lstActiveWatch.Add({LocationKind::SfrRegister, *tessaly::CatalogueIndex(LocationKind::SfrRegister, "PC")});
        s.controller().RefreshViews();
        auto* watch = d.window->views().View(5)->findChild<QAbstractItemView*>("sggActiveWatch");
        QVERIFY(ChooseFromMenu(*watch, Centre(*watch, 0, 1), "actLastWrite"));
        QCOMPARE(d.Machine().usPC, 0x0070);
        QCOMPARE(d.messages.entries.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(d.messages.entries[0].text),
                 QString("'PC' is not in memory: break on an address instead"));

        s.breakPoints.Add(kBlink);
        Press(d, Qt::Key_F9);
        QCOMPARE(d.Machine().ullInstructionsExecuted, forward.blinks[1]);
        QCOMPARE(d.Panel(1), QString("Break Point encountered"));
        QVERIFY(ChooseFromMenu(*ram, Centre(*ram, 3, 1), "actAddDataBreakPoint"));
        QVERIFY(d.window->dataBreakPointsWindow().isVisible());
        QCOMPARE(FirstDataBreakPoint(d), QString("31H,write"));
        d.Action("ateStartExecution")->trigger();
        QCOMPARE(d.Panel(1), QString("Data break point: 31H written 00 -> 01 at 0063H"));
    }

    // In C, Step Back Line twice from line 66 is line 64 as the forward step
    // found it, and stepping on replays the same lines; Last Write on
    // corner.y in the C watches lands after the MOVX at 0170H that ends line
    // 64, where line 65 begins.
    void stepBackLineAndLastWriteOfACMember() {
        CDesktop d(std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-debug", "c-debug");
        d.ClickMargin(63);
        d.Trigger("ateStartExecution");
        QStringList forward;
        for (int line = 64; line <= 66; ++line) {
            d.Trigger("muiStepOver");
            forward << LineAndState(d);
        }
        d.Trigger("muiStepBackLine");
        d.Trigger("muiStepBackLine");
        QCOMPARE(LineAndState(d), forward[0]);
        d.Trigger("muiStepOver");
        d.Trigger("muiStepOver");
        QCOMPARE(LineAndState(d), forward[2]);

        tessaly::ui::CWatchPanel* watches = d.CWatches();
        QTest::keyClicks(&watches->NameEdit(), "corner");
        QTest::keyClick(&watches->NameEdit(), Qt::Key_Return);
        const QModelIndex corner = watches->Model().index(0, 0);
        watches->Tree().expand(corner);
        const QPoint y = Centre(watches->Tree(), 1, 2, corner);
        QVERIFY(ChooseFromMenu(watches->Tree(), y, "actLastWrite"));
        QCOMPARE(LineAndState(d), forward[1]);
        QCOMPARE(d.Panel(1), QString("Last write: corner.y written 00C4 -> FFC4 at 0170H, instruction %1")
                                 .arg(d.Machine().ullInstructionsExecuted));
        QVERIFY(ChooseFromMenu(watches->Tree(), y, "actAddDataBreakPoint"));
        QCOMPARE(FirstDataBreakPoint(d), QString("corner.y,write"));
        QCOMPARE(d.Messages(), QStringList());
    }

    // Options > History Memory at 0 records nothing, as the Execution Status
    // window and Step Back tell; a new bound records from where the machine
    // is, and is kept for the next start.
    void historyMemoryTurnsRecordingOffAndOn() {
        Desktop d(Desktop::Views::Real);
        OpenTimerCounter(d);
        tessaly::ui::HistoryMemoryDialog& dialog = d.window->historyMemoryDialog();
        const auto choose = [&](int megabytes) {
            QString shown;
            QTimer::singleShot(0, [&] {
                auto* spin = Child<QSpinBox>(dialog, "spnHistoryMegabytes");
                shown = spin->text() + "|" + Child<QLabel>(dialog, "lblHistoryInUse")->text();
                spin->setValue(megabytes);
                Child<QAbstractButton>(dialog, "btnHistoryOK")->click();
            });
            d.Action("muiHistoryMemory")->trigger();
            return shown;
        };
        QCOMPARE(choose(0), QString("256 MB|In use: 0.3 MB in 1 checkpoint, from instruction 0."));
        QCOMPARE(Status(d, "edtHistory"), QString("off"));
        for (int i = 0; i < 3; ++i) d.Action("muiSingleStep")->trigger();
        d.Action("muiStepBack")->trigger();
        QCOMPARE(d.Panel(1), QString("History starts at instruction 3"));
        QCOMPARE(choose(64), QString("Off|Recording nothing now."));
        QCOMPARE(Status(d, "edtHistory"), QString("from instruction 3"));
        d.Action("muiSingleStep")->trigger();
        d.Action("muiStepBack")->trigger();
        QCOMPARE(d.Machine().ullInstructionsExecuted, 3u);

        d.messages.answers = {true};
        d.Action("ateExit")->trigger();
        d.window.reset();
        d.Start();
        QCOMPARE(d.window->session().Options().historyMegabytes, 64);
    }
};

TESSALY_UI_TEST(ReverseDebuggingTest)
#include "ReverseDebuggingTest.moc"
