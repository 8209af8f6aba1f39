// Points and rectangles in pixels, and the mouse buttons, for the pure
// layouts and models and the window code.
#pragma once

#include <vector>

namespace hueloom {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    friend bool operator==(const Rect&, const Rect&) = default;
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

enum class MouseButton { Left, Right, Middle };

// Screen coordinates put the primary monitor's top-left corner at (0, 0);
// monitors left of or above it have negative coordinates.

// The virtual desktop: the smallest rectangle that holds every monitor
// (empty rectangles are left out; none at all gives an empty rectangle).
Rect virtualDesktop(const std::vector<Rect>& monitors);

// Where a window of the given size with its top-left corner at `topLeft`
// goes so that it can still be reached: left where it is when any part of it
// lies on one of `areas` (monitors or their work areas). Otherwise it is
// moved onto the nearest area, one axis at a time: on an axis where it lies
// entirely before the area its near edge goes to the area's start, entirely
// after it its far edge to the area's end. With no areas nothing moves.
Point keepReachable(Point topLeft, int width, int height, const std::vector<Rect>& areas);

// A window whose client area covers `desktop` (the rectangle overlay):
// between its client coordinates and screen coordinates.
Point clientToScreen(Point client, const Rect& desktop);
Rect clientToScreen(const Rect& client, const Rect& desktop);
Rect screenToClient(const Rect& screen, const Rect& desktop);

}  // namespace hueloom
