#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextBlock>
#include <QTableView>
#include <QTreeView>
#include <QTest>

#include <filesystem>

#include "UiTestRegistry.h"
#include "app/CDesktop.h"
#include "app/DesktopFixture.h"
#include "app/SourceViews.h"
#include "persistence/SourceWindowsLayout.h"
#include "persistence/WindowLayout.h"
#include "session/Session.h"
#include "util/FileBytes.h"
#include "views/ActiveWatchView.h"
#include "views/CVariablesModel.h"
#include "views/CVariablesTree.h"
#include "views/CWatchPanel.h"
#include "views/CallStackModel.h"
#include "views/CallStackView.h"
#include "views/FrameSelection.h"
#include "views/LocalsView.h"
#include "views/SourceText.h"
#include "views/SfrView.h"
#include "views/SourceView.h"
#include "views/ViewTestSupport.h"

using tessaly::ui::CallStackView;
using tessaly::ui::CWatchPanel;
using tessaly::ui::LocalsView;
using tessaly::ui::SourceView;
using tessaly::ui::test::AnsweringModals;
using tessaly::ui::test::CDesktop;
using tessaly::ui::test::Marked;
using tessaly::ui::test::Rows;
using tessaly::ui::test::kExample;
using tessaly::ui::test::Desktop;
namespace source_window = tessaly::source_window;

class SourceDebuggingTest : public QObject {
    Q_OBJECT
private slots:
    // The .cdb brings the three windows; a click in the margin sets a break
    // point the Break Points list holds, the run stops there, and the steps
    // go by C line with the lines and locals shown exactly.
    void breakInTheMarginThenStepByTheDebuggingMenu() {
        CDesktop d;
        SourceView* source = d.Source();
        QVERIFY(source);
        QVERIFY(d.CallStack());
        QVERIFY(d.Locals());
        QCOMPARE(source->Modules().currentText(), QString("c-printf.c"));
        QCOMPARE(source->CurrentLine(), 0);  // the start-up code has no C line
        QCOMPARE(source->Heading(), QString("No C source at 0000H"));

        d.ClickMargin(21);
        QVERIFY(source->Text().HasBreakPoint(21));
        QCOMPARE(d.window->session().breakPoints.List().Lines(), std::vector<std::string>{"0x0066"});
        d.Trigger("ateStartExecution");
        QCOMPARE(d.Machine().usPC, d.Address("putchar"));
        QCOMPARE(source->CurrentLine(), 21);
        QCOMPARE(source->Heading(), QString("c-printf.c:21 in putchar"));
        // printf and the routines it calls have no C source: they go by the
        // nearest code label below them. The .cdb names only the program's
        // own symbols, the last a string at 0155h; the library follows it.
        QCOMPARE(Rows(d.CallStack()->Model()),
                 QStringList({"putchar,c-printf.c:21,0066H", "___str_2+0x0079,,01CEH", "___str_2+0x00C8,,021DH",
                              "___str_2+0x079A,,08EFH", "___str_2+0x00BA,,020FH", "main,c-printf.c:44,00A8H"}));
        QCOMPARE(d.Locals()->Heading(), QString("putchar: no parameters or locals recorded"));

        d.ClickMargin(21);  // clears it
        QVERIFY(!source->Text().HasBreakPoint(21));
        QVERIFY(d.window->session().breakPoints.Empty());

        // Out of putchar and the rest of printf, to main's next line; then
        // over the loop's first lines, each value that changed marked.
        d.Trigger("muiStepOut");
        QCOMPARE(source->CurrentLine(), 45);
        QCOMPARE(Rows(d.CallStack()->Model()), QStringList({"main,c-printf.c:45,00B3H"}));
        QCOMPARE(d.Locals()->Heading(), QString("main"));
        QCOMPARE(Rows(d.Locals()->Model()),
                 QStringList({"n,unsigned char,0", "factorial,unsigned long,1", "a,unsigned int,0", "b,unsigned int,1",
                              "next,unsigned int,0"}));
        d.Trigger("muiStepOver");
        QCOMPARE(source->CurrentLine(), 46);
        QCOMPARE(Marked(d.Locals()->Model()), QStringList({"n"}));
        d.Trigger("muiStepOver");
        QCOMPARE(source->CurrentLine(), 47);
        QCOMPARE(Rows(d.Locals()->Model()),
                 QStringList({"n,unsigned char,1", "factorial,unsigned long,1", "a,unsigned int,0", "b,unsigned int,1",
                              "next,unsigned int,1"}));
        QCOMPARE(Marked(d.Locals()->Model()), QStringList({"next"}));
        d.Trigger("muiStepOver");
        d.Trigger("muiStepOver");
        // printf's arguments on line 49 come before its call on line 48.
        QCOMPARE(source->CurrentLine(), 48);
        QCOMPARE(Marked(d.Locals()->Model()), QStringList());

        // Into printf, which has no source, and on into putchar.
        d.Trigger("muiStepInto");
        QCOMPARE(source->CurrentLine(), 21);
        QCOMPARE(Rows(d.CallStack()->Model()).constFirst(), QString("putchar,c-printf.c:21,0066H"));
        QCOMPARE(Rows(d.CallStack()->Model()).constLast(), QString("main,c-printf.c:48,011FH"));
        QCOMPARE(d.Messages(), QStringList());
    }

