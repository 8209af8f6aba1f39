#include "image/reduce.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "image/image_error.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace hueloom::image {

namespace {

constexpr int kLevels = 8;
constexpr int kLeafPositions = 1 << kLevels;  // 256

// Channel offsets inside a stored (blue, green, red) triple.
constexpr int kBlue = 0, kGreen = 1, kRed = 2;

// Count, sums and sums of squares of the three channels of a pixel range.
// 64-bit integers keep them exact for any image a Dib can hold.
struct Stats {
    std::uint64_t n = 0;
    std::uint64_t sum[3] = {0, 0, 0};
    std::uint64_t sumSq[3] = {0, 0, 0};

    Stats minus(const Stats& o) const {
        Stats r;
        r.n = n - o.n;
        for (int c = 0; c < 3; ++c) {
            r.sum[c] = sum[c] - o.sum[c];
            r.sumSq[c] = sumSq[c] - o.sumSq[c];
        }
        return r;
    }
};

Stats computeStats(const std::uint8_t* p, std::size_t count) {
    Stats st;
    st.n = count;
    const std::size_t total = count * 3;
    std::size_t i = 0;
    // 16 pixels (48 bytes) per step with one 32-bit accumulator per byte
    // lane; lane k holds channel k % 3. 4096 steps cannot overflow a lane.
    constexpr std::size_t kLanes = 48;
    while (total - i >= kLanes) {
        std::uint32_t s[kLanes] = {};
        std::uint32_t q[kLanes] = {};
        const std::size_t steps = std::min<std::size_t>((total - i) / kLanes, 4096);
        for (std::size_t b = 0; b < steps; ++b) {
            const std::uint8_t* v = p + i + b * kLanes;
            for (std::size_t k = 0; k < kLanes; ++k) {
                const std::uint32_t x = v[k];
                s[k] += x;
                q[k] += x * x;
            }
        }
        i += steps * kLanes;
        for (std::size_t k = 0; k < kLanes; ++k) {
            st.sum[k % 3] += s[k];
            st.sumSq[k % 3] += q[k];
        }
    }
    for (; i < total; ++i) {
        const std::uint32_t x = p[i];
        st.sum[i % 3] += x;
        st.sumSq[i % 3] += x * x;
    }
    return st;
}

// Unsigned 128-bit value, enough for n * sum of squares of any image.
struct U128 {
    std::uint64_t hi = 0, lo = 0;

    static U128 mul(std::uint64_t a, std::uint64_t b) {
        const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32;
        const std::uint64_t b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        U128 r;
        r.lo = (mid << 32) | (p00 & 0xFFFFFFFFu);
        r.hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
        return r;
    }
    U128 operator-(const U128& o) const {
        U128 r;
        r.lo = lo - o.lo;
        r.hi = hi - o.hi - (lo < o.lo ? 1 : 0);
        return r;
    }
    U128 times(std::uint64_t small) const {  // small <= 4
        U128 r = mul(lo, small);
        r.hi += hi * small;
        return r;
    }
    bool operator>=(const U128& o) const { return hi != o.hi ? hi > o.hi : lo >= o.lo; }
};

// n^2 times the population variance of channel c: n * sum(x^2) - sum(x)^2.
U128 scaledVariance(const Stats& st, int c) { return U128::mul(st.n, st.sumSq[c]) - U128::mul(st.sum[c], st.sum[c]); }

// The channel to split on: the largest of 3 vR, 4 vG, 2 vB; ties go to red,
// then green. All variances share the factor n^2, so comparing the scaled
// values is exact.
int chooseChannel(const Stats& st) {
    const U128 wR = scaledVariance(st, kRed).times(3);
    const U128 wG = scaledVariance(st, kGreen).times(4);
    const U128 wB = scaledVariance(st, kBlue).times(2);
    if (wR >= wG && wR >= wB) return kRed;
    if (wG >= wR && wG >= wB) return kGreen;
    return kBlue;
}

// round(sum / n) with halves going to the even neighbour.
std::uint8_t roundedMean(std::uint64_t sum, std::uint64_t n) {
    std::uint64_t q = sum / n;
    const std::uint64_t r2 = (sum % n) * 2;
    if (r2 > n || (r2 == n && (q & 1))) ++q;
    return static_cast<std::uint8_t>(q);
}

// Runs of equal pixels within a row, at most 255 long: colour (blue, green,
// red) and length. Screen pictures are mostly such runs; splitting them
// instead of single pixels gives the same sums and thresholds with far less
// data to move.
struct Run {
    std::uint8_t c[3];
    std::uint8_t length;
};
static_assert(sizeof(Run) == 4);

Stats computeStats(const Run* runs, std::size_t count) {
    Stats st;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t w = runs[i].length;
        st.n += w;
        for (int c = 0; c < 3; ++c) {
            const std::uint64_t v = runs[i].c[c];
            st.sum[c] += v * w;
            st.sumSq[c] += v * v * w;
        }
    }
    return st;
}

