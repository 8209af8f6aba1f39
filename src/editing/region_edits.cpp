#include "editing/region_edits.h"

#include <algorithm>
#include <vector>

#include "image/image_error.h"

namespace hueloom::editing {

using image::Dib;

Rect clipToPicture(const Rect& r, int width, int height) {
    const Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
    return c.left < c.right && c.top < c.bottom ? c : Rect{};
}

Rect keepOnPicture(const Rect& r, int width, int height) {
    Rect m = r;
    const auto shift = [](int& lo, int& hi, int size) {
        if (hi - lo > size) return;
        const int by = lo < 0 ? -lo : hi > size ? size - hi : 0;
        lo += by;
        hi += by;
    };
    shift(m.left, m.right, width);
    shift(m.top, m.bottom, height);
    return clipToPicture(m, width, height);
}

Dib editable(Dib picture) {
    if (picture.isNull() || picture.bitsPerPixel() == 24 || picture.bitsPerPixel() == 32) return picture;
    return image::toBpp24(picture);
}

namespace {

int bytesPerPixel(const Dib& d) {
    if (d.bitsPerPixel() != 24 && d.bitsPerPixel() != 32)
        throw image::ImageError("a part of the picture is edited at 24 or 32 bits only");
    return d.bitsPerPixel() / 8;
}

}  // namespace

void fillRect(Dib& picture, const Rect& r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int n = bytesPerPixel(picture);
    const Rect c = clipToPicture(r, picture.width(), picture.height());
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint8_t* p = picture.scanLine(y) + static_cast<std::size_t>(c.left) * n;
        for (int x = c.left; x < c.right; ++x, p += n) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

void pixelate(Dib& picture, const Rect& r, int block) {
    const int n = bytesPerPixel(picture);
    const Rect c = clipToPicture(r, picture.width(), picture.height());
    if (block < 1) block = 1;
    const int columns = (c.width() + block - 1) / block;
    // One band of squares at a time: the sums of each square's channels.
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(columns) * 3);
    std::vector<std::uint8_t> mean(sums.size());
    for (int top = c.top; top < c.bottom; top += block) {
        const int bottom = std::min(top + block, c.bottom);
        std::fill(sums.begin(), sums.end(), 0);
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* p = picture.scanLine(y) + static_cast<std::size_t>(c.left) * n;
            for (int x = 0; x < c.width(); ++x, p += n) {
                std::uint64_t* s = &sums[static_cast<std::size_t>(x / block) * 3];
                s[0] += p[0];
                s[1] += p[1];
                s[2] += p[2];
            }
        }
        for (int i = 0; i < columns; ++i) {
            const std::uint64_t w = static_cast<std::uint64_t>(std::min(block, c.width() - i * block));
            const std::uint64_t count = w * static_cast<std::uint64_t>(bottom - top);
            for (int k = 0; k < 3; ++k) {
                const std::size_t j = static_cast<std::size_t>(i) * 3 + k;
                mean[j] = static_cast<std::uint8_t>((sums[j] + count / 2) / count);
            }
        }
        for (int y = top; y < bottom; ++y) {
            std::uint8_t* p = picture.scanLine(y) + static_cast<std::size_t>(c.left) * n;
            for (int x = 0; x < c.width(); ++x, p += n) {
                const std::uint8_t* m = &mean[static_cast<std::size_t>(x / block) * 3];
                p[0] = m[0];
                p[1] = m[1];
                p[2] = m[2];
            }
        }
    }
}

void paste(Dib& picture, const Dib& part, Point at) {
    const int n = bytesPerPixel(picture);
    const Rect c =
        clipToPicture(Rect{at.x, at.y, at.x + part.width(), at.y + part.height()}, picture.width(), picture.height());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(part.width()) * 3);
    for (int y = c.top; y < c.bottom; ++y) {
        // rowToBgr24 counts rows as they are stored, from the bottom.
        image::rowToBgr24(part, part.height() - 1 - (y - at.y), row.data());
        const std::uint8_t* s = row.data() + static_cast<std::size_t>(c.left - at.x) * 3;
        std::uint8_t* p = picture.scanLine(y) + static_cast<std::size_t>(c.left) * n;
        for (int x = c.left; x < c.right; ++x, p += n, s += 3) {
            p[0] = s[0];
            p[1] = s[1];
            p[2] = s[2];
        }
    }
}

}  // namespace hueloom::editing
