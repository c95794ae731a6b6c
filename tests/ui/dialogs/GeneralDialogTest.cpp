#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "UiTestRegistry.h"
#include "GeneralBench.h"

using tessaly::LocationKind;
using tessaly::ui::GeneralDialog;
using tessaly::ui::test::Child;
using tessaly::ui::test::Choose;
using tessaly::ui::test::Click;
using tessaly::ui::test::Edit;
using tessaly::ui::test::GeneralBench;
using tessaly::ui::test::Text;
using tessaly::ui::test::WhenModal;

namespace {

using Strings = std::vector<std::string>;

QCheckBox* Bit(const QWidget& dialog, int i) {
    return Child<QCheckBox>(dialog, qPrintable(QStringLiteral("ckbBit%1").arg(i)));
}

// The captions of the bit check boxes the dialog shows, bit 0 first.
QStringList ShownBitCaptions(const QWidget& dialog) {
    QStringList captions;
    for (int i = 0; i < 16; ++i) {
        if (Bit(dialog, i)->isVisibleTo(&dialog)) captions << Bit(dialog, i)->text();
    }
    return captions;
}

QStringList Numbered(const QString& prefix, int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i) texts << prefix + QString::number(i);
    return texts;
}

// What the value part of the dialog shows: "hex|decimal|hex length,decimal
// length|checked bits, bit 15 first, or the Bin box|status".
QString Shown(const QWidget& dialog) {
    QString bits;
    const auto* bin = Child<QCheckBox>(dialog, "ckbBin");
    if (bin->isVisibleTo(&dialog)) {
        bits = bin->isChecked() ? "bin1" : "bin0";
    } else {
        for (int i = 15; i >= 0; --i) {
            if (Bit(dialog, i)->isVisibleTo(&dialog)) bits += Bit(dialog, i)->isChecked() ? '1' : '0';
        }
    }
    const auto* status = Child<QStatusBar>(dialog, "ssbGeneralWrite");
    const QString description = status ? status->findChild<QLabel*>()->text() : QString();
    const QString lengths =
        QStringLiteral("%1,%2").arg(Edit(dialog, "edtHex")->maxLength()).arg(Edit(dialog, "edtDecimal")->maxLength());
    return QStringList{Text(dialog, "edtHex"), Text(dialog, "edtDecimal"), lengths, bits, description}.join('|');
}

}  // namespace

class GeneralDialogTest : public QObject {
    Q_OBJECT

private slots:
    // DPTR and T0 through the menu's dialog: four digits and sixteen bits
    // named Bit0..Bit15, typed in lower case, written high byte above low.
    void registerPairsWriteBothBytes() {
        GeneralBench b;
        b.p().WriteDirect(0x8B, 0x5A);  // TL1
        QString dptr, typed, t0;
        QStringList captions;
        bool highLabel = false;
        QString lowLabel;
        WhenModal([&] {
            auto& d = b.write;
            Choose(d, "cobName", "DPTR");
            dptr = Shown(d);
            captions = ShownBitCaptions(d);
            highLabel = Child<QLabel>(d, "lblHighByte")->isVisible();
            lowLabel = Child<QLabel>(d, "lblLowByte")->text();
            QTest::keyClicks(Edit(d, "edtHex"), "1234");
            typed = Shown(d);
            Click(d, "tlbWrite");
            Choose(d, "cobName", "T0");
            QTest::keyClicks(Edit(d, "edtHex"), "abcd");
            t0 = Shown(d);
            Click(d, "tlbWrite");
            Click(d, "tlbOK");
        });
        b.write.OpenFromMenu();
        QCOMPARE(b.write.windowTitle(), QString("General Write"));
        QCOMPARE(dptr, QString("0000|0|4,5|0000000000000000|Data pointer"));
        QCOMPARE(captions, Numbered("Bit", 16));
        QVERIFY(highLabel);
        QCOMPARE(lowLabel, QString("Lower Bits"));
        QCOMPARE(typed, QString("1234|4660|4,5|0001001000110100|Data pointer"));
        QCOMPARE(t0, QString("ABCD|43981|4,5|1010101111001101|Timer 0"));
        QCOMPARE(b.p().ReadDirect(0x83), 0x12);  // DPH
        QCOMPARE(b.p().ReadDirect(0x82), 0x34);  // DPL
        QCOMPARE(b.p().ReadDirect(0x8C), 0xAB);  // TH0
        QCOMPARE(b.p().ReadDirect(0x8A), 0xCD);  // TL0
        QCOMPARE(b.p().ReadDirect(0x8B), 0x5A);  // TL1 untouched
        QCOMPARE(b.runs.refreshes, 2);           // every write refreshes the views
        QVERIFY(b.messages.entries.empty());
    }

    // A bit-addressable register names its bits after their records, or by
    // register and number where there is none; SP's bits are Bit0..Bit7.
    void bitCaptionsFollowTheRegister() {
        GeneralBench b;
        auto& d = b.write;
        Choose(d, "cobName", "PSW");
        const QStringList psw = ShownBitCaptions(d);
        QCOMPARE(psw.size(), 8);
        QCOMPARE(psw[7], QString("CY-PSW.7 - Carry flag"));
        QCOMPARE(psw[6], QString("AC-PSW.6 - Auxiliary carry flag"));
        QCOMPARE(psw[1], QString("PSW.1"));
        QCOMPARE(Child<QLabel>(d, "lblLowByte")->text(), QString("Bits"));
        QVERIFY(!Child<QLabel>(d, "lblHighByte")->isVisibleTo(&d));
        Choose(d, "cobName", "SP");
        QCOMPARE(ShownBitCaptions(d), Numbered("Bit", 8));
        QCOMPARE(Shown(d), QString("07|7|2,3|00000111|Stack pointer"));
    }

