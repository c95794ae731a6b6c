#pragma once

#include <QAbstractItemView>
#include <QPointer>
#include <QTest>

#include <initializer_list>
#include <memory>
#include <vector>

#include "control/RunHost.h"
#include "session/Session.h"
#include "support/DesktopRecorder.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"
#include "views/ChildView.h"
#include "views/ViewContext.h"

namespace tessaly::ui::test {

// The main window's refresh of the child views, without the main window:
// RefreshViews refreshes every view registered, in order.
class ViewsRunHost : public RunHost {
public:
    void PumpEvents() override {}
    void RefreshViews() override {
        for (auto& view : views)
            if (view) view->Refresh();
    }
    void RefreshExternalRAMFully() override {
        ++fullRefreshes;
        for (auto& view : views)
            if (view && view->Index() == 3) view->RefreshFully();
    }
    void Sleep(std::uint32_t) override {}
    void SetStatusText(StatusPanel, std::string_view, bool) override {}
    void RunStateChanged(RunState) override {}

    std::vector<QPointer<ChildView>> views;
    int fullRefreshes = 0;
};

// A session on a scratch configuration directory with its messages
// recorded, a view context that records the locations the views ask the
// General Write dialog to open, and the views under test refreshed by the
// controller's RefreshViews.
struct ViewBench {
    tessaly::test::ScratchDirectory dir;
    tessaly::test::MessageRecorder messages;
    tessaly::test::DesktopRecorder desktop;
    ViewsRunHost run;
    std::unique_ptr<Session> session = std::make_unique<Session>(dir.Path(), messages, desktop, run);
    std::vector<Location> opened;
    ViewContext context{*session, [this](const Location& at) { opened.push_back(at); }, [](int) {}, [] {}};

    Processor& Machine() { return session->processor(); }

    // A view under test, shown, refreshed by RefreshViews from now on.
    template <class View>
    View* Open(View* view) {
        run.views.push_back(view);
        view->show();
        return view;
    }

    // Code at 0000h, then `steps` single steps (each refreshes the views).
    void Load(std::initializer_list<std::uint8_t> code) { tessaly::test::LoadCode(Machine(), 0, code); }
    void Step(int steps = 1) {
        for (int i = 0; i < steps; ++i) session->controller().SingleStep();
    }
};

// The text a grid shows in a cell.
inline QString CellText(const QAbstractItemView& grid, int row, int column) {
    return grid.model()->index(row, column).data().toString();
}

inline bool CellHighlighted(const QAbstractItemView& grid, int row, int column) {
    return grid.model()->index(row, column).data(Qt::BackgroundRole).isValid();
}

// A double-click as the mouse makes it: the first click presses the cell.
inline void DoubleClickCell(QAbstractItemView& grid, int row, int column) {
    const QPoint centre = grid.visualRect(grid.model()->index(row, column)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre);
}

}  // namespace tessaly::ui::test