// Element access for the two kinds of array the split works on.
struct PixelArray {
    using Elem = std::uint8_t;  // one triple is three of these
    static constexpr std::size_t kStep = 3;
    static std::uint8_t value(const std::uint8_t* a, std::size_t i, int c) { return a[i * 3 + c]; }
    static void swap(std::uint8_t* a, std::size_t i, std::size_t j) {
        std::uint8_t* x = a + i * 3;
        std::uint8_t* y = a + j * 3;
        const std::uint8_t t0 = x[0], t1 = x[1], t2 = x[2];
        x[0] = y[0];
        x[1] = y[1];
        x[2] = y[2];
        y[0] = t0;
        y[1] = t1;
        y[2] = t2;
    }
    static Stats stats(const std::uint8_t* a, std::size_t n) { return computeStats(a, n); }
    static std::uint8_t* offset(std::uint8_t* a, std::size_t i) { return a + i * 3; }
};

struct RunArray {
    using Elem = Run;
    static std::uint8_t value(const Run* a, std::size_t i, int c) { return a[i].c[c]; }
    static void swap(Run* a, std::size_t i, std::size_t j) { std::swap(a[i], a[j]); }
    static Stats stats(const Run* a, std::size_t n) { return computeStats(a, n); }
    static Run* offset(Run* a, std::size_t i) { return a + i; }
};

// Reorders the elements so that those whose channel c is <= t come first;
// returns their count. Two indices move towards each other and exchange
// misplaced elements; the scanning is done a block at a time without
// branches (offsets of misplaced elements are collected first, then swapped
// pairwise).
template <class A>
std::size_t partition(typename A::Elem* a, std::size_t n, int c, unsigned t) {
    constexpr std::size_t kBlock = 128;
    std::uint8_t offL[kBlock], offR[kBlock];
    std::size_t l = 0, r = n;  // [0, l) low, [r, n) high, [l, r) unsorted
    std::size_t numL = 0, numR = 0, startL = 0, startR = 0;
    while (r - l >= 2 * kBlock) {
        if (numL == 0) {
            startL = 0;
            for (std::size_t k = 0; k < kBlock; ++k) {
                offL[numL] = static_cast<std::uint8_t>(k);
                numL += A::value(a, l + k, c) > t;
            }
        }
        if (numR == 0) {
            startR = 0;
            for (std::size_t k = 0; k < kBlock; ++k) {
                offR[numR] = static_cast<std::uint8_t>(k);
                numR += A::value(a, r - 1 - k, c) <= t;
            }
        }
        const std::size_t m = std::min(numL, numR);
        for (std::size_t j = 0; j < m; ++j) A::swap(a, l + offL[startL + j], r - 1 - offR[startR + j]);
        numL -= m;
        numR -= m;
        startL += m;
        startR += m;
        if (numL == 0) l += kBlock;
        if (numR == 0) r -= kBlock;
    }
    std::size_t i = l, j = r;
    for (;;) {
        while (i < j && A::value(a, i, c) <= t) ++i;
        while (i < j && A::value(a, j - 1, c) > t) --j;
        if (i >= j) break;
        A::swap(a, i, j - 1);
        ++i;
        --j;
    }
    return i;
}

