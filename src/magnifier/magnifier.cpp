#include "magnifier/magnifier.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/dpi.h"
#include "core/texts.h"

namespace hueloom::magnifier {

bool isValidAveragingSize(int n) { return n >= 1 && n <= kSourceSize && n % 2 == 1; }

int averagingSizeFromIndex(int index) {
    if (index < 0) return 1;
    return std::min(2 * index + 3, kSourceSize);
}

ViewGeometry viewGeometry(int viewWidth, int n) {
    ViewGeometry g;
    g.cell = viewWidth / kSourceSize;
    g.origin = viewWidth / 2 - (n / 2) * g.cell;
    return g;
}

Point screenPixelForCell(Point pointer, int n, int k, int l) { return {pointer.x - n / 2 + k, pointer.y - n / 2 + l}; }

Rgb averageColour(const std::function<Rgb(int, int)>& readPixel, int viewWidth, int n) {
    ViewGeometry g = viewGeometry(viewWidth, n);
    int64_t r = 0, gr = 0, b = 0;
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i <= n; ++i) {
            Rgb px = readPixel(g.origin + (j - 1) * g.cell, g.origin + (i - 1) * g.cell);
            r += px.r;
            gr += px.g;
            b += px.b;
        }
    }
    int64_t count = static_cast<int64_t>(n) * n;
    return {static_cast<uint8_t>(r / count), static_cast<uint8_t>(gr / count), static_cast<uint8_t>(b / count)};
}

std::vector<Rect> markRects(int w, int h, int n) {
    ViewGeometry g = viewGeometry(w, n);
    int c = g.cell;
    int s = g.origin - c / 2;
    return {
        {0, 0, w, h},
        {0, kSourceHalf * c, w, (kSourceHalf + 1) * c},
        {kSourceHalf * c, 0, (kSourceHalf + 1) * c, h},
        {s, s, s + n * c, s + n * c},
    };
}

WindowLayout windowLayout(int dpi) {
    using namespace layout;
    WindowLayout l;
    l.width = scale(kWidth, dpi);
    l.height = scale(kHeight, dpi);
    l.button1 = scale(kButton1, dpi);
    l.button2 = scale(kButton2, dpi);
    l.valueLabel = scale(kValueLabel, dpi);
    l.scrollBox = scale(kScrollBox, dpi);
    l.pickList = scale(kPickList, dpi);
    l.viewRect = scale(kViewRect, dpi);
    l.bar1 = scale(kBar1, dpi);
    l.bar2 = scale(kBar2, dpi);
    l.cell = std::max(1, scale(kViewSize, dpi) / kSourceSize);
    l.viewSize = kSourceSize * l.cell;
    l.cornerEllipse = scale(kCornerEllipse, dpi);
    return l;
}

int nextDisplayMode(int mode) { return (mode + 1) % 3; }

Point nudge(Point p, Arrow key, bool shift) {
    int step = shift ? 10 : 1;
    switch (key) {
    case Arrow::Left: p.x -= step; break;
    case Arrow::Up: p.y -= step; break;
    case Arrow::Right: p.x += step; break;
    case Arrow::Down: p.y += step; break;
    }
    return p;
}

// ------------------------------------------------------------------ skin

