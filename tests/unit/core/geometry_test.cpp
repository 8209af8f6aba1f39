// The virtual desktop, keeping a window reachable over several monitors, and
// the overlay's client coordinates against screen coordinates, also for
// monitors left of or above the primary one.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/geometry.h"

using namespace hueloom;

namespace {

const Rect kPrimary{0, 0, 1920, 1080};
const Rect kRight{1920, 0, 3200, 1024};  // smaller, right of the primary
const Rect kLeft{-1280, 0, 0, 1024};  // left of the primary: negative x
const Rect kAbove{0, -1200, 1600, 0};  // above the primary: negative y

Point reach(int x, int y, const std::vector<Rect>& areas, int w = 177, int h = 233) {
    return keepReachable(Point{x, y}, w, h, areas);
}

}  // namespace

TEST(VirtualDesktop, SurroundsEveryMonitorNegativeOriginsIncluded) {
    EXPECT_EQ(virtualDesktop({kPrimary}), kPrimary);
    EXPECT_EQ(virtualDesktop({kPrimary, kRight}), (Rect{0, 0, 3200, 1080}));
    EXPECT_EQ(virtualDesktop({kPrimary, kLeft}), (Rect{-1280, 0, 1920, 1080}));
    EXPECT_EQ(virtualDesktop({kPrimary, kAbove, kLeft, kRight}), (Rect{-1280, -1200, 3200, 1080}));
    // The order does not matter, empty rectangles count for nothing.
    EXPECT_EQ(virtualDesktop({kRight, Rect{-5000, -5000, -5000, 100}, kLeft}), (Rect{-1280, 0, 3200, 1024}));
    EXPECT_EQ(virtualDesktop({}), Rect{});
}

TEST(KeepReachable, AWindowWithAnyPartOnSomeMonitorStays) {
    const std::vector<Rect> all{kPrimary, kRight, kLeft, kAbove};
    EXPECT_EQ(reach(2500, 300, all), (Point{2500, 300}));  // on the right monitor
    EXPECT_EQ(reach(-1000, 300, all), (Point{-1000, 300}));  // on the left one
    EXPECT_EQ(reach(100, -900, all), (Point{100, -900}));  // on the one above
    EXPECT_EQ(reach(3199, 1023, all), (Point{3199, 1023}));  // one pixel on the right monitor
    EXPECT_EQ(reach(-1456, -232, all), (Point{-1456, -232}));  // one pixel on the left one
}

TEST(KeepReachable, ALostWindowGoesOntoTheNearestMonitorPerAxis) {
    const std::vector<Rect> all{kPrimary, kRight, kLeft, kAbove};
    // Right of everything: flush with the right monitor's end, y kept.
    EXPECT_EQ(reach(5000, 300, all), (Point{3200 - 177, 300}));
    // Left of the left monitor: to its left edge.
    EXPECT_EQ(reach(-3000, 300, all), (Point{-1280, 300}));
    EXPECT_EQ(reach(-1457, 300, all), (Point{-1280, 300}));  // its right edge exactly at -1280
    // Above the monitor above: to its top.
    EXPECT_EQ(reach(100, -5000, all), (Point{100, -1200}));
    // Below the smaller right monitor, beside the primary: onto the right
    // monitor (26 pixels away), flush with its bottom.
    EXPECT_EQ(reach(2000, 1050, all), (Point{2000, 1024 - 233}));
    // In the empty corner above the left monitor, left of the one above: the
    // left monitor is 368 pixels away, the one above 424, so down it goes.
    EXPECT_EQ(reach(-600, -600, all), (Point{-600, 0}));
    EXPECT_EQ(reach(-300, -600, all), (Point{0, -600}));  // 124 from the one above
}

TEST(KeepReachable, OneScreenIsTheClassicRule) {
    const std::vector<Rect> one{kPrimary};
    EXPECT_EQ(reach(-500, 100, one), (Point{0, 100}));
    EXPECT_EQ(reach(5000, 100, one), (Point{1743, 100}));
    EXPECT_EQ(reach(-100, 4000, one), (Point{-100, 847}));  // x partly visible: kept
    EXPECT_EQ(reach(-177, -233, one), (Point{0, 0}));
    EXPECT_EQ(reach(INT_MAX, INT_MIN, one), (Point{1743, 0}));  // no overflow
    EXPECT_EQ(reach(7, 9, {}), (Point{7, 9}));  // nothing known: nothing moves
}

TEST(OverlayCoordinates, ClientAndScreenDifferByTheDesktopOrigin) {
    const Rect desktop = virtualDesktop({kPrimary, kLeft, kAbove});  // (-1280, -1200)
    EXPECT_EQ(clientToScreen(Point{0, 0}, desktop), (Point{-1280, -1200}));
    EXPECT_EQ(clientToScreen(Point{1280, 1200}, desktop), (Point{0, 0}));  // the primary's corner
    const Rect client{1200, 1100, 1400, 1300};  // across the primary's top-left corner
    const Rect screen{-80, -100, 120, 100};
    EXPECT_EQ(clientToScreen(client, desktop), screen);
    EXPECT_EQ(screenToClient(screen, desktop), client);
    // Where the virtual desktop starts at (0, 0) both are the same.
    EXPECT_EQ(clientToScreen(client, virtualDesktop({kPrimary, kRight})), client);
}
