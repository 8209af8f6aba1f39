// Colour value formats: the texts a colour can be shown and copied as, and
// the conversions behind them.
//
// Every format works on an 8-bit sRGB colour. The classic formats keep their
// texts exactly (decimalText and hexadecimalText in core/colour.h, HSV, CMYK,
// COLORREF). The texts in CSS syntax (hsl(), hwb(), lab(), lch(), oklab(),
// oklch(), color(display-p3 ...)) are CSS Color 4's and name the same 8-bit
// colour again in a browser (core/css_colour.h). The user's own formats are
// templates (core/colour_template.h).
//
// Rounding. HSV and CMYK are ratios of the channel bytes; they are computed
// exactly in integers and rounded to whole degrees and percent, halves
// upwards (a hue of exactly 0.5° shows as 1°). A hue that rounds to 360° is
// shown as 0°.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/colour.h"

namespace hueloom {

enum class ColourFormat {
    Decimal,  // rgb(255,128,0)
    Hexadecimal,  // #FF8000
    Hsl,  // hsl(30.1 100% 50%)
    Hsv,  // hsv(30, 100%, 100%)
    Cmyk,  // cmyk(0%, 50%, 100%, 0%)
    Lab,  // lab(67.817 45.488 74.841): CSS, D50
    ColorRefHex,  // 0x000080FF
    ColorRefDecimal,  // 33023
    Hwb,  // hwb(30.1 0% 0%)
    Lch,  // lch(67.817 87.58 58.709)
    Oklab,  // oklab(73.1895% 0.111859 0.148359)
    Oklch,  // oklch(73.1895% 0.185803 52.985)
    DisplayP3,  // color(display-p3 0.93612 0.52902 0.19873)
    LabD65,  // L*a*b* D65 67.05 42.82 74.02
    Name,  // darkorange, or the nearest: ≈darkorange
    // The user's templates, [Format] Custom1 .. Custom9.
    Custom1,
    Custom2,
    Custom3,
    Custom4,
    Custom5,
    Custom6,
    Custom7,
    Custom8,
    Custom9,
};
inline constexpr int kCustomFormats = 9;
constexpr bool isCustomFormat(ColourFormat f) { return f >= ColourFormat::Custom1; }
constexpr int customIndex(ColourFormat f) { return static_cast<int>(f) - static_cast<int>(ColourFormat::Custom1); }
constexpr ColourFormat customFormat(int index) {
    return static_cast<ColourFormat>(static_cast<int>(ColourFormat::Custom1) + index);
}

// What an unknown or missing value name selects.
inline constexpr ColourFormat kDefaultColourFormat = ColourFormat::Decimal;

// Every built-in format in menu order, with its value name in the settings
// file ("Decimal", "Hexadecimal" as they always were; "HSL", "HSV", "CMYK",
// "Lab", "ColorRefHex", "ColorRefDecimal", "HWB", "LCH", "OKLab", "OKLCH",
// "DisplayP3", "LabD65", "Name"). The names never change once released; the
// templates' are "Custom1" .. "Custom9" (parseColourFormat takes them, the
// list does not hold them).
struct ColourFormatName {
    ColourFormat format;
    const char* iniName;
};
std::span<const ColourFormatName> colourFormatNames();

const char* colourFormatIniName(ColourFormat format);

// The format of a value name, compared exactly and case-sensitively as the
// settings file has always been read ("decimal" is not "Decimal"); nothing
// for any other text.
std::optional<ColourFormat> parseColourFormat(std::string_view iniName);
// The same, with kDefaultColourFormat for any other text.
ColourFormat colourFormatOrDefault(std::string_view iniName);

class ColourTemplates;
// The colour as text in the format; a template's from `templates` (none, or
// one it does not hold: the decimal text).
std::string formatColour(Rgb c, ColourFormat format, const ColourTemplates* templates = nullptr);

// HSV (HSB): the same hue; saturation = (max − min) / max, value = max.
struct Hsv {
    int h = 0, s = 0, v = 0;
    friend bool operator==(const Hsv&, const Hsv&) = default;
};
Hsv toHsv(Rgb c);
std::string hsvText(Rgb c);  // "hsv(30, 100%, 100%)"

// CMYK without a colour profile, as design tools show it: K = 1 − max,
// C = (max − R) / max (likewise M, Y), all percent; black is 0, 0, 0, 100.
struct Cmyk {
    int c = 0, m = 0, y = 0, k = 0;
    friend bool operator==(const Cmyk&, const Cmyk&) = default;
};
Cmyk toCmyk(Rgb c);
std::string cmykText(Rgb c);  // "cmyk(0%, 50%, 100%, 0%)"

// The Windows COLORREF 0x00BBGGRR (toColourValue) as text.
std::string colorRefHexText(Rgb c);  // "0x000080FF"
std::string colorRefDecimalText(Rgb c);  // "33023"

// One sRGB channel byte decoded to linear light 0..1 (IEC 61966-2-1).
double srgbToLinear(uint8_t channel);

}  // namespace hueloom
