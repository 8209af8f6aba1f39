#include <gtest/gtest.h>

#include "image/filters.h"
#include "image/image_error.h"
#include "image/reduce.h"
#include "support/image_test_support.h"

namespace hueloom::image {
namespace {

using testing::pixelBgr;

TEST(Grayscale, IndicesAndTheGreyShown) {
    struct Case {
        unsigned r, g, b, index;
    };
    for (const Case c : {Case{255, 255, 255, 0}, Case{0, 0, 0, 255}, Case{100, 100, 100, 155}, Case{1, 0, 0, 254},
                         Case{255, 0, 0, 178}, Case{0, 255, 0, 105}, Case{0, 0, 255, 225}}) {
        EXPECT_EQ(greyIndex(c.r, c.g, c.b), c.index) << c.r << "," << c.g << "," << c.b;
    }
    const auto pal = greyPalette();
    ASSERT_EQ(pal.size(), 256u);
    EXPECT_EQ(pal[0], (RgbQuad{255, 255, 255, 0}));
    EXPECT_EQ(pal[255], (RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(pal[178], (RgbQuad{77, 77, 77, 0}));  // pure red shows grey 77
    EXPECT_EQ(pal[105].red, 150);
    EXPECT_EQ(pal[225].red, 30);
    // Exhaustively: the shown grey is 299R + 587G + 114B over 1000, rounded up.
    for (unsigned v = 0; v < 256; v += 5)
        for (unsigned w = 0; w < 256; w += 3) {
            const unsigned num = 299 * v + 587 * w + 114 * ((v + w) % 256);
            EXPECT_EQ(255 - greyIndex(v, w, (v + w) % 256), (num + 999) / 1000);
        }
}

TEST(Grayscale, EveryFormatBecomesEightBitsWithTheGreyPalette) {
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        const Dib src = testing::randomDib(19, 6, bpp, 21, bpp == 8 ? 100 : 0);
        const Dib out = grayscale(src);
        ASSERT_EQ(out.bitsPerPixel(), 8);
        EXPECT_EQ(out.palette(), greyPalette());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 19; ++x) {
                const auto p = pixelBgr(src, x, y);
                EXPECT_EQ(out.scanLine(y)[x], greyIndex(p[2], p[1], p[0])) << bpp << " bits at " << x << "," << y;
            }
    }
}

TEST(Invert, TwiceGivesBackTheColoursAt24Bits) {
    for (int bpp : {24, 32, 16, 4}) {
        const Dib src = testing::randomDib(21, 8, bpp, 31);
        const Dib once = invert(src);
        ASSERT_EQ(once.bitsPerPixel(), 24);
        const auto p = pixelBgr(src, 3, 2);
        EXPECT_EQ(pixelBgr(once, 3, 2), (std::array<std::uint8_t, 3>{std::uint8_t(255 - p[0]), std::uint8_t(255 - p[1]),
                                                                     std::uint8_t(255 - p[2])}));
        const Dib twice = invert(once);
        EXPECT_EQ(twice.bitsPerPixel(), 24);
        EXPECT_TRUE(twice == toBpp24(src)) << bpp;
    }
}

TEST(Invert, EightBitSourcesAreReducedAgain) {
    const Dib src = testing::randomDib(30, 10, 8, 41, 60);
    const Dib out = invert(src);
    ASSERT_EQ(out.bitsPerPixel(), 8);
    // At most 60 colours came in; their inverses separate and come back exact.
    EXPECT_TRUE(out == reduceTo256(invert(toBpp24(src))));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x) {
            const auto a = pixelBgr(src, x, y);
            const auto b = pixelBgr(out, x, y);
            for (int c = 0; c < 3; ++c) EXPECT_EQ(b[c], 255 - a[c]);
        }
}

std::vector<int> percents(const std::function<Dib(const ProgressFn&)>& run) {
    std::vector<int> seen;
    run([&](ProgressStage, int p) { seen.push_back(p); });
    return seen;
}

TEST(FilterProgress, OncePerRowEndingAtExactly100) {
    const Dib img = testing::randomDib(4, 100, 24, 1);
    for (auto filter : {&invert, &grayscale}) {
        const auto seen = percents([&](const ProgressFn& p) { return filter(img, p); });
        ASSERT_EQ(seen.size(), 100u);
        for (int y = 0; y < 100; ++y) EXPECT_EQ(seen[y], y * 100 / 99);
        EXPECT_EQ(seen.back(), 100);
    }
    // One row high: the row still completes and reports the end.
    const Dib row = testing::randomDib(9, 1, 32, 2);
    EXPECT_EQ(percents([&](const ProgressFn& p) { return grayscale(row, p); }), std::vector<int>{100});
    EXPECT_EQ(percents([&](const ProgressFn& p) { return invert(row, p); }), std::vector<int>{100});
}

TEST(FilterProgress, InvertingEightBitsShowsHalfForEachStage) {
    const Dib img = testing::randomDib(8, 51, 8, 3, 40);
    const auto seen = percents([&](const ProgressFn& p) { return invert(img, p); });
    ASSERT_EQ(seen.size(), 51u + 257u);
    for (int y = 0; y < 51; ++y) EXPECT_EQ(seen[y], y * 50 / 50);
    EXPECT_EQ(seen[51], 50);  // reduction starts
    for (int k = 1; k <= 255; ++k) EXPECT_EQ(seen[51 + k], 50 + (k * 100 / 256) / 2);
    EXPECT_EQ(seen.back(), 100);
    const Dib one = testing::randomDib(8, 1, 8, 3, 40);
    EXPECT_EQ(percents([&](const ProgressFn& p) { return invert(one, p); }).front(), 50);
}

TEST(Filters, RefuseAMissingImage) {
    EXPECT_THROW(invert(Dib()), ImageError);
    EXPECT_THROW(grayscale(Dib()), ImageError);
}

}  // namespace
}  // namespace hueloom::image
