#include "core/geometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace hueloom {

namespace {

// Gap between the ranges [a0, a1) and [b0, b1) on one axis; 0 when they overlap.
int64_t gap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    if (a1 <= b0) return b0 - a1 + 1;
    if (b1 <= a0) return a0 - b1 + 1;
    return 0;
}

// One axis of keepReachable: the window's start moved onto [area0, area1)
// when the window [start, start + size) misses that range.
int onto(int start, int size, int area0, int area1) {
    const int64_t s = start;
    if (s + size <= area0) return area0;
    if (s >= area1) return area1 - size;
    return start;
}

}  // namespace

Rect virtualDesktop(const std::vector<Rect>& monitors) {
    Rect all;
    bool any = false;
    for (const Rect& m : monitors) {
        if (m.width() <= 0 || m.height() <= 0) continue;
        if (!any) {
            all = m;
            any = true;
            continue;
        }
        all.left = std::min(all.left, m.left);
        all.top = std::min(all.top, m.top);
        all.right = std::max(all.right, m.right);
        all.bottom = std::max(all.bottom, m.bottom);
    }
    return all;
}

Point keepReachable(Point topLeft, int width, int height, const std::vector<Rect>& areas) {
    // Compare in 64 bits: positions come from a hand-editable file.
    const int64_t l = topLeft.x, t = topLeft.y, r = l + std::max(width, 0), b = t + std::max(height, 0);
    const Rect* nearest = nullptr;
    // Squared distances of windows far out of reach pass 2^63: compared as
    // doubles.
    double best = std::numeric_limits<double>::max();
    for (const Rect& a : areas) {
        if (a.width() <= 0 || a.height() <= 0) continue;
        const int64_t dx = gap(l, r, a.left, a.right), dy = gap(t, b, a.top, a.bottom);
        if (dx == 0 && dy == 0) return topLeft;  // partly on this area
        const double d =
            static_cast<double>(dx) * static_cast<double>(dx) + static_cast<double>(dy) * static_cast<double>(dy);
        if (d < best) {
            best = d;
            nearest = &a;
        }
    }
    if (!nearest) return topLeft;
    return Point{onto(topLeft.x, width, nearest->left, nearest->right),
                 onto(topLeft.y, height, nearest->top, nearest->bottom)};
}

Point clientToScreen(Point client, const Rect& desktop) {
    return Point{client.x + desktop.left, client.y + desktop.top};
}

Rect clientToScreen(const Rect& client, const Rect& desktop) {
    return Rect{client.left + desktop.left, client.top + desktop.top, client.right + desktop.left,
                client.bottom + desktop.top};
}

Rect screenToClient(const Rect& screen, const Rect& desktop) {
    return Rect{screen.left - desktop.left, screen.top - desktop.top, screen.right - desktop.left,
                screen.bottom - desktop.top};
}

}  // namespace hueloom
