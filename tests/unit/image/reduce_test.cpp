#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "image/image_error.h"
#include "image/reduce.h"
#include "support/image_test_support.h"

namespace hueloom::image {
namespace {

using testing::setPixel24;

struct Rgb {
    int r, g, b;
};

Dib fromPixels(const std::vector<Rgb>& px, int width) {
    const int height = static_cast<int>(px.size()) / width;
    Dib d(width, height, 24);
    for (std::size_t i = 0; i < px.size(); ++i)
        setPixel24(d, static_cast<int>(i) % width, static_cast<int>(i) / width, std::uint8_t(px[i].r),
                   std::uint8_t(px[i].g), std::uint8_t(px[i].b));
    return d;
}

std::vector<RgbQuad> rgbPalette(const std::vector<Rgb>& colours) {
    std::vector<RgbQuad> pal;
    for (const Rgb& c : colours) pal.push_back(RgbQuad{std::uint8_t(c.b), std::uint8_t(c.g), std::uint8_t(c.r), 0});
    return pal;
}

int indexAt(const Dib& d, int x, int y) { return d.scanLine(y)[x]; }

// An independent model of the split: it keeps pixel positions in lists,
// separates them with stable_partition, takes means in long double with
// nearbyint (round half to even) and gives each pixel the leaf it ended in.
struct Model {
    std::vector<RgbQuad> palette;
    std::vector<int> index;  // per pixel, top row first
};

void modelSplit(const std::vector<Rgb>& px, std::vector<int> ids, int depth, Model& m) {
    if (ids.empty()) return;
    const long double n = static_cast<long double>(ids.size());
    long double sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
    for (int id : ids) {
        const int v[3] = {px[id].r, px[id].g, px[id].b};
        for (int c = 0; c < 3; ++c) {
            sum[c] += v[c];
            sq[c] += static_cast<long double>(v[c]) * v[c];
        }
    }
    if (depth == 8) {
        const int k = static_cast<int>(m.palette.size());
        m.palette.push_back(RgbQuad{std::uint8_t(std::nearbyint(sum[2] / n)), std::uint8_t(std::nearbyint(sum[1] / n)),
                                    std::uint8_t(std::nearbyint(sum[0] / n)), 0});
        for (int id : ids) m.index[id] = k;
        return;
    }
    // Exact weighted comparison on n*sum(x^2) - sum(x)^2 (small images only).
    long double w[3];
    const long double weight[3] = {3, 4, 2};
    for (int c = 0; c < 3; ++c) w[c] = weight[c] * (n * sq[c] - sum[c] * sum[c]);
    const int c = (w[0] >= w[1] && w[0] >= w[2]) ? 0 : (w[1] >= w[2] ? 1 : 2);
    auto value = [&](int id) { return c == 0 ? px[id].r : c == 1 ? px[id].g : px[id].b; };
    const auto mid = std::stable_partition(ids.begin(), ids.end(),
                                           [&](int id) { return static_cast<long double>(value(id)) * n > sum[c]; });
    std::vector<int> high(ids.begin(), mid), low(mid, ids.end());
    modelSplit(px, high, depth + 1, m);
    modelSplit(px, low, depth + 1, m);
}

Model model(const std::vector<Rgb>& px) {
    Model m;
    m.index.assign(px.size(), -1);
    std::vector<int> ids(px.size());
    std::iota(ids.begin(), ids.end(), 0);
    modelSplit(px, ids, 0, m);
    return m;
}

void expectMatchesModel(const std::vector<Rgb>& px, int width, const Dib& reduced) {
    const Model m = model(px);
    ASSERT_EQ(reduced.bitsPerPixel(), 8);
    EXPECT_EQ(reduced.palette(), m.palette);
    for (std::size_t i = 0; i < px.size(); ++i) {
        ASSERT_EQ(indexAt(reduced, static_cast<int>(i) % width, static_cast<int>(i) / width), m.index[i])
            << "pixel " << i;
    }
}

TEST(Reduce, OneColourGivesOneEntry) {
    for (int bpp : {24, 32, 16}) {
        Dib d(7, 5, bpp);
        for (int y = 0; y < 5; ++y)
            for (std::size_t i = 0; i < d.rowBytes(); ++i)
                d.scanLine(y)[i] = bpp == 24 ? std::uint8_t(10 + i % 3 * 50) : 0x5A;
        const Dib out = reduceTo256(d);
        ASSERT_EQ(out.palette().size(), 1u) << bpp;
        const auto expected = testing::pixelBgr(d, 0, 0);
        EXPECT_EQ(out.palette()[0], (RgbQuad{expected[0], expected[1], expected[2], 0}));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_EQ(indexAt(out, x, y), 0);
    }
}

TEST(Reduce, FirstSplitFollowsTheWeightedVariance) {
    // Black and white halves: equal variances, green's weight wins; the part
    // above the mean (white) comes first.
    const Dib bw = fromPixels({{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}}, 2);
    const Dib out = reduceTo256(bw);
    EXPECT_EQ(out.palette(), rgbPalette({{255, 255, 255}, {0, 0, 0}}));
    EXPECT_EQ(indexAt(out, 0, 0), 1);
    EXPECT_EQ(indexAt(out, 1, 0), 0);

    struct Case {
        const char* what;
        std::vector<Rgb> px;
        std::vector<Rgb> palette;
    };
    const std::vector<Case> cases = {
        // red against green, same spread: 4 vG beats 3 vR
        {"green over red", {{255, 0, 0}, {0, 255, 0}}, {{0, 255, 0}, {255, 0, 0}}},
        {"red over blue", {{0, 0, 255}, {255, 0, 0}}, {{255, 0, 0}, {0, 0, 255}}},
        {"green over blue", {{0, 0, 255}, {0, 255, 0}}, {{0, 255, 0}, {0, 0, 255}}},
        // a larger spread beats a larger weight
        {"red with twice the spread", {{200, 0, 0}, {0, 120, 0}}, {{200, 0, 0}, {0, 120, 0}}},
        // exact ties: 3 vR = 4 vG goes to red, 4 vG = 2 vB to green, 3 vR = 2 vB to red
        {"tie red/green", {{0, 0, 0}, {0, 2, 0}, {2, 1, 0}}, {{2, 1, 0}, {0, 2, 0}, {0, 0, 0}}},
        {"tie green/blue", {{0, 0, 0}, {0, 0, 0}, {0, 0, 3}, {0, 2, 1}}, {{0, 2, 1}, {0, 0, 3}, {0, 0, 0}}},
        {"tie red/blue", {{0, 0, 0}, {0, 0, 3}, {0, 0, 5}, {4, 0, 0}}, {{4, 0, 0}, {0, 0, 5}, {0, 0, 3}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        const Dib r = reduceTo256(fromPixels(c.px, static_cast<int>(c.px.size())));
        EXPECT_EQ(r.palette(), rgbPalette(c.palette)) << c.what;
        expectMatchesModel(c.px, static_cast<int>(c.px.size()), r);
    }
}

TEST(Reduce, LeafColoursRoundHalvesToEven) {
    // 256 groups along green, each a pair of reds; eight levels separate the
    // groups but not the pairs, so each leaf's red is the mean of its pair.
    std::vector<Rgb> px;
    for (int g = 0; g < 256; ++g) {
        // Means 1.5 and 2.5, alike for the two groups that share a last split
        // (where green's spread of 1 must still beat red's of 1).
        const int low = (g / 2) % 2 == 0 ? 1 : 2;
        px.push_back({low, g, 7});
        px.push_back({low + 1, g, 7});
    }
    const Dib out = reduceTo256(fromPixels(px, 64));
    ASSERT_EQ(out.palette().size(), 256u);
    for (int k = 0; k < 256; ++k) {
        const RgbQuad q = out.palette()[k];
        EXPECT_EQ(q.green, 255 - k);  // larger values first
        EXPECT_EQ(q.red, 2) << "group " << 255 - k;
        EXPECT_EQ(q.blue, 7);
    }
    expectMatchesModel(px, 64, out);
}

TEST(Reduce, RandomPicturesMatchTheModel) {
    for (unsigned seed : {1u, 2u, 3u}) {
        // 40 x 30 random pixels: far more colours than leaves, so leaves merge.
        const Dib src = testing::randomDib(40, 30, 24, seed);
        std::vector<Rgb> px;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const auto p = testing::pixelBgr(src, x, y);
                px.push_back({p[2], p[1], p[0]});
            }
        const Dib out = reduceTo256(src);
        EXPECT_LE(out.palette().size(), 256u);
        EXPECT_GT(out.palette().size(), 200u);
        expectMatchesModel(px, 40, out);
    }
    // Few levels of few values: many equal pixels and values on the thresholds.
    std::vector<Rgb> px;
    std::mt19937 rng(9);
    for (int i = 0; i < 3000; ++i) px.push_back({int(rng() % 4) * 60, int(rng() % 3) * 100, int(rng() % 5) * 50});
    expectMatchesModel(px, 100, reduceTo256(fromPixels(px, 100)));
}

TEST(Reduce, PicturesMadeOfRunsMatchTheModel) {
    // Rows of runs from 1 to 400 pixels (longer than the 255 a run can count)
    // in colours from a set of 600, as screen pictures are; then a picture
    // whose every 16th row is flat and the rest noise, which looks like runs
    // at first sight but is not.
    std::mt19937 rng(21);
    std::vector<Rgb> colours(600);
    for (auto& c : colours) c = {int(rng() % 256), int(rng() % 256), int(rng() % 256)};
    const int w = 700, h = 30;
    std::vector<Rgb> runs;
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            const int length = std::min(w - x, 1 + int(rng() % (rng() % 3 == 0 ? 400 : 12)));
            const Rgb c = colours[rng() % colours.size()];
            for (int i = 0; i < length; ++i) runs.push_back(c);
            x += length;
        }
    }
    expectMatchesModel(runs, w, reduceTo256(fromPixels(runs, w)));