// The split tree in heap order: node 1 is the root, the children of node i
// are 2i (values <= threshold) and 2i + 1 (values above it). Every pixel
// passes exactly eight inner nodes, so leaves are 256..511.
struct SplitTree {
    std::uint8_t channel[kLeafPositions] = {};
    std::uint8_t threshold[kLeafPositions] = {};
    std::uint8_t leafIndex[kLeafPositions] = {};
    std::vector<RgbQuad> palette;
};

class ProgressSteps {
public:
    explicit ProgressSteps(const ProgressFn& fn) : fn_(fn) {}
    void step(std::size_t count = 1) {
        for (std::size_t i = 0; i < count; ++i) {
            ++done_;
            if (done_ < kLeafPositions && fn_) fn_(ProgressStage::Running, done_ * 100 / kLeafPositions);
        }
    }

private:
    const ProgressFn& fn_;
    int done_ = 0;
};

template <class A>
class Splitter {
public:
    Splitter(SplitTree& tree, ProgressSteps& steps) : tree_(tree), steps_(steps) {}

    // elems holds count elements whose statistics are st.
    void split(typename A::Elem* elems, std::size_t count, const Stats& st, int depth, unsigned node) {
        if (st.n == 0) {
            steps_.step(std::size_t{1} << (kLevels - depth));
            return;
        }
        if (depth == kLevels) {
            tree_.leafIndex[node - kLeafPositions] = static_cast<std::uint8_t>(tree_.palette.size());
            RgbQuad q;
            q.red = roundedMean(st.sum[kRed], st.n);
            q.green = roundedMean(st.sum[kGreen], st.n);
            q.blue = roundedMean(st.sum[kBlue], st.n);
            tree_.palette.push_back(q);
            steps_.step();
            return;
        }
        const int c = chooseChannel(st);
        // v <= sum / n exactly when v <= floor(sum / n), the values being integers.
        const unsigned t = static_cast<unsigned>(st.sum[c] / st.n);
        tree_.channel[node] = static_cast<std::uint8_t>(c);
        tree_.threshold[node] = static_cast<std::uint8_t>(t);
        std::size_t nLow = count;
        Stats low = st, high;
        // A channel without spread has every value equal to its mean: all
        // elements are low and stay where they are.
        const U128 spread = scaledVariance(st, c);
        if (spread.hi != 0 || spread.lo != 0) {
            nLow = partition<A>(elems, count, c, t);
            if (nLow <= count - nLow) {
                low = A::stats(elems, nLow);
                high = st.minus(low);
            } else {
                high = A::stats(A::offset(elems, nLow), count - nLow);
                low = st.minus(high);
            }
        }
        split(A::offset(elems, nLow), count - nLow, high, depth + 1, node * 2 + 1);
        split(elems, nLow, low, depth + 1, node * 2);
    }

private:
    SplitTree& tree_;
    ProgressSteps& steps_;
};

inline unsigned leafOf(const SplitTree& t, const std::uint8_t* px) {
    unsigned node = 1;
    for (int d = 0; d < kLevels; ++d) node = node * 2 + (px[t.channel[node]] > t.threshold[node]);
    return t.leafIndex[node - kLeafPositions];
}

