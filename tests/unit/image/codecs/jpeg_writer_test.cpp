#include <gtest/gtest.h>

#include <cstdio>
#include <csetjmp>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <jpeglib.h>

#include "image/codecs/jpeg_writer.h"
#include "image/image_error.h"
#include "support/image_test_support.h"

namespace hueloom::codecs {
namespace {

using image::Dib;

struct Marker {
    std::uint8_t code;
    std::vector<std::uint8_t> data;
};

// The markers of a JPEG file up to the start of scan.
std::vector<Marker> markers(const std::vector<std::uint8_t>& f) {
    std::vector<Marker> out;
    EXPECT_EQ(f[0], 0xFF);
    EXPECT_EQ(f[1], 0xD8);
    std::size_t pos = 2;
    while (pos + 4 <= f.size() && f[pos] == 0xFF) {
        const std::uint8_t code = f[pos + 1];
        const std::size_t len = (f[pos + 2] << 8) | f[pos + 3];
        out.push_back({code, std::vector<std::uint8_t>(f.begin() + pos + 4, f.begin() + pos + 2 + len)});
        if (code == 0xDA) break;
        pos += 2 + len;
    }
    return out;
}

struct Decoded {
    int width = 0, height = 0, components = 0;
    std::vector<std::uint8_t> rgb;
};

Decoded decode(const std::vector<std::uint8_t>& f) {
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, f.data(), static_cast<unsigned long>(f.size()));
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    Decoded out{static_cast<int>(d.output_width), static_cast<int>(d.output_height), d.num_components, {}};
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<std::size_t>(d.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

// A smooth picture: JPEG at quality 100 keeps it within a few levels.
Dib gradient(int w, int h, int bpp) {
    Dib d(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image::testing::setPixel24(d, x, y, std::uint8_t(x * 4), std::uint8_t(y * 4), 128);
    if (bpp == 24) return d;
    Dib e(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) std::memcpy(e.scanLine(y) + x * 4, d.scanLine(y) + x * 3, 3);
    return e;
}

double meanError(const Decoded& dec, const Dib& src) {
    double sum = 0;
    for (int y = 0; y < dec.height; ++y)
        for (int x = 0; x < dec.width; ++x) {
            const auto p = image::testing::pixelBgr(src, x, y);
            const std::uint8_t* q = &dec.rgb[(static_cast<std::size_t>(y) * dec.width + x) * 3];
            sum += std::abs(q[0] - p[2]) + std::abs(q[1] - p[1]) + std::abs(q[2] - p[0]);
        }
    return sum / (dec.width * dec.height * 3.0);
}

TEST(JpegWriter, BaselineJfifWithThreeComponentsAtAnyQuality) {
    const Dib src = gradient(60, 40, 24);
    for (int q : {1, 50, 90, 100}) {
        const auto f = writeJpeg(src, q);
        const auto m = markers(f);
        ASSERT_GE(m.size(), 4u);
        EXPECT_EQ(m[0].code, 0xE0);  // APP0 JFIF first
        EXPECT_EQ(std::string(m[0].data.begin(), m[0].data.begin() + 5), std::string("JFIF\0", 5));
        bool sof0 = false;
        for (const Marker& k : m) {
            EXPECT_NE(k.code, 0xC2) << "progressive at quality " << q;
            EXPECT_NE(k.code, 0xC1) << "extended at quality " << q;
            if (k.code == 0xC0) {
                sof0 = true;
                EXPECT_EQ(k.data[0], 8);  // precision
                EXPECT_EQ((k.data[1] << 8) | k.data[2], 40);  // height
                EXPECT_EQ((k.data[3] << 8) | k.data[4], 60);  // width
                EXPECT_EQ(k.data[5], 3);  // components
            }
            if (k.code == 0xDB) {  // baseline tables: 8-bit entries no larger than 255
                EXPECT_EQ(k.data[0] >> 4, 0);
            }
        }
        EXPECT_TRUE(sof0) << q;
        EXPECT_EQ(f[f.size() - 2], 0xFF);
        EXPECT_EQ(f.back(), 0xD9);
    }
}

TEST(JpegWriter, PixelsSurviveAndQualityMatters) {
    for (int bpp : {24, 32}) {
        const Dib src = gradient(64, 48, bpp);
        const auto best = decode(writeJpeg(src, 100));
        const auto worst = decode(writeJpeg(src, 1));
        ASSERT_EQ(best.width, 64);
        ASSERT_EQ(best.height, 48);
        EXPECT_EQ(best.components, 3);
        EXPECT_LT(meanError(best, src), 2.0);
        EXPECT_GT(meanError(worst, src), meanError(best, src));
    }
    // A red-only picture stays red (RGB order, not BGR).
    Dib red(16, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) image::testing::setPixel24(red, x, y, 250, 0, 0);
    const auto dec = decode(writeJpeg(red, 95));
    EXPECT_GT(dec.rgb[0], 200);
    EXPECT_LT(dec.rgb[2], 50);
}

// One pass over the whole picture by libjpeg itself, as the writer's
// settings describe: the reference the banded encoding must decode like.
std::vector<std::uint8_t> onePass(const Dib& src, int quality) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const auto p = image::testing::pixelBgr(src, x, y);
            rgb.insert(rgb.end(), {p[2], p[1], p[0]});
        }
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = static_cast<JDIMENSION>(src.width());
    c.image_height = static_cast<JDIMENSION>(src.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    c.dct_method = JDCT_FLOAT;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = rgb.data() + static_cast<std::size_t>(c.next_scanline) * src.width() * 3;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> out(mem, mem + size);
    std::free(mem);
    return out;
}

TEST(JpegWriter, TallPicturesAreEncodedInBandsThatDecodeLikeOnePass) {
    // 600 rows: bands of 256, 256 and 88 rows, a width no multiple of 16.
    for (int bpp : {8, 24, 32}) {
        Dib src = image::testing::randomDib(101, 600, bpp, 7u + bpp, bpp == 8 ? 256 : 0);
        src.setProfile(std::make_shared<image::ColourProfile>(image::ColourProfile{"p", {1, 2, 3}}));
        const auto f = writeJpeg(src, 90);
        EXPECT_EQ(decode(f).rgb, decode(onePass(src, 90)).rgb) << bpp;
        int dri = 0, sof = 0, icc = 0;
        for (const Marker& k : markers(f)) {
            if (k.code == 0xDD) dri = (k.data[0] << 8) | k.data[1];
            if (k.code == 0xC0) sof = (k.data[1] << 8) | k.data[2];
            icc += k.code == 0xE2;
        }
        EXPECT_EQ(dri, 7 * 16) << "16 MCU rows of 7 MCUs";
        EXPECT_EQ(sof, 600);
        EXPECT_EQ(icc, 1);
        std::vector<int> restarts;
        for (std::size_t i = 0; i + 1 < f.size(); ++i)
            if (f[i] == 0xFF && f[i + 1] >= 0xD0 && f[i + 1] <= 0xD7) restarts.push_back(f[i + 1] - 0xD0);
        EXPECT_EQ(restarts, (std::vector<int>{0, 1}));
        EXPECT_EQ(writeJpeg(src, 90), f) << "the same file every time";
    }
    // One band: one pass, byte for byte.
    const Dib small = image::testing::randomDib(300, 256, 24, 3);
    EXPECT_EQ(writeJpeg(small, 75), onePass(small, 75));
}

TEST(JpegWriter, QualityOutsideTheRangeIsClampedAndFailuresReported) {
    const Dib src = gradient(20, 20, 24);
    EXPECT_EQ(writeJpeg(src, 0), writeJpeg(src, 1));
    EXPECT_EQ(writeJpeg(src, 250), writeJpeg(src, 100));
    EXPECT_THROW(writeJpeg(Dib(), 90), image::ImageError);
    EXPECT_THROW(writeJpeg(Dib(70000, 1, 8), 90), image::ImageError);
    const auto dir = image::testing::freshTempDir("hueloom_jpeg_test");
    saveJpeg(src, 90, dir / "a.jpg");
    EXPECT_EQ(std::filesystem::file_size(dir / "a.jpg"), writeJpeg(src, 90).size());
    EXPECT_THROW(saveJpeg(src, 90, dir / "missing" / "a.jpg"), image::ImageError);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace hueloom::codecs
