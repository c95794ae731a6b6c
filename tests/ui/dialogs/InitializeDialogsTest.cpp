#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "UiTestRegistry.h"
#include "views/ViewTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/InitializeDialogs.h"
#include "views/BitMemoryView.h"
#include "views/ExternalRamView.h"
#include "views/InternalRamView.h"
#include "views/SfrView.h"

using tessaly::MessageKind;
using tessaly::ui::InitializeDialog;
using tessaly::ui::InitializeSfrRegisters;
using tessaly::ui::BitMemoryView;
using tessaly::ui::ExternalRamView;
using tessaly::ui::InitializeBitMemoryDialog;
using tessaly::ui::InitializeExtRamDialog;
using tessaly::ui::InitializeIntRamDialog;
using tessaly::ui::InternalRamView;
using tessaly::ui::SfrView;
using tessaly::ui::test::CellHighlighted;
using tessaly::ui::test::CellText;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::ViewBench;
using tessaly::ui::test::WhenModal;

namespace {

// What the dialog showed when it opened, and its value box after `keys`.
struct Entry {
    QString caption, label, preset, selected, typed;
};

// Runs `dialog`, types `keys` over its preset and presses `button`.
bool RunWith(InitializeDialog& dialog, const QString& keys, const char* button, Entry& seen) {
    WhenModal([&] {
        auto* value = Child<QLineEdit>(dialog, "edtValue");
        seen.caption = dialog.windowTitle();
        seen.label = dialog.findChild<QLabel*>()->text();
        seen.preset = value->text();
        seen.selected = value->selectedText();
        if (keys == "\b") QTest::keyClick(value, Qt::Key_Backspace);
        else QTest::keyClicks(value, keys);
        seen.typed = value->text();
        Click(dialog, button);
    });
    return dialog.Run();
}

QString Box(const QWidget& window, const char* name) { return Child<QLineEdit>(window, name)->text(); }

}  // namespace

class InitializeDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // Internal RAM: the value typed fills lower and upper RAM, so R0-R7
    // change in the SFR window while SP and the ports keep their values;
    // Cancel and an empty box fill nothing.
    void internalRamFill() {
        ViewBench b;
        auto sfrs = std::unique_ptr<SfrView>(b.Open(new SfrView(b.context, b.messages)));
        auto ram = std::unique_ptr<InternalRamView>(b.Open(new InternalRamView(b.context)));
        const auto* grid = Child<QAbstractItemView>(*ram, "sggIntRAM");
        InitializeIntRamDialog dialog(*b.session, b.messages);

        Entry seen;
        QVERIFY(!RunWith(dialog, "12", "btnCancel", seen));
        QCOMPARE(b.Machine().ReadDirect(0x00), 0x00);
        QVERIFY(RunWith(dialog, "a5g", "btnOK", seen));
        QCOMPARE(seen.caption, QString("Initialize Whole Internal RAM"));
        QCOMPARE(seen.label, QString("Value( Hex )"));
        QCOMPARE(seen.preset, QString("00"));
        QCOMPARE(seen.selected, QString("00"));
        QCOMPARE(seen.typed, QString("A5"));
        for (const char* r : {"edtR0", "edtR3", "edtR7"}) QCOMPARE(Box(*sfrs, r), QString("A5"));
        QCOMPARE(Box(*sfrs, "edtSP"), QString("07"));
        QCOMPARE(Box(*sfrs, "edtP0"), QString("FF"));
        QCOMPARE(CellText(*grid, 8, 0), QString("A5"));
        QCOMPARE(CellText(*grid, 15, 15), QString("A5"));

        QVERIFY(!RunWith(dialog, "\b", "btnOK", seen));
        QCOMPARE(seen.typed, QString());
        QCOMPARE(b.messages.entries.size(), std::size_t{1});
        QCOMPARE(b.messages.entries[0].text, std::string("'0x' is not a valid integer value"));
        QVERIFY(b.messages.entries[0].kind == MessageKind::Error);
        QCOMPARE(b.Machine().ReadDirect(0x00), 0xA5);
    }

    // External RAM: every byte takes the value and the window is rewritten
    // in full, so no cell is highlighted.
    void externalRamFill() {
        ViewBench b;
        auto xram = std::unique_ptr<ExternalRamView>(b.Open(new ExternalRamView(b.context)));
        const auto* grid = Child<QAbstractItemView>(*xram, "sggExtRAM");
        InitializeExtRamDialog dialog(*b.session, b.messages);
        Entry seen;
        QVERIFY(RunWith(dialog, "7e", "btnOK", seen));
        QCOMPARE(seen.caption, QString("Initialize Whole External RAM"));
        QCOMPARE(b.run.fullRefreshes, 1);
        QCOMPARE(b.Machine().ReadExtRAM(0x0000), 0x7E);
        QCOMPARE(b.Machine().ReadExtRAM(0xFFFF), 0x7E);
        QCOMPARE(CellText(*grid, 0, 0), QString("7E"));
        QCOMPARE(CellText(*grid, 4095, 15), QString("7E"));
        QVERIFY(!CellHighlighted(*grid, 4095, 15));
    }

    // Bit memory takes 0 or 1 only; 1 makes bytes 20h-2Fh FFh. An empty box
    // tries the empty text.
    void bitMemoryFill() {
        ViewBench b;
        auto bits = std::unique_ptr<BitMemoryView>(b.Open(new BitMemoryView(b.context)));
        const auto* grid = Child<QAbstractItemView>(*bits, "sggBitMemory");
        InitializeBitMemoryDialog dialog(*b.session, b.messages);
        Entry seen;
        QVERIFY(RunWith(dialog, "2a1", "btnOK", seen));
        QCOMPARE(seen.caption, QString("Initialize Whole Bit Memory"));
        QCOMPARE(seen.label, QString("Value"));
        QCOMPARE(seen.preset, QString("0"));
        QCOMPARE(seen.selected, QString("0"));
        QCOMPARE(seen.typed, QString("1"));
        QCOMPARE(b.Machine().ReadDirect(0x1F), 0x00);
        QCOMPARE(b.Machine().ReadDirect(0x20), 0xFF);
        QCOMPARE(b.Machine().ReadDirect(0x2F), 0xFF);
        QCOMPARE(b.Machine().ReadDirect(0x30), 0x00);
        QCOMPARE(CellText(*grid, 15, 7), QString(" 1"));

        QVERIFY(!RunWith(dialog, "\b", "btnOK", seen));
        QCOMPARE(b.messages.entries.size(), std::size_t{1});
        QCOMPARE(b.messages.entries[0].text, std::string("'' is not a valid integer value"));
    }

    // SFR Registers: nothing on No; on Yes every SFR takes its power-on value
    // and the program counter 0000h.
    void sfrRegistersToPowerOnValues() {
        ViewBench b;
        auto sfrs = std::unique_ptr<SfrView>(b.Open(new SfrView(b.context, b.messages)));
        b.Load({0x75, 0x80, 0x12, 0x75, 0x81, 0x40});  // MOV P0,#12h; MOV SP,#40h
        b.Step(2);
        b.messages.answers = {false, true};
        InitializeSfrRegisters(*b.session, b.messages);
        QCOMPARE(Box(*sfrs, "edtP0"), QString("12"));
        QCOMPARE(b.Machine().usPC, 6);
        InitializeSfrRegisters(*b.session, b.messages);
        QCOMPARE(Box(*sfrs, "edtP0"), QString("FF"));
        QCOMPARE(Box(*sfrs, "edtSP"), QString("07"));
        QCOMPARE(b.Machine().usPC, 0);
        QCOMPARE(b.messages.entries.size(), std::size_t{2});
        for (const auto& entry : b.messages.entries) {
            QCOMPARE(entry.text, std::string("Load power on reset values to SFR Registers ?"));
            QVERIFY(entry.kind == MessageKind::Confirmation && entry.question);
        }
    }
};

TESSALY_UI_TEST(InitializeDialogsTest)
#include "InitializeDialogsTest.moc"
