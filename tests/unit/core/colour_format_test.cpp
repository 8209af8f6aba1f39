// Colour value formats against published values: CSS Color 4's named colours
// (rebeccapurple is defined there as hsl(270, 50%, 40%)), the HSB and naive
// CMYK figures design tools and colour tables show for them, the CSS spaces'
// coordinates as colorjs.io (by the editors of CSS Color 4) gives them, and
// the COLORREF layout of the Windows documentation (0x00bbggrr). Every CSS
// text naming its colour again is held in css_roundtrip_test.cpp.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/colour_format.h"
#include "core/colour_names.h"
#include "core/colour_template.h"
#include "core/contrast.h"
#include "settings/settings.h"

using namespace hueloom;

namespace {

constexpr Rgb kRed{255, 0, 0}, kLime{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0},
    kGrey{128, 128, 128}, kYellow{255, 255, 0}, kRebeccaPurple{102, 51, 153}, kCoral{255, 127, 80},
    kSteelBlue{70, 130, 180}, kOrange{255, 128, 0}, kNavy{12, 34, 56};

TEST(ColourFormat, ClassicTextsAreUnchanged) {
    EXPECT_EQ(formatColour(kOrange, ColourFormat::Decimal), "rgb(255,128,0)");
    EXPECT_EQ(formatColour(kOrange, ColourFormat::Hexadecimal), "#FF8000");
    EXPECT_EQ(formatColour({10, 11, 171}, ColourFormat::Hexadecimal), "#0A0BAB");
    EXPECT_EQ(formatColour(kBlack, ColourFormat::Decimal), "rgb(0,0,0)");
}

TEST(ColourFormat, EveryFormatOfRed) {
    const std::pair<ColourFormat, const char*> cases[] = {
        {ColourFormat::Decimal, "rgb(255,0,0)"},
        {ColourFormat::Hexadecimal, "#FF0000"},
        {ColourFormat::Hsl, "hsl(0 100% 50%)"},
        {ColourFormat::Hsv, "hsv(0, 100%, 100%)"},
        {ColourFormat::Cmyk, "cmyk(0%, 100%, 100%, 0%)"},
        {ColourFormat::Lab, "lab(54.291 80.805 69.891)"},
        {ColourFormat::ColorRefHex, "0x000000FF"},
        {ColourFormat::ColorRefDecimal, "255"},
        {ColourFormat::Hwb, "hwb(0 0% 0%)"},
        {ColourFormat::Lch, "lch(54.291 106.837 40.858)"},
        {ColourFormat::Oklab, "oklab(62.7955% 0.224863 0.125846)"},
        {ColourFormat::Oklch, "oklch(62.7955% 0.257683 29.234)"},
        {ColourFormat::DisplayP3, "color(display-p3 0.91749 0.20029 0.13856)"},
        {ColourFormat::LabD65, "L*a*b* D65 53.24 80.09 67.2"},
        {ColourFormat::Name, "red"},
    };
    for (const auto& [format, text] : cases) EXPECT_EQ(formatColour(kRed, format), text) << colourFormatIniName(format);
    EXPECT_EQ(std::size(cases), colourFormatNames().size());
}

// Published values, one row each: CSS Color 4's named colours in HSL, the
// HSB and naive CMYK figures colour tables give for them, Lab (D65) of the
// primaries and greys, and COLORREF's red-in-the-low-byte layout.
TEST(ColourFormat, ReferenceTexts) {
    using F = ColourFormat;
    const struct {
        Rgb rgb;
        F format;
        const char* text;
    } cases[] = {
        {kRebeccaPurple, F::Hsl, "hsl(270 50% 40%)"},
        {kCoral, F::Hsl, "hsl(16.1 100% 65.7%)"},
        {kOrange, F::Hsl, "hsl(30.1 100% 50%)"},
        {kNavy, F::Hsl, "hsl(210 64.7% 13.3%)"},
        // Greys have no hue and no saturation, black and white included.
        {kGrey, F::Hsl, "hsl(0 0% 50.2%)"},
        {kWhite, F::Hsl, "hsl(0 0% 100%)"},
        {kBlack, F::Hsl, "hsl(0 0% 0%)"},
        {kRebeccaPurple, F::Hwb, "hwb(270 20% 40%)"},
        {kCoral, F::Hwb, "hwb(16.1 31.4% 0%)"},
        {kRebeccaPurple, F::Lab, "lab(32.393 38.423 -47.691)"},
        {kCoral, F::Lab, "lab(67.984 47.383 48.603)"},
        {kNavy, F::Lab, "lab(12.405 -2.16 -17.168)"},
        {kWhite, F::Lab, "lab(100 0 0)"},
        {kBlack, F::Lab, "lab(0 0 0)"},
        {kRebeccaPurple, F::Lch, "lch(32.393 61.244 308.857)"},
        {kGrey, F::Lch, "lch(53.585 0 0)"},  // no chroma: no hue
        {kRebeccaPurple, F::Oklab, "oklab(44.0272% 0.088177 -0.133864)"},
        {kCoral, F::Oklch, "oklch(73.5113% 0.167994 40.247)"},
        {kRebeccaPurple, F::Oklch, "oklch(44.0272% 0.160296 303.373)"},
        {kRebeccaPurple, F::DisplayP3, "color(display-p3 0.37367 0.21033 0.57911)"},
        {kRebeccaPurple, F::LabD65, "L*a*b* D65 32.9 42.89 -47.15"},
        {kOrange, F::LabD65, "L*a*b* D65 67.05 42.82 74.02"},
        {kRebeccaPurple, F::Name, "rebeccapurple"},
        {{0, 255, 255}, F::Name, "aqua"},  // of two aliases the first
        {{250, 128, 114}, F::Name, "salmon"},
        {{251, 128, 114}, F::Name, "\u2248salmon"},
        {kRebeccaPurple, F::Hsv, "hsv(270, 67%, 60%)"},
        {kCoral, F::Hsv, "hsv(16, 69%, 100%)"},
        {kSteelBlue, F::Hsv, "hsv(207, 61%, 71%)"},
        {kGrey, F::Hsv, "hsv(0, 0%, 50%)"},
        {kBlack, F::Hsv, "hsv(0, 0%, 0%)"},
        {kOrange, F::Hsv, "hsv(30, 100%, 100%)"},
        {kBlack, F::Cmyk, "cmyk(0%, 0%, 0%, 100%)"},
        {kWhite, F::Cmyk, "cmyk(0%, 0%, 0%, 0%)"},
        {kGrey, F::Cmyk, "cmyk(0%, 0%, 0%, 50%)"},
        {{128, 0, 0}, F::Cmyk, "cmyk(0%, 100%, 100%, 50%)"},  // maroon
        {kRebeccaPurple, F::Cmyk, "cmyk(33%, 67%, 0%, 40%)"},
        {kCoral, F::Cmyk, "cmyk(0%, 50%, 69%, 0%)"},
        {kSteelBlue, F::Cmyk, "cmyk(61%, 28%, 0%, 29%)"},
        {kOrange, F::Cmyk, "cmyk(0%, 50%, 100%, 0%)"},
        {kOrange, F::ColorRefHex, "0x000080FF"},
        {kOrange, F::ColorRefDecimal, "33023"},
        {kBlue, F::ColorRefHex, "0x00FF0000"},
        {kBlue, F::ColorRefDecimal, "16711680"},
        {kWhite, F::ColorRefDecimal, "16777215"},
        {kBlack, F::ColorRefHex, "0x00000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatColour(c.rgb, c.format), c.text)
            << colourFormatIniName(c.format) << " of " << int(c.rgb.r) << "," << int(c.rgb.g) << "," << int(c.rgb.b);
}

TEST(ColourFormat, HueRoundsHalvesUpAndWrapsAt360) {
    EXPECT_EQ(toHsv({255, 136, 135}).h, 1);  // 60° × 1/120 = 0.5° exactly
    EXPECT_EQ(toHsv({255, 0, 1}).h, 0);  // 359.76° rounds to 360°, shown as 0°
    EXPECT_EQ(formatColour({255, 0, 1}, ColourFormat::Hsl), "hsl(359.8 100% 50%)");
    EXPECT_EQ(formatColour({255, 0, 0}, ColourFormat::Hwb), "hwb(0 0% 0%)");
    EXPECT_NEAR(srgbToLinear(10), 10 / 255.0 / 12.92, 1e-12);
    EXPECT_NEAR(srgbToLinear(128), 0.21586, 1e-5);
}

TEST(ColourFormat, TemplatesFillTheirFieldsAndRefuseWhatTheyCannotRead) {
    const ColourTemplates t({"{r},{g},{b}", "Hex|0x{R}{G}{B} / {rx}{gx}{bx} / #{hex}",
                             "C#|Color.FromArgb({r}, {g}, {b})", "GLSL|vec3({rf}, {gf:1}, {gf:10})",
                             "Spaces|{hsl.h} {lab.l} {oklch.c:2} {p3.r} {{braces}}", "Bad|{nope}", "Open|{r",
                             "Dec|{r:2}", ""});
    const Rgb c{255, 128, 0};
    EXPECT_EQ(t.at(0)->name(), "{r},{g},{b}");
    EXPECT_EQ(t.at(0)->format(c), "255,128,0");
    EXPECT_EQ(t.at(1)->format({171, 205, 239}), "0xABCDEF / abcdef / #ABCDEF");
    EXPECT_EQ(t.at(2)->format(c), "Color.FromArgb(255, 128, 0)");
    EXPECT_EQ(t.at(3)->format(c), "vec3(1, 0.5, 0.5019607843)");
    EXPECT_EQ(t.at(4)->format(c), "30.1 67.82 0.19 0.9361 {braces}");
    EXPECT_EQ(formatColour(c, ColourFormat::Custom3, &t), "Color.FromArgb(255, 128, 0)");
    for (int i : {5, 6, 7, 8}) EXPECT_EQ(t.at(i), nullptr) << i;
    ASSERT_EQ(t.errors().size(), 3u);
    EXPECT_NE(t.errors()[0].find("Custom6="), std::string::npos);
    EXPECT_EQ(formatColour(c, ColourFormat::Custom6, &t), "rgb(255,128,0)");  // left out: the plain text
}

TEST(ColourFormat, ApcaOfPublishedPairs) {
    // APCA's own examples: black on white Lc 106.04, white on black -107.88,
    // #888 on #fff 63.06, #000 on #aaa 58.15.
    EXPECT_NEAR(apcaContrast(kBlack, kWhite), 106.04, 0.01);
    EXPECT_NEAR(apcaContrast(kWhite, kBlack), -107.88, 0.01);
    EXPECT_NEAR(apcaContrast({136, 136, 136}, kWhite), 63.06, 0.01);
    EXPECT_NEAR(apcaContrast(kBlack, {170, 170, 170}), 58.15, 0.01);
    EXPECT_EQ(apcaContrast(kGrey, kGrey), 0);
    EXPECT_EQ(apcaText(63.056), "Lc 63.1");
    EXPECT_STREQ(apcaLevel(-75), "body text");
    EXPECT_STREQ(apcaLevel(14.9), "fail");
    EXPECT_EQ(cssNamedColours().size(), 148u);
    EXPECT_NEAR(deltaE2000({255, 0, 0}, {255, 0, 0}), 0, 1e-12);
}

TEST(ColourFormat, IniNamesKeepTodaysValuesAndAreUnique) {
    EXPECT_STREQ(colourFormatIniName(ColourFormat::Decimal), "Decimal");
    EXPECT_STREQ(colourFormatIniName(ColourFormat::Hexadecimal), "Hexadecimal");
    EXPECT_STREQ(colourFormatIniName(kDefaultColourFormat), settings::kDefaultColorMode);
    std::set<std::string> names;
    for (const ColourFormatName& n : colourFormatNames()) {
        EXPECT_TRUE(names.insert(n.iniName).second) << n.iniName;
        EXPECT_EQ(parseColourFormat(n.iniName), n.format) << n.iniName;
        EXPECT_STREQ(colourFormatIniName(n.format), n.iniName);
    }
    EXPECT_EQ(parseColourFormat("Lab"), ColourFormat::Lab);
    EXPECT_EQ(parseColourFormat("ColorRefDecimal"), ColourFormat::ColorRefDecimal);
    EXPECT_EQ(parseColourFormat("Custom9"), ColourFormat::Custom9);
    EXPECT_STREQ(colourFormatIniName(ColourFormat::Custom1), "Custom1");
}

TEST(ColourFormat, UnknownNamesSelectNothingOrTheDefault) {
    for (const char* name : {"decimal", "HEXADECIMAL", "", "hsl", " HSL", "Lab "}) {
        EXPECT_EQ(parseColourFormat(name), std::nullopt) << name;
        EXPECT_EQ(colourFormatOrDefault(name), ColourFormat::Decimal) << name;
    }
    EXPECT_EQ(colourFormatOrDefault("Hexadecimal"), ColourFormat::Hexadecimal);
    EXPECT_EQ(colourFormatOrDefault("CMYK"), ColourFormat::Cmyk);
}

}  // namespace
