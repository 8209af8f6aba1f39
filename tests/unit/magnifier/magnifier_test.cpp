#include "magnifier/magnifier.h"

#include <gtest/gtest.h>

#include <map>

using namespace hueloom;
using namespace hueloom::magnifier;

namespace {

// A fake 150 × 150 view: every 10 × 10 cell shows one screen pixel, whose
// colour comes from `screen` (by screen coordinates around the pointer).
struct FakeView {
    Point pointer;
    std::function<Rgb(Point)> screen;
    std::vector<Point> reads;
    Rgb operator()(int x, int y) {
        reads.push_back({x, y});
        // The view shows the 15 × 15 square whose top-left is pointer − 7.
        return screen({pointer.x - kSourceHalf + x / 10, pointer.y - kSourceHalf + y / 10});
    }
};

// ---------------------------------------------------------------- sampling step

TEST(SamplingStep, SeeThroughWaitOrSampleByWhereThePointerIs) {
    using S = SamplingStep;
    struct Case {
        const char* what;
        int mode;
        bool seeThrough;
        PointerPlace place;
        S expected;
    };
    const PointerPlace over{.overWindowShape = true};
    const Case cases[] = {
        {"over the window: the view is cut out once", Normal, false, over, {S::SeeThrough, true}},
        {"already cut out", Normal, true, over, {S::SeeThrough, false}},
        {"the bar modes have no see-through shape", Bar1, false, over, {S::SeeThrough, false}},
        {"colour sample window open",
         Normal,
         false,
         {.overWindowShape = true, .colourSampleOpen = true},
         {S::Sample, false}},
        {"program minimised", Normal, false, {.overWindowShape = true, .minimized = true}, {S::Sample, false}},
        {"over the cut-out view", Normal, true, {.overViewRect = true}, {S::Wait, false}},
        {"view rectangle without the cut-out", Normal, false, {.overViewRect = true}, {S::Sample, false}},
        {"view rectangle in a bar mode", Bar2, true, {.overViewRect = true}, {S::Sample, false}},
        {"picked-colour list dropped down", Bar1, false, {.pickListDropped = true}, {S::Wait, false}},
        {"leaving the window restores the full shape", Normal, true, {}, {S::Sample, true}},
        {"elsewhere", Normal, false, {}, {S::Sample, false}},
    };
    for (const Case& c : cases) EXPECT_EQ(samplingStep(c.mode, c.seeThrough, c.place), c.expected) << c.what;
}

}  // namespace

TEST(ViewGeometry, WorkedExamples) {
    EXPECT_EQ(viewGeometry(150, 1).cell, 10);
    EXPECT_EQ(viewGeometry(150, 1).origin, 75);
    EXPECT_EQ(viewGeometry(150, 3).origin, 65);
    EXPECT_EQ(viewGeometry(150, 15).origin, 5);
    // Pointer (500, 300), N = 3: the averaged cells show 499 … 501 × 299 … 301.
    EXPECT_EQ(screenPixelForCell({500, 300}, 3, 0, 0), (Point{499, 299}));
    EXPECT_EQ(screenPixelForCell({500, 300}, 3, 2, 2), (Point{501, 301}));
    EXPECT_EQ(screenPixelForCell({500, 300}, 1, 0, 0), (Point{500, 300}));
}

TEST(Averaging, StandardModeReadsTheCentreCellOnly) {
    FakeView view{{500, 300}, [](Point p) { return p == Point{500, 300} ? Rgb{255, 0, 0} : Rgb{0, 0, 0}; }};
    Rgb c = averageColour(std::ref(view), 150, 1);
    EXPECT_EQ(c, (Rgb{255, 0, 0}));
    ASSERT_EQ(view.reads.size(), 1u);
    EXPECT_EQ(view.reads[0], (Point{75, 75}));
}