    // Run to Cursor goes to the line under the text cursor; a value typed
    // over a local reaches the machine and every view; a text that is no
    // value of its type says why and changes nothing.
    void runToTheCursorThenTypeOverALocal() {
        CDesktop d;
        SourceView* source = d.Source();
        tessaly::ui::SourceText& text = source->Text();
        text.ShowLine(46);
        QTest::mouseClick(text.viewport(), Qt::LeftButton, {}, QPoint(40, text.MarginRect(46).center().y()));
        QCOMPARE(text.CursorLine(), 46);
        d.Trigger("muiRunToCursor");
        QCOMPARE(source->CurrentLine(), 46);
        QCOMPARE(d.Machine().usPC, d.Address("c-printf.c:46"));

        QTreeView& locals = d.Locals()->Tree();
        QCOMPARE(Rows(*locals.model()).at(2), QString("a,unsigned int,0"));
        const auto typeOver = [&](const QString& value) {
            const QModelIndex cell = locals.model()->index(2, 2);
            tessaly::ui::test::DoubleClickCell(locals, 2, 2);
            auto* editor = qobject_cast<QLineEdit*>(locals.indexWidget(cell));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, value);
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();  // the table commits the edit from its queue
            QVERIFY(!locals.indexWidget(cell));
        };
        typeOver("300");
        // a lives at 0Ch in internal RAM, least significant byte first.
        QCOMPARE(d.Machine().ReadDirect(0x0C), 0x2C);
        QCOMPARE(d.Machine().ReadDirect(0x0D), 0x01);
        QCOMPARE(Rows(*locals.model()).at(2), QString("a,unsigned int,300"));
        QCOMPARE(Marked(*locals.model()), QStringList({"a"}));

        typeOver("70000");
        typeOver("0x");
        QCOMPARE(d.Messages(), QStringList({"70000 is out of range for unsigned int (0 to 65535)", "'0x' is not a number"}));
        QCOMPARE(d.Machine().ReadDirect(0x0C), 0x2C);
        QCOMPARE(d.Machine().ReadDirect(0x0D), 0x01);
        QCOMPARE(Rows(*locals.model()).at(2), QString("a,unsigned int,300"));

