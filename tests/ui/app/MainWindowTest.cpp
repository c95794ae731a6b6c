#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>
#include <set>

#include "UiTestRegistry.h"
#include "app/MainWindow.h"
#include "app/DesktopFixture.h"

using tessaly::ui::test::CountingView;
using tessaly::ui::test::Desktop;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void commandStatesFollowTheProgram() {
        Desktop d;
        QCOMPARE(d.Panel(0), QString("Ready"));
        QCOMPARE(d.window->windowTitle(), QString("Tessaly"));
        QVERIFY(d.window->isEnabled());
        const std::set<QString> withoutProgram = {"ateOpenFile", "ateOpenSimulation", "muiClearOpenedFilesHistory"};
        const std::set<QString> always = {"ateExit",           "muiSettings",   "muiHelpTopics",   "muiAbout",
                                          "muiHardwareSerial", "muiXramPaging", "muiHistoryMemory"};
        const QList<QAction*> all = d.window->findChildren<QAction*>();
        int withProgram = 0;
        for (bool open : {false, true}) {
            if (open) QVERIFY(d.window->session().OpenFileCommand(d.Program().toStdString()) == tessaly::ProgramOpen::Opened);
            for (QAction* action : all) {
                const QString name = action->objectName();
                if (name.isEmpty() || name.startsWith("muiOpenedFile") || name == "muiLastSeparator") continue;
                const bool expected = always.count(name) ? true : withoutProgram.count(name) ? !open : open;
                if (!open && expected == false) ++withProgram;
                QVERIFY2(action->isEnabled() == expected, qPrintable(name));
            }
        }
        // Every View, Debugging, Initialize and Window item, the eight
        // interrupt buttons and the rest of the loaded-program commands: 48,
        // and the three C windows' View items, the four C steps, Data
        // Break Points and the three commands that go back in time.
        QCOMPARE(withProgram, 48 + 3 + 4 + 1 + 3);
        QCOMPARE(d.window->windowTitle(), "Tessaly( " + d.Program() + " )");
        QCOMPARE(d.window->area().subWindowList().size(), 9);
    }

    void shortcutThatStartedARunStopsIt() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.window->session().settings.Live().refreshType = 2;
        d.window->session().settings.Live().instructionsPerTick = 50;
        QApplication::setActiveWindow(d.window.get());
        QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
        QTimer::singleShot(30, d.window.get(), [&] { QTest::keyClick(d.window.get(), Qt::Key_T, Qt::ControlModifier); });
        QTest::keyClick(d.window.get(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(!d.window->session().controller().IsExecuting());
        QVERIFY(d.Machine().ullInstructionsExecuted >= 50);
        QCOMPARE(d.Machine().ullInstructionsExecuted % 50, 0u);  // the run ends with its tick
        QCOMPARE(d.Panel(0), QString("Execution Stopped"));
        QVERIFY(d.View(1)->refreshes > 1);
    }

    void viewsShowTheLastStateOnceARunYields() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.window->session().settings.Live().refreshType = 1;
        d.window->session().settings.Live().instructionsPerTick = 1;
        int pumps = 0;
        // Stops the run from the event loop after some 20 ms of running.
        QTimer stopper;
        stopper.setInterval(0);
        connect(&stopper, &QTimer::timeout, [&] {
            if (++pumps == 4) d.Action("ateStartExecution")->trigger();
        });
        stopper.start();
        d.Action("ateStartExecution")->trigger();
        stopper.stop();
        const std::uint64_t executed = d.Machine().ullInstructionsExecuted;
        QVERIFY(executed > 100);
        // Refreshing after every one of them would be wasted on the screen;
        // the last state is shown as soon as the event loop runs.
        QVERIFY(d.View(2)->refreshes < static_cast<int>(executed));
        QApplication::processEvents();
        QCOMPARE(d.View(2)->shownInstructions, executed);
    }

    void breakPointStopsTheRunAndTheNextStartRunsPastIt() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.window->session().breakPoints.Add(0x0002);
        d.Action("ateStartExecution")->trigger();
        QCOMPARE(d.Machine().usPC, 0x0002);
        QCOMPARE(d.Panel(1), QString("Break Point encountered"));
        d.Action("muiSingleStep")->trigger();  // runs the instruction at the break point
        QCOMPARE(d.Machine().usPC, 0x0000);
        QCOMPARE(d.Machine().ullInstructionsExecuted, 2u);
        QCOMPARE(d.Panel(0), QString("Debugging Stopped"));
        QVERIFY(d.Action("ateStartExecution")->isEnabled());
    }

    void manualRefreshTypeLeavesViewsStaleUntilAsked() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.window->session().settings.Live().refreshType = 3;
        d.window->session().settings.Live().bulkStepCount = 1000;
        const int before = d.View(2)->refreshes;
        d.Action("muiBulkStep")->trigger();
        QCOMPARE(d.View(2)->refreshes, before);
        QCOMPARE(d.Machine().ullInstructionsExecuted, 1000u);
        d.Action("tlbRefresh")->trigger();
        QCOMPARE(d.View(2)->refreshes, before + 1);
        d.Action("ateResetExecution")->trigger();
        QCOMPARE(d.Machine().ullInstructionsExecuted, 0u);
        QCOMPARE(d.Machine().ucCodeMemory[2], 0x80);
        QCOMPARE(d.Panel(0), QString("Ready"));
    }

    void viewMenuTogglesAViewAndClosingItRecordsItClosed() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        QAction* sfr = d.Action("muiSFRWindow");
        QVERIFY(sfr->isChecked());
        sfr->trigger();
        QVERIFY(!sfr->isChecked());
        QVERIFY(!d.window->views().IsChildOpen(1));
        QCOMPARE(d.window->session().layout.entries[1].visible, 0);
        sfr->trigger();
        QVERIFY(sfr->isChecked());
        QVERIFY(d.View(1) != nullptr);
    }

    void exitAsksAndAStartAgainReopensTheProgramAndItsViews() {
        Desktop d;
        const QString program = d.Program();
        d.window->session().OpenFileCommand(program.toStdString());
        d.Action("muiErrors")->trigger();  // closed by the user
        d.messages.answers = {false, true};
        d.window->close();
        QVERIFY(!d.ended);
        QVERIFY(d.window->isVisible());
        d.Action("ateExit")->trigger();
        QVERIFY(d.ended);
        QCOMPARE(d.messages.entries.size(), 2u);
        QCOMPARE(QString::fromStdString(d.messages.entries[1].text), QString("Exit from Tessaly ?"));

        d.window.reset();
        d.Start();
        QCOMPARE(d.window->windowTitle(), "Tessaly( " + program + " )");
        QCOMPARE(d.window->area().subWindowList().size(), 8);
        QVERIFY(!d.window->views().IsChildOpen(8));
    }

    void aDroppedFileClosesTheOpenOneOnlyAfterYes() {
        Desktop d;
        const QString program = d.Program();
        d.window->OpenPath(program);
        d.messages.answers = {false};
        d.window->OpenPath(program + ".missing.hex");
        QVERIFY(d.window->session().isFileOpen);
        d.messages.answers = {true};
        d.window->OpenPath(program + ".missing.hex");
        QVERIFY(!d.window->session().isFileOpen);
        QCOMPARE(QString::fromStdString(d.messages.entries.back().text),
                 QString("An error occured while loading data from file( 0 )"));
    }
};

TESSALY_UI_TEST(MainWindowTest)
#include "MainWindowTest.moc"
