// tessaly [FILE] [--no-welcome]: the desktop program. FILE (.hex, .ihx, .bin
// or .slf) is opened once start-up is done.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>

#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "dialogs/WelcomeScreen.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessaly");
    QApplication::setWindowIcon(tessaly::ui::ResourceIcon("tessaly"));

    bool welcomePause = true;
    QString file;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        if (argument == "--no-welcome") welcomePause = false;
        else if (file.isEmpty()) file = argument;
    }

    const QString configDirectory = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configDirectory);

    tessaly::ui::MainWindow window({std::filesystem::path(configDirectory.toStdString()), nullptr, {}});
    // Ended from outside: saved as at Exit, without the question.
    tessaly::ui::TerminationSignals termination([&window] {
        window.SaveExitState();
        // exit(), not quit(): quit() would first ask every window to close.
        QApplication::exit(0);
    });
    tessaly::ui::WelcomeScreen welcome;
    welcome.show();

    // The one-shot start-up timer: the welcome screen for three seconds, then
    // the layout, the workspace and the program of the last exit.
    QTimer::singleShot(1, &window, [&] {
        if (welcomePause) {
            QEventLoop pause;
            QTimer::singleShot(3000, &pause, &QEventLoop::quit);
            pause.exec(QEventLoop::ExcludeUserInputEvents);
        }
        welcome.hide();
        window.StartUp(file.isEmpty() ? QString() : QDir::current().absoluteFilePath(file));
    });
    return app.exec();
}
