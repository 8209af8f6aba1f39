// The two pixel filters of the image-edit menu.
//
// invert: every channel becomes 255 - value. The result has 24 bits per
// pixel, except for an 8-bit palette source, whose inverted picture is
// reduced to 256 colours again (reduce.h). grayscale: an 8-bit image with the
// descending grey palette (index 0 white, 255 black) and index
// (255000 - 299 R - 587 G - 114 B) / 1000.
//
// Both work on whole rows from the top down and call progress once per row
// with stage Running and the percentage to show: y * 100 / (height - 1). For
// an 8-bit source invert shows 0..50 for the inversion (y * 50 / (height - 1))
// and then 50 + p / 2 for each reduction event p, so the numbers it sends can
// be shown as they are. A picture one row high reports 100 (50) for its row.
#pragma once

#include <cstdint>
#include <vector>

#include "image/dib.h"
#include "image/progress.h"

namespace hueloom::image {

Dib invert(const Dib& source, const ProgressFn& progress = {});
Dib grayscale(const Dib& source, const ProgressFn& progress = {});

// 256 entries, entry i grey 255 - i.
std::vector<RgbQuad> greyPalette();

inline std::uint8_t greyIndex(unsigned red, unsigned green, unsigned blue) {
    return static_cast<std::uint8_t>((255000u - 299u * red - 587u * green - 114u * blue) / 1000u);
}

}  // namespace hueloom::image
