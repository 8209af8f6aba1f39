// Display scaling. Layouts are written for 96 dots per inch (100 %); every
// length a window draws or places goes through `scale` with the dpi of the
// monitor the window is on, so at 96 dpi nothing changes at all.
#pragma once
#include "core/geometry.h"

namespace hueloom {

inline constexpr int kBaseDpi = 96;

// v × dpi / 96, rounded to the nearest whole pixel, halves away from zero
// (the rule of the system's MulDiv): scale(10, 144) = 15, scale(177, 120) =
// 221, scale(3, 120) = 4, scale(-3, 120) = -4. A dpi of 0 or less counts as 96.
int scale(int v, int dpi);
// A length laid out for one dpi, for another: v × to / from, by the same
// rule (scale(v, dpi) is rescale(v, 96, dpi)).
int rescale(int v, int fromDpi, int toDpi);
// Each edge scaled on its own, so rectangles that meet stay meeting.
Rect scale(const Rect& r, int dpi);

}  // namespace hueloom
