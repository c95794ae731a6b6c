#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "persistence/LayoutWindows.h"
#include "support/ScratchDirectory.h"

namespace tessaly {
namespace {

// Windows as plain data; every change is logged.
class FakeWindows : public LayoutWindows {
public:
    std::array<bool, 22> open{};   // child views 0-8
    std::array<bool, 22> shown{};  // windows 9-21
    std::array<WindowBounds, 22> bounds{};
    std::vector<std::string> log;

    bool IsChildOpen(std::size_t i) const override { return open.at(i); }
    void OpenChild(std::size_t i) override {
        open.at(i) = true;
        log.push_back("open " + std::to_string(i));
    }
    void CloseChild(std::size_t i) override {
        open.at(i) = false;
        log.push_back("close " + std::to_string(i));
    }
    WindowBounds Bounds(std::size_t i) const override { return bounds.at(i); }
    void SetBounds(std::size_t i, const WindowBounds& b) override {
        bounds.at(i) = b;
        log.push_back("place " + std::to_string(i));
    }
    bool IsShown(std::size_t i) const override { return shown.at(i); }
    void SetShown(std::size_t i, bool s) override {
        shown.at(i) = s;
        log.push_back((s ? "show " : "hide ") + std::to_string(i));
    }
};

bool Has(const std::vector<std::string>& log, const std::string& call) {
    return std::find(log.begin(), log.end(), call) != log.end();
}

TEST(ApplyWindowLayout, OpensPlacesAndClosesChildViewsAsRecorded) {
    WindowLayout layout;
    LoadDefaultLayout(layout);
    layout.entries[2].visible = 0;  // internal RAM recorded closed
    layout.entries[3].visible = 0;  // external RAM recorded closed
    FakeWindows windows;
    windows.open[1] = true;  // SFR window already open
    windows.open[3] = true;  // external RAM open, must close
    ApplyWindowLayout(layout, windows);

    EXPECT_TRUE(Has(windows.log, "open 0"));
    EXPECT_TRUE(Has(windows.log, "place 1"));
    EXPECT_FALSE(Has(windows.log, "open 1"));
    EXPECT_FALSE(Has(windows.log, "open 2"));
    EXPECT_FALSE(Has(windows.log, "place 2"));
    EXPECT_TRUE(Has(windows.log, "close 3"));
    EXPECT_EQ(windows.bounds[1].left, 1);
    EXPECT_EQ(windows.bounds[1].height, 281);
}

TEST(ApplyWindowLayout, WithoutAStartupFileChildViewsOpenAndOtherWindowsHide) {
    test::ScratchDirectory dir;
    WindowLayout layout;
    ASSERT_FALSE(LoadStartupLayout(dir.Path(), layout));
    FakeWindows windows;
    windows.shown.fill(true);
    ApplyWindowLayout(layout, windows);
    for (std::size_t i = 0; i < 9; ++i) EXPECT_TRUE(windows.open[i]) << i;
    for (std::size_t i = 9; i < 22; ++i) {
        EXPECT_FALSE(windows.shown[i]) << i;
        EXPECT_EQ(windows.bounds[i].width, layout.entries[i].bounds.width) << i;
    }
}

TEST(CaptureWindowLayout, CopiesOpenWindowsAndKeepsClosedChildEntries) {
    WindowLayout layout;
    LoadDefaultLayout(layout);
    layout.entries[4] = {11, 12, 13, 14, 0};  // bit memory closed earlier at these bounds
    FakeWindows windows;
    windows.open[0] = true;
    windows.bounds[0] = {5, 6, 7, 8};
    windows.shown[9] = true;
    windows.bounds[9] = {21, 22, 23, 24};
    windows.bounds[10] = {31, 32, 33, 34};
    CaptureWindowLayout(layout, windows);

    EXPECT_EQ(layout.entries[0], (WindowLayoutEntry{5, 6, 7, 8, 1}));
    EXPECT_EQ(layout.entries[4], (WindowLayoutEntry{11, 12, 13, 14, 0}));
    // The SFR window is closed but was recorded open: it stays recorded open.
    EXPECT_EQ(layout.entries[1], (WindowLayoutEntry{1, 2, 310, 281, 1}));
    EXPECT_EQ(layout.entries[9], (WindowLayoutEntry{21, 22, 23, 24, 1}));
    EXPECT_EQ(layout.entries[10], (WindowLayoutEntry{31, 32, 33, 34, 0}));
}

TEST(ChildWindowClosed, RecordsTheBoundsOnlyWhileTracking) {
    WindowLayout layout;
    LoadDefaultLayout(layout);
    ChildWindowClosed(layout, 6, {1, 2, 3, 4}, false);
    EXPECT_EQ(layout.entries[6], (WindowLayoutEntry{338, 103, 437, 398, 1}));
    ChildWindowClosed(layout, 6, {1, 2, 3, 4}, true);
    EXPECT_EQ(layout.entries[6], (WindowLayoutEntry{1, 2, 3, 4, 0}));
    ChildWindowClosed(layout, 30, {1, 2, 3, 4}, true);  // no such view: ignored
}

}  // namespace
}  // namespace tessaly
