// About window without the window: the orbit of the little circle, the
// closing iris, the wheel picture and its PNG, the embedded-data component.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/codecs/png_decoder.h"
#include "image/dib.h"
#include "image/file_io.h"
#include "support/image_test_support.h"
#include "dialogs/about/about.h"

using namespace hueloom::dialogs;
namespace image = hueloom::image;

namespace {

std::uint32_t pixelRgb(const image::Dib& d, int x, int y) {
    const image::RgbQuad q = d.palette().at(d.scanLine(y)[x]);
    return (std::uint32_t{q.red} << 16) | (std::uint32_t{q.green} << 8) | q.blue;
}

// ---------------------------------------------------------------- orbit

TEST(AboutOrbit, StartsAtTheBottomAndRunsClockwiseRoundTheWheel) {
    EXPECT_EQ(orbitStep(0), (OrbitStep{177, 342, 235}));
    EXPECT_EQ(orbitStep(15), (OrbitStep{177, 8, 167}));  // top
    EXPECT_EQ(orbitStep(30), orbitStep(0));
    EXPECT_EQ(orbitStep(-1), orbitStep(29));
    EXPECT_EQ(orbitStep(45), orbitStep(15));

    std::set<std::pair<int, int>> seen;
    for (int k = 0; k < kOrbitSteps; ++k) {
        const OrbitStep a = orbitStep(k), b = orbitStep(k + 1);
        seen.insert({a.x, a.y});
        // On the circle of radius 167 round (177, 175), within rounding.
        EXPECT_NEAR(std::hypot(a.x - 177, a.y - 175), 167.0, 0.75) << k;
        // Clockwise on screen (y down): positive cross product about the centre.
        const long cross = static_cast<long>(a.x - 177) * (b.y - 175) - static_cast<long>(a.y - 175) * (b.x - 177);
        EXPECT_GT(cross, 0) << k;
        // One segment per step: neighbours about 35 pixels apart.
        EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 2 * 167 * std::sin(M_PI / 30), 1.5) << k;
    }
    EXPECT_EQ(seen.size(), 30u);
}

TEST(AboutOrbit, IconMovesLeftEveryTenStepsAndTheCounterWraps) {
    for (int k = 0; k < 30; ++k) EXPECT_EQ(orbitStep(k).iconLeft, k < 10 ? 235 : k < 20 ? 167 : 99) << k;
    EXPECT_EQ(nextOrbitCounter(0), 1);
    EXPECT_EQ(nextOrbitCounter(28), 29);
    EXPECT_EQ(nextOrbitCounter(29), 0);
    EXPECT_EQ(nextOrbitCounter(30), 1);
}

TEST(AboutOrbit, CaptionColourIsTheInverseOfTheFace) {
    EXPECT_EQ(inverseColour(0x00FF00), 0xFF00FFu);  // green face, magenta caption
    EXPECT_EQ(inverseColour(0x123456), 0xEDCBA9u);
    EXPECT_EQ(inverseColour(0xFFFFFF), 0u);
    EXPECT_EQ(inverseColour(0xFF000000), 0xFFFFFFu);  // bits above RGB are ignored
}

// ---------------------------------------------------------------- iris

TEST(AboutIris, FiftyNineShrinkingStepsThenClose) {
    int s = 0, steps = 0, firstHidden = -1, firstRed = -1;
    while (true) {
        const IrisStep st = irisStep(s);
        if (st.close) break;
        ++steps;
        EXPECT_EQ(st.ellipse, (hueloom::Rect{s + 2, s + 2, 363 - s, 362 - s}));
        if (st.hideLabels && firstHidden < 0) firstHidden = s;
        if (st.red && firstRed < 0) firstRed = s;
        EXPECT_EQ(st.next, s + 3);
        s = st.next;
        ASSERT_LT(steps, 1000);
    }
    EXPECT_EQ(steps, 59);
    EXPECT_EQ(s, 177);
    EXPECT_EQ(firstHidden, 141);
    EXPECT_EQ(firstRed, 63);
    EXPECT_FALSE(irisStep(60).red);
    // Once hidden, labels stay hidden.
    for (int t = 141; t < 177; t += 3) EXPECT_TRUE(irisStep(t).hideLabels);
    EXPECT_FALSE(irisStep(138).hideLabels);
    // Narrower windows close sooner: 10 pixels is the last width kept.
    EXPECT_FALSE(irisStep(0, 14, 14).close);
    EXPECT_TRUE(irisStep(0, 13, 13).close);
}

