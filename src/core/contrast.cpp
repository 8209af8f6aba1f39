#include "core/contrast.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/colour_format.h"

namespace hueloom {

double relativeLuminance(Rgb c) {
    return 0.2126 * srgbToLinear(c.r) + 0.7152 * srgbToLinear(c.g) + 0.0722 * srgbToLinear(c.b);
}

double contrastRatio(Rgb a, Rgb b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ContrastGrades gradeContrast(double ratio) {
    return {ratio >= kContrastAaNormal, ratio >= kContrastAaLarge, ratio >= kContrastAaaNormal,
            ratio >= kContrastAaaLarge};
}

std::string contrastRatioText(double ratio) {
    const long long hundredths = static_cast<long long>(std::floor(ratio * 100.0 + 1e-7));
    char buf[48];
    std::snprintf(buf, sizeof buf, "%lld.%02lld:1", hundredths / 100, hundredths % 100);
    return buf;
}

namespace {

// APCA-W3 0.0.98G-4g constants.
constexpr double kMainTrc = 2.4;
constexpr double kNormBg = 0.56, kNormTxt = 0.57, kRevTxt = 0.62, kRevBg = 0.65;
constexpr double kBlkThrs = 0.022, kBlkClmp = 1.414, kScale = 1.14, kLoOffset = 0.027, kLoClip = 0.1;
constexpr double kDeltaYMin = 0.0005;

// Screen luminance as APCA estimates it: a plain 2.4 power curve, then a
// soft clamp of the near blacks.
double apcaY(Rgb c) {
    auto lin = [](uint8_t v) { return std::pow(v / 255.0, kMainTrc); };
    const double y = 0.2126729 * lin(c.r) + 0.7151522 * lin(c.g) + 0.0721750 * lin(c.b);
    return y > kBlkThrs ? y : y + std::pow(kBlkThrs - y, kBlkClmp);
}

}  // namespace

double apcaContrast(Rgb text, Rgb background) {
    const double yt = apcaY(text), yb = apcaY(background);
    if (std::fabs(yb - yt) < kDeltaYMin) return 0;
    double out;
    if (yb > yt) {
        const double sapc = (std::pow(yb, kNormBg) - std::pow(yt, kNormTxt)) * kScale;
        out = sapc < kLoClip ? 0 : sapc - kLoOffset;
    } else {
        const double sapc = (std::pow(yb, kRevBg) - std::pow(yt, kRevTxt)) * kScale;
        out = sapc > -kLoClip ? 0 : sapc + kLoOffset;
    }
    return out * 100;
}

std::string apcaText(double lc) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Lc %.1f", lc);
    return std::string(buf) == "Lc -0.0" ? "Lc 0.0" : buf;
}

const char* apcaLevel(double lc) {
    const double m = std::fabs(lc);
    if (m >= 90) return "body text preferred";
    if (m >= 75) return "body text";
    if (m >= 60) return "content text";
    if (m >= 45) return "large text";
    if (m >= 30) return "spot text";
    if (m >= 15) return "non-text";
    return "fail";
}

}  // namespace hueloom
