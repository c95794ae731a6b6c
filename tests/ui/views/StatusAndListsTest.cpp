#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include "UiTestRegistry.h"
#include "dialogs/ListViewer.h"
#include "GeneralBench.h"
#include "views/ExecutionStatusView.h"
#include "views/MessageListView.h"

using tessaly::ui::ExecutionStatusView;
using tessaly::ui::ListViewer;
using tessaly::ui::MessageListView;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::GeneralBench;
using tessaly::ui::test::Text;
using tessaly::ui::test::WhenModal;

namespace {

using Strings = std::vector<std::string>;

// The status window's boxes in their order on the window.
QString Status(const ExecutionStatusView& view) {
    return QStringList{Child<QLineEdit>(view, "mmoCurrentInstruction")->text(),
                       Text(view, "edtCurrentOpcode"),
                       Text(view, "edtElapsedTime"),
                       Text(view, "edtInstructionsExecuted"),
                       Text(view, "edtCyclesExecuted"),
                       Text(view, "edtErrorsEncountered"),
                       Text(view, "edtWarningsReceived"),
                       Text(view, "edtPC")}
        .join('|');
}

QString BoxText(const QWidget& view, const char* name) { return Child<QPlainTextEdit>(view, name)->toPlainText(); }

}  // namespace

class StatusAndListsTest : public QObject {
    Q_OBJECT

private slots:
    // Counters, time and messages after two steps, then all back to zero
    // after Reset Execution; the "..." buttons lead to the history and the
    // message windows.
    void statusWindowFollowsTheMachine() {
        GeneralBench b;
        tessaly::test::LoadCode(b.p(), 0, {0x05, 0x30, 0xA5, 0x80, 0xFB});  // INC 30h; reserved; SJMP back
        ExecutionStatusView view(b.context, b.messages);
        QCOMPARE(view.windowTitle(), QString("Execution Status"));
        b.session->controller().SingleStep();
        b.session->controller().SingleStep();
        b.p().lstWarnings.Append("Receiption is disabled");
        view.Refresh();
        QCOMPARE(Status(view), QString("SJMP\t00000H|80 FB|Hour = 0 Min = 0 Sec = 0 mSec = 0 USec = 2|2|2|2|1|0003"));

        b.session->controller().ResetExecution();
        view.Refresh();
        QCOMPARE(Status(view), QString("INC\t030H|05 30|Hour = 0 Min = 0 Sec = 0 mSec = 0 USec = 0|0|0|0|0|0000"));
        QVERIFY(Child<QLineEdit>(view, "edtPC")->isEnabled());
        QVERIFY(!Child<QLineEdit>(view, "edtCyclesExecuted")->isEnabled());
        QVERIFY(Child<QLineEdit>(view, "edtElapsedTime")->isReadOnly());

        const auto* history = Child<QPushButton>(view, "btnViewExecutedInstructions");
        QCOMPARE(history->text(), QString("..."));
        QCOMPARE(history->toolTip(), QString("View executed instructions history"));
        QCOMPARE(Child<QPushButton>(view, "btnViewErrorsList")->toolTip(), QString("View Errors list"));
        QCOMPARE(Child<QPushButton>(view, "btnViewWarningsList")->toolTip(), QString("View Warnings list"));
        Click(view, "btnViewErrorsList");
        Click(view, "btnViewWarningsList");
        Click(view, "btnViewExecutedInstructions");
        QCOMPARE(b.toggled, std::vector<int>({8, 7}));
        QCOMPARE(b.listViewerShown, 1);
    }

    // A double-click on the program counter opens General Write on PC with
    // its value selected; writing 0100 moves the program counter, and the
    // next step executes there.
    void writingPcFromTheStatusWindow() {
        GeneralBench b;
        tessaly::test::LoadCode(b.p(), 0x0100, {0x04});  // INC A
        ExecutionStatusView view(b.context, b.messages);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QString opened;
        WhenModal([&] {
            auto& d = b.write;
            opened = Child<QComboBox>(d, "cobType")->currentText() + "," +
                     Child<QComboBox>(d, "cobName")->currentText() + "," +
                     Child<QLineEdit>(d, "edtHex")->selectedText();
            QTest::keyClicks(Child<QLineEdit>(d, "edtHex"), "0100");
            Click(d, "tlbWrite");
            Click(d, "tlbOK");
        });
        QTest::mouseDClick(Child<QLineEdit>(view, "edtPC"), Qt::LeftButton);
        QCoreApplication::processEvents();  // runs the act now had no dialog opened
        QCOMPARE(opened, QString("SFR Registers,PC,0000"));
        QCOMPARE(b.p().usPC, 0x0100);
        view.Refresh();
        QCOMPARE(Text(view, "edtPC"), QString("0100"));
        QCOMPARE(Child<QLineEdit>(view, "mmoCurrentInstruction")->text(), QString("INC\tA"));
        b.session->controller().SingleStep();
        QCOMPARE(b.p().usPC, 0x0101);
        QCOMPARE(b.p().ReadDirect(0xE0), 0x01);
        QVERIFY(b.messages.entries.empty());
    }

