// Every CSS text of every 8-bit colour names that colour again: read back
// with CSS Color 4's conversions the way a browser reads it, all 16,777,216
// colours in each format. colorjs.io and Chromium read a sample of the same
// texts in css_witnesses.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/colour_format.h"
#include "support/css_back.h"

using namespace hueloom;

namespace {

TEST(CssRoundTrip, EveryColourComesBackFromEveryCssText) {
    const ColourFormat formats[] = {ColourFormat::Hsl,   ColourFormat::Hwb,   ColourFormat::Lab,      ColourFormat::Lch,
                                    ColourFormat::Oklab, ColourFormat::Oklch, ColourFormat::DisplayP3};
    for (ColourFormat f : formats) {
        std::atomic<long> wrong{0};
        std::atomic<uint32_t> first{0xFFFFFFFF};
        auto part = [&](uint32_t from) {
            long n = 0;
            for (uint32_t v = from; v < (1u << 24); v += 2) {
                const Rgb c{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
                const auto back = back::parse(formatColour(c, f));
                if (back && *back == c) continue;
                if (!n++) first = std::min(first.load(), v);
            }
            wrong += n;
        };
        std::thread a(part, 0), b(part, 1);
        a.join(), b.join();
        EXPECT_EQ(wrong, 0) << colourFormatIniName(f) << ", first #" << std::hex << first.load();
    }
}

}  // namespace

// From the connection space of ICC profiles (XYZ, D50) back to sRGB and to
// display-p3: the inverse of the way there, for corners and a grey.
TEST(CssRoundTrip, XyzD50LeadsBackToTheSameColours) {
    for (const Rgb c :
         {Rgb{0, 0, 0}, Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{7, 130, 250}}) {
        const css::Coords xyz = css::xyzD50(c), lin = css::linearSrgb(c);
        const css::Coords back = css::linearSrgbFromXyzD50(xyz), p3 = css::displayP3FromXyzD50(xyz);
        const css::Coords p3Direct = css::displayP3(c);
        EXPECT_NEAR(back.a, lin.a, 1e-9);
        EXPECT_NEAR(back.b, lin.b, 1e-9);
        EXPECT_NEAR(back.c, lin.c, 1e-9);
        EXPECT_NEAR(p3.a, p3Direct.a, 1e-9);
        EXPECT_NEAR(p3.b, p3Direct.b, 1e-9);
        EXPECT_NEAR(p3.c, p3Direct.c, 1e-9);
        EXPECT_EQ(css::displayP3Text(p3Direct), css::displayP3Text(c));
    }
}
