#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "image/codecs/png_decoder.h"
#include "image/codecs/png_writer.h"
#include "image/image_error.h"
#include "support/image_test_support.h"

namespace hueloom::codecs {
namespace {

using image::Dib;
using image::ImageError;

void put32be(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(std::uint8_t(v >> s));
}

void chunk(std::vector<std::uint8_t>& f, const char* type, const std::vector<std::uint8_t>& data) {
    put32be(f, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = f.size();
    f.insert(f.end(), type, type + 4);
    f.insert(f.end(), data.begin(), data.end());
    put32be(f, static_cast<std::uint32_t>(crc32(0L, &f[start], static_cast<uInt>(4 + data.size()))));
}

std::vector<std::uint8_t> ihdr(std::uint32_t w, std::uint32_t h, int depth, int colourType, int interlace = 0) {
    std::vector<std::uint8_t> d;
    put32be(d, w);
    put32be(d, h);
    d.insert(d.end(), {std::uint8_t(depth), std::uint8_t(colourType), 0, 0, std::uint8_t(interlace)});
    return d;
}

std::vector<std::uint8_t> zlibOf(const std::vector<std::uint8_t>& raw) {
    uLongf n = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> z(n);
    EXPECT_EQ(compress(z.data(), &n, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
    z.resize(n);
    return z;
}

// A PNG made of the given chunks after the signature and IHDR.
std::vector<std::uint8_t> png(const std::vector<std::uint8_t>& header,
                              const std::vector<std::pair<const char*, std::vector<std::uint8_t>>>& rest,
                              bool withEnd = true) {
    std::vector<std::uint8_t> f = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    chunk(f, "IHDR", header);
    for (const auto& [type, data] : rest) chunk(f, type, data);
    if (withEnd) chunk(f, "IEND", {});
    return f;
}

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

// Raw RGB rows filtered with the given type on every row.
std::vector<std::uint8_t> filtered(const std::vector<std::vector<std::uint8_t>>& rows, int type) {
    std::vector<std::uint8_t> out;
    const std::size_t n = rows[0].size();
    std::vector<std::uint8_t> prev(n, 0);
    for (const auto& r : rows) {
        out.push_back(std::uint8_t(type));
        for (std::size_t i = 0; i < n; ++i) {
            const int a = i >= 3 ? r[i - 3] : 0, b = prev[i], c = i >= 3 ? prev[i - 3] : 0;
            int pred = 0;
            if (type == 1) pred = a;
            if (type == 2) pred = b;
            if (type == 3) pred = (a + b) / 2;
            if (type == 4) pred = paeth(a, b, c);
            out.push_back(std::uint8_t(r[i] - pred));
        }
        prev = r;
    }
    return out;
}

TEST(PngDecoder, EveryRowFilterIsUndone) {
    std::mt19937 rng(3);
    std::vector<std::vector<std::uint8_t>> rows(4, std::vector<std::uint8_t>(5 * 3));
    for (auto& r : rows)
        for (auto& v : r) v = std::uint8_t(rng());
    for (int type = 0; type <= 4; ++type) {
        const Dib d = decodePng(png(ihdr(5, 4, 8, 2), {{"IDAT", zlibOf(filtered(rows, type))}}));
        ASSERT_EQ(d.bitsPerPixel(), 24);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const auto p = image::testing::pixelBgr(d, x, y);
                EXPECT_EQ(p[2], rows[y][x * 3]) << "filter " << type;
                EXPECT_EQ(p[1], rows[y][x * 3 + 1]);
                EXPECT_EQ(p[0], rows[y][x * 3 + 2]);
            }
    }
}

TEST(PngDecoder, GreyAlphaAndSixteenBitImages) {
    // 2 x 1 grey 2-bit: samples 3 and 1 -> 255 and 85 with an ascending grey palette.
    const Dib g = decodePng(png(ihdr(2, 1, 2, 0), {{"IDAT", zlibOf({0, 0xD0})}}));
    ASSERT_EQ(g.bitsPerPixel(), 8);
    EXPECT_EQ(g.scanLine(0)[0], 255);
    EXPECT_EQ(g.scanLine(0)[1], 85);
    EXPECT_EQ(g.palette()[85], (image::RgbQuad{85, 85, 85, 0}));
    // RGBA 8-bit -> 32 bits, blue green red alpha.
    const Dib a = decodePng(png(ihdr(1, 1, 8, 6), {{"IDAT", zlibOf({0, 10, 20, 30, 40})}}));
    ASSERT_EQ(a.bitsPerPixel(), 32);
    EXPECT_EQ(std::vector<std::uint8_t>(a.scanLine(0), a.scanLine(0) + 4), (std::vector<std::uint8_t>{30, 20, 10, 40}));
    // RGB 16-bit keeps the high bytes.
    const Dib w = decodePng(png(ihdr(1, 1, 16, 2), {{"IDAT", zlibOf({0, 1, 2, 3, 4, 5, 6})}}));
    EXPECT_EQ(image::testing::pixelBgr(w, 0, 0), (std::array<std::uint8_t, 3>{5, 3, 1}));
    // Palette 2-bit, image data split over several IDAT chunks, unknown ancillary chunk skipped.
    const auto z = zlibOf({0, 0x1B, 0, 0xE4});
    const Dib p = decodePng(png(ihdr(4, 2, 2, 3), {{"PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                                                   {"zzZZ", {1, 2}},
                                                   {"IDAT", {z.begin(), z.begin() + 3}},
                                                   {"IDAT", {z.begin() + 3, z.end()}}}));
    EXPECT_EQ(std::vector<std::uint8_t>(p.scanLine(0), p.scanLine(0) + 4), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    EXPECT_EQ(std::vector<std::uint8_t>(p.scanLine(1), p.scanLine(1) + 4), (std::vector<std::uint8_t>{3, 2, 1, 0}));
    EXPECT_EQ(p.palette().size(), 4u);
}

TEST(PngDecoder, MalformedFilesRaiseAClearError) {
    const auto row = zlibOf({0, 1, 2, 3});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
    };
    const std::vector<Case> cases = {
        {"no signature", {1, 2, 3}},
        {"bad depth", png(ihdr(1, 1, 3, 2), {{"IDAT", row}})},
        {"zero width", png(ihdr(0, 1, 8, 2), {{"IDAT", row}})},
        {"huge image, tiny data", png(ihdr(60000, 60000, 8, 6), {{"IDAT", row}})},
        {"unknown filter", png(ihdr(1, 1, 8, 2), {{"IDAT", zlibOf({7, 1, 2, 3})}})},
        {"too few rows", png(ihdr(1, 2, 8, 2), {{"IDAT", row}})},
        {"corrupt zlib", png(ihdr(1, 1, 8, 2), {{"IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF}}})},
        {"no palette", png(ihdr(1, 1, 8, 3), {{"IDAT", zlibOf({0, 0})}})},
        {"empty palette", png(ihdr(1, 1, 8, 3), {{"PLTE", {}}, {"IDAT", zlibOf({0, 0})}})},
        {"palette too long", png(ihdr(1, 1, 1, 3), {{"PLTE", std::vector<std::uint8_t>(9)}, {"IDAT", zlibOf({0, 0})}})},
        {"unknown critical chunk", png(ihdr(1, 1, 8, 2), {{"ABCD", {}}, {"IDAT", row}})},
        {"no image data", png(ihdr(1, 1, 8, 2), {})},
        {"no end", png(ihdr(1, 1, 8, 2), {{"IDAT", row}}, false)},
        {"split image data",
         png(ihdr(1, 1, 8, 2),
             {{"IDAT", {row.begin(), row.begin() + 2}}, {"tEXt", {'a', 0}}, {"IDAT", {row.begin() + 2, row.end()}}})},
    };
    for (const Case& c : cases) EXPECT_THROW(decodePng(c.file), ImageError) << c.what;
}

TEST(PngDecoder, EveryTruncationAndEveryCorruptedByteIsRejected) {
    PngWriter w;
    w.setTime(PngTime{2020, 1, 1, 0, 0, 0});
    const auto file = w.encode(image::testing::randomDib(6, 3, 8, 4, 5));
    ASSERT_NO_THROW(decodePng(file));
    for (std::size_t n = 0; n < file.size(); ++n) EXPECT_THROW(decodePng(std::span(file.data(), n)), ImageError) << n;
    for (std::size_t i = 0; i < file.size(); ++i) {
        auto bad = file;
        bad[i] ^= 0x20;
        EXPECT_THROW(decodePng(bad), ImageError) << "byte " << i;
    }
}

}  // namespace
}  // namespace hueloom::codecs
