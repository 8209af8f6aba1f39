// Points and rectangles in pixels, and the mouse buttons, for the pure
// layouts and models and the window code.
#pragma once

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

}  // namespace hueloom
