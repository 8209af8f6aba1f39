#include "core/colour_format.h"

#include "core/colour_names.h"
#include "core/colour_template.h"
#include "core/css_colour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace hueloom {

namespace {

constexpr std::array<ColourFormatName, 15> kNames{{
    {ColourFormat::Decimal, "Decimal"},
    {ColourFormat::Hexadecimal, "Hexadecimal"},
    {ColourFormat::Hsl, "HSL"},
    {ColourFormat::Hsv, "HSV"},
    {ColourFormat::Cmyk, "CMYK"},
    {ColourFormat::Lab, "Lab"},
    {ColourFormat::ColorRefHex, "ColorRefHex"},
    {ColourFormat::ColorRefDecimal, "ColorRefDecimal"},
    {ColourFormat::Hwb, "HWB"},
    {ColourFormat::Lch, "LCH"},
    {ColourFormat::Oklab, "OKLab"},
    {ColourFormat::Oklch, "OKLCH"},
    {ColourFormat::DisplayP3, "DisplayP3"},
    {ColourFormat::LabD65, "LabD65"},
    {ColourFormat::Name, "Name"},
}};
constexpr const char* kCustomNames[kCustomFormats] = {"Custom1", "Custom2", "Custom3", "Custom4", "Custom5",
                                                      "Custom6", "Custom7", "Custom8", "Custom9"};

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

}  // namespace

std::span<const ColourFormatName> colourFormatNames() { return kNames; }

const char* colourFormatIniName(ColourFormat format) {
    if (isCustomFormat(format)) return kCustomNames[customIndex(format)];
    for (const ColourFormatName& n : kNames)
        if (n.format == format) return n.iniName;
    return colourFormatIniName(kDefaultColourFormat);
}

std::optional<ColourFormat> parseColourFormat(std::string_view iniName) {
    for (const ColourFormatName& n : kNames)
        if (iniName == n.iniName) return n.format;
    for (int i = 0; i < kCustomFormats; ++i)
        if (iniName == kCustomNames[i]) return customFormat(i);
    return std::nullopt;
}

ColourFormat colourFormatOrDefault(std::string_view iniName) {
    return parseColourFormat(iniName).value_or(kDefaultColourFormat);
}

std::string formatColour(Rgb c, ColourFormat format, const ColourTemplates* templates) {
    switch (format) {
    case ColourFormat::Decimal: return decimalText(c);
    case ColourFormat::Hexadecimal: return hexadecimalText(c);
    case ColourFormat::Hsl: return css::hslText(c);
    case ColourFormat::Hsv: return hsvText(c);
    case ColourFormat::Cmyk: return cmykText(c);
    case ColourFormat::Lab: return css::labText(c);
    case ColourFormat::ColorRefHex: return colorRefHexText(c);
    case ColourFormat::ColorRefDecimal: return colorRefDecimalText(c);
    case ColourFormat::Hwb: return css::hwbText(c);
    case ColourFormat::Lch: return css::lchText(c);
    case ColourFormat::Oklab: return css::oklabText(c);
    case ColourFormat::Oklch: return css::oklchText(c);
    case ColourFormat::DisplayP3: return css::displayP3Text(c);
    case ColourFormat::LabD65: return css::labD65Text(c);
    case ColourFormat::Name: return colourNameText(c);
    default:
        if (templates)
            if (const ColourTemplate* t = templates->at(customIndex(format))) return t->format(c);
        return decimalText(c);
    }
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

std::string colorRefHexText(Rgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(toColourValue(c)));
    return buf;
}

std::string colorRefDecimalText(Rgb c) { return std::to_string(toColourValue(c)); }

}  // namespace hueloom