    std::vector<Rgb> mixed;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 100; ++x)
            mixed.push_back(y % 16 == 0 ? Rgb{10, 20, 30} : Rgb{int(rng() % 256), int(rng() % 256), int(rng() % 256)});
    expectMatchesModel(mixed, 100, reduceTo256(fromPixels(mixed, 100)));
}

TEST(Reduce, HighColourSourcesAreReducedFromTheir24BitPixels) {
    for (int bpp : {15, 16, 32}) {
        const Dib src = testing::randomDib(17, 9, bpp, 5);
        EXPECT_TRUE(reduceTo256(src) == reduceTo256(toBpp24(src))) << bpp;
    }
}

std::vector<std::pair<ProgressStage, int>> expectedProgress() {
    std::vector<std::pair<ProgressStage, int>> e;
    e.emplace_back(ProgressStage::Starting, 0);
    for (int k = 1; k <= 255; ++k) e.emplace_back(ProgressStage::Running, k * 100 / 256);
    e.emplace_back(ProgressStage::Ending, 100);
    return e;
}

TEST(Reduce, ProgressCountsEveryLeafPositionIncludingEmptySubtrees) {
    const auto expected = expectedProgress();
    ASSERT_EQ(expected[1].second, 0);
    ASSERT_EQ(expected[2].second, 0);
    ASSERT_EQ(expected[3].second, 1);
    ASSERT_EQ(expected[255].second, 99);
    for (const Dib& src : {Dib(1, 1, 24), Dib(5, 5, 32), testing::randomDib(50, 20, 24, 4)}) {
        std::vector<std::pair<ProgressStage, int>> seen;
        reduceTo256(src, [&](ProgressStage s, int p) { seen.emplace_back(s, p); });
        EXPECT_EQ(seen, expected);
    }
}

