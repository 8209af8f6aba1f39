#include "image/reduce.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "image/image_error.h"

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
U128 scaledVariance(const Stats& st, int c) {
    return U128::mul(st.n, st.sumSq[c]) - U128::mul(st.sum[c], st.sum[c]);
}

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

inline void swap3(std::uint8_t* x, std::uint8_t* y) {
    const std::uint8_t t0 = x[0], t1 = x[1], t2 = x[2];
    x[0] = y[0];
    x[1] = y[1];
    x[2] = y[2];
    y[0] = t0;
    y[1] = t1;
    y[2] = t2;
}

// Reorders the triples so that those whose channel c is <= t come first;
// returns their count. Two indices move towards each other and exchange
// misplaced pixels; the scanning is done a block at a time without branches
// (offsets of misplaced pixels are collected first, then swapped pairwise).
std::size_t partition(std::uint8_t* a, std::size_t n, int c, unsigned t) {
    constexpr std::size_t kBlock = 128;
    std::uint8_t offL[kBlock], offR[kBlock];
    std::size_t l = 0, r = n;  // [0, l) low, [r, n) high, [l, r) unsorted
    std::size_t numL = 0, numR = 0, startL = 0, startR = 0;
    while (r - l >= 2 * kBlock) {
        if (numL == 0) {
            startL = 0;
            const std::uint8_t* p = a + l * 3 + c;
            for (std::size_t k = 0; k < kBlock; ++k) {
                offL[numL] = static_cast<std::uint8_t>(k);
                numL += p[k * 3] > t;
            }
        }
        if (numR == 0) {
            startR = 0;
            const std::uint8_t* p = a + (r - 1) * 3 + c;
            for (std::size_t k = 0; k < kBlock; ++k) {
                offR[numR] = static_cast<std::uint8_t>(k);
                numR += p[-static_cast<std::ptrdiff_t>(k * 3)] <= t;
            }
        }
        const std::size_t m = std::min(numL, numR);
        for (std::size_t j = 0; j < m; ++j)
            swap3(a + (l + offL[startL + j]) * 3, a + (r - 1 - offR[startR + j]) * 3);
        numL -= m;
        numR -= m;
        startL += m;
        startR += m;
        if (numL == 0) l += kBlock;
        if (numR == 0) r -= kBlock;
    }
    std::size_t i = l, j = r;
    for (;;) {
        while (i < j && a[i * 3 + c] <= t) ++i;
        while (i < j && a[(j - 1) * 3 + c] > t) --j;
        if (i >= j) break;
        swap3(a + i * 3, a + (j - 1) * 3);
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

class Splitter {
public:
    Splitter(SplitTree& tree, ProgressSteps& steps) : tree_(tree), steps_(steps) {}

    void split(std::uint8_t* px, const Stats& st, int depth, unsigned node) {
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
        const std::size_t n = static_cast<std::size_t>(st.n);
        const std::size_t nLow = partition(px, n, c, t);
        Stats low, high;
        if (nLow <= n - nLow) {
            low = computeStats(px, nLow);
            high = st.minus(low);
        } else {
            high = computeStats(px + nLow * 3, n - nLow);
            low = st.minus(high);
        }
        split(px + nLow * 3, high, depth + 1, node * 2 + 1);
        split(px, low, depth + 1, node * 2);
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

Dib varianceSplit(const Dib& src, const ProgressFn& progress) {
    const std::size_t w = static_cast<std::size_t>(src.width());
    const std::size_t h = static_cast<std::size_t>(src.height());
    SplitTree tree;
    ProgressSteps steps(progress);
    {
        // All pixels as one array of (blue, green, red) triples, 3 bytes each.
        std::unique_ptr<std::uint8_t[]> px(new std::uint8_t[w * h * 3]);
        for (std::size_t r = 0; r < h; ++r) rowToBgr24(src, static_cast<int>(r), px.get() + r * w * 3);
        const Stats all = computeStats(px.get(), w * h);
        Splitter(tree, steps).split(px.get(), all, 0, 1);
    }

    Dib out(src.width(), src.height(), 8);
    out.setPalette(std::move(tree.palette));
    std::unique_ptr<std::uint8_t[]> rowBuffer;
    if (src.bitsPerPixel() != 24) rowBuffer.reset(new std::uint8_t[w * 3]);
    for (std::size_t r = 0; r < h; ++r) {
        const std::uint8_t* row;
        if (rowBuffer) {
            rowToBgr24(src, static_cast<int>(r), rowBuffer.get());
            row = rowBuffer.get();
        } else {
            row = src.bits() + r * src.stride();
        }
        std::uint8_t* dst = out.bits() + r * out.stride();
        // Screen pictures have long runs of one colour: reuse the last answer.
        std::uint32_t last = 0xFFFFFFFFu;
        std::uint8_t lastIndex = 0;
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* p = row + x * 3;
            const std::uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
            if (key != last) {
                last = key;
                lastIndex = static_cast<std::uint8_t>(leafOf(tree, p));
            }
            dst[x] = lastIndex;
        }
    }
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
    case 4:
        return widenTo8(source);
    case 8:
        return source;
    default:
        break;
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
    case 32:
        dib_ = toBpp24(picture);
        break;
    default:
        dib_ = picture;
        break;
    }
}

void DibImage::setReductionMode(int mode) {
    if (mode != 1) throw ImageError("Unknown colour reduction mode " + std::to_string(mode));
    mode_ = mode;
}

void DibImage::setPixelFormat8Bit() { dib_ = reduceTo256(dib_, onProgress); }

}  // namespace hueloom::image
