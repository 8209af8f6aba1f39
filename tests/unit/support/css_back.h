// Back from our CSS texts to 8-bit sRGB, as a browser computes it: CSS
// Color 4's conversions from each space to sRGB (the other direction of the
// program's), for the round-trip tests.
#pragma once
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "core/colour.h"
#include "core/css_colour.h"

namespace back {
using hueloom::Rgb;
using C = hueloom::css::Coords;
using M = double[3][3];
inline C mul(const M& m, C v) {
    return {m[0][0] * v.a + m[0][1] * v.b + m[0][2] * v.c, m[1][0] * v.a + m[1][1] * v.b + m[1][2] * v.c,
            m[2][0] * v.a + m[2][1] * v.b + m[2][2] * v.c};
}
constexpr M kXyzToSrgb = {{12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
                          {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                          {705.0 / 12673, -2585.0 / 12673, 705.0 / 667}};
constexpr M kD50ToD65 = {{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                         {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                         {0.012314014864481998, -0.020507649298898964, 1.330365926242124}};
constexpr M kP3ToXyz = {{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
                        {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
                        {0, 32229.0 / 714400, 5220557.0 / 5000800}};
constexpr M kOklabToLms = {{1, 0.3963377773761749, 0.2158037573099136},
                           {1, -0.1055613458156586, -0.0638541728258133},
                           {1, -0.0894841775298119, -1.2914855480194092}};
constexpr M kLmsToXyz = {{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                         {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                         {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}};
constexpr double kDeg = 3.14159265358979323846 / 180;

inline Rgb bytes(C e) {
    auto b = [](double v) { return uint8_t(std::lround(std::clamp(v * 255, 0.0, 255.0))); };
    return {b(e.a), b(e.b), b(e.c)};
}
// XYZ (D65) to bytes. The transfer function's power is left out: each
// channel's byte is the one whose interval of linear light (between the
// encodings of k - 0.5 and k + 0.5) holds the value.
inline Rgb fromXyz(C xyz) {
    static const auto edges = [] {
        std::array<double, 257> e{};
        for (int k = 0; k <= 256; ++k) e[k] = hueloom::css::toLinear((k - 0.5) / 255);
        return e;
    }();
    auto b = [&](double v) {
        return uint8_t(std::clamp(int(std::upper_bound(edges.begin(), edges.end(), v) - edges.begin()) - 1, 0, 255));
    };
    const C l = mul(kXyzToSrgb, xyz);
    return {b(l.a), b(l.b), b(l.c)};
}
inline C hslToRgb(double h, double s, double l) {
    s /= 100, l /= 100;
    auto f = [&](double n) {
        const double k = std::fmod(n + h / 30, 12);
        return l - s * std::min(l, 1 - l) * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}
inline C hwbToRgb(double h, double w, double b) {
    w /= 100, b /= 100;
    if (w + b >= 1) return {w / (w + b), w / (w + b), w / (w + b)};
    const C rgb = hslToRgb(h, 100, 50);
    auto t = [&](double v) { return v * (1 - w - b) + w; };
    return {t(rgb.a), t(rgb.b), t(rgb.c)};
}
inline C labToXyzD65(double L, double a, double b) {
    constexpr double k = 24389.0 / 27, e = 216.0 / 24389;
    const double fy = (L + 16) / 116, fx = a / 500 + fy, fz = fy - b / 200;
    auto f = [&](double t) { return t * t * t > e ? t * t * t : (116 * t - 16) / k; };
    const double y = L > k * e ? fy * fy * fy : L / k;
    return mul(kD50ToD65, {f(fx) * 0.3457 / 0.3585, y, f(fz) * (1.0 - 0.3457 - 0.3585) / 0.3585});
}
inline C oklabToXyz(double L, double a, double b) {
    const C lms = mul(kOklabToLms, {L, a, b});
    return mul(kLmsToXyz, {lms.a * lms.a * lms.a, lms.b * lms.b * lms.b, lms.c * lms.c * lms.c});
}
// The colour a text of ours names: "f(x y z)", percent signs skipped.
inline std::optional<Rgb> parse(const std::string& t) {
    const size_t open = t.find('(');
    if (open == std::string::npos) return std::nullopt;
    const std::string f = t.substr(0, open);
    const char *p = t.data() + open + 1 + (f == "color" ? std::string_view("display-p3 ").size() : 0),
               *end = t.data() + t.size();
    double v[3];
    for (double& x : v) {
        while (p < end && (*p == ' ' || *p == '%')) ++p;
        const auto r = std::from_chars(p, end, x);
        if (r.ec != std::errc()) return std::nullopt;
        p = r.ptr;
    }
    const double x = v[0], y = v[1], z = v[2], ca = std::cos(z * kDeg), sa = std::sin(z * kDeg);
    if (f == "hsl") return bytes(hslToRgb(x, y, z));
    if (f == "hwb") return bytes(hwbToRgb(x, y, z));
    if (f == "lab") return fromXyz(labToXyzD65(x, y, z));
    if (f == "lch") return fromXyz(labToXyzD65(x, y * ca, y * sa));
    if (f == "oklab") return fromXyz(oklabToXyz(x / 100, y, z));
    if (f == "oklch") return fromXyz(oklabToXyz(x / 100, y * ca, y * sa));
    if (f == "color")
        return fromXyz(
            mul(kP3ToXyz, {hueloom::css::toLinear(x), hueloom::css::toLinear(y), hueloom::css::toLinear(z)}));
    return std::nullopt;
}
}  // namespace back
