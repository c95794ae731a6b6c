#pragma once

#include <QObject>
#include <functional>
#include <vector>

// Every Qt Test class of the widget tests registers itself here; one main
// runs them all in one QApplication.
namespace tessaly::ui::test {

using TestFactory = std::function<QObject*()>;

inline std::vector<TestFactory>& Registry() {
    static std::vector<TestFactory> factories;
    return factories;
}

struct Registration {
    explicit Registration(TestFactory factory) { Registry().push_back(std::move(factory)); }
};

}  // namespace tessaly::ui::test

#define TESSALY_UI_TEST(Class) \
    static const tessaly::ui::test::Registration registration##Class([] { return static_cast<QObject*>(new Class); });
