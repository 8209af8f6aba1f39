#include "magnifier/sampling.h"

#include <algorithm>
#include <cstring>

namespace hueloom::magnifier {

Sample sampleView(const ViewBits& view, int n) {
    Sample s;
    s.colour = averageColour([&](int x, int y) { return view.pixel(x, y); }, view.width, n);
    s.marker = markerColour(s.colour);
    return s;
}

namespace {

void hline(ViewBits& v, int x0, int x1, int y, Rgb c) {
    if (y < 0 || y >= v.height) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, v.width);
    uint8_t* p = v.bits + static_cast<size_t>(y) * v.stride + static_cast<size_t>(x0) * 3;
    for (int x = x0; x < x1; ++x, p += 3) {
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
}

void vline(ViewBits& v, int x, int y0, int y1, Rgb c) {
    if (x < 0 || x >= v.width) return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, v.height);
    for (int y = y0; y < y1; ++y) {
        uint8_t* p = v.bits + static_cast<size_t>(y) * v.stride + static_cast<size_t>(x) * 3;
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
}

}  // namespace

void drawMarks(ViewBits& view, int n, Rgb c) {
    for (const Rect& r : markRects(view.width, view.height, n)) {
        if (r.right <= r.left || r.bottom <= r.top) continue;
        hline(view, r.left, r.right, r.top, c);
        hline(view, r.left, r.right, r.bottom - 1, c);
        vline(view, r.left, r.top, r.bottom, c);
        vline(view, r.right - 1, r.top, r.bottom, c);
    }
}

void enlarge(const uint8_t* src, int srcStride, ViewBits& view) {
    const int cell = view.width / kSourceSize;
    for (int sy = 0; sy < kSourceSize; ++sy) {
        uint8_t* row = view.bits + static_cast<size_t>(sy) * cell * view.stride;
        const uint8_t* s = src + static_cast<size_t>(sy) * srcStride;
        for (int sx = 0; sx < kSourceSize; ++sx)
            for (int k = 0; k < cell; ++k) std::memcpy(row + (sx * cell + k) * 3, s + sx * 3, 3);
        for (int k = 1; k < cell; ++k)
            std::memcpy(row + static_cast<size_t>(k) * view.stride, row, static_cast<size_t>(kSourceSize) * cell * 3);
    }
}

}  // namespace hueloom::magnifier
