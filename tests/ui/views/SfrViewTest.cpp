#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "UiTestRegistry.h"
#include "ViewTestSupport.h"
#include "control/Location.h"
#include "views/SfrView.h"

using tessaly::Location;
using tessaly::LocationKind;
using tessaly::LocationName;
using tessaly::ui::SfrView;
using tessaly::ui::test::ViewBench;

namespace {

QString Box(const QWidget& window, const char* name) {
    const auto* box = window.findChild<QLineEdit*>(name);
    return box ? box->text() : QString("(no %1)").arg(name);
}

QColor FlagColour(const QWidget& window, const char* name) {
    const auto* flag = window.findChild<QLabel*>(name);
    return flag ? flag->palette().color(QPalette::WindowText) : QColor();
}

}  // namespace

class SfrViewTest : public QObject {
    Q_OBJECT
private slots:
    // Every box with its digits after a reset; the flags' captions.
    void boxesAndFlagsAfterReset() {
        ViewBench b;
        SfrView window(b.context, b.messages);
        QCOMPARE(window.windowTitle(), QString("SFRs window"));
        const std::pair<const char*, const char*> expected[] = {
            {"edtACC", "00"},  {"edtB", "00"},    {"edtR0", "00"},    {"edtR7", "00"},     {"edtTMOD", "00"},
            {"edtTCON", "00"}, {"edtT2CON", "00"}, {"edtT0", "0000"}, {"edtT1", "0000"},   {"edtT2", "0000"},
            {"edtRCAP2", "0000"}, {"edtPSW", "00"}, {"edtSP", "07"},  {"edtIE", "00"},     {"edtIP", "00"},
            {"edtPCON", "00"}, {"edtSBUF", "00"}, {"edtSCON", "00"},  {"edtDPTR", "0000"}, {"edtP0", "FF"},
            {"edtP1", "FF"},   {"edtP2", "FF"},   {"edtP3", "FF"},
        };
        for (const auto& [name, text] : expected) QCOMPARE(Box(window, name), QString(text));
        QVERIFY(window.findChild<QLineEdit*>("edtACC")->isReadOnly());
        for (const char* flag : {"CY", "AC", "OV", "P", "RS1", "RS0"}) {
            const auto* label = window.findChild<QLabel*>(QString("lbl") + flag);
            QVERIFY2(label && label->text() == flag, flag);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
        }
    }

    // With bank 3 selected R0 is internal RAM 18h, and opens there; register
    // boxes open their catalogue record, flags their bit; only what changed
    // is highlighted.
    void bankThreeRegistersFlagsAndDoubleClicks() {
        ViewBench b;
        b.Load({0x75, 0xD0, 0x18,  // MOV PSW,#18h
                0x78, 0x77,        // MOV R0,#77h
                0x74, 0x01,        // MOV A,#01h
                0x00});            // NOP
        auto window = std::unique_ptr<SfrView>(b.Open(new SfrView(b.context, b.messages)));
        b.Step(2);
        QCOMPARE(Box(*window, "edtR0"), QString("77"));
        QCOMPARE(b.Machine().ReadDirect(0x18), 0x77);
        QCOMPARE(FlagColour(*window, "lblRS1"), QColor(Qt::red));
        QCOMPARE(FlagColour(*window, "lblRS0"), QColor(Qt::red));
        QCOMPARE(FlagColour(*window, "lblCY"), QColor(Qt::blue));

        b.Step();
        auto* acc = window->findChild<QLineEdit*>("edtACC");
        auto* psw = window->findChild<QLineEdit*>("edtPSW");
        auto* r0 = window->findChild<QLineEdit*>("edtR0");
        QCOMPARE(acc->text(), QString("01"));
        QCOMPARE(psw->text(), QString("19"));  // parity follows A
        QVERIFY(SfrView::IsHighlighted(*acc));
        QVERIFY(SfrView::IsHighlighted(*psw));
        QVERIFY(!SfrView::IsHighlighted(*r0));
        QCOMPARE(FlagColour(*window, "lblP"), QColor(Qt::red));
        b.Step();
        QVERIFY(!SfrView::IsHighlighted(*acc));

        QTest::mouseDClick(r0, Qt::LeftButton);
        QTest::mouseDClick(acc, Qt::LeftButton);
        QTest::mouseDClick(window->findChild<QLineEdit*>("edtRCAP2"), Qt::LeftButton);
        QTest::mouseDClick(window->findChild<QLabel*>("lblCY"), Qt::LeftButton);
        QTest::keyClick(window->findChild<QLineEdit*>("edtB"), Qt::Key_Return);
        QCOMPARE(b.opened.size(), std::size_t{5});
        QCOMPARE(b.opened[0], (Location{LocationKind::InternalRAM, 0x18}));
        QCOMPARE(b.opened[1], (Location{LocationKind::SfrRegister, 0}));
        QCOMPARE(b.opened[2], (Location{LocationKind::SfrRegister, 20}));
        QCOMPARE(b.opened[3], (Location{LocationKind::SfrBit, 73}));
        QCOMPARE(LocationName(b.Machine(), b.opened[2]), std::string("RCAP2"));
        QCOMPARE(LocationName(b.Machine(), b.opened[3]), std::string("CY"));
        QCOMPARE(LocationName(b.Machine(), b.opened[4]), std::string("B"));
        QVERIFY(b.messages.entries.empty());
    }
};

TESSALY_UI_TEST(SfrViewTest)
#include "SfrViewTest.moc"