        // The program goes on from the value typed: next = a + b.
        d.Trigger("muiStepOver");
        QCOMPARE(source->CurrentLine(), 47);
        QCOMPARE(Rows(*locals.model()).at(4), QString("next,unsigned int,301"));
    }

    // C variables typed by name into the Active Watch are seen from the
    // frame the Call Stack window selects; the locations' list, and so the
    // snapshot, stays as it was; the names are kept in a file of their own.
    void cWatchesAndLocalsFollowTheFrameChosenInTheCallStack() {
        CDesktop d;
        CWatchPanel* watches = d.CWatches();
        QVERIFY(watches);
        QVERIFY(watches->isVisible());
        const auto add = [&](const QString& name) {
            watches->NameEdit().setText(name);
            QTest::keyClick(&watches->NameEdit(), Qt::Key_Return);
        };
        add("n");
        add("factorial");
        add(" 1x");
        QCOMPARE(d.Messages(), QStringList({"'1x' is not a C name"}));
        QCOMPARE(watches->NameEdit().text(), QString(" 1x"));  // kept to be mended
        add("n");                                              // listed already
        QCOMPARE(Rows(watches->Model()),
                 QStringList({"n,,No C variable named 'n' here", "factorial,,No C variable named 'factorial' here"}));

        // A break in putchar, cleared, main's first pass stepped to line 47,
        // then the break again: putchar is called from line 48's printf.
        d.ClickMargin(21);
        d.Trigger("ateStartExecution");
        d.ClickMargin(21);
        d.Trigger("muiStepOut");
        d.Trigger("muiStepOver");
        d.Trigger("muiStepOver");
        d.ClickMargin(21);
        d.Trigger("ateStartExecution");
        QCOMPARE(d.Source()->CurrentLine(), 21);
        QCOMPARE(Rows(watches->Model()),
                 QStringList({"n,,No C variable named 'n' here", "factorial,,No C variable named 'factorial' here"}));

        // main's frame, the outermost: its line stands out as a caller's,
        // its variables are the locals and the watches' scope.
        QTableView& stack = d.CallStack()->Table();
        const int outermost = stack.model()->rowCount() - 1;
        const auto* sp = d.window->views().View(1)->findChild<QLineEdit*>("edtSP");
        QVERIFY(tessaly::ui::SfrView::IsHighlighted(*sp));  // the run moved SP
        tessaly::ui::test::DoubleClickCell(stack, outermost, 0);
        // Choosing a frame changes nothing in the machine: the other views
        // keep what the run marked.
        QVERIFY(tessaly::ui::SfrView::IsHighlighted(*sp));
        QCOMPARE(d.window->frames().Index(), static_cast<std::size_t>(outermost));
        QCOMPARE(d.Source()->CurrentLine(), 48);
        QCOMPARE(d.Source()->Heading(), QString("c-printf.c:48 in main"));
        QCOMPARE(d.Locals()->Heading(), QString("main"));
        // n and b live in r3 and r0-r1, which printf has taken over by now:
        // a caller's register variables show what their registers hold.
        QCOMPARE(Rows(d.Locals()->Model()),
                 QStringList({"n,unsigned char,32 ' '", "factorial,unsigned long,1", "a,unsigned int,0",
                              "b,unsigned int,18779", "next,unsigned int,1"}));
        QCOMPARE(Rows(watches->Model()), QStringList({"n,unsigned char,32 ' '", "factorial,unsigned long,1"}));
        QCOMPARE(stack.model()->index(outermost, 0).data(Qt::FontRole).value<QFont>().bold(), true);

        // The next step shows the innermost frame again.
        d.Trigger("muiStepOver");
        QCOMPARE(d.window->frames().Index(), 0u);
        QCOMPARE(stack.currentIndex().row(), 0);
        QCOMPARE(d.Source()->CurrentLine(), 24);  // past the wait for TI

        QCOMPARE(d.window->session().lstActiveWatch.Count(), 0u);
        QCOMPARE(tessaly::ReadWholeFile(d.dir.Path() / "cwatches.sud"), std::optional<std::string>("n\r\nfactorial\r\n"));
        watches->Tree().setCurrentIndex(watches->Model().index(0, 0));
        QTest::keyClick(&watches->Tree(), Qt::Key_Delete);
        QCOMPARE(tessaly::ReadWholeFile(d.dir.Path() / "cwatches.sud"), std::optional<std::string>("factorial\r\n"));
    }

    // The C windows close with the program and come back with the next
    // .cdb as they were left; their places go to a file of their own at
    // exit, and the start-up layout stays the 1536-byte block it was.
    void windowPlacesAreKeptInAFileOfTheirOwn() {
        CDesktop d;
        auto frameOf = [&](int index) {
            tessaly::ui::CDebugView* view = d.window->sourceViews().View(index);
            return view ? qobject_cast<QMdiSubWindow*>(view->parentWidget()) : nullptr;
        };
        const QRect moved(40, 30, 520, 380);
        frameOf(source_window::kSource)->setGeometry(moved);
        d.Action("muiLocalsWindow")->trigger();  // closes it
        QVERIFY(!frameOf(source_window::kLocals));
        QVERIFY(!d.Action("muiLocalsWindow")->isChecked());
        // From now on the .cdb comes with the program, as its labels do.
        tessaly::SimulationSettings settings = d.window->session().settings.Current();
        settings.autoLoadLabels = 1;
        d.window->session().settings.Accept(settings);

        d.Action("ateCloseFile")->trigger();
        QVERIFY(!frameOf(source_window::kSource));
        QVERIFY(!frameOf(source_window::kCallStack));
        QVERIFY(!d.Action("muiSourceWindow")->isChecked());
        d.window->session().OpenFileCommand(kExample / "c-printf.ihx");
        QVERIFY(frameOf(source_window::kSource));
        QCOMPARE(frameOf(source_window::kSource)->geometry(), moved);
        QVERIFY(frameOf(source_window::kCallStack));
        QVERIFY(!frameOf(source_window::kLocals));

        d.Action("ateExit")->trigger();
        QVERIFY(d.ended);
        const auto layout = tessaly::ReadWholeFile(d.dir.Path() / "inwpssz.wst");
        QVERIFY(layout);
        QCOMPARE(layout->size(), std::size_t{1536});
        const auto block = tessaly::EncodeWindowLayout(d.window->session().layout);
        QVERIFY(std::equal(block.begin(), block.end(), layout->begin(),
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
        tessaly::SourceWindowsLayout places;
        QVERIFY(tessaly::LoadSourceWindowsLayout(d.dir.Path() / "srcwnds.wst", places));
        QCOMPARE(places.entries[0], (tessaly::WindowLayoutEntry{{40, 30, 520, 380}, 1}));
        QCOMPARE(places.entries[1].visible, std::uint8_t{1});
        QCOMPARE(places.entries[2].visible, std::uint8_t{0});

        // The next start reopens the program, its .cdb with it, and the C
        // windows where they were.
        d.Start();
        QVERIFY(d.Source());
        QCOMPARE(frameOf(source_window::kSource)->geometry(), moved);
        QCOMPARE(d.Source()->Modules().currentText(), QString("c-printf.c"));
        QVERIFY(d.CallStack());
        QVERIFY(!d.Locals());
        QCOMPARE(d.Messages(), QStringList({"Exit from Tessaly ?"}));  // and nothing from the start
    }

    // A C file that is not beside the .cdb is asked for by its folder; a
    // folder without it says so and the window still offers to choose.
    void aSourceNotBesideTheCdbIsAskedForByItsFolder() {
        tessaly::test::ScratchDirectory program;
        for (const char* name : {"c-printf.ihx", "c-printf.cdb"}) {
            std::filesystem::copy_file(kExample / name, program.Path() / name);
        }
        QStringList asked;
        std::vector<std::filesystem::path> answers = {program.Path(), kExample};
        const auto answer = [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return;
            asked << dialog->windowTitle();
            dialog->setDirectory(QString::fromStdString(answers.front().string()));
            answers.erase(answers.begin());
            QTest::keyClick(dialog, Qt::Key_Return);
        };
        auto d = std::make_unique<CDesktop>(program.Path());
        // The window asks from the event loop, once it has shown itself.
        AnsweringModals(answer, [] { QTest::qWait(50); });
        SourceView* source = d->Source();
        QCOMPARE(asked, QStringList({"Where is c_printf.c?"}));
        QCOMPARE(d->Messages(), QStringList({"c_printf.c is not in " + QString::fromStdString(program.Path().string())}));
        QCOMPARE(source->Missing(),
                 QString("c_printf.c is not beside c-printf.cdb. Choose the folder that holds it."));

        AnsweringModals(answer, [&] { QTest::mouseClick(source->findChild<QPushButton*>("btnLocate"), Qt::LeftButton); });
        QCOMPARE(source->Missing(), QString());
        QCOMPARE(source->Text().document()->findBlockByNumber(20).text(), QString("    SBUF = (unsigned char)c;"));
        d->ClickMargin(21);
        d->Trigger("ateStartExecution");
        QCOMPARE(source->CurrentLine(), 21);
    }
};

TESSALY_UI_TEST(SourceDebuggingTest)
#include "SourceDebuggingTest.moc"
