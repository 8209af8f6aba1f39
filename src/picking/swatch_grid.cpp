#include "picking/swatch_grid.h"

namespace hueloom::picking {

SwatchGrid layoutSwatches(int n, int s, int areaWidth) {
    SwatchGrid g;
    if (n <= 0 || s <= 0 || areaWidth < s) return g;
    if (areaWidth - 4 < n * s) {
        g.columns = (areaWidth - 4) / s;
        if (g.columns <= 0) g.columns = 1;  // an area between s and s + 3 wide still shows one column
        g.rows = n / g.columns + (n % g.columns != 0 ? 1 : 0);
    } else {
        g.columns = n;
        g.rows = 1;
    }
    g.width = s * g.columns;
    g.height = s * g.rows;
    return g;
}

}  // namespace hueloom::picking
