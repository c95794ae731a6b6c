#pragma once

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly::ui::test {

// A child view that counts how often it was asked to refresh and remembers
// the instruction count it last showed.
class CountingView : public ChildView {
public:
    CountingView(int index, const tessaly::Processor* const* machine)
        : ChildView(index, tessaly::ui::kChildViewCaptions[index]), machine_(machine) {}
    void Refresh() override {
        ++refreshes;
        if (*machine_) shownInstructions = (*machine_)->ullInstructionsExecuted;
    }
    int refreshes = 0;
    std::uint64_t shownInstructions = 0;

private:
    const tessaly::Processor* const* machine_;
};

// A main window on a scratch configuration directory, its messages recorded
// and its views counting (or the program's own views); a program "loop.bin"
// (INC 30h; SJMP back) beside it.
struct Desktop {
    enum class Views { Counting, Real };

    tessaly::test::ScratchDirectory dir;
    tessaly::test::MessageRecorder messages;
    bool ended = false;
    const tessaly::Processor* machine = nullptr;
    std::unique_ptr<MainWindow> window;
    Views views;

    explicit Desktop(Views v = Views::Counting) : views(v) { Start(); }
    // Starts the program as its command line would, with `file` named there.
    void Start(const QString& file = {}) {
        ChildViewFactory factory;
        if (views == Views::Counting) {
            factory = [this](int index) { return static_cast<ChildView*>(new CountingView(index, &machine)); };
        }
        window = std::make_unique<MainWindow>(MainWindow::Options{dir.Path(), &messages, factory});
        machine = &window->session().processor();
        window->endProcess = [this] { ended = true; };
        window->StartUp(file);
    }
    QString Program() const {
        std::ofstream(dir.Path() / "loop.bin", std::ios::binary) << std::string("\x05\x30\x80\xFC", 4);
        return QString::fromStdString((dir.Path() / "loop.bin").string());
    }
    // Commands by the names the program gives them, as a script would find them.
    QAction* Action(const char* name) {
        QAction* action = window->actions().Find(name);
        if (!action) qFatal("no command named %s", name);
        return action;
    }
    CountingView* View(int index) { return static_cast<CountingView*>(window->views().View(index)); }
    QString Panel(int index) { return window->panel(index).text(); }
    tessaly::Processor& Machine() { return window->session().processor(); }
};

}  // namespace tessaly::ui::test

namespace tessaly::ui::test {

// Runs `command`, handing every modal window that comes up meanwhile (a file
// dialog, a question) once to `answer`, as a user at the keyboard would. The
// answer runs from the event loop, so a window it opens is answered too.
inline void AnsweringModals(const std::function<void(QWidget*)>& answer, const std::function<void()>& command) {
    QTimer poll;
    poll.setInterval(10);
    QList<QPointer<QWidget>> answered;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || answered.contains(modal)) return;
        answered.append(modal);
        QTimer::singleShot(0, modal, [&answer, modal] { answer(modal); });
    });
    poll.start();
    command();
    poll.stop();
}

}  // namespace tessaly::ui::test
