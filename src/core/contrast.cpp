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

}  // namespace hueloom