TEST(Averaging, ThreeByThreeTruncatesAndCoversTheRightPixels) {
    // Red values 1000 in total over the nine averaged pixels: 1000 div 9 = 111.
    std::map<std::pair<int, int>, uint8_t> red;
    int values[9] = {200, 200, 200, 100, 100, 100, 50, 25, 25};
    int k = 0;
    for (int y = 299; y <= 301; ++y)
        for (int x = 499; x <= 501; ++x) red[{x, y}] = static_cast<uint8_t>(values[k++]);
    FakeView view{{500, 300}, [&](Point p) {
                      auto it = red.find({p.x, p.y});
                      // Pixels outside the square would spoil the mean if read.
                      return it == red.end() ? Rgb{255, 255, 255} : Rgb{it->second, 7, 8};
                  }};
    Rgb c = averageColour(std::ref(view), 150, 3);
    EXPECT_EQ(c, (Rgb{111, 7, 8}));
    EXPECT_EQ(view.reads.size(), 9u);
}

TEST(Averaging, FifteenCoversTheWholeView) {
    FakeView view{{10, 10}, [](Point p) { return Rgb{static_cast<uint8_t>(p.x), static_cast<uint8_t>(p.y), 0}; }};
    Rgb c = averageColour(std::ref(view), 150, 15);
    // Mean of 3 … 17 is 10 in both directions.
    EXPECT_EQ(c, (Rgb{10, 10, 0}));
    EXPECT_EQ(view.reads.size(), 225u);
}

TEST(ValueText, DecimalAndHexadecimalForms) {
    EXPECT_EQ(decimalText({255, 128, 0}), "rgb(255,128,0)");
    EXPECT_EQ(decimalText({0, 0, 0}), "rgb(0,0,0)");
    EXPECT_EQ(hexadecimalText({255, 128, 0}), "#FF8000");
    EXPECT_EQ(hexadecimalText({10, 11, 171}), "#0A0BAB");
    EXPECT_EQ(decimalText({255, 0, 0}), "rgb(255,0,0)");
    EXPECT_EQ(hexadecimalText({255, 0, 0}), "#FF0000");
    EXPECT_EQ(markerColour({255, 0, 0}), (Rgb{0, 255, 255}));
    EXPECT_EQ(markerColour({12, 34, 56}), (Rgb{243, 221, 199}));
}

TEST(ColourValue, RedIsTheLowByte) {
    EXPECT_EQ(toColourValue({12, 34, 56}), 0x0038220Cu);
    EXPECT_EQ(fromColourValue(0x0038220C), (Rgb{12, 34, 56}));
}

TEST(Marks, RectanglesFollowTheAveragingSize) {
    auto std1 = markRects(150, 150, 1);
    ASSERT_EQ(std1.size(), 4u);
    EXPECT_EQ(std1[0], (Rect{0, 0, 150, 150}));
    EXPECT_EQ(std1[1], (Rect{0, 70, 150, 80}));
    EXPECT_EQ(std1[2], (Rect{70, 0, 80, 150}));
    EXPECT_EQ(std1[3], (Rect{70, 70, 80, 80}));  // the centre cell's outline
    EXPECT_EQ(markRects(150, 150, 3)[3], (Rect{60, 60, 90, 90}));
    EXPECT_EQ(markRects(150, 150, 15)[3], (Rect{0, 0, 150, 150}));
}

TEST(AveragingSize, ListIndexMapsToOddSizes) {
    EXPECT_EQ(averagingSizeFromIndex(-1), 1);
    EXPECT_EQ(averagingSizeFromIndex(0), 3);
    EXPECT_EQ(averagingSizeFromIndex(6), 15);
    for (int n : {1, 3, 5, 7, 9, 11, 13, 15}) EXPECT_TRUE(isValidAveragingSize(n)) << n;
    for (int n : {0, 2, 17, -1}) EXPECT_FALSE(isValidAveragingSize(n)) << n;
}

TEST(DisplayMode, DoubleClickCyclesNormalBar1Bar2) {
    EXPECT_EQ(nextDisplayMode(Normal), Bar1);
    EXPECT_EQ(nextDisplayMode(Bar1), Bar2);
    EXPECT_EQ(nextDisplayMode(Bar2), Normal);
}

