#include "core/dpi.h"

#include <cstdint>

namespace hueloom {

int rescale(int v, int fromDpi, int toDpi) {
    if (fromDpi <= 0) fromDpi = kBaseDpi;
    if (toDpi <= 0) toDpi = kBaseDpi;
    if (fromDpi == toDpi) return v;
    const int64_t p = static_cast<int64_t>(v) * toDpi;
    const int64_t q = p >= 0 ? (p + fromDpi / 2) / fromDpi : -((-p + fromDpi / 2) / fromDpi);
    return static_cast<int>(q);
}

int scale(int v, int dpi) { return rescale(v, kBaseDpi, dpi); }

Rect scale(const Rect& r, int dpi) {
    return {scale(r.left, dpi), scale(r.top, dpi), scale(r.right, dpi), scale(r.bottom, dpi)};
}

}  // namespace hueloom
