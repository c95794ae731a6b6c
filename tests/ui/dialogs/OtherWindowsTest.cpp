#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "UiTestRegistry.h"
#include "dialogs/AboutBox.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/LabelsProgressWindow.h"
#include "dialogs/WelcomeScreen.h"

using tessaly::ui::AboutBox;
using tessaly::ui::LabelsProgressWindow;
using tessaly::ui::WelcomeScreen;
using tessaly::ui::test::Child;
using tessaly::ui::test::WhenModal;

namespace {

QStringList LabelTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) texts << label->text();
    }
    return texts;
}

}  // namespace

class OtherWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // The importers' window through the interface they drive it by.
    void labelsProgressFollowsTheImporter() {
        LabelsProgressWindow window;
        tessaly::ImportProgress& progress = window;
        QCOMPARE(window.windowTitle(), QString("Progress"));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(LabelTexts(window), QStringList({"Loading Labels         Please Wait"}));
        auto* bar = Child<QProgressBar>(window, "psbProgressBar");
        QVERIFY(bar);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);

        progress.SetPosition(0);
        progress.Show();
        QVERIFY(window.isVisible());
        progress.SetPosition(37);
        QCOMPARE(bar->value(), 37);
        progress.Show();
        progress.Hide();
        QVERIFY(!window.isVisible());

        window.setGeometry(186, 228, 428, 143);
        QCOMPARE(window.geometry(), QRect(186, 228, 428, 143));
    }

    void aboutBoxClosesWithOk() {
        AboutBox about;
        QCOMPARE(about.windowTitle(), QString("About Tessaly"));
        QStringList texts = LabelTexts(about);
        QCOMPARE(texts, QStringList({"Tessaly", "Version 2.0.0.196"}));
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            QCOMPARE(label->font().pixelSize(), 19);
            QVERIFY(label->font().bold());
        }
        auto* ok = about.findChild<QPushButton*>();
        QVERIFY(ok);
        QCOMPARE(ok->text(), QString("OK"));
        WhenModal([ok] { ok->click(); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }

    // Borderless, on top, 450 by 337, and a picture that is more than a
    // plain fill: the chip and the light title stand out of the background.
    void welcomeScreenPicture() {
        WelcomeScreen welcome;
        QCOMPARE(welcome.size(), QSize(450, 337));
        QVERIFY(welcome.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(welcome.windowFlags() & Qt::WindowStaysOnTopHint);
        const QImage picture = WelcomeScreen::Picture(welcome.size());
        QCOMPARE(picture.size(), QSize(450, 337));
        const QColor corner = picture.pixelColor(10, 10);
        const QColor chip = picture.pixelColor(150, 100);
        QVERIFY(corner.lightness() < 80);
        QVERIFY(qAbs(chip.lightness() - corner.lightness()) > 10);
        int bright = 0;
        for (int x = 120; x < 330; ++x) bright += picture.pixelColor(x, 228).lightness() > 200;
        QVERIFY(bright > 10);
    }
};

TESSALY_UI_TEST(OtherWindowsTest)

#include "OtherWindowsTest.moc"