// Palette indices of n <= kLanes colours. The walks run in lockstep, so the
// processor overlaps them instead of waiting on each level of one walk.
constexpr std::size_t kLanes = 8;
template <class ColourAt>
[[gnu::noinline]] void leavesOf(const SplitTree& t, std::size_t n, ColourAt&& colourAt, std::uint8_t* out) {
    if (n < kLanes) {
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(leafOf(t, colourAt(i)));
        return;
    }
    const std::uint8_t* px[kLanes];
    unsigned node[kLanes];
    for (std::size_t i = 0; i < kLanes; ++i) {
        px[i] = colourAt(i);
        node[i] = 1;
    }
    for (int d = 0; d < kLevels; ++d)
        for (std::size_t i = 0; i < kLanes; ++i)
            node[i] = node[i] * 2 + (px[i][t.channel[node[i]]] > t.threshold[node[i]]);
    for (std::size_t i = 0; i < kLanes; ++i) out[i] = t.leafIndex[node[i] - kLeafPositions];
}

// Pixels of stored row r as (blue, green, red) triples: the row itself for
// 24 bits, otherwise converted into buffer.
const std::uint8_t* bgrRow(const Dib& src, std::size_t r, std::uint8_t* buffer) {
    if (src.bitsPerPixel() == 24) return src.bits() + r * src.stride();
    rowToBgr24(src, static_cast<int>(r), buffer);
    return buffer;
}

// Cuts one row of w triples into runs of equal pixels (at most 255 long) and
// calls emit(first pixel, length) for each; stops early when emit returns
// false.
template <class Emit>
[[gnu::noinline]] bool scanRuns(const std::uint8_t* p, std::size_t w, Emit&& emit) {
    std::size_t start = 0;  // first pixel of the current run
    // Emits the run [start, end), cut into pieces of at most 255.
    auto close = [&](std::size_t end) {
        while (end - start > 255) {
            if (!emit(p + start * 3, 255)) return false;
            start += 255;
        }
        if (!emit(p + start * 3, end - start)) return false;
        start = end;
        return true;
    };
    std::size_t x = 0;
#if defined(__SSE2__)
    // 16 pixels at a time: compare the 48 bytes with the same bytes one pixel
    // further on; a pixel ends a run when one of its three bytes differs.
    // Only the ends found cost anything, long runs pass at memory speed.
    for (; x + 17 <= w; x += 16) {
        const std::uint8_t* q = p + x * 3;
        std::uint64_t same = 0;
        for (int k = 0; k < 3; ++k) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 16 * k));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 16 * k + 3));
            same |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b))))
                    << (16 * k);
        }
        const std::uint64_t differ = ~same & 0xFFFFFFFFFFFFull;
        std::uint64_t ends = (differ | (differ >> 1) | (differ >> 2)) & 0x249249249249ull;  // bit 3i: pixel x+i
        while (ends != 0) {
            const int bit = std::countr_zero(ends);
            ends &= ends - 1;
            if (!close(x + static_cast<std::size_t>(bit) / 3 + 1)) return false;
        }
    }
#endif
    for (; x + 1 < w; ++x) {
        const std::uint8_t* q = p + x * 3;
        if (q[0] != q[3] || q[1] != q[4] || q[2] != q[5]) {
            if (!close(x + 1)) return false;
        }
    }
    return close(w);
}