    // The Errors window grows with its list, keeping what the reader
    // selected, is rewritten when the list was emptied and refilled, and
    // Clear empties lstErrors, so the status window counts 0.
    void messageWindowsFollowTheirLists() {
        GeneralBench b;
        MessageListView errors(MessageListView::List::Errors, b.context);
        MessageListView warnings(MessageListView::List::Warnings, b.context);
        QCOMPARE(errors.windowTitle(), QString("Errors"));
        QCOMPARE(errors.Index(), 8);
        QCOMPARE(warnings.windowTitle(), QString("Warnings"));
        QCOMPARE(warnings.Index(), 7);
        QCOMPARE(Child<QToolButton>(errors, "tlbClear")->text(), QString("Clear"));
        QCOMPARE(Child<QToolButton>(warnings, "tlbClear")->text(), QString("Clear List"));
        QCOMPARE(Child<QToolButton>(errors, "tlbClear")->toolTip(), QString("Clear List"));
        QCOMPARE(Child<QToolButton>(errors, "tlbRefresh")->text(), QString("Refresh"));
        QCOMPARE(Child<QToolButton>(errors, "tlbRefresh")->toolTip(), QString("Refresh"));
        QCOMPARE(BoxText(errors, "rheErrors"), QString());

        tessaly::TextList& list = b.p().lstErrors;
        list.Append("Reserved Opcode encountered");
        list.Append("RETI encountered without an interrupt was in progress");
        errors.Refresh();
        auto* box = Child<QPlainTextEdit>(errors, "rheErrors");
        QCOMPARE(box->toPlainText(),
                 QString("Reserved Opcode encountered\nRETI encountered without an interrupt was in progress"));
        QTextCursor cursor(box->document());
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        list.Append("Reserved Opcode encountered");
        errors.Refresh();
        QCOMPARE(box->document()->blockCount(), 3);
        QCOMPARE(box->textCursor().selectedText(), QString("Reserved Opcode encountered"));  // appended, not rewritten

        list.Clear();
        list.Append("Invalid jmp ucExecutionStatus( 0 )");
        errors.Refresh();
        QCOMPARE(box->toPlainText(), QString("Invalid jmp ucExecutionStatus( 0 )"));

        b.p().lstWarnings.Append("Tramission baud rate is invalid");
        warnings.Refresh();
        QCOMPARE(BoxText(warnings, "rheWarnings"), QString("Tramission baud rate is invalid"));

        ExecutionStatusView status(b.context, b.messages);
        QCOMPARE(Text(status, "edtErrorsEncountered"), QString("1"));
        Click(errors, "tlbClear");
        QVERIFY(list.Empty());
        QCOMPARE(box->toPlainText(), QString());
        QCOMPARE(b.p().lstWarnings.Count(), 1u);
        status.Refresh();
        QCOMPARE(Text(status, "edtErrorsEncountered"), QString("0"));
        QCOMPARE(Text(status, "edtWarningsReceived"), QString("1"));
    }

    // The list viewer shows the history as it was at opening until Refresh;
    // Clear empties the history.
    void listViewerShowsAndClearsTheHistory() {
        GeneralBench b;
        ListViewer viewer(*b.session);
        QCOMPARE(viewer.windowTitle(), QString("List Viewer"));
        b.p().lstExecutedInstructions.Append("INC\t030H");
        b.p().lstExecutedInstructions.Append("SJMP\t0000H");
        QString shown, beforeRefresh, afterRefresh, afterClear;
        WhenModal([&] {
            shown = BoxText(viewer, "rheList");
            b.p().lstExecutedInstructions.Append("NOP");
            beforeRefresh = BoxText(viewer, "rheList");
            Click(viewer, "tlbRefresh");
            afterRefresh = BoxText(viewer, "rheList");
            Click(viewer, "tlbClear");
            afterClear = BoxText(viewer, "rheList");
            viewer.accept();
        });
        viewer.Run();
        QCOMPARE(shown, QString("INC\t030H\nSJMP\t0000H"));
        QCOMPARE(beforeRefresh, shown);
        QCOMPARE(afterRefresh, QString("INC\t030H\nSJMP\t0000H\nNOP"));
        QCOMPARE(afterClear, QString());
        QVERIFY(b.p().lstExecutedInstructions.Empty());
    }
};

TESSALY_UI_TEST(StatusAndListsTest)
#include "StatusAndListsTest.moc"
