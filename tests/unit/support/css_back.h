// Back from our CSS texts to 8-bit sRGB, as a browser computes it: CSS
// Color 4's conversions from each space to sRGB (the other direction of the
// program's), for the round-trip tests.
#pragma once
#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include "core/colour.h"
#include "core/css_colour.h"

namespace back {
using hueloom::Rgb;
using C = hueloom::css::Coords;
inline C mul(const double m[3][3], C v) {
    return {m[0][0] * v.a + m[0][1] * v.b + m[0][2] * v.c, m[1][0] * v.a + m[1][1] * v.b + m[1][2] * v.c,
            m[2][0] * v.a + m[2][1] * v.b + m[2][2] * v.c};
}
constexpr double kXyzToSrgb[3][3] = {{12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
                                     {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                                     {705.0 / 12673, -2585.0 / 12673, 705.0 / 667}};
constexpr double kD50ToD65[3][3] = {{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                                    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                                    {0.012314014864481998, -0.020507649298898964, 1.330365926242124}};
constexpr double kP3ToXyz[3][3] = {{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
                                   {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
                                   {0, 32229.0 / 714400, 5220557.0 / 5000800}};
constexpr double kOklabToLms[3][3] = {{1, 0.3963377773761749, 0.2158037573099136},
                                      {1, -0.1055613458156586, -0.0638541728258133},
                                      {1, -0.0894841775298119, -1.2914855480194092}};
constexpr double kLmsToXyz[3][3] = {{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                                    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                                    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}};
inline int byte(double v, double& worst) {  // 0..1 to 0..255; worst: distance from the rounding edge
    const double x = v * 255;
    const double f = x - std::floor(x);
    worst = std::max(worst, std::fabs(f - 0.5) < 0.5 ? 0.5 - std::fabs(f - 0.5) : 0);
    return (int)std::lround(std::clamp(x, 0.0, 255.0));
}
inline std::optional<Rgb> srgb(C e, double& edge) {
    return Rgb{(uint8_t)byte(e.a, edge), (uint8_t)byte(e.b, edge), (uint8_t)byte(e.c, edge)};
}
// Linear light back to bytes without the transfer function's power: the byte
// whose interval of linear light (between the encodings of k - 0.5 and
// k + 0.5) holds the value, found in a table of those edges.
inline C fromXyz(C xyz) {
    static const auto edges = [] {
        std::array<double, 257> e{};
        for (int k = 0; k <= 256; ++k) e[k] = hueloom::css::toLinear((k - 0.5) / 255);
        return e;
    }();
    const C l = mul(kXyzToSrgb, xyz);
    auto enc = [&](double v) {  // the byte's centre in 0..1, as srgb() rounds it
        const int k = int(std::upper_bound(edges.begin(), edges.end(), v) - edges.begin()) - 1;
        return std::clamp(k, 0, 255) / 255.0;
    };
    return {enc(l.a), enc(l.b), enc(l.c)};
}
inline C hslToRgb(double h, double s, double l) {
    s /= 100;
    l /= 100;
    auto f = [&](double n) {
        double k = std::fmod(n + h / 30, 12);
        double a = s * std::min(l, 1 - l);
        return l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}
inline C hwbToRgb(double h, double w, double b) {
    w /= 100;
    b /= 100;
    if (w + b >= 1) {
        double g = w / (w + b);
        return {g, g, g};
    }
    C rgb = hslToRgb(h, 100, 50);
    auto t = [&](double v) { return v * (1 - w - b) + w; };
    return {t(rgb.a), t(rgb.b), t(rgb.c)};
}
inline C labToXyzD65(double L, double a, double bb) {
    constexpr double k = 24389.0 / 27, e = 216.0 / 24389;
    const double fy = (L + 16) / 116, fx = a / 500 + fy, fz = fy - bb / 200;
    const double x = fx * fx * fx > e ? fx * fx * fx : (116 * fx - 16) / k,
                 y = L > k * e ? std::pow((L + 16) / 116, 3) : L / k,
                 z = fz * fz * fz > e ? fz * fz * fz : (116 * fz - 16) / k;
    const C d50{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
    return mul(kD50ToD65, {x * d50.a, y * d50.b, z * d50.c});
}
inline C oklabToXyz(double L, double a, double b) {
    C lms = mul(kOklabToLms, {L, a, b});
    return mul(kLmsToXyz, {lms.a * lms.a * lms.a, lms.b * lms.b * lms.b, lms.c * lms.c * lms.c});
}
inline C p3ToXyz(double r, double g, double b) {
    return mul(kP3ToXyz, {hueloom::css::toLinear(r), hueloom::css::toLinear(g), hueloom::css::toLinear(b)});
}
constexpr double kDeg = 3.14159265358979323846 / 180;
// The three numbers of "name(x y z)" (percent signs and a leading
// "display-p3" skipped) and the function's name.
inline bool numbers(const std::string& t, std::string& name, double v[3]) {
    const size_t open = t.find('(');
    if (open == std::string::npos) return false;
    name = t.substr(0, open);
    const char* p = t.data() + open + 1;
    const char* end = t.data() + t.size();
    if (name == "color") p += std::string_view("display-p3 ").size();
    for (int i = 0; i < 3; ++i) {
        while (p < end && (*p == ' ' || *p == '%')) ++p;
        const auto r = std::from_chars(p, end, v[i]);
        if (r.ec != std::errc()) return false;
        p = r.ptr;
    }
    return true;
}
// The colour a CSS text names, read from its numbers.
inline std::optional<Rgb> parse(const std::string& t, double& edge) {
    std::string f;
    double v[3];
    if (!numbers(t, f, v)) return std::nullopt;
    const double x = v[0], y = v[1], z = v[2];
    if (f == "hsl") return srgb(hslToRgb(x, y, z), edge);
    if (f == "hwb") return srgb(hwbToRgb(x, y, z), edge);
    if (f == "lab") return srgb(fromXyz(labToXyzD65(x, y, z)), edge);
    if (f == "lch") return srgb(fromXyz(labToXyzD65(x, y * std::cos(z * kDeg), y * std::sin(z * kDeg))), edge);
    if (f == "oklab") return srgb(fromXyz(oklabToXyz(x / 100, y, z)), edge);
    if (f == "oklch") return srgb(fromXyz(oklabToXyz(x / 100, y * std::cos(z * kDeg), y * std::sin(z * kDeg))), edge);
    if (f == "color") return srgb(fromXyz(p3ToXyz(x, y, z)), edge);
    return std::nullopt;
}
}  // namespace back
