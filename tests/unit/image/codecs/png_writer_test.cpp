#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "image/codecs/png_decoder.h"
#include "image/codecs/png_writer.h"
#include "image/image_error.h"
#include "support/image_test_support.h"

namespace hueloom::codecs {
namespace {

using image::Dib;
using image::testing::be32;
using image::testing::PngChunk;

std::vector<PngChunk> parseChunks(const std::vector<std::uint8_t>& f) {
    static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_EQ(std::memcmp(f.data(), sig, 8), 0);
    std::vector<PngChunk> out;
    std::size_t pos = 8;
    while (pos + 12 <= f.size()) {
        const std::uint32_t len = be32(&f[pos]);
        PngChunk c;
        c.type.assign(reinterpret_cast<const char*>(&f[pos + 4]), 4);
        c.data.assign(f.begin() + pos + 8, f.begin() + pos + 8 + len);
        const uLong crc = crc32(0L, &f[pos + 4], 4 + len);
        c.crcOk = crc == be32(&f[pos + 8 + len]);
        out.push_back(std::move(c));
        pos += 12 + len;
    }
    EXPECT_EQ(pos, f.size());
    return out;
}

std::vector<std::string> types(const std::vector<PngChunk>& chunks) {
    std::vector<std::string> t;
    for (const auto& c : chunks) t.push_back(c.type);
    return t;
}

std::vector<std::uint8_t> idatStream(const std::vector<PngChunk>& chunks) {
    std::vector<std::uint8_t> z;
    for (const auto& c : chunks)
        if (c.type == "IDAT") z.insert(z.end(), c.data.begin(), c.data.end());
    return z;
}

std::vector<std::uint8_t> inflateAll(const std::vector<std::uint8_t>& z, std::size_t expected) {
    std::vector<std::uint8_t> out(expected + 16);
    uLongf n = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(out.data(), &n, z.data(), static_cast<uLong>(z.size())), Z_OK);
    out.resize(n);
    return out;
}

PngWriter fixedTimeWriter(int level = -1) {
    PngWriter w;
    w.setCompressionLevel(level);
    w.setTime(PngTime{2024, 2, 29, 23, 59, 58});
    return w;
}

TEST(PngWriter, ChunksComeInTheirOrderForEveryFormat) {
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        const Dib src = image::testing::randomDib(10, 4, bpp, 3, bpp == 8 ? 77 : 0);
        const auto chunks = parseChunks(fixedTimeWriter().encode(src));
        std::vector<std::string> expected = {"IHDR", "tIME", "tEXt", PngWriter::kPrivateChunkType, "gAMA"};
        if (bpp == 15 || bpp == 16) expected.push_back("sBIT");
        if (bpp <= 8) expected.push_back("PLTE");
        expected.push_back("IDAT");
        expected.push_back("IEND");
        EXPECT_EQ(types(chunks), expected) << bpp << " bits";
        for (const auto& c : chunks) EXPECT_TRUE(c.crcOk) << c.type;

        const auto& ihdr = chunks[0].data;
        ASSERT_EQ(ihdr.size(), 13u);
        EXPECT_EQ(be32(&ihdr[0]), 10u);
        EXPECT_EQ(be32(&ihdr[4]), 4u);
        EXPECT_EQ(ihdr[8], bpp <= 8 ? bpp : 8);  // bit depth
        EXPECT_EQ(ihdr[9], bpp <= 8 ? 3 : 2);  // palette or truecolour
        EXPECT_EQ(ihdr[10] | ihdr[11] | ihdr[12], 0);  // deflate, filter method 0, no interlace
        if (bpp <= 8) {
            const auto& plte = chunks[chunks.size() - 3].data;
            ASSERT_EQ(plte.size(), src.palette().size() * 3);
            for (std::size_t i = 0; i < src.palette().size(); ++i) {
                EXPECT_EQ(plte[i * 3], src.palette()[i].red);
                EXPECT_EQ(plte[i * 3 + 1], src.palette()[i].green);
                EXPECT_EQ(plte[i * 3 + 2], src.palette()[i].blue);
            }
        }
        if (bpp == 15 || bpp == 16) {
            const auto& sbit = chunks[5].data;
            EXPECT_EQ(sbit, (std::vector<std::uint8_t>{5, std::uint8_t(bpp == 16 ? 6 : 5), 5}));
        }
        EXPECT_TRUE(chunks.back().data.empty());
    }
}

