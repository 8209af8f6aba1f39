#include <gtest/gtest.h>

#include "image/dib.h"
#include "image/image_error.h"
#include "support/image_test_support.h"

namespace hueloom::image {
namespace {

using testing::pixelBgr;

TEST(Dib, GeometryAndRowsFollowTheDibLayout) {
    struct Case {
        int width, bpp;
        std::size_t stride;
    };
    for (const Case c : {Case{1, 1, 4}, Case{33, 1, 8}, Case{7, 4, 4}, Case{9, 4, 8}, Case{5, 8, 8}, Case{3, 15, 8},
                         Case{2, 16, 4}, Case{5, 24, 16}, Case{3, 32, 12}}) {
        Dib d(c.width, 3, c.bpp);
        EXPECT_EQ(d.stride(), c.stride) << c.width << "x" << c.bpp;
        EXPECT_EQ(d.imageSize(), c.stride * 3);
        EXPECT_EQ(d.palette().size(), c.bpp <= 8 ? (std::size_t{1} << c.bpp) : 0u);
        EXPECT_EQ(d.bitCount(), c.bpp == 15 ? 16 : c.bpp);
    }
    Dib d(2, 3, 8);
    // Rows are stored bottom-up: the top row is the last one in memory.
    EXPECT_EQ(d.scanLine(0), d.bits() + 2 * d.stride());
    EXPECT_EQ(d.scanLine(2), d.bits());
}

TEST(Dib, RejectsBadFormatsSizesAndPalettes) {
    EXPECT_THROW(Dib(0, 5, 24), ImageError);
    EXPECT_THROW(Dib(5, -1, 24), ImageError);
    EXPECT_THROW(Dib(5, 5, 12), ImageError);
    EXPECT_THROW(Dib(1 << 20, 1 << 12, 32), ImageError);  // 16 GiB
    Dib p(4, 4, 4);
    EXPECT_THROW(p.setPalette(std::vector<RgbQuad>(17)), ImageError);
    EXPECT_THROW(p.setPalette({}), ImageError);
    p.setPalette(std::vector<RgbQuad>(3));
    EXPECT_EQ(p.palette().size(), 3u);
    Dib t(4, 4, 24);
    EXPECT_THROW(t.setPalette(std::vector<RgbQuad>(3)), ImageError);
    EXPECT_TRUE(Dib().isNull());
}

TEST(Dib, HighColourChannelsWidenByRepeatingTheirTopBits) {
    Dib d15(3, 1, 15);
    // 0RRRRRGGGGGBBBBB: full red / green 0x10 / blue 1
    const std::uint16_t v15[3] = {0x7C00, 0x10 << 5, 0x0001};
    Dib d16(3, 1, 16);
    // RRRRRGGGGGGBBBBB: green 0x3F / green 0x20 / red 1
    const std::uint16_t v16[3] = {0x07E0, 0x20 << 5, 0x0800};
    for (int x = 0; x < 3; ++x) {
        d15.scanLine(0)[x * 2] = std::uint8_t(v15[x]);
        d15.scanLine(0)[x * 2 + 1] = std::uint8_t(v15[x] >> 8);
        d16.scanLine(0)[x * 2] = std::uint8_t(v16[x]);
        d16.scanLine(0)[x * 2 + 1] = std::uint8_t(v16[x] >> 8);
    }
    using P = std::array<std::uint8_t, 3>;  // blue, green, red
    EXPECT_EQ(pixelBgr(d15, 0, 0), (P{0, 0, 255}));
    EXPECT_EQ(pixelBgr(d15, 1, 0), (P{0, 0x84, 0}));  // 10000 -> 10000100
    EXPECT_EQ(pixelBgr(d15, 2, 0), (P{0x08, 0, 0}));  // 00001 -> 00001000
    EXPECT_EQ(pixelBgr(d16, 0, 0), (P{0, 255, 0}));
    EXPECT_EQ(pixelBgr(d16, 1, 0), (P{0, 0x82, 0}));  // 100000 -> 10000010
    EXPECT_EQ(pixelBgr(d16, 2, 0), (P{0, 0, 0x08}));
}

TEST(Dib, ConversionTo24BitsKeepsEveryPixel) {
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        const Dib src = testing::randomDib(13, 5, bpp, 77, bpp == 8 ? 200 : 0);
        const Dib out = toBpp24(src);
        ASSERT_EQ(out.bitsPerPixel(), 24);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 13; ++x) {
                const auto p = pixelBgr(out, x, y);
                const std::uint8_t* s = src.scanLine(y);
                if (bpp == 32 || bpp == 24) {
                    const int n = bpp / 8;
                    EXPECT_EQ(p, (std::array<std::uint8_t, 3>{s[x * n], s[x * n + 1], s[x * n + 2]}));
                } else if (bpp <= 8) {
                    const unsigned bit = x * bpp;
                    const unsigned index = (s[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                    const RgbQuad q = src.palette()[index];
                    EXPECT_EQ(p, (std::array<std::uint8_t, 3>{q.blue, q.green, q.red})) << bpp;
                } else {
                    EXPECT_EQ(pixelBgr(src, x, y), p);
                }
            }
        }
    }
}

TEST(Dib, IndicesBeyondThePaletteReadAsBlack) {
    Dib d(2, 1, 8);
    d.setPalette({RgbQuad{10, 20, 30, 0}});
    d.scanLine(0)[0] = 0;
    d.scanLine(0)[1] = 200;
    EXPECT_EQ(pixelBgr(d, 0, 0), (std::array<std::uint8_t, 3>{10, 20, 30}));
    EXPECT_EQ(pixelBgr(d, 1, 0), (std::array<std::uint8_t, 3>{0, 0, 0}));
}

}  // namespace
}  // namespace hueloom::image
