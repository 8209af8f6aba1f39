#include "core/css_colour.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace hueloom::css {

namespace {

using Matrix = double[3][3];

// CSS Color 4, "Sample code for color conversions".
constexpr Matrix kLinearSrgbToXyz = {
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
};
constexpr Matrix kD65ToD50 = {
    {1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
    {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
    {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371},
};
constexpr Matrix kXyzToLinearSrgb = {
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
};
constexpr Matrix kD50ToD65 = {
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
};
constexpr Matrix kXyzToLinearP3 = {
    {446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
    {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
    {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415},
};
constexpr Matrix kXyzToLms = {
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
};
constexpr Matrix kLmsToOklab = {
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
};
constexpr Coords kD50White{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
constexpr Coords kD65White{0.3127 / 0.3290, 1.0, (1.0 - 0.3127 - 0.3290) / 0.3290};

Coords times(const Matrix& m, Coords v) {
    return {m[0][0] * v.a + m[0][1] * v.b + m[0][2] * v.c, m[1][0] * v.a + m[1][1] * v.b + m[1][2] * v.c,
            m[2][0] * v.a + m[2][1] * v.b + m[2][2] * v.c};
}

Coords labOf(Coords xyz, Coords white) {
    constexpr double kEpsilon = 216.0 / 24389, kKappa = 24389.0 / 27;
    auto f = [](double t) { return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16) / 116; };
    const double fx = f(xyz.a / white.a), fy = f(xyz.b / white.b), fz = f(xyz.c / white.c);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// Lightness, chroma and hue of a Lab-like triple; the hue in 0..360.
Coords polar(Coords lab) {
    double h = std::atan2(lab.c, lab.b) * 180 / std::acos(-1.0);
    if (h < 0) h += 360;
    return {lab.a, std::hypot(lab.b, lab.c), h};
}

// The hue of HSL and HWB, 0..360, 0 for a grey.
double hue(Rgb c, double& max, double& min) {
    const double r = c.r / 255.0, g = c.g / 255.0, b = c.b / 255.0;
    max = std::max({r, g, b});
    min = std::min({r, g, b});
    const double d = max - min;
    if (d == 0) return 0;
    double h = max == r ? (g - b) / d + (g < b ? 6 : 0) : max == g ? (b - r) / d + 2 : (r - g) / d + 4;
    return h * 60;
}

// A text built in one buffer: the function's name, its numbers (decimals
// trimmed as number() does), the closing bracket.
class Line {
public:
    explicit Line(std::string_view head) { put(head); }
    Line& put(std::string_view s) {
        for (char ch : s) buf_[n_++] = ch;
        return *this;
    }
    // v, then `after`.
    Line& num(double v, int decimals, std::string_view after = " ") {
        char* start = buf_ + n_;
        char* end = std::to_chars(start, buf_ + sizeof buf_ - 8, v, std::chars_format::fixed, decimals).ptr;
        if (decimals > 0) {
            while (end[-1] == '0') --end;
            if (end[-1] == '.') --end;
        }
        if (end - start == 2 && start[0] == '-' && start[1] == '0') *start = '0', end = start + 1;
        n_ = static_cast<size_t>(end - buf_);
        return put(after);
    }
    // A hue that rounds to 360 at the given decimals is written as 0; a hue
    // without chroma to speak of as 0 too.
    Line& hue(double h, int decimals, bool achromatic, std::string_view after = " ") {
        const size_t at = n_;
        num(achromatic ? 0 : h, decimals, "");
        if (std::string_view(buf_ + at, n_ - at) == "360") n_ = at, put("0");
        return put(after);
    }
    std::string str() const { return std::string(buf_, n_); }

private:
    char buf_[160];
    size_t n_ = 0;
};

}  // namespace

double toLinear(double v) {
    const double a = std::fabs(v);
    const double l = a <= 0.04045 ? a / 12.92 : std::pow((a + 0.055) / 1.055, 2.4);
    return v < 0 ? -l : l;
}

double fromLinear(double v) {
    const double a = std::fabs(v);
    const double e = a > 0.0031308 ? 1.055 * std::pow(a, 1 / 2.4) - 0.055 : 12.92 * a;
    return v < 0 ? -e : e;
}

Coords linearSrgb(Rgb c) {
    static const auto table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = toLinear(i / 255.0);
        return t;
    }();
    return {table[c.r], table[c.g], table[c.b]};
}
Coords xyzD65(Rgb c) { return times(kLinearSrgbToXyz, linearSrgb(c)); }
Coords xyzD50(Rgb c) { return times(kD65ToD50, xyzD65(c)); }

Coords hsl(Rgb c) {
    double max, min;
    const double h = hue(c, max, min);
    const double l = (max + min) / 2, d = max - min;
    const double s = d == 0 || l == 0 || l == 1 ? 0 : d / std::min(l, 1 - l) / 2;
    return {h, s * 100, l * 100};
}

Coords hwb(Rgb c) {
    double max, min;
    const double h = hue(c, max, min);
    return {h, min * 100, (1 - max) * 100};
}

Coords labD50(Rgb c) { return labOf(xyzD50(c), kD50White); }
Coords labD65(Rgb c) { return labOf(xyzD65(c), kD65White); }
Coords lch(Rgb c) { return polar(labD50(c)); }

Coords oklab(Rgb c) {
    const Coords lms = times(kXyzToLms, xyzD65(c));
    return times(kLmsToOklab, {std::cbrt(lms.a), std::cbrt(lms.b), std::cbrt(lms.c)});
}

Coords oklch(Rgb c) { return polar(oklab(c)); }

Coords displayP3(Rgb c) {
    const Coords l = times(kXyzToLinearP3, xyzD65(c));
    return {fromLinear(l.a), fromLinear(l.b), fromLinear(l.c)};
}

Coords linearSrgbFromXyzD50(Coords xyz) { return times(kXyzToLinearSrgb, times(kD50ToD65, xyz)); }

Coords displayP3FromXyzD50(Coords xyz) {
    const Coords l = times(kXyzToLinearP3, times(kD50ToD65, xyz));
    return {fromLinear(l.a), fromLinear(l.b), fromLinear(l.c)};
}

std::string number(double v, int decimals) { return Line("").num(v, decimals, "").str(); }

// The decimals of each text: the fewest with which every 8-bit colour comes
// back from it by CSS Color 4's conversions (the exhaustive test in
// tests/unit/core holds them to it); the texts of lab(), lch(), oklab(),
// oklch() and display-p3 one more, which Chromium needs to paint them as it
// paints the exact colour.
std::string hslText(Rgb c) {
    const Coords v = hsl(c);
    return Line("hsl(").hue(v.a, 1, false).num(v.b, 1, "% ").num(v.c, 1, "%)").str();
}

std::string hwbText(Rgb c) {
    const Coords v = hwb(c);
    return Line("hwb(").hue(v.a, 1, false).num(v.b, 1, "% ").num(v.c, 1, "%)").str();
}

std::string labText(Rgb c) {
    const Coords v = labD50(c);
    return Line("lab(").num(v.a, 3).num(v.b, 3).num(v.c, 3, ")").str();
}

std::string lchText(Rgb c) {
    const Coords v = lch(c);
    return Line("lch(").num(v.a, 3).num(v.b, 3).hue(v.c, 3, v.b < 0.0005, ")").str();
}

std::string oklabText(Rgb c) {
    const Coords v = oklab(c);
    return Line("oklab(").num(v.a * 100, 4, "% ").num(v.b, 6).num(v.c, 6, ")").str();
}

std::string oklchText(Rgb c) {
    const Coords v = oklch(c);
    return Line("oklch(").num(v.a * 100, 4, "% ").num(v.b, 6).hue(v.c, 3, v.b < 0.0000005, ")").str();
}

std::string displayP3Text(Rgb c) { return displayP3Text(displayP3(c)); }

std::string displayP3Text(Coords v) { return Line("color(display-p3 ").num(v.a, 5).num(v.b, 5).num(v.c, 5, ")").str(); }

std::string labD65Text(Rgb c) {
    const Coords v = labD65(c);
    return Line("L*a*b* D65 ").num(v.a, 2).num(v.b, 2).num(v.c, 2, "").str();
}

}  // namespace hueloom::css
