#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "UiTestRegistry.h"
#include "ViewTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/SendByteDialog.h"
#include "views/TerminalView.h"

using tessaly::MessageKind;
using tessaly::ui::SendByteDialog;
using tessaly::ui::TerminalView;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::ViewBench;
using tessaly::ui::test::WhenModal;

namespace {

QString Text(const QWidget& window, const char* name) {
    if (const auto* pane = Child<QPlainTextEdit>(window, name)) return pane->toPlainText();
    if (const auto* box = Child<QLineEdit>(window, name)) return box->text();
    if (const auto* label = Child<QLabel>(window, name)) return label->text();
    return QString("(no %1)").arg(name);
}

void ShowAs(const QWidget& window, const char* combo, const char* format) {
    if (auto* box = Child<QComboBox>(window, combo)) box->setCurrentText(format);
}

}  // namespace

class TerminalViewTest : public QObject {
    Q_OBJECT
private slots:
    // Gone back in time, each pane shows its record as it was then, and the
    // bytes sent again going forward appear once.
    void panesFollowTheMachineBackInTime() {
        ViewBench b;
        b.Load({0x74, 0x41, 0xF5, 0x99,    // MOV A,#41h; MOV SBUF,A
                0x74, 0x42, 0xF5, 0x99});  // 42h
        b.session->History().Restart(b.Machine());
        SendByteDialog sendByte(*b.session, b.messages);
        auto terminal = std::make_unique<TerminalView>(b.context, sendByte);
        b.Open(terminal.get());
        b.Step(4);
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("41 42 "));
        b.session->StepBack(2);
        QCOMPARE(b.Machine().ullInstructionsExecuted, std::uint64_t{2});
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("41 "));
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("1"));
        b.Step(2);
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("41 42 "));
    }

    // Bytes a program sends and receives, in hex and as text; the text choice
    // is kept for the next terminal, which shows every byte again; clearing
    // one record leaves the other alone.
    void panesFollowTheSerialPort() {
        ViewBench b;
        b.Load({0x74, 0x41, 0xF5, 0x99,  // MOV A,#41h; MOV SBUF,A
                0x74, 0x42, 0xF5, 0x99,  // 42h
                0x74, 0x0D, 0xF5, 0x99,  // CR
                0x74, 0x0A, 0xF5, 0x99,  // LF
                0x74, 0x43, 0xF5, 0x99,  // 43h
                0x75, 0x98, 0x10,        // MOV SCON,#10h: mode 0, REN
                0x75, 0x99, 0x44,        // MOV SBUF,#44h: a plain store
                0xE5, 0x99});            // MOV A,SBUF: receives 44h
        SendByteDialog sendByte(*b.session, b.messages);
        auto terminal = std::make_unique<TerminalView>(b.context, sendByte);
        b.Open(terminal.get());
        QCOMPARE(terminal->windowTitle(), QString("Terminal Window"));
        QCOMPARE(Text(*terminal, "edtTransmitBR"), QString("1000000"));
        QCOMPARE(Text(*terminal, "edtReceiveBR"), QString("1000000"));
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("0"));
        QCOMPARE(Child<QComboBox>(*terminal, "cobTxFormat")->currentText(), QString("Hex"));

        b.Step(4);
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("41 42 "));
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("2"));
        ShowAs(*terminal, "cobTxFormat", "Text");
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("AB"));
        b.Step(6);  // CR and LF arrive at separate refreshes: one line break
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("AB\nC"));
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("5"));
        b.Step(3);
        QCOMPARE(Text(*terminal, "rheReceive"), QString("44 "));
        QCOMPARE(Text(*terminal, "lblRxCount"), QString("1"));

        terminal.reset();
        terminal = std::make_unique<TerminalView>(b.context, sendByte);
        b.Open(terminal.get());
        QCOMPARE(Child<QComboBox>(*terminal, "cobTxFormat")->currentText(), QString("Text"));
        QCOMPARE(Child<QComboBox>(*terminal, "cobRxFormat")->currentText(), QString("Hex"));
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("AB\nC"));
        QCOMPARE(Text(*terminal, "rheReceive"), QString("44 "));
        ShowAs(*terminal, "cobTxFormat", "Hex");
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("41 42 0D 0A 43 "));

        Click(*terminal, "tlbClearTxBuffer");
        QCOMPARE(Text(*terminal, "rheTransmit"), QString());
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("0"));
        QCOMPARE(b.Machine().iTxLogPos, 0);
        QCOMPARE(b.Machine().ucTxLog[0], 0);
        QCOMPARE(Text(*terminal, "rheReceive"), QString("44 "));
        QCOMPARE(Text(*terminal, "lblRxCount"), QString("1"));
        QCOMPARE(b.Machine().ReadDirect(0x99), 0x44);  // SBUF untouched
    }

    // Forty bytes sent one at a time read back as forty "hh " groups in one
    // line of text, which the pane wraps at its width only on screen; drawn
    // again from the record, the text is the same.
    void hexPaneTextIsTheBytesWithoutBreaks() {
        ViewBench b;
        b.Load({0x7F, 0x28,         // MOV R7,#40
                0x74, 0x48,         // MOV A,#48h
                0xF5, 0x99,         // MOV SBUF,A
                0x04,               // INC A
                0xDF, 0xFB});       // DJNZ R7,back to MOV SBUF
        SendByteDialog sendByte(*b.session, b.messages);
        TerminalView terminal(b.context, sendByte);
        b.Open(&terminal);
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
        b.Step(2 + 40 * 3);
        QString expected;
        for (int byte = 0x48; byte < 0x48 + 40; ++byte) expected += QString("%1 ").arg(byte, 2, 16).toUpper();
        QVERIFY(expected.startsWith("48 49 4A ") && expected.endsWith(" 6F "));

        auto* pane = Child<QPlainTextEdit>(terminal, "rheTransmit");
        QCOMPARE(pane->toPlainText(), expected);
        QCOMPARE(Text(terminal, "lblTxCount"), QString("40"));
        QVERIFY(pane->document()->firstBlock().layout()->lineCount() > 1);
        ShowAs(terminal, "cobTxFormat", "Text");
        ShowAs(terminal, "cobTxFormat", "Hex");
        QCOMPARE(pane->toPlainText(), expected);
    }

    // Send Byte from the terminal's tool bar: an empty box sends nothing, a
    // lower-case digit turns upper case and goes out as the program would
    // send it; with no valid transmit rate it is refused with a message and
    // nothing is recorded.
    void sendByteThroughTheTransmitPath() {
        ViewBench b;
        b.Load({0x75, 0x98, 0x40});  // MOV SCON,#40h: mode 1 with no timer running
        SendByteDialog sendByte(*b.session, b.messages);
        QCOMPARE(sendByte.windowTitle(), QString("Send Byte to Serial Port"));
        auto terminal = std::make_unique<TerminalView>(b.context, sendByte);
        b.Open(terminal.get());

        QString typed;
        WhenModal([&] {
            auto* value = Child<QLineEdit>(sendByte, "edtValue");
            Click(sendByte, "btbSend");  // an empty box sends nothing
            QTest::keyClicks(value, "a");
            typed = value->text();
            Click(sendByte, "btbSend");
            Click(sendByte, "BitBtn2");
        });
        Click(*terminal, "tlbTransmitByte");
        QCOMPARE(typed, QString("A"));
        QCOMPARE(b.Machine().iTxLogPos, 1);
        QCOMPARE(b.Machine().ucTxLog[0], 0x0A);
        QCOMPARE(b.Machine().ReadDirect(0x99), 0x0A);
        QCOMPARE(Text(*terminal, "rheTransmit"), QString("0A "));
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("1"));
        QVERIFY(b.messages.entries.empty());

        b.Step();
        QCOMPARE(Text(*terminal, "edtTransmitBR"), QString("Unknown Baud rate"));
        QCOMPARE(Text(*terminal, "edtReceiveBR"), QString("Unknown Baud rate"));
        WhenModal([&] {
            Click(sendByte, "btbSend");
            sendByte.accept();
        });
        sendByte.exec();
        QCOMPARE(b.messages.entries.size(), std::size_t{1});
        QCOMPARE(b.messages.entries[0].text, std::string("Transmit baud rate is invalid"));
        QVERIFY(b.messages.entries[0].kind == MessageKind::Plain);
        QCOMPARE(b.Machine().iTxLogPos, 1);
        QCOMPARE(Text(*terminal, "lblTxCount"), QString("1"));
    }
};

TESSALY_UI_TEST(TerminalViewTest)
#include "TerminalViewTest.moc"
