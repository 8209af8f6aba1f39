#include "image/codecs/png_filter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace hueloom::codecs::png {

namespace {

constexpr std::size_t kBpp = 3;

inline std::uint8_t paethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return static_cast<std::uint8_t>((pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c));
}

// Magnitude of a residue read as a signed byte.
inline std::uint32_t cost(std::uint8_t r) { return std::min<std::uint8_t>(r, static_cast<std::uint8_t>(-r)); }

// One filter over a row. The first pixel has no left neighbour (a = c = 0).
void filterRow(std::uint8_t type, const std::uint8_t* prev, const std::uint8_t* x, std::size_t n, std::uint8_t* out) {
    const std::size_t lead = std::min(n, kBpp);
    switch (type) {
    case 0: std::memcpy(out, x, n); return;
    case 1:
        std::memcpy(out, x, lead);
        for (std::size_t i = lead; i < n; ++i) out[i] = static_cast<std::uint8_t>(x[i] - x[i - kBpp]);
        return;
    case 2:
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(x[i] - prev[i]);
        return;
    case 3:
        for (std::size_t i = 0; i < lead; ++i) out[i] = static_cast<std::uint8_t>(x[i] - (prev[i] >> 1));
        for (std::size_t i = lead; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(x[i] - ((x[i - kBpp] + prev[i]) >> 1));
        return;
    default:
        for (std::size_t i = 0; i < lead; ++i) out[i] = static_cast<std::uint8_t>(x[i] - prev[i]);
        for (std::size_t i = lead; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(x[i] - paethPredictor(x[i - kBpp], prev[i], prev[i - kBpp]));
        return;
    }
}

std::uint32_t costOf(const std::uint8_t* r, std::size_t n) {
    std::uint32_t s = 0;
    for (std::size_t i = 0; i < n; ++i) s += cost(r[i]);
    return s;
}

}  // namespace

RgbRowFilter::RgbRowFilter(std::size_t rowBytes) : n_(rowBytes), scratch_(new std::uint8_t[rowBytes * 4]) {}

void RgbRowFilter::apply(RowFilterKind kind, const std::uint8_t* prev, const std::uint8_t* cur,
                         std::uint8_t* out) const {
    if (kind != RowFilterKind::Adaptive) {
        out[0] = static_cast<std::uint8_t>(kind);
        filterRow(out[0], prev, cur, n_, out + 1);
        return;
    }
    // Every type in turn; ties go to the lower type, as in libpng.
    std::uint8_t best = 0;
    std::uint32_t bestCost = costOf(cur, n_);
    for (std::uint8_t t = 1; t < 5; ++t) {
        std::uint8_t* r = scratch_.get() + (t - 1) * n_;
        filterRow(t, prev, cur, n_, r);
        const std::uint32_t c = costOf(r, n_);
        if (c < bestCost) bestCost = c, best = t;
    }
    out[0] = best;
    std::memcpy(out + 1, best == 0 ? cur : scratch_.get() + (best - 1) * n_, n_);
}

}  // namespace hueloom::codecs::png
