// Helpers for the image engine tests: reproducible pictures of every format
// and a small PNG chunk reader.
#pragma once

#include <array>
#include <filesystem>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "image/dib.h"

namespace hueloom::image::testing {

// A picture of the given format filled with pseudo-random pixels (and a
// pseudo-random palette of paletteSize entries for the palette formats).
inline Dib randomDib(int width, int height, int bpp, unsigned seed, std::size_t paletteSize = 0) {
    Dib dib(width, height, bpp);
    std::mt19937 rng(seed);
    if (dib.hasPalette()) {
        if (paletteSize == 0) paletteSize = std::size_t{1} << bpp;
        std::vector<RgbQuad> pal(paletteSize);
        for (auto& q : pal) q = RgbQuad{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()), 0};
        dib.setPalette(pal);
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.scanLine(y);
        for (int x = 0; x < width; ++x) {
            switch (bpp) {
            case 1:
            case 4:
            case 8: {
                const unsigned index = static_cast<unsigned>(rng() % dib.palette().size());
                const unsigned bit = static_cast<unsigned>(x) * static_cast<unsigned>(bpp);
                row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | (index << (8 - bpp - bit % 8)));
                break;
            }
            case 15: {
                const unsigned v = rng() & 0x7FFF;
                row[x * 2] = std::uint8_t(v);
                row[x * 2 + 1] = std::uint8_t(v >> 8);
                break;
            }
            case 16: {
                const unsigned v = rng() & 0xFFFF;
                row[x * 2] = std::uint8_t(v);
                row[x * 2 + 1] = std::uint8_t(v >> 8);
                break;
            }
            case 24:
                for (int c = 0; c < 3; ++c) row[x * 3 + c] = std::uint8_t(rng());
                break;
            default:
                for (int c = 0; c < 4; ++c) row[x * 4 + c] = std::uint8_t(rng());
                break;
            }
        }
    }
    return dib;
}

// (blue, green, red) of pixel (x, y), y from the top.
inline std::array<std::uint8_t, 3> pixelBgr(const Dib& dib, int x, int y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(dib.width()) * 3);
    rowToBgr24(dib, dib.height() - 1 - y, row.data());
    return {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
}

inline void setPixel24(Dib& dib, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* p = dib.scanLine(y) + x * 3;
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

// A fresh directory under the system's temporary directory, unique to this
// process, so that test runs in parallel do not meet.
inline std::filesystem::path freshTempDir(const std::string& name) {
    std::random_device rd;
    const auto dir =
        std::filesystem::temp_directory_path() / (name + "_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir);
    return dir;
}

struct PngChunk {
    std::string type;
    std::vector<std::uint8_t> data;
    bool crcOk = false;
};

inline std::uint32_t be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

}  // namespace hueloom::image::testing