TEST(PngWriter, AncillaryChunkContents) {
    const auto chunks = parseChunks(fixedTimeWriter().encode(Dib(3, 3, 24)));
    EXPECT_EQ(chunks[1].data, (std::vector<std::uint8_t>{0x07, 0xE8, 2, 29, 23, 59, 58}));
    const std::string text(chunks[2].data.begin(), chunks[2].data.end());
    EXPECT_EQ(text, std::string("Software") + '\0' + PngWriter::kSoftware);
    // Private ancillary chunk: lower, lower, upper, upper; tag and zeros.
    const std::string t = chunks[3].type;
    EXPECT_TRUE(std::islower(t[0]) && std::islower(t[1]) && std::isupper(t[2]) && std::isupper(t[3])) << t;
    ASSERT_EQ(chunks[3].data.size(), 8u);
    EXPECT_EQ(std::string(chunks[3].data.begin(), chunks[3].data.begin() + 4), PngWriter::kPrivateTag);
    EXPECT_EQ(chunks[3].data[4] | chunks[3].data[5] | chunks[3].data[6] | chunks[3].data[7], 0);
    EXPECT_EQ(be32(chunks[4].data.data()), 45455u);
}

TEST(PngWriter, APictureWithAColourProfileCarriesItInIccpInsteadOfGama) {
    std::vector<std::uint8_t> icc(3000);
    for (std::size_t i = 0; i < icc.size(); ++i) icc[i] = static_cast<std::uint8_t>(i * 7 % 13);
    // Names as PNG allows them: printable, single spaces, 79 at most; none
    // left gives a name of the writer's own.
    const struct {
        std::string given, written;
    } names[] = {{"Adobe RGB (1998)", "Adobe RGB (1998)"},
                 {"  two  spaces\tand tab ", "two spaces and tab"},
                 {std::string(100, 'x'), std::string(79, 'x')},
                 {"\x01\x02", "ICC profile"}};
    for (const auto& n : names) {
        Dib src(4, 2, 32);
        src.setProfile(std::make_shared<const image::ColourProfile>(image::ColourProfile{n.given, icc}));
        const auto chunks = parseChunks(fixedTimeWriter().encode(src));
        EXPECT_EQ(types(chunks), (std::vector<std::string>{"IHDR", "tIME", "tEXt", PngWriter::kPrivateChunkType, "iCCP",
                                                           "IDAT", "IEND"}));
        const auto& d = chunks[4].data;
        const std::string name(reinterpret_cast<const char*>(d.data()));
        EXPECT_EQ(name, n.written);
        EXPECT_EQ(d[name.size() + 1], 0);  // deflate
        EXPECT_EQ(inflateAll({d.begin() + static_cast<long>(name.size()) + 2, d.end()}, icc.size()), icc);
    }
}

TEST(PngWriter, TimeIsTheCurrentUtcTimeByDefault) {
    const auto before = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const auto chunks = parseChunks(PngWriter().encode(Dib(1, 1, 24)));
    const auto after = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const auto& t = chunks[1].data;
    using namespace std::chrono;
    const sys_seconds written =
        sys_days{year{(t[0] << 8) | t[1]} / month{t[2]} / day{t[3]}} + hours{t[4]} + minutes{t[5]} + seconds{t[6]};
    EXPECT_LE(before, written);
    EXPECT_LE(written, after);
}

