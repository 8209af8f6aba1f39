// The selection kept on the picture, fill, pixelate, a part written back.
#include <gtest/gtest.h>

#include <array>

#include "editing/region_edits.h"

using namespace hueloom;
using namespace hueloom::editing;
using hueloom::image::Dib;

namespace {

using Bgr = std::array<int, 3>;

Bgr at(const Dib& d, int x, int y) {
    const std::uint8_t* p = d.scanLine(y) + x * (d.bitsPerPixel() / 8);
    return {p[0], p[1], p[2]};
}

// Pixel (x, y) is blue x, green y, red x + y.
Dib coded(int w, int h, int bpp) {
    Dib d(w, h, bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = d.scanLine(y) + x * (bpp / 8);
            p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x + y);
        }
    return d;
}

}  // namespace

TEST(SelectionOnPicture, DrawnAndResizedRectanglesAreCutMovedOnesComeBack) {
    struct Case {
        Rect r, clipped, kept;
    } cases[] = {
        {{10, 10, 20, 20}, {10, 10, 20, 20}, {10, 10, 20, 20}},  // inside: as it is
        {{-5, 10, 20, 20}, {0, 10, 20, 20}, {0, 10, 25, 20}},  // past the left edge
        {{90, 95, 105, 110}, {90, 95, 100, 100}, {85, 85, 100, 100}},  // past the far corner
        {{-10, -10, 120, 50}, {0, 0, 100, 50}, {0, 0, 100, 60}},  // wider: moved down, cut across
        {{200, 200, 210, 210}, {}, {90, 90, 100, 100}},  // off the picture
        {{30, 30, 30, 40}, {}, {}},  // no width
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clipToPicture(c.r, 100, 100), c.clipped) << c.r.left << "," << c.r.top;
        EXPECT_EQ(keepOnPicture(c.r, 100, 100), c.kept) << c.r.left << "," << c.r.top;
    }
}

TEST(SelectionOnPicture, FillAndPixelateChangeTheSelectedPixelsOnly) {
    for (int bpp : {24, 32}) {
        Dib filled = coded(40, 40, bpp), squares = filled;
        const Dib before = filled;
        fillRect(filled, {35, -3, 50, 4}, 1, 2, 3);  // cut to x 35..39, y 0..3
        const Rect r{3, 5, 14, 10};  // 11 × 5 in squares of 4: 4, 4, 3 across; 4, 1 down
        pixelate(squares, r, 4);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                EXPECT_EQ(at(filled, x, y), (x >= 35 && y < 4 ? Bgr{3, 2, 1} : at(before, x, y)));
                Bgr want = at(before, x, y);
                if (r.contains({x, y})) {
                    const int bx = 3 + (x - 3) / 4 * 4, by = 5 + (y - 5) / 4 * 4;
                    const int ex = std::min(bx + 4, r.right), ey = std::min(by + 4, r.bottom),
                              n = (ex - bx) * (ey - by);
                    want = {n / 2, n / 2, n / 2};
                    for (int j = by; j < ey; ++j)
                        for (int i = bx; i < ex; ++i)
                            for (int k = 0; k < 3; ++k) want[k] += at(before, i, j)[k];
                    for (int& v : want) v /= n;
                }
                EXPECT_EQ(at(squares, x, y), want) << x << "," << y;
            }
        // One square worked by hand: blue 4.5 → 5, green 6.5 → 7, red 11.
        EXPECT_EQ(at(squares, 3, 5), (Bgr{5, 7, 11}));
    }
    Dib one = coded(5, 5, 24);
    const Dib whole = one;
    pixelate(one, {2, 2, 3, 3}, 12);  // a single pixel stays as it is
    EXPECT_EQ(one, whole);
}

TEST(SelectionOnPicture, AFilteredPartIsWrittenBackAtThePicturesDepth) {
    Dib picture = coded(8, 8, 32);
    Dib part(3, 2, 8);
    part.setPalette({{10, 20, 30, 0}, {40, 50, 60, 0}});
    part.scanLine(1)[0] = 1;  // bottom-left pixel: the second entry
    paste(picture, part, {6, 3});  // the third column falls off the right edge
    EXPECT_EQ(at(picture, 6, 4), (Bgr{40, 50, 60}));
    EXPECT_EQ(at(picture, 7, 3), (Bgr{10, 20, 30}));
    EXPECT_EQ(at(picture, 5, 3), (Bgr{5, 3, 8}));
    paste(picture, part, {-2, 0});  // only the third column lands, on x 0
    EXPECT_EQ(at(picture, 1, 1), (Bgr{1, 1, 2}));
}
