// Synthetic pictures for the image benchmarks, made in memory so that no
// large files are kept: a screenshot-like 4K picture (flat window areas,
// text-like strokes, gradients) and a photo-like one (smooth colour fields
// with grain). Deterministic, so every run measures the same pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "image/dib.h"

namespace hueloom::bench {

constexpr int k4kWidth = 3840;
constexpr int k4kHeight = 2160;

inline void put(image::Dib& d, int x, int y, int r, int g, int b) {
    const int n = d.bitsPerPixel() / 8;
    std::uint8_t* p = d.scanLine(y) + x * n;
    p[0] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
    p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
    p[2] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
}

inline image::Dib screenshot(int bpp = 24, int w = k4kWidth, int h = k4kHeight) {
    image::Dib d(w, h, bpp);
    std::mt19937 rng(1234);
    // Desktop: a vertical gradient.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(d, x, y, 20 + y * 60 / h, 60 + y * 90 / h, 120 + x * 80 / w);
    // Windows: title-bar gradient, flat client area, lines of "text".
    for (int win = 0; win < 14; ++win) {
        const int ww = 500 + static_cast<int>(rng() % 1400), wh = 300 + static_cast<int>(rng() % 900);
        const int x0 = static_cast<int>(rng() % static_cast<unsigned>(w - ww)),
                  y0 = static_cast<int>(rng() % static_cast<unsigned>(h - wh));
        const int tint = static_cast<int>(rng() % 60);
        const int bg = 225 + static_cast<int>(rng() % 31);
        for (int y = y0; y < y0 + wh; ++y) {
            for (int x = x0; x < x0 + ww; ++x) {
                if (y < y0 + 30) {
                    put(d, x, y, 30 + (x - x0) * 150 / ww, 60 + tint, 160 + (x - x0) * 80 / ww);
                } else if (x == x0 || x == x0 + ww - 1 || y == y0 + wh - 1) {
                    put(d, x, y, 90, 90, 90);
                } else {
                    put(d, x, y, bg, bg, bg - tint / 4);
                }
            }
        }
        // Text: rows of glyph cells with strokes of dark, anti-aliased pixels.
        const int ink = static_cast<int>(rng() % 80);
        for (int line = y0 + 44; line + 16 < y0 + wh; line += 22) {
            for (int cx = x0 + 12; cx + 9 < x0 + ww - 12; cx += 9) {
                if (rng() % 7 == 0) continue;  // spaces
                const unsigned glyph = rng();
                for (int gy = 0; gy < 14; ++gy)
                    for (int gx = 0; gx < 7; ++gx) {
                        const unsigned bit = (glyph >> ((gy * 3 + gx) % 31)) & 1u;
                        if (bit && (gx == 0 || gx == 6 || gy % 6 == 0 || gx == gy / 2)) {
                            const int v = ink + static_cast<int>(rng() % 3) * 40;
                            put(d, cx + gx, line + gy, v, v, v + 10);
                        }
                    }
            }
        }
    }
    return d;
}

inline image::Dib photo(int bpp = 24, int w = k4kWidth, int h = k4kHeight) {
    image::Dib d(w, h, bpp);
    std::mt19937 rng(99);
    for (int y = 0; y < h; ++y) {
        const double fy = static_cast<double>(y) / h;
        for (int x = 0; x < w; ++x) {
            const double fx = static_cast<double>(x) / w;
            const double a = std::sin(fx * 7.1 + std::cos(fy * 3.3) * 2.0);
            const double b = std::cos(fy * 5.7 - fx * 2.4);
            const double c = std::sin((fx + fy) * 11.0) * 0.5;
            const int grain = static_cast<int>(rng() % 13) - 6;
            put(d, x, y, static_cast<int>(128 + 90 * a + 30 * c) + grain,
                static_cast<int>(110 + 70 * b + 40 * a) + grain, static_cast<int>(90 + 60 * c - 50 * b) + grain);
        }
    }
    return d;
}

}  // namespace hueloom::bench