// Undoes the row filters of 8-bit RGB data in place (filter method 0) and
// returns each row's filter type.
std::vector<int> unfilterRgb(std::vector<std::uint8_t>& raw, std::size_t rowBytes, int height) {
    std::vector<int> types;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &raw[y * (rowBytes + 1)];
        const std::uint8_t* up = y > 0 ? row - rowBytes : nullptr;  // the row above, after its filter byte
        types.push_back(row[0]);
        for (std::size_t i = 1; i <= rowBytes; ++i) {
            const int a = i > 3 ? row[i - 3] : 0, b = up ? up[i - 1] : 0, c = up && i > 3 ? up[i - 4] : 0;
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int pred[5] = {0, a, b, (a + b) / 2, paeth};
            EXPECT_LE(row[0], 4) << "filter type of row " << y;
            row[i] = static_cast<std::uint8_t>(row[i] + pred[row[0] % 5]);
        }
    }
    return types;
}

TEST(PngWriter, RowsMapPixelsPerFormat) {
    for (int level : {0, 6}) {
        for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
            const int w = 13, h = 5;
            const Dib src = image::testing::randomDib(w, h, bpp, 11);
            const auto chunks = parseChunks(fixedTimeWriter(level).encode(src));
            const std::size_t rowBytes = bpp <= 8 ? (w * bpp + 7) / 8 : w * 3;
            auto raw = inflateAll(idatStream(chunks), (rowBytes + 1) * h);
            ASSERT_EQ(raw.size(), (rowBytes + 1) * h);
            if (bpp > 8) unfilterRgb(raw, rowBytes, h);
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* row = &raw[y * (rowBytes + 1)];
                // Palette rows and stored data are never filtered.
                if (bpp <= 8 || level == 0) EXPECT_EQ(row[0], 0) << "filter type of row " << y;
                if (bpp <= 8) {
                    EXPECT_EQ(std::memcmp(row + 1, src.scanLine(y), rowBytes), 0) << bpp;
                } else {
                    for (int x = 0; x < w; ++x) {
                        const auto p = image::testing::pixelBgr(src, x, y);  // widened for 15/16
                        EXPECT_EQ(row[1 + x * 3], p[2]);
                        EXPECT_EQ(row[2 + x * 3], p[1]);
                        EXPECT_EQ(row[3 + x * 3], p[0]);
                    }
                }
            }
        }
    }
}

// Truecolour rows are compressed in pieces, each with the filters that suit
// it: flat, repeating rows stay unfiltered, smooth noisy ones get filters.
TEST(PngWriter, FiltersFollowThePictureAcrossPieces) {
    const int w = 1000, h = 2 * static_cast<int>(PngWriter::kPieceBytes / (w * 3 + 1)) + 7;
    Dib src(w, h, 24);
    std::mt19937 rng(3);
    static const std::uint8_t inks[4][3] = {{240, 240, 235}, {20, 20, 30}, {120, 60, 200}, {250, 200, 0}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int n = static_cast<int>(rng() % 7);
            if (y < h / 2) {  // four colours at random, as in a chart or dithered drawing
                const std::uint8_t* c = inks[rng() % 4];
                image::testing::setPixel24(src, x, y, c[0], c[1], c[2]);
            } else {  // photo-like
                image::testing::setPixel24(src, x, y, (x / 4 + n) & 255, (y / 3 + n) & 255, (x + y) / 8 + n);
            }
        }
    for (int level : {-1}) {
        const auto file = fixedTimeWriter(level).encode(src);
        const std::size_t rowBytes = w * 3;
        auto raw = inflateAll(idatStream(parseChunks(file)), (rowBytes + 1) * h);
        ASSERT_EQ(raw.size(), (rowBytes + 1) * h);
        const std::vector<int> types = unfilterRgb(raw, rowBytes, h);
        EXPECT_EQ(types[h / 4], 0) << level;
        EXPECT_NE(types[h - 2], 0) << level;
        EXPECT_TRUE(decodePng(file) == src) << level;
        EXPECT_LT(file.size(), raw.size() / 4) << level;
    }
}

