// Colour value formats against published values: CSS Color 4's named colours
// (rebeccapurple is defined there as hsl(270, 50%, 40%)), the HSB and naive
// CMYK figures design tools and colour tables show for them, Lab (D65) of the
// sRGB primaries as colorimetry tables give them, and the COLORREF layout of
// the Windows documentation (0x00bbggrr).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/colour_format.h"
#include "settings/settings.h"

using namespace hueloom;

namespace {

constexpr Rgb kRed{255, 0, 0}, kLime{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0},
    kGrey{128, 128, 128}, kYellow{255, 255, 0}, kRebeccaPurple{102, 51, 153}, kCoral{255, 127, 80},
    kSteelBlue{70, 130, 180}, kOrange{255, 128, 0};

TEST(ColourFormat, ClassicTextsAreUnchanged) {
    EXPECT_EQ(formatColour(kOrange, ColourFormat::Decimal), "rgb(255,128,0)");
    EXPECT_EQ(formatColour(kOrange, ColourFormat::Hexadecimal), "#FF8000");
    EXPECT_EQ(formatColour({10, 11, 171}, ColourFormat::Hexadecimal), "#0A0BAB");
    EXPECT_EQ(formatColour(kBlack, ColourFormat::Decimal), "rgb(0,0,0)");
}

TEST(ColourFormat, EveryFormatOfRed) {
    const std::pair<ColourFormat, const char*> cases[] = {
        {ColourFormat::Decimal, "rgb(255,0,0)"},          {ColourFormat::Hexadecimal, "#FF0000"},
        {ColourFormat::Hsl, "hsl(0, 100%, 50%)"},         {ColourFormat::Hsv, "hsv(0, 100%, 100%)"},
        {ColourFormat::Cmyk, "cmyk(0%, 100%, 100%, 0%)"}, {ColourFormat::Lab, "lab(53.24 80.09 67.20)"},
        {ColourFormat::ColorRefHex, "0x000000FF"},        {ColourFormat::ColorRefDecimal, "255"},
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
        {kRebeccaPurple, F::Hsl, "hsl(270, 50%, 40%)"},
        {kCoral, F::Hsl, "hsl(16, 100%, 66%)"},
        {kSteelBlue, F::Hsl, "hsl(207, 44%, 49%)"},
        {kLime, F::Hsl, "hsl(120, 100%, 50%)"},
        {kBlue, F::Hsl, "hsl(240, 100%, 50%)"},
        {kYellow, F::Hsl, "hsl(60, 100%, 50%)"},
        {kOrange, F::Hsl, "hsl(30, 100%, 50%)"},
        // Greys have no hue and no saturation, black and white included.
        {kGrey, F::Hsl, "hsl(0, 0%, 50%)"},
        {kWhite, F::Hsl, "hsl(0, 0%, 100%)"},
        {kBlack, F::Hsl, "hsl(0, 0%, 0%)"},
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
    // 60° × 1/120 = 0.5° exactly.
    EXPECT_EQ(toHsl({255, 136, 135}), (Hsl{1, 100, 76}));
    // 360° − 60°/255 = 359.76° rounds to 360°, shown as 0°.
    EXPECT_EQ(toHsl({255, 0, 1}), (Hsl{0, 100, 50}));
    EXPECT_EQ(toHsv({255, 0, 1}).h, 0);
    EXPECT_EQ(toHsl({255, 0, 2}).h, 0);  // 359.53°
    EXPECT_EQ(toHsl({255, 0, 3}).h, 359);  // 359.29°
}

TEST(ColourFormat, LabOfPrimariesAndGreys) {
    const Lab red = toLab(kRed);
    EXPECT_NEAR(red.l, 53.2408, 1e-3);
    EXPECT_NEAR(red.a, 80.0925, 1e-3);
    EXPECT_NEAR(red.b, 67.2032, 1e-3);
    EXPECT_EQ(labText(kRed), "lab(53.24 80.09 67.20)");
    EXPECT_EQ(labText(kLime), "lab(87.73 -86.18 83.18)");
    EXPECT_EQ(labText(kBlue), "lab(32.30 79.19 -107.86)");
    // White is the reference white; a and b that round to zero never show
    // a minus sign.
    EXPECT_EQ(labText(kWhite), "lab(100.00 0.00 0.00)");
    EXPECT_EQ(labText(kBlack), "lab(0.00 0.00 0.00)");
    EXPECT_EQ(labText(kGrey), "lab(53.59 0.00 0.00)");
    // The linear segments of both transfer functions: 10/255 ≤ 0.04045, and
    // Y ≤ 216/24389, so L = 24389/27 × (10/255) / 12.92 = 2.7418.
    EXPECT_NEAR(toLab({10, 10, 10}).l, 2.7418, 1e-3);
    EXPECT_NEAR(srgbToLinear(10), 10 / 255.0 / 12.92, 1e-12);
    EXPECT_NEAR(srgbToLinear(128), 0.21586, 1e-5);
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