TEST(AboutIris, AtAnotherDpiTheStepsScaleWithTheWindow) {
    int s = 0, steps = 0;
    while (!irisStep(s, 548, 546, 144).close) {
        EXPECT_EQ(irisStep(s, 548, 546, 144).ellipse.left, s + 3);
        s = irisStep(s, 548, 546, 144).next;
        ++steps;
        ASSERT_LT(steps, 1000);
    }
    EXPECT_EQ(steps, 53);  // steps of 5 on a window 1.5 times as wide: about as long as 59 of 3
}

// ---------------------------------------------------------------- picture

TEST(AboutPicture, WheelColoursRunClockwiseFromGreenInStepsOf0x33) {
    const std::uint32_t expected[30] = {0x00FF00, 0x00FF33, 0x00FF66, 0x00FF99, 0x00FFCC, 0x00FFFF, 0x00CCFF, 0x0099FF,
                                        0x0066FF, 0x0033FF, 0x0000FF, 0x3300FF, 0x6600FF, 0x9900FF, 0xCC00FF, 0xFF00FF,
                                        0xFF00CC, 0xFF0099, 0xFF0066, 0xFF0033, 0xFF0000, 0xFF3300, 0xFF6600, 0xFF9900,
                                        0xFFCC00, 0xFFFF00, 0xCCFF00, 0x99FF00, 0x66FF00, 0x33FF00};
    for (int i = 0; i < 30; ++i) EXPECT_EQ(wheelColour(i), expected[i]) << i;
    EXPECT_EQ(wheelColour(30), 0x00FF00u);
    EXPECT_EQ(wheelSegmentAt(kWheelCentreX, kWheelCentreY + 150), 0);  // bottom
    EXPECT_EQ(wheelSegmentAt(kWheelCentreX, kWheelCentreY - 150), 15);  // top
    // Segment k is centred on the orbit angle of step k and spans 12 degrees.
    for (int k = 0; k < 30; ++k) {
        const double t = (2.0 * k / 30 + 0.5) * M_PI;
        for (double off : {-0.09, 0.0, 0.09})
            EXPECT_EQ(wheelSegmentAt(kWheelCentreX + 150 * std::cos(t + off), kWheelCentreY + 150 * std::sin(t + off)),
                      k)
                << k << " " << off;
    }
}

TEST(AboutPicture, EveryOrbitStepSamplesItsOwnSegment) {
    const image::Dib pic = drawAboutPicture();
    ASSERT_EQ(pic.width(), 365);
    ASSERT_EQ(pic.height(), 364);
    ASSERT_EQ(pic.bitsPerPixel(), 8);
    for (int k = 0; k < 30; ++k) {
        const OrbitStep st = orbitStep(k);
        EXPECT_EQ(pixelRgb(pic, st.x, st.y), wheelColour(k)) << k;
        // The whole 11 x 11 circle lies on the ring, inside the window's shape.
        for (auto [dx, dy] : {std::pair{0, 0}, {10, 0}, {0, 10}, {10, 10}})
            EXPECT_EQ(pixelRgb(pic, st.x + dx, st.y + dy), wheelColour(k)) << k << " corner " << dx << "," << dy;
    }
    EXPECT_EQ(pixelRgb(pic, 177, 342), 0x00FF00u);  // k = 0: green
}

