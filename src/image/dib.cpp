#include "image/dib.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "image/image_error.h"

namespace hueloom::image {

bool Dib::isValidBitsPerPixel(int bpp) {
    switch (bpp) {
    case 1:
    case 4:
    case 8:
    case 15:
    case 16:
    case 24:
    case 32: return true;
    default: return false;
    }
}

std::uint64_t Dib::strideFor(std::uint64_t width, int bitsPerPixel) {
    const std::uint64_t bitCount = bitsPerPixel == 15 ? 16 : static_cast<std::uint64_t>(bitsPerPixel);
    if (width > 0xFFFFFFFFull) return 0;
    return (width * bitCount + 31) / 32 * 4;
}

Dib::Dib(int width, int height, int bitsPerPixel) {
    if (!isValidBitsPerPixel(bitsPerPixel))
        throw ImageError("Unsupported pixel format: " + std::to_string(bitsPerPixel) + " bits per pixel");
    if (width <= 0 || height <= 0)
        throw ImageError("Invalid image size " + std::to_string(width) + " x " + std::to_string(height));
    const std::uint64_t stride = strideFor(static_cast<std::uint64_t>(width), bitsPerPixel);
    if (stride == 0 || stride * static_cast<std::uint64_t>(height) > kMaxImageBytes)
        throw ImageError("Image too large: " + std::to_string(width) + " x " + std::to_string(height));
    width_ = width;
    height_ = height;
    bpp_ = bitsPerPixel;
    stride_ = static_cast<std::size_t>(stride);
    bits_.assign(stride_ * static_cast<std::size_t>(height_), 0);
    if (hasPalette()) palette_.assign(std::size_t{1} << bpp_, RgbQuad{});
}

std::size_t Dib::rowBytes() const {
    return (static_cast<std::size_t>(width_) * static_cast<std::size_t>(bitCount()) + 7) / 8;
}

void Dib::setPalette(std::vector<RgbQuad> palette) {
    if (!hasPalette()) {
        if (!palette.empty()) throw ImageError("A " + std::to_string(bpp_) + "-bit image has no palette");
        return;
    }
    if (palette.empty() || palette.size() > (std::size_t{1} << bpp_))
        throw ImageError("A " + std::to_string(bpp_) + "-bit image cannot have a palette of " +
                         std::to_string(palette.size()) + " colours");
    palette_ = std::move(palette);
}

bool Dib::operator==(const Dib& other) const {
    if (width_ != other.width_ || height_ != other.height_ || bpp_ != other.bpp_ || palette_ != other.palette_)
        return false;
    const std::size_t n = rowBytes();
    for (int y = 0; y < height_; ++y) {
        if (std::memcmp(scanLine(y), other.scanLine(y), n) != 0) return false;
    }
    return true;
}

void rowToBgr24(const Dib& src, int storedRow, std::uint8_t* out) {
    const std::uint8_t* row = src.bits() + static_cast<std::size_t>(storedRow) * src.stride();
    const int w = src.width();
    switch (src.bitsPerPixel()) {
    case 24: std::memcpy(out, row, static_cast<std::size_t>(w) * 3); return;
    case 32:
        for (int x = 0; x < w; ++x) {
            out[0] = row[0];
            out[1] = row[1];
            out[2] = row[2];
            row += 4;
            out += 3;
        }
        return;
    case 15:
    case 16: {
        const bool is565 = src.bitsPerPixel() == 16;
        for (int x = 0; x < w; ++x) {
            const unsigned v = static_cast<unsigned>(row[0]) | (static_cast<unsigned>(row[1]) << 8);
            row += 2;
            if (is565) {
                out[0] = widen5(v & 0x1F);
                out[1] = widen6((v >> 5) & 0x3F);
                out[2] = widen5((v >> 11) & 0x1F);
            } else {
                out[0] = widen5(v & 0x1F);
                out[1] = widen5((v >> 5) & 0x1F);
                out[2] = widen5((v >> 10) & 0x1F);
            }
            out += 3;
        }
        return;
    }
    default: {  // 1, 4, 8 bits with palette
        const int bpp = src.bitsPerPixel();
        const auto& pal = src.palette();
        const unsigned mask = (1u << bpp) - 1;
        for (int x = 0; x < w; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bpp);
            const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
            const unsigned index = (row[bit / 8] >> shift) & mask;
            if (index < pal.size()) {
                out[0] = pal[index].blue;
                out[1] = pal[index].green;
                out[2] = pal[index].red;
            } else {
                out[0] = out[1] = out[2] = 0;
            }
            out += 3;
        }
        return;
    }
    }
}

Dib toBpp24(const Dib& src) {
    if (src.isNull()) throw ImageError("No image");
    Dib out(src.width(), src.height(), 24);
    for (int r = 0; r < src.height(); ++r) rowToBgr24(src, r, out.bits() + static_cast<std::size_t>(r) * out.stride());
    out.setProfile(src.profile());
    return out;
}

Dib compositeOver(const Dib& rgba, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (rgba.bitsPerPixel() != 32) throw ImageError("compositeOver needs a 32-bit picture");
    Dib out = withPictureMemory(rgba.width(), rgba.height(), [&] { return Dib(rgba.width(), rgba.height(), 24); });
    const unsigned back[3] = {blue, green, red};
    for (int y = 0; y < rgba.height(); ++y) {
        const std::uint8_t* s = rgba.scanLine(y);
        std::uint8_t* d = out.scanLine(y);
        for (int x = 0; x < rgba.width(); ++x, s += 4, d += 3) {
            const unsigned a = s[3];
            for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>((s[c] * a + back[c] * (255 - a) + 127) / 255);
        }
    }
    return out;
}

}  // namespace hueloom::image