TEST(Reduce, EndingIsReportedWhenTheReductionFails) {
    std::vector<std::pair<ProgressStage, int>> seen;
    auto progress = [&](ProgressStage s, int p) {
        seen.emplace_back(s, p);
        if (s == ProgressStage::Running && p == 50) throw std::runtime_error("stop");
    };
    EXPECT_THROW(reduceTo256(testing::randomDib(20, 20, 24, 6), progress), std::runtime_error);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(ProgressStage::Ending, 100));
    EXPECT_EQ(seen.front(), std::make_pair(ProgressStage::Starting, 0));
}

TEST(Reduce, PaletteImagesAreWidenedOrTakenOverWithoutEvents) {
    int events = 0;
    auto count = [&](ProgressStage, int) { ++events; };
    for (int bpp : {1, 4}) {
        const Dib src = testing::randomDib(11, 3, bpp, 8, bpp == 4 ? 9 : 0);
        const Dib out = reduceTo256(src, count);
        ASSERT_EQ(out.bitsPerPixel(), 8);
        EXPECT_EQ(out.palette(), src.palette());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 11; ++x) EXPECT_EQ(testing::pixelBgr(out, x, y), testing::pixelBgr(src, x, y));
    }
    const Dib eight = testing::randomDib(11, 3, 8, 8, 99);
    EXPECT_TRUE(reduceTo256(eight, count) == eight);
    EXPECT_EQ(events, 0);
    EXPECT_THROW(reduceTo256(Dib()), ImageError);
}

TEST(Reduce, DibImageConvertsLikeTheFunction) {
    const Dib src = testing::randomDib(23, 11, 32, 12);
    DibImage image;
    int events = 0;
    image.onProgress = [&](ProgressStage, int) { ++events; };
    image.assign(src);
    EXPECT_EQ(image.dib().bitsPerPixel(), 24);
    EXPECT_THROW(image.setReductionMode(2), ImageError);
    image.setReductionMode(1);
    image.setPixelFormat8Bit();
    EXPECT_EQ(events, 257);
    EXPECT_TRUE(image.dib() == reduceTo256(src));
}

}  // namespace
}  // namespace hueloom::image