TEST(Layout, ShapesComeFromTheControlRectangles) {
    using namespace layout;
    EXPECT_EQ(kViewRect, (Rect{10, 25, 164, 201}));
    EXPECT_EQ(kBar1, (Rect{0, 0, 177, 47}));
    EXPECT_EQ(kBar2, (Rect{0, 0, 177, 25}));
    // The view frame holds the 150-pixel view plus a 2-pixel sunken edge.
    EXPECT_EQ(kScrollBox.width(), kViewSize + 4);
}

TEST(Layout, ScaledLayoutIsTheTableAt96AndWholeCellsElsewhere) {
    const WindowLayout at96 = windowLayout(96);
    EXPECT_EQ(at96.width, layout::kWidth);
    EXPECT_EQ(at96.height, layout::kHeight);
    EXPECT_EQ(at96.viewRect, layout::kViewRect);
    EXPECT_EQ(at96.bar1, layout::kBar1);
    EXPECT_EQ(at96.cell, 10);
    EXPECT_EQ(at96.viewSize, layout::kViewSize);
    const WindowLayout at144 = windowLayout(144);
    EXPECT_EQ(at144.width, 266);
    EXPECT_EQ(at144.height, 350);
    EXPECT_EQ(at144.button2, (Rect{227, 6, 252, 32}));
    EXPECT_EQ(at144.scrollBox, (Rect{15, 71, 246, 302}));
    EXPECT_EQ(at144.cell, 15);
    EXPECT_EQ(at144.viewSize, 225);
    EXPECT_EQ(at144.cornerEllipse, 23);
    // 125 % and 200 %: a cell is the scaled view div 15, so the view never
    // outgrows its frame and every screen pixel is the same square.
    for (int dpi : {120, 168, 192, 240}) {
        const WindowLayout l = windowLayout(dpi);
        EXPECT_LE(l.viewSize + 4, l.scrollBox.width()) << dpi;
        EXPECT_EQ(l.viewSize, 15 * l.cell) << dpi;
    }
    EXPECT_EQ(windowLayout(120).cell, 12);
    EXPECT_EQ(windowLayout(192).cell, 20);
    // The view geometry follows the cell.
    EXPECT_EQ(viewGeometry(at144.viewSize, 1).origin, 112);  // the middle of cell 7
    EXPECT_EQ(markRects(225, 225, 1)[3], (Rect{105, 105, 120, 120}));
}

TEST(Nudge, ArrowsMoveOnePixelShiftTen) {
    EXPECT_EQ(nudge({100, 100}, Arrow::Right, false), (Point{101, 100}));
    EXPECT_EQ(nudge({100, 100}, Arrow::Right, true), (Point{110, 100}));
    EXPECT_EQ(nudge({100, 100}, Arrow::Left, true), (Point{90, 100}));
    EXPECT_EQ(nudge({100, 100}, Arrow::Up, false), (Point{100, 99}));
    EXPECT_EQ(nudge({100, 100}, Arrow::Down, true), (Point{100, 110}));
}

TEST(Skin, FillsTheWholeWindowAndDarkensTheViewWell) {
    auto px = drawSkin();
    ASSERT_EQ(px.size(), static_cast<size_t>(layout::kWidth * layout::kHeight));
    auto luma = [&](int x, int y) {
        uint32_t p = px[static_cast<size_t>(y) * layout::kWidth + x];
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    };
    // Inside the well around the view is darker than the panel beside it.
    EXPECT_LT(luma(9, 100), luma(3, 100));
}