// The split over runs of equal pixels. Gives up (empty result) when the
// picture has more than maxRuns runs.
Dib splitRuns(const Dib& src, std::size_t maxRuns, std::uint8_t* buffer, ProgressSteps& steps) {
    const std::size_t w = static_cast<std::size_t>(src.width());
    const std::size_t h = static_cast<std::size_t>(src.height());
    SplitTree tree;
    std::unique_ptr<Run[]> runs(new Run[maxRuns]);  // in picture order, for the mapping
    std::size_t count = 0;
    auto add = [&](const std::uint8_t* px, std::size_t length) {
        if (count == maxRuns) return false;
        runs[count++] = Run{{px[0], px[1], px[2]}, static_cast<std::uint8_t>(length)};
        return true;
    };
    for (std::size_t r = 0; r < h; ++r) {
        if (!scanRuns(bgrRow(src, r, buffer), w, add)) return Dib();
    }
    {
        std::unique_ptr<Run[]> work(new Run[count]);
        std::copy_n(runs.get(), count, work.get());
        const Stats all = computeStats(work.get(), count);
        Splitter<RunArray>(tree, steps).split(work.get(), count, all, 0, 1);
    }
    Dib out(src.width(), src.height(), 8);
    out.setPalette(std::move(tree.palette));
    // Indices of a batch of runs first, then the bytes. Screen pictures
    // repeat few colours, so answers are kept in a small colour-keyed cache;
    // the colours it misses walk the tree together (independent walks
    // overlap in the processor).
    constexpr std::size_t kBatch = 64;
    constexpr std::size_t kCacheSlots = 4096;
    std::unique_ptr<std::uint32_t[]> cacheKey(new std::uint32_t[kCacheSlots]);
    std::unique_ptr<std::uint8_t[]> cacheIndex(new std::uint8_t[kCacheSlots]);
    std::fill_n(cacheKey.get(), kCacheSlots, 0xFFFFFFFFu);  // no colour has this key
    std::uint8_t index[kBatch];
    std::uint8_t found[kBatch];
    std::size_t missed[kBatch];
    std::size_t r = 0, x = 0;
    std::uint8_t* dst = out.bits();
    for (std::size_t k = 0; k < count; k += kBatch) {
        const std::size_t n = std::min(kBatch, count - k);
        std::size_t misses = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* c = runs[k + i].c;
            const std::uint32_t key = c[0] | (c[1] << 8) | (c[2] << 16);
            const std::size_t slot = (key * 2654435761u) >> 20;
            if (cacheKey[slot] == key) {
                index[i] = cacheIndex[slot];
            } else {
                missed[misses++] = i;
            }
        }
        for (std::size_t m = 0; m < misses; m += kLanes)
            leavesOf(
                tree, std::min(kLanes, misses - m), [&](std::size_t j) { return runs[k + missed[m + j]].c; },
                found + m);
        for (std::size_t m = 0; m < misses; ++m) {
            const std::size_t i = missed[m];
            index[i] = found[m];
            const std::uint8_t* c = runs[k + i].c;
            const std::uint32_t key = c[0] | (c[1] << 8) | (c[2] << 16);
            const std::size_t slot = (key * 2654435761u) >> 20;
            cacheKey[slot] = key;
            cacheIndex[slot] = found[m];
        }
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t length = runs[k + i].length;
            std::uint8_t* d = dst + x;
            if (x + length + 8 <= w) {
                // Whole 8-byte stores; the spill past the run is overwritten
                // by the runs that follow in the same row.
                const std::uint64_t fill = 0x0101010101010101ull * index[i];
                for (std::size_t j = 0; j < length; j += 8) std::memcpy(d + j, &fill, 8);
            } else {
                std::memset(d, index[i], length);
            }
            x += length;
            if (x == w) {
                x = 0;
                ++r;
                dst = out.bits() + r * out.stride();
            }
        }
    }
    return out;
}

Dib splitPixels(const Dib& src, std::uint8_t* buffer, ProgressSteps& steps) {
    const std::size_t w = static_cast<std::size_t>(src.width());
    const std::size_t h = static_cast<std::size_t>(src.height());
    SplitTree tree;
    {
        // All pixels as one array of (blue, green, red) triples, 3 bytes each.
        std::unique_ptr<std::uint8_t[]> px(new std::uint8_t[w * h * 3]);
        for (std::size_t r = 0; r < h; ++r) rowToBgr24(src, static_cast<int>(r), px.get() + r * w * 3);
        const Stats all = computeStats(px.get(), w * h);
        Splitter<PixelArray>(tree, steps).split(px.get(), w * h, all, 0, 1);
    }
    Dib out(src.width(), src.height(), 8);
    out.setPalette(std::move(tree.palette));
    for (std::size_t r = 0; r < h; ++r) {
        const std::uint8_t* row = bgrRow(src, r, buffer);
        std::uint8_t* dst = out.bits() + r * out.stride();
        for (std::size_t x = 0; x < w; x += kLanes)
            leavesOf(
                tree, std::min(kLanes, w - x), [&](std::size_t j) { return row + (x + j) * 3; }, dst + x);
    }
    return out;
}

