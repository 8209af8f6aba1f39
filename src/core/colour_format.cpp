#include "core/colour_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace hueloom {

namespace {

constexpr std::array<ColourFormatName, 8> kNames{{
    {ColourFormat::Decimal, "Decimal"},
    {ColourFormat::Hexadecimal, "Hexadecimal"},
    {ColourFormat::Hsl, "HSL"},
    {ColourFormat::Hsv, "HSV"},
    {ColourFormat::Cmyk, "CMYK"},
    {ColourFormat::Lab, "Lab"},
    {ColourFormat::ColorRefHex, "ColorRefHex"},
    {ColourFormat::ColorRefDecimal, "ColorRefDecimal"},
}};

// num / den rounded to the nearest integer, halves upwards (num >= 0, den > 0).
int roundRatio(int num, int den) { return (2 * num + den) / (2 * den); }

struct Spread {
    int max, min;
};
Spread spread(Rgb c) { return {std::max({int(c.r), int(c.g), int(c.b)}), std::min({int(c.r), int(c.g), int(c.b)})}; }

// The hue of CSS Color 4's rgbToHsl, whole degrees 0..359; 0 for a grey.
int hueDegrees(Rgb c) {
    const auto [max, min] = spread(c);
    const int d = max - min;
    if (d == 0) return 0;
    const int r = c.r, g = c.g, b = c.b;
    // Hue × d, in degrees, kept in 0 .. 360·d.
    int num;
    if (max == r) {
        num = 60 * (g - b) + (g < b ? 360 * d : 0);
    } else if (max == g) {
        num = 60 * (b - r) + 120 * d;
    } else {
        num = 60 * (r - g) + 240 * d;
    }
    const int h = roundRatio(num, d);
    return h == 360 ? 0 : h;
}

// x rounded to two decimals, halves away from zero, as "-12.34" / "0.00".
std::string twoDecimals(double x) {
    const long long hundredths = std::llround(x * 100.0);
    const long long a = std::llabs(hundredths);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", hundredths < 0 ? "-" : "", a / 100, a % 100);
    return buf;
}

double labF(double t) {
    constexpr double kEpsilon = 216.0 / 24389.0, kKappa = 24389.0 / 27.0;
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

}  // namespace

std::span<const ColourFormatName> colourFormatNames() { return kNames; }

const char* colourFormatIniName(ColourFormat format) {
    for (const ColourFormatName& n : kNames)
        if (n.format == format) return n.iniName;
    return colourFormatIniName(kDefaultColourFormat);
}

std::optional<ColourFormat> parseColourFormat(std::string_view iniName) {
    for (const ColourFormatName& n : kNames)
        if (iniName == n.iniName) return n.format;
    return std::nullopt;
}

ColourFormat colourFormatOrDefault(std::string_view iniName) {
    return parseColourFormat(iniName).value_or(kDefaultColourFormat);
}

std::string formatColour(Rgb c, ColourFormat format) {
    switch (format) {
    case ColourFormat::Decimal: return decimalText(c);
    case ColourFormat::Hexadecimal: return hexadecimalText(c);
    case ColourFormat::Hsl: return hslText(c);
    case ColourFormat::Hsv: return hsvText(c);
    case ColourFormat::Cmyk: return cmykText(c);
    case ColourFormat::Lab: return labText(c);
    case ColourFormat::ColorRefHex: return colorRefHexText(c);
    case ColourFormat::ColorRefDecimal: return colorRefDecimalText(c);
    }
    return decimalText(c);
}

Hsl toHsl(Rgb c) {
    const auto [max, min] = spread(c);
    const int d = max - min;
    // s = d / min(max + min, 510 − max − min) in byte units; 0 for a grey
    // (and so for black and white, where the denominator would be 0).
    const int den = std::min(max + min, 510 - max - min);
    return {hueDegrees(c), d == 0 ? 0 : roundRatio(100 * d, den), roundRatio(100 * (max + min), 510)};
}

std::string hslText(Rgb c) {
    const Hsl v = toHsl(c);
    char buf[48];
    std::snprintf(buf, sizeof buf, "hsl(%d, %d%%, %d%%)", v.h, v.s, v.l);
    return buf;
}

Hsv toHsv(Rgb c) {
    const auto [max, min] = spread(c);
    return {hueDegrees(c), max == 0 ? 0 : roundRatio(100 * (max - min), max), roundRatio(100 * max, 255)};
}

std::string hsvText(Rgb c) {
    const Hsv v = toHsv(c);
    char buf[48];
    std::snprintf(buf, sizeof buf, "hsv(%d, %d%%, %d%%)", v.h, v.s, v.v);
    return buf;
}

Cmyk toCmyk(Rgb c) {
    const int max = spread(c).max;
    const int k = roundRatio(100 * (255 - max), 255);
    if (max == 0) return {0, 0, 0, k};
    return {roundRatio(100 * (max - c.r), max), roundRatio(100 * (max - c.g), max), roundRatio(100 * (max - c.b), max),
            k};
}

std::string cmykText(Rgb c) {
    const Cmyk v = toCmyk(c);
    char buf[64];
    std::snprintf(buf, sizeof buf, "cmyk(%d%%, %d%%, %d%%, %d%%)", v.c, v.m, v.y, v.k);
    return buf;
}

double srgbToLinear(uint8_t channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

Lab toLab(Rgb c) {
    const double r = srgbToLinear(c.r), g = srgbToLinear(c.g), b = srgbToLinear(c.b);
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = labF(x / 0.95047), fy = labF(y / 1.0), fz = labF(z / 1.08883);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

std::string labText(Rgb c) {
    const Lab v = toLab(c);
    return "lab(" + twoDecimals(v.l) + " " + twoDecimals(v.a) + " " + twoDecimals(v.b) + ")";
}

std::string colorRefHexText(Rgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(toColourValue(c)));
    return buf;
}

std::string colorRefDecimalText(Rgb c) { return std::to_string(toColourValue(c)); }

}  // namespace hueloom
