#include <QApplication>
#include <QTest>
#include <memory>

#include "UiTestRegistry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Tessaly");
    int failed = 0;
    for (const auto& factory : tessaly::ui::test::Registry()) {
        std::unique_ptr<QObject> test(factory());
        failed += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
    }
    return failed;
}
