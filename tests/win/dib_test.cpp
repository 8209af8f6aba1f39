// The Dib ↔ GDI bridge under Wine: every format survives a DIB section round
// trip, device bitmaps come back at 32 bits, and screen copies read pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include "image/win/dib_win.h"

using hueloom::image::Dib;

namespace {

Dib pattern(int w, int h, int bpp) {
    Dib d(w, h, bpp);
    if (d.hasPalette()) {
        std::vector<hueloom::image::RgbQuad> pal;
        for (int i = 0; i < (1 << bpp); ++i)
            pal.push_back({static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3), 0});
        d.setPalette(pal);
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* row = d.scanLine(y);
        for (size_t i = 0; i < d.rowBytes(); ++i) row[i] = static_cast<uint8_t>(i * 31 + y * 17);
        if (bpp == 32)
            for (int x = 0; x < w; ++x) row[x * 4 + 3] = 0;
        if (bpp == 15)
            for (int x = 0; x < w; ++x) row[x * 2 + 1] &= 0x7F;
    }
    return d;
}

}  // namespace

TEST(DibBridge, EveryFormatSurvivesADibSection) {
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        Dib d = pattern(13, 7, bpp);
        tk::Bitmap bmp = hueloom::image::createBitmap(d);
        ASSERT_TRUE(bmp) << bpp;
        Dib back = hueloom::image::dibFromBitmap(bmp);
        EXPECT_EQ(back.bitsPerPixel(), bpp);
        EXPECT_TRUE(back == d) << "format " << bpp;
    }
}

TEST(DibBridge, DeviceBitmapComesBackAt32Bits) {
    tk::WindowDC screen(nullptr);
    tk::Bitmap ddb(CreateCompatibleBitmap(screen, 4, 3));
    {
        tk::MemoryDC mem(screen);
        tk::Select sel(mem, ddb);
        RECT r{0, 0, 4, 3};
        tk::Brush b(CreateSolidBrush(RGB(12, 34, 56)));
        FillRect(mem, &r, b);
        SetPixel(mem, 1, 0, RGB(255, 0, 0));
    }
    Dib d = hueloom::image::dibFromBitmap(ddb);
    EXPECT_EQ(d.bitsPerPixel(), 32);
    EXPECT_EQ(d.width(), 4);
    EXPECT_EQ(d.height(), 3);
    const uint8_t* top = d.scanLine(0);
    EXPECT_EQ(top[0], 56);  // B, G, R of (0, 0)
    EXPECT_EQ(top[1], 34);
    EXPECT_EQ(top[2], 12);
    EXPECT_EQ(top[4 + 2], 255);  // (1, 0) is red
    EXPECT_EQ(top[4 + 0], 0);
}

TEST(DibBridge, EmptyScreenAreaIsAnError) {
    RECT none{10, 10, 10, 20};
    EXPECT_THROW(hueloom::image::copyScreen(none), std::exception);
    RECT some{0, 0, 8, 8};
    Dib d = hueloom::image::copyScreen(some);
    EXPECT_EQ(d.width(), 8);
    EXPECT_EQ(d.bitsPerPixel(), 32);
}

TEST(DibBridge, TopDownSectionsComeBackRightWayUp) {
    tk::DibSection top(3, 2, 24);  // top-down
    ASSERT_TRUE(top);
    top.row(0)[2] = 255;  // (0, 0) red
    top.row(1)[0] = 255;  // (0, 1) blue
    Dib d = hueloom::image::dibFromBitmap(top.handle());
    EXPECT_EQ(d.scanLine(0)[2], 255);
    EXPECT_EQ(d.scanLine(1)[0], 255);
    EXPECT_EQ(d.scanLine(0)[0], 0);
}
