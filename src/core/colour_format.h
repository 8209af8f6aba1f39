// Colour value formats: the texts a colour can be shown and copied as, and
// the conversions behind them.
//
// Every format works on an 8-bit sRGB colour. The two classic formats keep
// their texts exactly (decimalText and hexadecimalText in core/colour.h).
//
// Rounding. HSL, HSV and CMYK are ratios of the channel bytes; they are
// computed exactly in integers and rounded to whole degrees and percent,
// halves upwards (a hue of exactly 0.5° shows as 1°). A hue that rounds to
// 360° is shown as 0°. L*a*b* is computed in double precision and rounded
// to two decimals, halves away from zero; a value that rounds to zero shows
// as 0.00, never -0.00.
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
    Hsl,  // hsl(30, 100%, 50%)
    Hsv,  // hsv(30, 100%, 100%)
    Cmyk,  // cmyk(0%, 50%, 100%, 0%)
    Lab,  // lab(67.05 42.83 74.02)
    ColorRefHex,  // 0x000080FF
    ColorRefDecimal,  // 33023
};

// What an unknown or missing value name selects.
inline constexpr ColourFormat kDefaultColourFormat = ColourFormat::Decimal;

// Every format in menu order, with its value name in the settings file
// ("Decimal", "Hexadecimal" as they always were; "HSL", "HSV", "CMYK", "Lab",
// "ColorRefHex", "ColorRefDecimal"). The names never change once released.
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

// The colour as text in the format.
std::string formatColour(Rgb c, ColourFormat format);

// HSL as CSS Color 4 defines it: hue in degrees 0..359, saturation and
// lightness in percent; a grey has hue 0 and saturation 0.
struct Hsl {
    int h = 0, s = 0, l = 0;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};
Hsl toHsl(Rgb c);
std::string hslText(Rgb c);  // "hsl(30, 100%, 50%)"

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

// CIE L*a*b* relative to D65 (Xn 0.95047, Yn 1, Zn 1.08883): the channels
// decoded with the sRGB transfer function, XYZ by the sRGB matrix, then the
// CIE 1976 formulas (ε = 216/24389, κ = 24389/27). Unrounded.
// Note: CSS's lab() means D50; this text uses the same spelling for D65.
struct Lab {
    double l = 0, a = 0, b = 0;
};
Lab toLab(Rgb c);
std::string labText(Rgb c);  // "lab(53.24 80.09 67.20)"

// The Windows COLORREF 0x00BBGGRR (toColourValue) as text.
std::string colorRefHexText(Rgb c);  // "0x000080FF"
std::string colorRefDecimalText(Rgb c);  // "33023"

// One sRGB channel byte decoded to linear light 0..1 (IEC 61966-2-1).
double srgbToLinear(uint8_t channel);

}  // namespace hueloom
