#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <string>

#include "UiTestRegistry.h"
#include "control/Settings.h"
#include "control/SettingsEntry.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/SettingsDialog.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

using tessaly::MessageKind;
using tessaly::SettingsStore;
using tessaly::SimulationSettings;
using tessaly::test::MessageRecorder;
using tessaly::test::ScratchDirectory;
using tessaly::ui::SettingsDialog;
using tessaly::ui::test::Child;
using tessaly::ui::test::Click;
using tessaly::ui::test::WhenModal;

namespace {

QString Text(const SettingsDialog& dialog, const char* edit) { return Child<QLineEdit>(dialog, edit)->text(); }

// Replaces a field's text by typing, as a user who selected it all would.
void Retype(QWidget* field, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(field)) combo->clearEditText();
    else static_cast<QLineEdit*>(field)->clear();
    QTest::keyClicks(field, text);
}

SimulationSettings Customised() {
    SimulationSettings s;
    s.speedDelay = 30;
    s.instructionsPerTick = 77;
    s.refreshType = 3;
    s.crystalFrequency = 11592000.0;
    s.bulkStepCount = 5;
    s.stepTimeInUSec = 20;
    s.autoLoadLabels = 1;
    s.threadPriority = 6;
    s.priorityClass = 1;
    return s;
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    // The dialog's make-up and the default record as it shows it.
    void showsTheDefaultsOnTheSimulationPage() {
        ScratchDirectory dir;
        MessageRecorder messages;
        SettingsStore store(dir.Path(), messages);
        SettingsDialog dialog(store, messages);

        QCOMPARE(dialog.windowTitle(), QString("Tessaly Settings"));
        QCOMPARE(dialog.size(), QSize(546, 439));
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        auto* pages = Child<QTabWidget>(dialog, "pecSettings");
        QVERIFY(pages);
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QString("Simulation"));
        QCOMPARE(pages->tabText(1), QString("Advanced"));
        QCOMPARE(pages->widget(0)->objectName(), QString("tbsSimulation"));
        QCOMPARE(pages->widget(1)->objectName(), QString("TabSheet1"));

        auto* crystal = Child<QComboBox>(dialog, "cobCrystalFrequency");
        QStringList items;
        for (int i = 0; i < crystal->count(); ++i) items << crystal->itemText(i);
        QCOMPARE(items, QStringList({"24", "12", "11.592", "11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1"}));
        auto* refresh = Child<QComboBox>(dialog, "cobRefreshType");
        QCOMPARE(refresh->count(), 3);
        QVERIFY(!refresh->isEditable());
        QCOMPARE(refresh->itemText(2), QString("Manual refresh"));
        auto* speed = Child<QSlider>(dialog, "tkbSpeed");
        QCOMPARE(speed->minimum(), 1);
        QCOMPARE(speed->maximum(), 100);
        QCOMPARE(speed->pageStep(), 5);
        QCOMPARE(speed->tickInterval(), 5);
        QCOMPARE(Child<QSlider>(dialog, "tkbThreadPriority")->maximum(), 6);
        QCOMPARE(Child<QSlider>(dialog, "tkbPriorityClass")->maximum(), 3);
        QCOMPARE(Child<QLineEdit>(dialog, "edtInstructionsPerTick")->maxLength(), 10);
        QCOMPARE(Child<QPushButton>(dialog, "btnDefault")->text(), QString("Load Default"));

        // Run opens on the first page whatever page was left showing.
        pages->setCurrentIndex(1);
        int pageShown = -1;
        QString shown;
        WhenModal([&] {
            pageShown = pages->currentIndex();
            shown = QStringList({QString::number(speed->value()), Child<QLabel>(dialog, "lblSpeed")->text(),
                                 Text(dialog, "edtInstructionsPerTick"), refresh->currentText(), crystal->currentText(),
                                 Text(dialog, "edtBulkStepCount"), Text(dialog, "edtStepTimeInUSec"),
                                 Child<QCheckBox>(dialog, "ckbAutoLoadLabels")->isChecked() ? "on" : "off",
                                 QString::number(Child<QSlider>(dialog, "tkbThreadPriority")->value()),
                                 Child<QLabel>(dialog, "lblThread")->text(),
                                 QString::number(Child<QSlider>(dialog, "tkbPriorityClass")->value()),
                                 Child<QLabel>(dialog, "lblClass")->text()})
                        .join('|');
            dialog.reject();
        });
        QVERIFY(!dialog.Run());
        QCOMPARE(pageShown, 0);
        QCOMPARE(shown, QString("100|100%|1|Refresh after each instruction|12|100|1000|off|4|4|2|2"));
        QVERIFY(messages.entries.empty());
    }

    // The four checks in their order, each stopping OK with its plain message
    // and the record untouched; then acceptance and the saved file.
    void okChecksTheFieldsInOrder() {
        ScratchDirectory dir;
        MessageRecorder messages;
        SettingsStore store(dir.Path(), messages);
        SimulationSettings& settings = store.Live();
        SettingsDialog dialog(store, messages);
        dialog.show();
        auto* perTick = Child<QLineEdit>(dialog, "edtInstructionsPerTick");
        auto* crystal = Child<QComboBox>(dialog, "cobCrystalFrequency");
        auto* bulk = Child<QLineEdit>(dialog, "edtBulkStepCount");
        auto* stepTime = Child<QLineEdit>(dialog, "edtStepTimeInUSec");

        Retype(perTick, "");
        Retype(crystal, "1000");
        Retype(bulk, "");
        Retype(stepTime, "");
        const auto pressOk = [&](std::string_view expected) {
            const std::size_t before = messages.entries.size();
            Click(dialog, "btnOk");
            QCOMPARE(messages.entries.size(), before + 1);
            QCOMPARE(messages.entries.back().kind, MessageKind::Plain);
            QCOMPARE(messages.entries.back().text, std::string(expected));
            QVERIFY(dialog.isVisible());
            QVERIFY(settings == SimulationSettings{});
            QVERIFY(!std::filesystem::exists(tessaly::SettingsFilePath(dir.Path())));
        };
        pressOk(tessaly::kInstructionsPerTickMessage);
        QTest::keyClicks(perTick, "5");
        pressOk(tessaly::kCrystalFrequencyMessage);
        Retype(crystal, "0");
        pressOk(tessaly::kCrystalFrequencyMessage);
        Retype(crystal, "999.999");
        pressOk(tessaly::kBulkStepCountMessage);
        QTest::keyClicks(bulk, "7");
        pressOk(tessaly::kStepTimeMessage);
        if (QTest::currentTestFailed()) return;
        QTest::keyClicks(stepTime, "250");
        QTest::keyClick(Child<QSlider>(dialog, "tkbSpeed"), Qt::Key_Home);
        QCOMPARE(Child<QLabel>(dialog, "lblSpeed")->text(), QString("1%"));

        const std::size_t before = messages.entries.size();
        Click(dialog, "btnOk");
        QCOMPARE(messages.entries.size(), before);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.instructionsPerTick, 5u);
        QCOMPARE(settings.crystalFrequency, 999999000.0);
        QCOMPARE(settings.bulkStepCount, 7);
        QCOMPARE(settings.stepTimeInUSec, 250u);
        QCOMPARE(settings.speedDelay, 99u);
        SimulationSettings saved;
        QVERIFY(tessaly::LoadSettings(saved, dir.Path()));
        QVERIFY(saved == settings);
    }

    // The key filters drop what the fields cannot hold; a pasted count that
    // is too big still meets its field's check.
    void keyFiltersAndPaste() {
        ScratchDirectory dir;
        MessageRecorder messages;
        SettingsStore store(dir.Path(), messages);
        SimulationSettings& settings = store.Live();
        SettingsDialog dialog(store, messages);
        dialog.show();
        auto* bulk = Child<QLineEdit>(dialog, "edtBulkStepCount");
        Retype(bulk, "12a.3 -4");
        QCOMPARE(bulk->text(), QString("1234"));
        QTest::keyClick(bulk, Qt::Key_Backspace);
        QCOMPARE(bulk->text(), QString("123"));
        Retype(bulk, "123456789012");
        QCOMPARE(bulk->text(), QString("1234567890"));
        auto* crystal = Child<QComboBox>(dialog, "cobCrystalFrequency");
        Retype(crystal, "1x1.5e");
        QCOMPARE(crystal->currentText(), QString("11.5"));

        auto* stepTime = Child<QLineEdit>(dialog, "edtStepTimeInUSec");
        QApplication::clipboard()->setText("9999999999");
        stepTime->selectAll();
        stepTime->paste();
        QCOMPARE(stepTime->text(), QString("9999999999"));
        Retype(bulk, "3");
        Click(dialog, "btnOk");
        QCOMPARE(messages.entries.size(), std::size_t{1});
        QCOMPARE(messages.entries[0].text, std::string(tessaly::kStepTimeMessage));
        QVERIFY(settings == SimulationSettings{});

        // A settings file that cannot be written only costs its message.
        SettingsStore unwritable(dir.Path() / "missing" / "deeper", messages);
        SettingsDialog unsaved(unwritable, messages);
        unsaved.show();
        Click(unsaved, "btnOk");
        QCOMPARE(messages.entries.size(), std::size_t{2});
        QCOMPARE(messages.entries[1].text, std::string("An error occured while saving current settings"));
        QCOMPARE(unsaved.result(), int(QDialog::Accepted));
    }

    // Load Default acts on the live record at once; Cancel and the close box
    // both put the opening record back, and nothing is written.
    void loadDefaultThenCancelRestores() {
        ScratchDirectory dir;
        MessageRecorder messages;
        SettingsStore store(dir.Path(), messages);
        SimulationSettings& settings = store.Live();
        settings = Customised();
        QVERIFY(tessaly::SaveSettings(settings, dir.Path(), messages));
        const std::string fileBefore = dir.Read(tessaly::kSettingsFileName);
        SettingsDialog dialog(store, messages);

        bool defaultsLive = false;
        QString crystalShown;
        QString speedShown;
        WhenModal([&] {
            Click(dialog, "btnDefault");
            defaultsLive = settings == SimulationSettings{};
            crystalShown = Child<QComboBox>(dialog, "cobCrystalFrequency")->currentText();
            speedShown = Child<QLabel>(dialog, "lblSpeed")->text();
            Click(dialog, "btnCancel");
        });
        QVERIFY(!dialog.Run());
        QVERIFY(defaultsLive);
        QCOMPARE(crystalShown, QString("12"));
        QCOMPARE(speedShown, QString("100%"));
        QVERIFY(settings == Customised());
        QCOMPARE(dir.Read(tessaly::kSettingsFileName), fileBefore);

        QString customShown;
        WhenModal([&] {
            customShown = Child<QComboBox>(dialog, "cobCrystalFrequency")->currentText() + "|" +
                          Child<QLabel>(dialog, "lblSpeed")->text();
            Click(dialog, "btnDefault");
            dialog.close();
        });
        QVERIFY(!dialog.Run());
        QCOMPARE(customShown, QString("11.592|70%"));
        QVERIFY(settings == Customised());
        QCOMPARE(dir.Read(tessaly::kSettingsFileName), fileBefore);
        QVERIFY(messages.entries.empty());
    }

    // The status bar shows the hint of the control that has the focus.
    void focusShowsTheControlsHint() {
        ScratchDirectory dir;
        MessageRecorder messages;
        SettingsStore store(dir.Path(), messages);
        SettingsDialog dialog(store, messages);
        auto* status = Child<QStatusBar>(dialog, "ssbSettings");
        QVERIFY(status);

        QStringList hints;
        WhenModal([&] {
            dialog.activateWindow();
            if (QTest::qWaitForWindowActive(&dialog)) {
                for (const char* name : {"edtBulkStepCount", "cobCrystalFrequency", "btnCancel"}) {
                    Child<QWidget>(dialog, name)->setFocus();
                    hints << status->currentMessage();
                }
                Child<QTabWidget>(dialog, "pecSettings")->setCurrentIndex(1);
                Child<QWidget>(dialog, "tkbThreadPriority")->setFocus();
                hints << status->currentMessage();
            }
            dialog.reject();
        });
        dialog.Run();
        QCOMPARE(hints, QStringList({"Execute how many instruction per bulk step( 1 - 1000000000 )",
                                     "Choose from list or type any other value",
                                     "Do'nt current apply settings and close form", "Thread Priority"}));
    }
};

TESSALY_UI_TEST(SettingsDialogTest)

#include "SettingsDialogTest.moc"
