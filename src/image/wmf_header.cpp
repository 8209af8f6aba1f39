#include "image/wmf_header.h"

#include <string>

#include "image/image_error.h"

namespace hueloom::image {

namespace {
void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
}  // namespace

std::uint16_t placeableWmfChecksum(const std::uint8_t* header) {
    std::uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= static_cast<std::uint16_t>(header[2 * i] | (header[2 * i + 1] << 8));
    return sum;
}

std::array<std::uint8_t, 22> placeableWmfHeader(int width, int height, std::uint16_t unitsPerInch) {
    if (width < 1 || width > 32767 || height < 1 || height > 32767)
        throw ImageError("The picture (" + std::to_string(width) + " x " + std::to_string(height) +
                         ") is too large for a Windows metafile");
    if (unitsPerInch == 0) throw ImageError("A metafile needs a resolution");
    std::array<std::uint8_t, 22> h{};
    put16(&h[0], kPlaceableWmfKey & 0xFFFF);
    put16(&h[2], kPlaceableWmfKey >> 16);
    // h[4..5] handle 0, h[6..9] left and top 0
    put16(&h[10], static_cast<std::uint32_t>(width));
    put16(&h[12], static_cast<std::uint32_t>(height));
    put16(&h[14], unitsPerInch);
    // h[16..19] reserved 0
    put16(&h[20], placeableWmfChecksum(h.data()));
    return h;
}

}  // namespace hueloom::image
