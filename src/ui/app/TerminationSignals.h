#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tessaly::ui {

// SIGTERM, SIGINT and SIGHUP (a desktop session ending, Ctrl+C in the
// terminal that started the program) reach `onSignal` on the event loop,
// where it is safe to save and quit; the handler itself only writes a byte.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tessaly::ui
