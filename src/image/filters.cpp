#include "image/filters.h"

#include <memory>

#include "image/image_error.h"
#include "image/reduce.h"

namespace hueloom::image {

namespace {

// Percentage after row y of h (top row 0), scaled to 0..full.
int rowPercent(int y, int h, int full) {
    if (h <= 1) return full;
    return static_cast<int>(static_cast<std::int64_t>(y) * full / (h - 1));
}

void report(const ProgressFn& progress, int percent) {
    if (progress) progress(ProgressStage::Running, percent);
}

}  // namespace

std::vector<RgbQuad> greyPalette() {
    std::vector<RgbQuad> pal(256);
    for (int i = 0; i < 256; ++i) {
        const auto g = static_cast<std::uint8_t>(255 - i);
        pal[static_cast<std::size_t>(i)] = RgbQuad{g, g, g, 0};
    }
    return pal;
}

Dib invert(const Dib& source, const ProgressFn& progress) {
    if (source.isNull()) throw ImageError("No image");
    const bool was8 = source.bitsPerPixel() == 8;
    const int full = was8 ? 50 : 100;
    const int h = source.height();
    const std::size_t w = static_cast<std::size_t>(source.width());
    Dib out(source.width(), h, 24);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* d = out.scanLine(y);
        const int stored = h - 1 - y;
        if (source.bitsPerPixel() == 24) {
            const std::uint8_t* s = source.scanLine(y);
            for (std::size_t i = 0; i < w * 3; ++i) d[i] = static_cast<std::uint8_t>(~s[i]);
        } else if (source.bitsPerPixel() == 32) {
            const std::uint8_t* s = source.scanLine(y);
            for (std::size_t x = 0; x < w; ++x) {
                d[x * 3] = static_cast<std::uint8_t>(~s[x * 4]);
                d[x * 3 + 1] = static_cast<std::uint8_t>(~s[x * 4 + 1]);
                d[x * 3 + 2] = static_cast<std::uint8_t>(~s[x * 4 + 2]);
            }
        } else {
            rowToBgr24(source, stored, d);
            for (std::size_t i = 0; i < w * 3; ++i) d[i] = static_cast<std::uint8_t>(~d[i]);
        }
        report(progress, rowPercent(y, h, full));
    }
    if (!was8) return out;
    ProgressFn second;
    if (progress) {
        second = [&progress](ProgressStage stage, int percent) { progress(stage, 50 + percent / 2); };
    }
    return reduceTo256(out, second);
}

Dib grayscale(const Dib& source, const ProgressFn& progress) {
    if (source.isNull()) throw ImageError("No image");
    const int h = source.height();
    const std::size_t w = static_cast<std::size_t>(source.width());
    Dib out(source.width(), h, 8);
    out.setPalette(greyPalette());

    // Palette sources: one index per palette entry, then a lookup per pixel.
    std::uint8_t lut[256] = {};
    std::unique_ptr<std::uint8_t[]> rowBuffer;
    if (source.hasPalette()) {
        for (std::size_t i = 0; i < 256; ++i) {
            lut[i] = 255;  // indices beyond the palette read as black
            if (i < source.palette().size()) {
                const RgbQuad& q = source.palette()[i];
                lut[i] = greyIndex(q.red, q.green, q.blue);
            }
        }
    } else if (source.bitsPerPixel() == 15 || source.bitsPerPixel() == 16) {
        rowBuffer.reset(new std::uint8_t[w * 3]);
    }

    for (int y = 0; y < h; ++y) {
        std::uint8_t* d = out.scanLine(y);
        const std::uint8_t* s = source.scanLine(y);
        switch (source.bitsPerPixel()) {
        case 24:
            for (std::size_t x = 0; x < w; ++x) d[x] = greyIndex(s[x * 3 + 2], s[x * 3 + 1], s[x * 3]);
            break;
        case 32:
            for (std::size_t x = 0; x < w; ++x) d[x] = greyIndex(s[x * 4 + 2], s[x * 4 + 1], s[x * 4]);
            break;
        case 15:
        case 16:
            rowToBgr24(source, h - 1 - y, rowBuffer.get());
            for (std::size_t x = 0; x < w; ++x)
                d[x] = greyIndex(rowBuffer[x * 3 + 2], rowBuffer[x * 3 + 1], rowBuffer[x * 3]);
            break;
        case 8:
            for (std::size_t x = 0; x < w; ++x) d[x] = lut[s[x]];
            break;
        default: {  // 1 or 4 bits
            const unsigned bpp = static_cast<unsigned>(source.bitsPerPixel());
            const unsigned mask = (1u << bpp) - 1;
            for (std::size_t x = 0; x < w; ++x) {
                const std::size_t bit = x * bpp;
                d[x] = lut[(s[bit / 8] >> (8 - bpp - bit % 8)) & mask];
            }
            break;
        }
        }
        report(progress, rowPercent(y, h, 100));
    }
    return out;
}

}  // namespace hueloom::image