namespace {

struct Rgbf {
    double r, g, b;
};

Rgbf mix(Rgbf a, Rgbf b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

uint32_t pack(Rgbf c) {
    auto ch = [](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
    return ch(c.b) | (ch(c.g) << 8) | (ch(c.r) << 16);
}

Rgbf hue(double h) {
    // h in [0, 1): a bright, slightly soft colour wheel.
    double r = std::fabs(h * 6 - 3) - 1, g = 2 - std::fabs(h * 6 - 2), b = 2 - std::fabs(h * 6 - 4);
    auto c = [](double v) { return 255.0 * (0.15 + 0.8 * std::clamp(v, 0.0, 1.0)); };
    return {c(r), c(g), c(b)};
}

// Distance-based coverage of a rounded rectangle edge, for soft insets.
double insideRoundRect(double x, double y, Rect r, double radius) {
    double cx = std::clamp(x, r.left + radius, r.right - radius);
    double cy = std::clamp(y, r.top + radius, r.bottom - radius);
    double d = std::hypot(x - cx, y - cy);
    return std::clamp(radius - d + 0.5, 0.0, 1.0);
}

}  // namespace

std::vector<uint32_t> drawSkin(int dpi) {
    const WindowLayout l = windowLayout(dpi);
    // Lengths of the artwork at 96 dpi, times f (exactly 1 at 96 dpi).
    const double f = dpi > 0 ? dpi / static_cast<double>(kBaseDpi) : 1.0;
    const int w = l.width, h = l.height;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    const Rgbf top{58, 66, 86}, bottom{24, 28, 38};
    const Rgbf strip{74, 84, 108};
    const Rgbf wellEdge{12, 14, 20};
    const int s1 = scale(1, dpi), s2 = scale(2, dpi), s3 = scale(3, dpi);
    const Rect well{l.scrollBox.left - s3, l.valueLabel.top - s3, l.scrollBox.right + s3, l.scrollBox.bottom + s3};
    const Rect listWell{l.pickList.left - s2, l.pickList.top - s2, l.pickList.right + s2, l.pickList.bottom + s2};
    const double ringX = w / 2.0, ringY = 12.5 * f, ringOuter = 8.0 * f, ringInner = 4.5 * f;
    const int hairline = l.valueLabel.top - s3;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double fx = x + 0.5, fy = y + 0.5;
            Rgbf c = mix(top, bottom, static_cast<double>(y) / (h - 1));
            // The star strip is a touch lighter, with a hairline below it.
            if (y < l.valueLabel.top - s2) c = mix(c, strip, 0.55 * (1.0 - y / (24.0 * f)) + 0.2);
            if (y >= hairline && y < hairline + s1) c = mix(c, Rgbf{150, 170, 210}, 0.35);
            // Fine diagonal grain.
            if (((x + y) & 3) == 0) c = mix(c, Rgbf{255, 255, 255}, 0.025);
            // Inset wells around the view and the list: dark with a light lip.
            for (const Rect* wl : {&well, &listWell}) {
                double inner = insideRoundRect(fx, fy, *wl, 4.0 * f);
                if (inner > 0) {
                    double lip = insideRoundRect(
                        fx, fy, Rect{wl->left + s1, wl->top + s1, wl->right - s1, wl->bottom - s1}, 3.0 * f);
                    c = mix(c, Rgbf{110, 125, 160}, inner * (1 - lip) * 0.8);
                    c = mix(c, wellEdge, lip);
                }
            }
            // The hue ring between the two stars: the program's mark.
            double d = std::hypot(fx - ringX, fy - ringY);
            if (d < ringOuter + 0.5 && d > ringInner - 0.5) {
                double cover = std::clamp(ringOuter + 0.5 - d, 0.0, 1.0) * std::clamp(d - ringInner + 0.5, 0.0, 1.0);
                double a = std::atan2(fy - ringY, fx - ringX) / (2 * 3.14159265358979) + 0.5;
                c = mix(c, hue(a), cover);
            }
            px[static_cast<size_t>(y) * w + x] = pack(c);
        }
    }
    return px;
}

// ------------------------------------------------------------------ texts

std::string descriptionText() {
    const char* const lines[] = {
        hueloom::text("magnifier.1"),
        hueloom::text("magnifier.2"),
        hueloom::text("magnifier.3"),
        "",
        hueloom::text("magnifier.4"),
        hueloom::text("magnifier.5"),
        "",
        hueloom::text("magnifier.6"),
        hueloom::text("magnifier.7"),
        hueloom::text("magnifier.8"),
        hueloom::text("magnifier.9"),
        hueloom::text("magnifier.10"),
        hueloom::text("magnifier.11"),
        hueloom::text("magnifier.12"),
        hueloom::text("magnifier.13"),
        hueloom::text("magnifier.14"),
        hueloom::text("magnifier.15"),
        hueloom::text("magnifier.16"),
        hueloom::text("magnifier.17"),
    };
    std::string s;
    for (size_t i = 0; i < std::size(lines); ++i) {
        if (i) s += "\r\n";
        s += lines[i];
    }
    return s;
}

std::string versionText(const std::string& libraries) {
    return "Hueloom Ver. 1.0 A4\r\n"
           "Hueloom " HUELOOM_VERSION
           ", copyright (C) 2026 the Hueloom developers. MIT License: free to use and "
           "share (LICENSE).\r\n"
           "\r\n"
           "PNG writer: Hueloom's own encoder, written from the PNG standard (W3C).\r\n" +
           libraries + "\r\nThe licences in full: THIRD-PARTY-NOTICES, beside the program.";
}

std::string hintText(const std::string& libraries) {
    return descriptionText() + "\r\n" + "\r\n" + versionText(libraries);
}

SamplingStep samplingStep(int displayMode, bool seeThrough, const PointerPlace& place) {
    const bool normal = displayMode == Normal;
    if (place.overWindowShape && !place.colourSampleOpen && !place.minimized)
        return {SamplingStep::SeeThrough, normal && !seeThrough};
    if ((normal && seeThrough && place.overViewRect) || place.pickListDropped) return {SamplingStep::Wait, false};
    return {SamplingStep::Sample, normal && seeThrough};
}

}  // namespace hueloom::magnifier
