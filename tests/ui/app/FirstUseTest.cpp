#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "UiTestRegistry.h"
#include "app/DesktopFixture.h"
#include "util/FileBytes.h"

using tessaly::ui::test::AnsweringModals;
using tessaly::ui::test::Desktop;

namespace {

// INC 30h; SJMP back, as Intel HEX.
constexpr const char* kHexProgram = ":0400000005 3080FC4B\n:00000001FF\n";

QString HexProgram(const Desktop& d, const char* text = kHexProgram) {
    QString hex = QString::fromLatin1(text).remove(' ');
    return QString::fromStdString(d.dir.Write("prog.hex", hex.toStdString()).string());
}

}  // namespace

// What a newcomer meets first: saving, stopping, the window commands, the
// first look, the file dialogs and the start with a file.
class FirstUseTest : public QObject {
    Q_OBJECT
private slots:
    void saveSimulationProposesASimulationFileAndNeverTheProgram() {
        Desktop d;
        const QString program = d.Program();
        const auto programBytes = tessaly::ReadWholeFile(program.toStdString());
        d.window->session().OpenFileCommand(program.toStdString());
        QStringList proposed;
        int replaceQuestions = 0;
        const auto answer = [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                proposed = dialog->selectedFiles();
                QTest::keyClick(dialog, Qt::Key_Return);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                ++replaceQuestions;
                box->button(QMessageBox::Yes)->click();
            }
        };
        // Ctrl+S, Enter; then again, with Yes to replacing the first save.
        for (int save = 0; save < 2; ++save) {
            QApplication::setActiveWindow(d.window.get());
            QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
            AnsweringModals(answer, [&] { QTest::keyClick(d.window.get(), Qt::Key_S, Qt::ControlModifier); });
        }
        const QString simulation = QString::fromStdString((d.dir.Path() / "loop.slf").string());
        QCOMPARE(proposed, QStringList{simulation});
        QCOMPARE(replaceQuestions, 1);
        QCOMPARE(tessaly::ReadWholeFile(program.toStdString()), programBytes);
        QVERIFY(std::filesystem::file_size(simulation.toStdString()) > 1000);
        QCOMPARE(QString::fromStdString(d.messages.entries.back().text), QString("Simulation saved"));
    }

    void fileDialogsStartAtTheLastProgramWithTheirSuffixes() {
        Desktop d;
        const QString program = d.Program();
        d.window->session().OpenFileCommand(program.toStdString());
        d.Action("ateCloseFile")->trigger();
        struct Seen {
            QString folder, file, suffix, filter;
        } seen;
        const auto look = [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return;
            seen = {dialog->directory().absolutePath(), dialog->selectedFiles().value(0), dialog->defaultSuffix(),
                    dialog->selectedNameFilter()};
            dialog->reject();
        };
        const QString folder = QString::fromStdString(d.dir.Path().string());
        AnsweringModals(look, [&] { d.Action("ateOpenFile")->trigger(); });
        QCOMPARE(seen.folder, folder);
        QCOMPARE(seen.file, program);  // Enter reopens it
        QCOMPARE(seen.suffix, QString("hex"));
        QCOMPARE(seen.filter, QString("Binary files( *.bin )"));
        AnsweringModals(look, [&] { d.Action("ateOpenSimulation")->trigger(); });
        QCOMPARE(seen.folder, folder);
        QCOMPARE(seen.suffix, QString("slf"));
        QVERIFY(!d.window->session().isFileOpen);
    }

    void closeFileEndsAPacedBulkStep() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        d.window->session().settings.Live().speedDelay = 50;  // 182 ms an instruction
        d.window->session().settings.Live().bulkStepCount = 10;
        QTimer::singleShot(120, d.Action("ateCloseFile"), &QAction::trigger);
        d.Action("muiBulkStep")->trigger();
        QVERIFY(!d.window->session().isFileOpen);
        QCOMPARE(d.Machine().ullInstructionsExecuted, 0u);
        QCOMPARE(d.Panel(0), QString("Ready"));
        QVERIFY(!d.Action("ateStartExecution")->isEnabled());
        QVERIFY(!d.Action("muiBulkStep")->isEnabled());
    }

    void stopIsAnsweredDuringLongStepsAndTicks() {
        Desktop d;
        d.window->session().OpenFileCommand(d.Program().toStdString());
        tessaly::SimulationSettings& settings = d.window->session().settings.Live();
        settings.refreshType = 3;
        settings.bulkStepCount = 1000000000;
        QTimer::singleShot(50, d.Action("muiStopDebugging"), &QAction::trigger);
        d.Action("muiBulkStep")->trigger();
        QVERIFY(d.Machine().ullInstructionsExecuted < 1000000000u);
        QCOMPARE(d.Panel(0), QString("Debugging Stopped"));
        QVERIFY(d.Action("ateStartExecution")->isEnabled());

        // 1000 s at 999 MHz.
        settings.crystalFrequency = 999000000.0;
        settings.stepTimeInUSec = 1000000000;
        const std::uint64_t cycles = d.Machine().ullCyclesExecuted;
        QTimer::singleShot(50, d.Action("muiStopDebugging"), &QAction::trigger);
        d.Action("muiTimeBase")->trigger();
        QVERIFY(d.Machine().ullCyclesExecuted - cycles < 83250000000u);

        settings.refreshType = 2;
        settings.instructionsPerTick = 1000000000;
        const std::uint64_t executed = d.Machine().ullInstructionsExecuted;
        QTimer::singleShot(50, d.Action("ateStartExecution"), &QAction::trigger);
        d.Action("ateStartExecution")->trigger();
        QVERIFY(!d.window->session().controller().IsExecuting());
        QVERIFY(d.Machine().ullInstructionsExecuted - executed < 1000000000u);
    }

    void windowCommandsKeepTheMainWindowsSize() {
        Desktop d(Desktop::Views::Real);
        d.window->session().OpenFileCommand(d.Program().toStdString());
        const QSize size = d.window->size();
        const QList<QMdiSubWindow*> frames = d.window->area().subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(frames.size(), 9);
        frames[1]->showMinimized();
        frames[2]->showMinimized();
        d.Action("muiArrange")->trigger();
        QCOMPARE(d.window->size(), size);
        // Their icons in a row along the bottom, nothing else moved by it.
        const int bottom = d.window->area().viewport()->height();
        QCOMPARE(frames[1]->geometry().bottom() + 1, bottom);
        QCOMPARE(frames[2]->geometry().bottom() + 1, bottom);
        QCOMPARE(frames[2]->x(), frames[1]->width());
        for (const char* command : {"muiTileHorizontally", "muiTileVertically", "muiCascade"}) {
            d.Action(command)->trigger();
            QVERIFY2(d.window->size() == size, command);
        }
    }

    void viewsOpenWholeAndAlikeOnEveryPath() {
        Desktop d(Desktop::Views::Real);
        d.window->session().OpenFileCommand(d.Program().toStdString());
        for (int i = 0; i < 9; ++i) {
            const QWidget* frame = d.window->views().View(i)->parentWidget();
            QVERIFY2(frame->width() >= frame->sizeHint().width() && frame->height() >= frame->sizeHint().height(),
                     qPrintable(frame->windowTitle()));
        }
        const auto sfrSize = [&] { return d.window->views().View(1)->parentWidget()->size(); };
        const QSize atStart = sfrSize();
        d.Action("muiSFRWindow")->trigger();
        d.Action("muiSFRWindow")->trigger();
        QCOMPARE(sfrSize(), atStart);
        d.Action("muiRestoreDefaultWindowStatus")->trigger();
        QCOMPARE(sfrSize(), atStart);
        // The defaults grow with the font and never shrink.
        const tessaly::LayoutScale scale = d.window->views().DefaultLayoutScale();
        QVERIFY(scale.x >= 1.0 && scale.y >= 1.0);
        QCOMPARE(d.window->session().layout.entries[11].bounds.width, static_cast<int>(std::lround(800 * scale.x)));
    }

    void startUpShowsTheWindowFirstAndAFileOnTheCommandLineTakesThePlaceOfTheLastOne() {
        Desktop d;
        d.window->session().OpenFileCommand(HexProgram(d).toStdString());
        d.messages.answers = {true};
        d.Action("ateExit")->trigger();
        QVERIFY(d.ended);

        // The last program can no longer be read: its message shows over the window.
        HexProgram(d, "not a hex file\n");
        std::vector<bool> windowShown;
        d.messages.onMessage = [&](const auto&) { windowShown.push_back(d.window && d.window->isVisible()); };
        d.messages.entries.clear();
        d.window.reset();
        d.Start();
        QVERIFY(!d.messages.entries.empty());
        QCOMPARE(QString::fromStdString(d.messages.entries.front().text), QString("Invalid record marker ( Line = 1 )"));
        QVERIFY(!windowShown.empty() && windowShown.front());

        // A file named on the command line: no question, no load of the last one.
        d.window->session().OpenFileCommand(HexProgram(d).toStdString());
        d.messages.answers = {true};
        d.Action("ateExit")->trigger();
        d.messages.entries.clear();
        d.window.reset();
        const QString program = d.Program();
        d.Start(program);
        QVERIFY(d.messages.entries.empty());
        QCOMPARE(d.window->windowTitle(), "Tessaly( " + program + " )");
    }
};

TESSALY_UI_TEST(FirstUseTest)
#include "FirstUseTest.moc"
