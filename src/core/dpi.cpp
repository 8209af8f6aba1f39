#include "core/dpi.h"

#include <cstdint>

namespace hueloom {

int scale(int v, int dpi) {
    if (dpi <= 0 || dpi == kBaseDpi) return v;
    const int64_t p = static_cast<int64_t>(v) * dpi;
    const int64_t q = p >= 0 ? (p + kBaseDpi / 2) / kBaseDpi : -((-p + kBaseDpi / 2) / kBaseDpi);
    return static_cast<int>(q);
}

Rect scale(const Rect& r, int dpi) {
    return {scale(r.left, dpi), scale(r.top, dpi), scale(r.right, dpi), scale(r.bottom, dpi)};
}

}  // namespace hueloom