TEST(AboutPicture, CardWhiteGroundAndLettersOnThePureHues) {
    const image::Dib pic = drawAboutPicture();
    EXPECT_EQ(pixelRgb(pic, 93, 129), kAboutCardColour);
    EXPECT_EQ(pixelRgb(pic, 272, 234), kAboutCardColour);
    EXPECT_EQ(pixelRgb(pic, 92, 129), 0xFFFFFFu);
    EXPECT_EQ(pixelRgb(pic, 273, 234), 0xFFFFFFu);
    EXPECT_EQ(pixelRgb(pic, 93, 235), 0xFFFFFFu);
    EXPECT_EQ(pixelRgb(pic, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixelRgb(pic, 364, 363), 0xFFFFFFu);
    EXPECT_EQ(pixelRgb(pic, 183, 100), 0xFFFFFFu);  // the hole above the card

    // Black letter pixels only on segments 0, 5, 10, 15, 20 and 25.
    std::vector<int> black(30, 0);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            if (pixelRgb(pic, x, y) == 0) ++black[wheelSegmentAt(x + 0.5, y + 0.5)];
    for (int i = 0; i < 30; ++i) {
        if (i % 5 == 0)
            EXPECT_GE(black[i], 40) << i;  // Y, the thinnest letter, has 40
        else
            EXPECT_EQ(black[i], 0) << i;
    }
}

TEST(AboutPicture, AtAnotherDpiDrawnAfreshAtTheScaledSize) {
    const image::Dib pic = drawAboutPicture(144);
    ASSERT_EQ(pic.width(), 548);
    ASSERT_EQ(pic.height(), 546);
    EXPECT_EQ(pixelRgb(pic, 140, 194), kAboutCardColour);  // the card at (93, 129) × 1.5
    EXPECT_EQ(pixelRgb(pic, 139, 194), 0xFFFFFFu);
    EXPECT_EQ(pixelRgb(pic, 274, 30), 0xFF00FFu);  // the top of the wheel, magenta
    EXPECT_EQ(pixelRgb(pic, 274, 150), 0xFFFFFFu);  // the hole above the card
}

TEST(AboutPicture, PngDecodesBackToThePicture) {
    const std::vector<std::uint8_t>& png = aboutPicturePng();
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(&png, &aboutPicturePng());  // made once
    EXPECT_LT(png.size(), 20000u);  // a palette picture of flat colours packs small
    const image::Dib back = hueloom::codecs::decodePng(png);
    EXPECT_EQ(back.width(), 365);
    EXPECT_EQ(back.height(), 364);
    const image::Dib pic = drawAboutPicture();
    for (int y = 0; y < 364; y += 7)
        for (int x = 0; x < 365; ++x) ASSERT_EQ(pixelRgb(back, x, y), pixelRgb(pic, x, y)) << x << "," << y;
}

TEST(AboutPicture, TemporaryFileSitsBesideTheProgram) {
    EXPECT_EQ(aboutPicturePath(L"C:\\Tools\\Hueloom.exe"), L"C:\\Tools\\Hueloom.png");
    EXPECT_EQ(aboutPicturePath(L"C:\\v1.0\\Hueloom"), L"C:\\v1.0\\Hueloom.png");
}

// ---------------------------------------------------------------- embedded data

TEST(AboutBindData, LoadReplacesAndNotifiesAssignCopiesSilently) {
    TBindData d;
    int changes = 0;
    d.OnChange = [&] { ++changes; };
    EXPECT_FALSE(d.ShouldStore());
    std::istringstream first(std::string("\x89PNG\0abc", 8));
    d.LoadFromStream(first);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d.bytes(), (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0, 'a', 'b', 'c'}));
    EXPECT_TRUE(d.ShouldStore());
    std::istringstream second("xy");
    d.LoadFromStream(second);  // replaces, does not append
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(d.size(), 2u);

    TDataBind bind;
    bind.SetData(d);
    EXPECT_EQ(bind.Data().bytes(), d.bytes());
    EXPECT_EQ(changes, 2);
    std::ostringstream out;
    bind.Data().SaveToStream(out);
    EXPECT_EQ(out.str(), "xy");

    // A large stream crosses the reader's buffer boundary intact.
    std::string big(10000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    std::istringstream bigIn(big);
    d.LoadFromStream(bigIn);
    ASSERT_EQ(d.size(), big.size());
    EXPECT_EQ(std::string(d.bytes().begin(), d.bytes().end()), big);
}

TEST(AboutBindData, SaveToFileCreatesOverwritesAndReportsFailure) {
    const auto dir = image::testing::freshTempDir("hueloom_about");
    const auto file = dir / "Hueloom.png";
    TBindData d;
    d.LoadFromBytes({1, 2, 3, 4, 5});
    d.SaveToFile(file);
    EXPECT_EQ(std::filesystem::file_size(file), 5u);
    d.LoadFromBytes({9});
    d.SaveToFile(file);  // overwritten and truncated
    std::ifstream in(file, std::ios::binary);
    std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(got, std::string("\x09"));
    EXPECT_THROW(d.SaveToFile(dir / "missing" / "x.png"), image::FileError);  // names the file and the reason
    std::filesystem::remove_all(dir);
}

}  // namespace