    // Typing 300 into an 8-bit decimal box cuts it back to 30; a key that is
    // no digit is dropped; a bit click sets both boxes; typing 2 into a bit's
    // hex box empties it; the Bin box writes 1 or 0.
    void valueBoxesKeepToTheWidth() {
        GeneralBench b;
        auto& d = b.write;
        Choose(d, "cobName", "SP");
        QLineEdit* decimal = Edit(d, "edtDecimal");
        decimal->selectAll();
        QTest::keyClicks(decimal, "300");
        QCOMPARE(Shown(d), QString("1E|30|2,3|00011110|Stack pointer"));
        QCOMPARE(decimal->selectedText(), QString("30"));  // the next key replaces it
        decimal->end(false);
        QTest::keyClicks(decimal, "x");
        QCOMPARE(decimal->text(), QString("30"));
        Bit(d, 0)->click();
        QCOMPARE(Shown(d), QString("1F|31|2,3|00011111|Stack pointer"));
        QTest::mouseClick(Child<QLabel>(d, "lblLowByte"), Qt::LeftButton);
        QCOMPARE(Text(d, "edtHex"), QString("1F"));

        Choose(d, "cobType", "SFR Bits");
        QCOMPARE(Child<QComboBox>(d, "cobName")->currentText(), QString("IT0"));
        Choose(d, "cobName", "CY");
        QCOMPARE(Shown(d), QString("0|0|1,1|bin0|PSW.7 - Carry flag"));
        QLineEdit* hex = Edit(d, "edtHex");
        QTest::keyClicks(hex, "2");
        QCOMPARE(hex->text(), QString());
        QTest::keyClicks(hex, "1");
        QCOMPARE(Shown(d), QString("1|1|1,1|bin1|PSW.7 - Carry flag"));
        Child<QCheckBox>(d, "ckbBin")->click();
        QCOMPARE(Shown(d), QString("0|0|1,1|bin0|PSW.7 - Carry flag"));
        Child<QCheckBox>(d, "ckbBin")->click();
        Click(d, "tlbWrite");
        QCOMPARE(b.p().ReadDirect(0xD0) & 0x80, 0x80);
        QVERIFY(b.messages.entries.empty());
    }

    // Add pads a typed address and shows it so; a bit address beyond 7Fh is
    // refused with its message; a register goes in by its catalogue entry.
    void addPutsTheLocationInTheWatchList() {
        GeneralBench b;
        auto& d = b.write;
        QSignalSpy added(&d, &GeneralDialog::watchListChanged);
        Choose(d, "cobType", "External RAM");
        auto* name = Child<QComboBox>(d, "cobName");
        QCOMPARE(name->currentText(), QString("0000"));
        name->lineEdit()->selectAll();
        QTest::keyClicks(name, "1g2");
        QCOMPARE(name->currentText(), QString("12"));
        Click(d, "tlbAdd");
        QCOMPARE(name->currentText(), QString("0012"));
        QCOMPARE(name->lineEdit()->selectedText(), QString("0012"));

        Choose(d, "cobType", "Bit Memory");
        name->lineEdit()->selectAll();
        QTest::keyClicks(name, "80");
        QCOMPARE(Shown(d), QString("1|1|1,1|bin1|Bit Memory"));  // 80h is P0.0, set after reset
        Click(d, "tlbAdd");
        Choose(d, "cobType", "SFR Registers");
        Choose(d, "cobName", "ACC");
        Click(d, "tlbAdd");
        Click(d, "tlbAdd");
        QCOMPARE(b.session->lstActiveWatch.List().Lines(), Strings({"External RAM~|*0012", "SFR Registers~|*0000"}));
        QCOMPARE(b.Texts(), Strings({"Invalid Address\r\nPlease enter a valid address( 0-7F )"}));
        QCOMPARE(added.count(), 3);
    }

    // The read dialog shows and refreshes but edits nothing.
    void readDialogOnlyShows() {
        GeneralBench b;
        GeneralDialog read(GeneralDialog::Mode::Read, *b.session, b.messages);
        QCOMPARE(read.windowTitle(), QString("General Read"));
        QCOMPARE(read.objectName(), QString("TfrmGeneralRead"));
        QVERIFY(!Child<QToolButton>(read, "tlbWrite"));
        QCOMPARE(Child<QToolButton>(read, "tlbRead")->toolTip(), QString("Refresh"));
        QCOMPARE(Child<QToolButton>(read, "tlbAdd")->toolTip(), QString("Add to Active Watch"));
        QCOMPARE(Child<QToolButton>(read, "tlbOK")->toolTip(), QString("OK"));
        QVERIFY(Child<QStatusBar>(read, "ssbGeneralRead"));
        QVERIFY(Edit(read, "edtHex")->isReadOnly());
        QVERIFY(Edit(read, "edtDecimal")->isReadOnly());
        QVERIFY(!Bit(read, 0)->isEnabled());
        QVERIFY(!Child<QCheckBox>(read, "ckbBin")->isEnabled());
        QCOMPARE(Text(read, "edtHex"), QString("00"));  // ACC, the first register
        b.p().WriteDirect(0xE0, 0x5A);
        Click(read, "tlbRead");
        QCOMPARE(Text(read, "edtHex"), QString("5A"));
        QCOMPARE(Text(read, "edtDecimal"), QString("90"));
        QVERIFY(Bit(read, 6)->isChecked());
    }
};

TESSALY_UI_TEST(GeneralDialogTest)
#include "GeneralDialogTest.moc"