Dib varianceSplit(const Dib& src, const ProgressFn& progress) {
    const std::size_t w = static_cast<std::size_t>(src.width());
    const std::size_t pixels = w * static_cast<std::size_t>(src.height());
    ProgressSteps steps(progress);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[w * 3]);
    // Runs cost 4 bytes each plus a copy: worth it (and within the 3 bytes
    // per pixel of the pixel array) when there are at most 3/8 as many runs
    // as pixels.
    const std::size_t maxRuns = pixels / 8 * 3 + 1;
    // Estimate the number of runs from every 16th row first, so that photos
    // go straight to the pixel array.
    const std::size_t h = static_cast<std::size_t>(src.height());
    std::size_t sampled = 0, sampledRows = 0;
    for (std::size_t r = 0; r < h; r += 16, ++sampledRows)
        scanRuns(bgrRow(src, r, buffer.get()), w, [&](const std::uint8_t*, std::size_t) { return ++sampled, true; });
    Dib out;
    if (sampled * h / sampledRows < maxRuns) out = splitRuns(src, maxRuns, buffer.get(), steps);
    if (out.isNull()) out = splitPixels(src, buffer.get(), steps);
    return out;
}

}  // namespace

Dib widenTo8(const Dib& source) {
    const int bpp = source.bitsPerPixel();
    if (bpp != 1 && bpp != 4) throw ImageError("Only 1- and 4-bit images are widened to 8 bits");
    Dib out(source.width(), source.height(), 8);
    out.setPalette(source.palette());
    const unsigned mask = (1u << bpp) - 1;
    for (int r = 0; r < source.height(); ++r) {
        const std::uint8_t* s = source.bits() + static_cast<std::size_t>(r) * source.stride();
        std::uint8_t* d = out.bits() + static_cast<std::size_t>(r) * out.stride();
        for (int x = 0; x < source.width(); ++x) {
            const unsigned bit = static_cast<unsigned>(x) * static_cast<unsigned>(bpp);
            d[x] = static_cast<std::uint8_t>((s[bit / 8] >> (8 - bpp - bit % 8)) & mask);
        }
    }
    return out;
}

Dib reduceTo256(const Dib& source, const ProgressFn& progress) {
    if (source.isNull()) throw ImageError("No image");
    switch (source.bitsPerPixel()) {
    case 1:
    case 4: return widenTo8(source);
    case 8: return source;
    default: break;
    }
    if (progress) progress(ProgressStage::Starting, 0);
    Dib result;
    try {
        result = varianceSplit(source, progress);
    } catch (...) {
        if (progress) {
            try {
                progress(ProgressStage::Ending, 100);
            } catch (...) {
                // The first failure is the one to report.
            }
        }
        throw;
    }
    if (progress) progress(ProgressStage::Ending, 100);
    return result;
}

void DibImage::assign(const Dib& picture) {
    if (picture.isNull()) throw ImageError("No image");
    switch (picture.bitsPerPixel()) {
    case 15:
    case 16:
    case 32: dib_ = toBpp24(picture); break;
    default: dib_ = picture; break;
    }
}

void DibImage::setReductionMode(int mode) {
    if (mode != 1) throw ImageError("Unknown colour reduction mode " + std::to_string(mode));
    mode_ = mode;
}

void DibImage::setPixelFormat8Bit() { dib_ = reduceTo256(dib_, onProgress); }

}  // namespace hueloom::image
