#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tessaly::ui::test {

// The child of `parent` with objectName `name`; the caller's QVERIFY checks
// it is there.
template <typename T>
T* Child(const QObject& parent, const char* name) {
    return parent.findChild<T*>(QLatin1String(name));
}

inline void Click(const QObject& parent, const char* buttonName) {
    if (auto* button = Child<QAbstractButton>(parent, buttonName)) button->click();
}

// Runs `act` once the next modal loop is running (a modal dialog about to be
// shown by the caller's next call). `act` must close the dialog it acts on;
// it records what it sees and the test compares after the dialog returned,
// so that a failed comparison can never leave a modal loop running.
inline void WhenModal(std::function<void()> act) { QTimer::singleShot(0, std::move(act)); }

}  // namespace tessaly::ui::test
