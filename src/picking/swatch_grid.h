// The colour-list image: the picked colours as a grid of square swatches,
// as many per row as the image area's width allows.
#pragma once
#include <vector>

#include "core/geometry.h"

namespace hueloom::picking {

struct SwatchGrid {
    int columns = 0;
    int rows = 0;
    int width = 0;  // s × columns
    int height = 0;  // s × rows
    bool empty() const { return columns == 0; }
    // Cell of entry k (0-based), right and bottom exclusive.
    Rect cell(int k, int size) const {
        int i = k % columns, j = k / columns;
        return {size * i, size * j, size * (i + 1), size * (j + 1)};
    }
};

// n colours of swatch size s in an area `areaWidth` wide: nothing when n is 0
// or the area is narrower than one swatch; one row when all fit within
// areaWidth − 4; otherwise as many columns as fit in areaWidth − 4.
SwatchGrid layoutSwatches(int n, int s, int areaWidth);

}  // namespace hueloom::picking