TEST(PngWriter, ImageDataIsCutIntoFullChunksAndARest) {
    const Dib big = image::testing::randomDib(300, 200, 24, 5);  // incompressible, ~180 KB
    const auto chunks = parseChunks(fixedTimeWriter(6).encode(big));
    std::vector<std::size_t> sizes;
    for (const auto& c : chunks)
        if (c.type == "IDAT") sizes.push_back(c.data.size());
    ASSERT_GE(sizes.size(), 5u);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 32768u);
    EXPECT_GT(sizes.back(), 0u);
    EXPECT_LE(sizes.back(), 32768u);
    // IDAT chunks follow each other without anything in between.
    const auto t = types(chunks);
    const auto first = std::find(t.begin(), t.end(), "IDAT") - t.begin();
    for (std::size_t i = 0; i < sizes.size(); ++i) EXPECT_EQ(t[first + i], "IDAT");
}

TEST(PngWriter, LevelZeroStoresTheRowsUncompressed) {
    const Dib flat(200, 100, 24);  // all black: any compression would shrink it
    const std::size_t raw = 100 * (200 * 3 + 1);
    const auto stored = fixedTimeWriter(pngLevelForQuality(0)).encode(flat);
    EXPECT_GT(stored.size(), raw);
    const auto z = idatStream(parseChunks(stored));
    EXPECT_EQ(z[0], 0x78);  // deflate, 32 KiB window
    EXPECT_EQ(z[1] >> 6, 0);  // FLEVEL: fastest
    EXPECT_EQ((z[2] >> 1) & 3, 0);  // first block: BTYPE 00, stored
    EXPECT_EQ(inflateAll(z, raw).size(), raw);

    const auto packed = fixedTimeWriter(pngLevelForQuality(1)).encode(flat);
    EXPECT_LT(packed.size(), raw / 20);
    EXPECT_EQ(idatStream(parseChunks(packed))[1] >> 6, 2);  // default level
    EXPECT_EQ(idatStream(parseChunks(fixedTimeWriter(pngLevelForQuality(3)).encode(flat)))[1] >> 6, 3);
}

TEST(PngWriter, QualityAndLevelMapping) {
    EXPECT_EQ(pngLevelForQuality(0), 0);
    EXPECT_EQ(pngLevelForQuality(1), -1);
    EXPECT_EQ(pngLevelForQuality(2), 1);
    EXPECT_EQ(pngLevelForQuality(3), 9);
    EXPECT_EQ(pngLevelForQuality(4), -1);
    EXPECT_EQ(pngLevelForQuality(-7), -1);
    PngWriter w;
    EXPECT_EQ(w.compressionLevel(), -1);
    w.setCompressionLevel(9);
    EXPECT_EQ(w.compressionLevel(), 9);
    w.setCompressionLevel(10);
    EXPECT_EQ(w.compressionLevel(), -1);
    w.setCompressionLevel(-2);
    EXPECT_EQ(w.compressionLevel(), -1);
}

TEST(PngWriter, DecoderReadsBackEveryFormat) {
    for (int level : {0, 1, 6, 9}) {
        for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
            const Dib src = image::testing::randomDib(37, 9, bpp, 17 + level, bpp == 4 ? 11 : 0);
            const Dib back = decodePng(fixedTimeWriter(level).encode(src));
            if (bpp <= 8) {
                ASSERT_EQ(back.bitsPerPixel(), 8);
                EXPECT_EQ(back.palette(), src.palette());
            } else {
                ASSERT_EQ(back.bitsPerPixel(), 24);
            }
            EXPECT_TRUE(back == image::toBpp24(src) || (bpp <= 8 && image::toBpp24(back) == image::toBpp24(src)))
                << bpp << " bits, level " << level;
        }
    }
}

TEST(PngWriter, SaveWritesTheSameBytesAndReportsFailures) {
    const auto dir = image::testing::freshTempDir("hueloom_png_test");
    const Dib src = image::testing::randomDib(50, 40, 8, 3);
    const PngWriter w = fixedTimeWriter();
    w.save(src, dir / "a.png");
    EXPECT_TRUE(loadPng(dir / "a.png") == src);
    EXPECT_EQ(std::filesystem::file_size(dir / "a.png"), w.encode(src).size());
    EXPECT_THROW(w.save(src, dir / "missing" / "a.png"), image::ImageError);
    EXPECT_THROW(w.encode(Dib()), image::ImageError);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hueloom::codecs
