// An 8-bit sRGB colour in the colour spaces of CSS Color 4, with its
// matrices and white points (lab() and lch() are
// relative to D50, reached with the Bradford adaptation; OKLab and
// display-p3 are relative to D65), and the CSS texts of it.
//
// Every text is written with as many decimals as a browser needs to arrive
// at the same 8-bit colour again, for each of the 16,777,216 colours, and no
// more; trailing zeros are left out ("hsl(30.1 100% 50%)"). The examples
// below are of #FF8000.
#pragma once
#include <string>

#include "core/colour.h"

namespace hueloom::css {

struct Coords {
    double a = 0, b = 0, c = 0;
};

Coords linearSrgb(Rgb c);  // 0..1
Coords xyzD65(Rgb c);
Coords xyzD50(Rgb c);
Coords hsl(Rgb c);  // hue in degrees 0..360 (0 for a grey), saturation and lightness 0..100
Coords hwb(Rgb c);  // hue, whiteness, blackness
Coords labD50(Rgb c);  // CIE L*a*b*, L 0..100
Coords labD65(Rgb c);
Coords lch(Rgb c);  // from labD50: lightness, chroma, hue in degrees
Coords oklab(Rgb c);  // L 0..1
Coords oklch(Rgb c);
Coords displayP3(Rgb c);  // gamma encoded, 0..1

// From CIE XYZ relative to D50 (the connection space of ICC profiles), not
// limited to the sRGB gamut: linear sRGB (below 0 or above 1 outside it) and
// display-p3, gamma encoded with the sign carried.
Coords linearSrgbFromXyzD50(Coords xyz);
Coords displayP3FromXyzD50(Coords xyz);

// The sRGB transfer function and its inverse, on 0..1 (CSS Color 4's, with
// the sign carried for values below zero).
double toLinear(double v);
double fromLinear(double v);

// v with `decimals` decimals, trailing zeros and a lone point left out, never
// "-0".
std::string number(double v, int decimals);

std::string hslText(Rgb c);  // hsl(30.1 100% 50%)
std::string hwbText(Rgb c);  // hwb(30.1 0% 0%)
std::string labText(Rgb c);  // lab(67.817 45.488 74.841)
std::string lchText(Rgb c);  // lch(67.817 87.58 58.709)
std::string oklabText(Rgb c);  // oklab(73.1895% 0.111859 0.148359)
std::string oklchText(Rgb c);  // oklch(73.1895% 0.185803 52.985)
std::string displayP3Text(Rgb c);  // color(display-p3 0.93612 0.52902 0.19873)
std::string displayP3Text(Coords p3);  // the same of display-p3 coordinates
// CIE L*a*b* relative to D65, in a text that no style sheet takes for lab().
std::string labD65Text(Rgb c);  // L*a*b* D65 67.05 42.82 74.02

}  // namespace hueloom::css
