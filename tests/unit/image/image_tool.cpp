// Writes sample files with our encoders and reads files with our decoders,
// so that the third-party check script can hold them against real tools.
//
//   image_tool samples DIR        every format as BMP and PNG, JPEGs, references as PPM
//   image_tool decode-png IN OUT  our PNG decoder, result as PPM
//   image_tool decode-rgba IN OUT our PNG decoder's 32-bit picture, raw R G B A
//   image_tool read-bmp IN OUT    our BMP reader, result as PPM
//   image_tool fuzz-seeds png|bmp DIR   small files of every format, to seed fuzzing
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "image/codecs/jpeg_writer.h"
#include "image/codecs/png_decoder.h"
#include "image/codecs/png_writer.h"
#include "image/bmp.h"
#include "image/dib.h"
#include "image/file_io.h"
#include "image/filters.h"
#include "image/reduce.h"

using namespace hueloom;
using image::Dib;

namespace {

void writePpm(const Dib& dib, const std::filesystem::path& path) {
    const Dib rgb = image::toBpp24(dib);
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << rgb.width() << " " << rgb.height() << "\n255\n";
    for (int y = 0; y < rgb.height(); ++y) {
        const std::uint8_t* s = rgb.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const char px[3] = {char(s[x * 3 + 2]), char(s[x * 3 + 1]), char(s[x * 3])};
            out.write(px, 3);
        }
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Random pixels with a flat band and a gradient, so that every format shows
// both noise and runs.
Dib sample(int width, int height, int bpp, unsigned seed) {
    Dib d(width, height, bpp);
    std::mt19937 rng(seed);
    if (d.hasPalette()) {
        std::vector<image::RgbQuad> pal(bpp == 8 ? 200 : (std::size_t{1} << bpp));
        for (auto& q : pal) q = image::RgbQuad{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()), 0};
        d.setPalette(pal);
    }
    const int bits = d.bitCount();
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = d.scanLine(y);
        for (int x = 0; x < width; ++x) {
            unsigned v = rng();
            if (y < height / 4) v = 0x3A5C7E91u;  // flat band
            if (y > height / 2) v = static_cast<unsigned>(x * 7 + y * 3) * 0x01010101u;  // gradient
            if (bits <= 8) {
                const unsigned index = v % d.palette().size();
                const unsigned bit = static_cast<unsigned>(x * bits);
                row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | (index << (8 - bits - bit % 8)));
            } else {
                for (int c = 0; c < bits / 8; ++c) row[x * (bits / 8) + c] = std::uint8_t(v >> (8 * c));
                if (bpp == 15) row[x * 2 + 1] &= 0x7F;
            }
        }
    }
    return d;
}

// A photo-like picture: smooth colour fields with noise.
Dib photo(int width, int height) {
    Dib d(width, height, 24);
    std::mt19937 rng(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = d.scanLine(y) + x * 3;
            const int n = static_cast<int>(rng() % 9) - 4;
            p[0] = std::uint8_t(std::clamp(128 + (x - y) / 2 + n, 0, 255));
            p[1] = std::uint8_t(std::clamp(y * 255 / height + n, 0, 255));
            p[2] = std::uint8_t(std::clamp(x * 255 / width + n, 0, 255));
        }
    return d;
}

void samples(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    int quality = 0;
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        const Dib d = sample(67, 45, bpp, static_cast<unsigned>(bpp));
        const std::string name = "sample_" + std::to_string(bpp);
        image::saveBmp(d, dir / (name + ".bmp"));
        codecs::PngWriter w;
        w.setCompressionLevel(codecs::pngLevelForQuality(quality++ % 4));
        w.save(d, dir / (name + ".png"));
        writePpm(d, dir / (name + ".ppm"));
    }
    // Enough incompressible data for several IDAT chunks.
    const Dib big = sample(400, 300, 24, 99);
    codecs::PngWriter w;
    w.save(big, dir / "big_24.png");
    writePpm(big, dir / "big_24.ppm");
    // Truecolour data in two compression pieces: four colours at random
    // above (best left unfiltered), photo-like rows below (best filtered).
    const int pw = 1000, ph = 2 * static_cast<int>(codecs::PngWriter::kPieceBytes / (pw * 3 + 1)) + 7;
    Dib pieces = photo(pw, ph);
    std::mt19937 rng(5);
    static const std::uint8_t inks[4][3] = {{235, 240, 240}, {30, 20, 20}, {200, 60, 120}, {0, 200, 250}};
    for (int y = 0; y < ph / 2; ++y)
        for (int x = 0; x < pw; ++x) std::copy_n(inks[rng() % 4], 3, pieces.scanLine(y) + x * 3);
    w.save(pieces, dir / "pieces_24.png");
    writePpm(pieces, dir / "pieces_24.ppm");
    // Results of the filters, as the export writes them.
    const Dib p = photo(160, 120);
    writePpm(p, dir / "photo.ppm");
    const Dib reduced = image::reduceTo256(p);
    w.save(reduced, dir / "reduced.png");
    image::saveBmp(reduced, dir / "reduced.bmp");
    writePpm(reduced, dir / "reduced.ppm");
    const Dib grey = image::grayscale(p);
    w.save(grey, dir / "grey.png");
    writePpm(grey, dir / "grey.ppm");
    codecs::saveJpeg(p, 1, dir / "q1.jpg");
    codecs::saveJpeg(p, 100, dir / "q100.jpg");
    Dib p32(160, 120, 32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) std::copy_n(p.scanLine(y) + x * 3, 3, p32.scanLine(y) + x * 4);
    codecs::saveJpeg(p32, 90, dir / "q90_32.jpg");
}

void fuzzSeeds(const std::string& kind, const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    int n = 0;
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{13, 4}}) {
            const Dib d = sample(w, h, bpp, static_cast<unsigned>(bpp * 31 + w));
            const std::string name = "seed_" + std::to_string(n++);
            if (kind == "png") {
                codecs::PngWriter writer;
                writer.setCompressionLevel(n % 2 == 0 ? 0 : 9);
                writer.save(d, dir / (name + ".png"));
            } else {
                image::saveBmp(d, dir / (name + ".bmp"));
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string cmd = argc > 1 ? argv[1] : "";
        if (cmd == "samples" && argc == 3) {
            samples(argv[2]);
        } else if (cmd == "decode-png" && argc == 4) {
            writePpm(codecs::loadPng(argv[2]), argv[3]);
        } else if (cmd == "decode-rgba" && argc == 4) {
            const Dib d = codecs::decodePngRgba(image::readFileBytes(argv[2], 1 << 28));
            std::ofstream out(argv[3], std::ios::binary);
            for (int y = 0; y < d.height(); ++y)
                for (int x = 0; x < d.width(); ++x) {
                    const std::uint8_t* p = d.scanLine(y) + x * 4;
                    const char px[4] = {char(p[2]), char(p[1]), char(p[0]), char(p[3])};
                    out.write(px, 4);
                }
        } else if (cmd == "fuzz-seeds" && argc == 4 &&
                   (std::string(argv[2]) == "png" || std::string(argv[2]) == "bmp")) {
            fuzzSeeds(argv[2], argv[3]);
        } else if (cmd == "read-bmp" && argc == 4) {
            writePpm(image::loadBmp(argv[2]), argv[3]);
        } else {
            std::fprintf(
                stderr,
                "usage: image_tool samples DIR | decode-png IN OUT | decode-rgba IN OUT | read-bmp IN OUT | fuzz-seeds "
                "png|bmp DIR\n");
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "image_tool: %s\n", e.what());
        return 1;
    }
    return 0;
}