TEST(Skin, IsDrawnAtTheScaledSizeNotStretched) {
    const WindowLayout l = windowLayout(144);
    const auto px = drawSkin(144);
    ASSERT_EQ(px.size(), static_cast<size_t>(l.width) * l.height);
    auto luma = [&](int x, int y) {
        uint32_t p = px[static_cast<size_t>(y) * l.width + x];
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    };
    EXPECT_LT(luma(14, 150), luma(4, 150));  // the view's well, 1.5 times as far in
    // The hue ring is centred between the stars at 1.5 times its height:
    // its middle is the panel, its rim coloured.
    const uint32_t centre = px[static_cast<size_t>(19) * l.width + 133];
    const uint32_t rim = px[static_cast<size_t>(19 - 9) * l.width + 133];
    EXPECT_NE(centre, rim);
}

TEST(HintText, DescriptionThenVersion) {
    std::string hint = hintText("zlib 9.9");
    EXPECT_EQ(hint.rfind("画面上の好きな場所から色を取得するためのソフトです。\r\n", 0), 0u);
    EXPECT_NE(hint.find("WMFに対応\r\n\r\nHueloom Ver. 1.0 A4\r\nHueloom " HUELOOM_TEST_VERSION ", "),
              std::string::npos);
    EXPECT_NE(hint.find("(W3C).\r\nzlib 9.9\r\n"), std::string::npos);
    // 19 description lines.
    std::string d = descriptionText();
    EXPECT_EQ(std::count(d.begin(), d.end(), '\n'), 18);
}

#include "magnifier/sampling.h"

TEST(SamplingStep, OnlyAMovedPointerCountsAndResetRedraws) {
    PointerTracker t;
    EXPECT_TRUE(t.moved({5, 5}));
    EXPECT_FALSE(t.moved({5, 5}));
    EXPECT_TRUE(t.moved({6, 5}));
    t.reset();
    EXPECT_TRUE(t.moved({6, 5}));
    // The first position (0,0) counts as already seen, as at start-up.
    PointerTracker fresh;
    EXPECT_FALSE(fresh.moved({0, 0}));
}

TEST(SamplingStep, EnlargedViewSampledAndMarked) {
    // Source: pixel (7,7) pure red, the rest a gradient.
    std::vector<uint8_t> src(15 * 45);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x) {
            uint8_t* p = &src[y * 45 + x * 3];
            p[0] = static_cast<uint8_t>(x * 10);
            p[1] = static_cast<uint8_t>(y * 10);
            p[2] = 0;
        }
    uint8_t* centre = &src[7 * 45 + 7 * 3];
    centre[0] = 0, centre[1] = 0, centre[2] = 255;
    std::vector<uint8_t> bits(150 * 452, 0xEE);
    ViewBits view{bits.data(), 150, 150, 452};
    enlarge(src.data(), 45, view);
    // Every pixel of a cell shows its source pixel.
    EXPECT_EQ(view.pixel(70, 70), (Rgb{255, 0, 0}));
    EXPECT_EQ(view.pixel(79, 79), (Rgb{255, 0, 0}));
    EXPECT_EQ(view.pixel(80, 79), (Rgb{0, 70, 80}));
    EXPECT_EQ(view.pixel(149, 0), (Rgb{0, 0, 140}));

    Sample s = sampleView(view, 1);
    EXPECT_EQ(s.colour, (Rgb{255, 0, 0}));
    drawMarks(view, 1, s.marker);
    // Outline of the centre cell and the bands, in cyan; the cell's inside is untouched.
    EXPECT_EQ(view.pixel(70, 70), (Rgb{0, 255, 255}));
    EXPECT_EQ(view.pixel(79, 75), (Rgb{0, 255, 255}));
    EXPECT_EQ(view.pixel(75, 75), (Rgb{255, 0, 0}));
    EXPECT_EQ(view.pixel(0, 0), (Rgb{0, 255, 255}));
    EXPECT_EQ(view.pixel(149, 149), (Rgb{0, 255, 255}));
    EXPECT_EQ(view.pixel(30, 70), (Rgb{0, 255, 255}));  // row band top edge
    EXPECT_EQ(view.pixel(30, 75), (Rgb{0, 70, 30}));  // inside the band
    // Sampling after marking would see the marks: the window samples first.
    Sample after = sampleView(view, 3);
    EXPECT_NE(after.colour, s.colour);
}
