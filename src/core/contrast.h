// Contrast of two colours as WCAG 2.x measures it, and its pass marks.
//
// Relative luminance: each channel decoded with the sRGB transfer function
// (threshold 0.04045; the 0.03928 of older WCAG texts gives the same result
// for every 8-bit value), then 0.2126 R + 0.7152 G + 0.0722 B.
// Contrast ratio: (L1 + 0.05) / (L2 + 0.05) with L1 the lighter, 1 .. 21.
//
// Pass marks compare the unrounded ratio, as WCAG demands (4.499 fails 4.5).
// So that a shown ratio never reads as a pass it is not, the ratio text cuts
// to two decimals instead of rounding: #777777 on white (4.478) shows
// "4.47:1" and fails AA for normal text.
#pragma once
#include <string>

#include "core/colour.h"

namespace hueloom {

double relativeLuminance(Rgb c);
// Symmetric: the order of foreground and background does not matter.
double contrastRatio(Rgb a, Rgb b);

// The WCAG 2.x thresholds, "at least" each.
inline constexpr double kContrastAaNormal = 4.5;
inline constexpr double kContrastAaLarge = 3.0;
inline constexpr double kContrastAaaNormal = 7.0;
inline constexpr double kContrastAaaLarge = 4.5;

struct ContrastGrades {
    bool aaNormal = false, aaLarge = false, aaaNormal = false, aaaLarge = false;
    friend bool operator==(const ContrastGrades&, const ContrastGrades&) = default;
};
ContrastGrades gradeContrast(double ratio);

// "4.47:1", "21.00:1": two decimals, cut (not rounded); a ratio within 1e-9
// below a hundredth counts as that hundredth, so 21 computed as 20.9999…
// still shows "21.00:1".
std::string contrastRatioText(double ratio);

// APCA, the lightness contrast of text on a background (APCA-W3 0.0.98G-4g):
// Lc, signed (positive for dark text on a light background), about -108 ..
// 106; 0 for colours too close to tell apart.
double apcaContrast(Rgb text, Rgb background);
// "Lc 75.3", one decimal.
std::string apcaText(double lc);
// The use the magnitude of Lc is the least for (90 body text preferred, 75
// body text, 60 content text, 45 large text, 30 spot text, 15 non-text);
// "fail" below 15.
const char* apcaLevel(double lc);

}  // namespace hueloom
