// Dib: the working image as a device-independent bitmap.
//
// Width, height, bits per pixel (1, 4 or 8 with a palette; 15, 16, 24 or 32
// without), rows stored bottom-up and padded to a multiple of 4 bytes, pixels
// as blue, green, red (and a fourth, unused byte at 32 bits). 15 bits is a
// 16-bit word 0RRRRRGGGGGBBBBB, 16 bits is RRRRRGGGGGGBBBBB. This is exactly
// the memory layout of a DIB section, so the Win32 side can hand bits() to
// SetDIBitsToDevice / CreateDIBSection as it is. Padding bytes, and the unused
// bits at the end of a 1- or 4-bit row, are kept zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace hueloom::image {

// One colour-table entry in the order a DIB stores it.
struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};
static_assert(sizeof(RgbQuad) == 4);

// The ICC colour profile a picture's pixels are in (a picture without one is
// sRGB): its name for the files that name it, and the profile's bytes as the
// system gave them, written unchanged into the files that carry one.
struct ColourProfile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

class Dib {
public:
    // The largest pixel buffer a Dib accepts (2 GiB - 1), so that sizes fit
    // the 32-bit fields of a BMP file and a 32-bit address space.
    static constexpr std::uint64_t kMaxImageBytes = 0x7FFFFFFF;

    Dib() = default;  // no image (isNull)
    // A zeroed image. Palette formats get 2^bits black entries, to be replaced
    // with setPalette. Throws ImageError for a bad format or size.
    Dib(int width, int height, int bitsPerPixel);

    bool isNull() const { return width_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    // 1, 4, 8, 15, 16, 24 or 32.
    int bitsPerPixel() const { return bpp_; }
    // The biBitCount a BMP header carries: 16 for both 15 and 16 bits.
    int bitCount() const { return bpp_ == 15 ? 16 : bpp_; }
    bool hasPalette() const { return bpp_ <= 8 && bpp_ != 0; }
    bool isPalette8() const { return bpp_ == 8; }

    // Bytes per row including the padding to 4 bytes.
    std::size_t stride() const { return stride_; }
    // Bytes of a row that hold pixels (no padding).
    std::size_t rowBytes() const;
    std::size_t imageSize() const { return bits_.size(); }

    std::uint8_t* bits() { return bits_.data(); }
    const std::uint8_t* bits() const { return bits_.data(); }
    // Row y counted from the top of the picture as it is shown.
    std::uint8_t* scanLine(int y) { return bits_.data() + rowOffset(y); }
    const std::uint8_t* scanLine(int y) const { return bits_.data() + rowOffset(y); }

    const std::vector<RgbQuad>& palette() const { return palette_; }
    // Between 1 and 2^bits entries for the palette formats, none otherwise.
    void setPalette(std::vector<RgbQuad> palette);

    // The picture's colour profile; none for sRGB. Shared, not copied, with
    // the copies of the picture.
    const std::shared_ptr<const ColourProfile>& profile() const { return profile_; }
    void setProfile(std::shared_ptr<const ColourProfile> profile) { profile_ = std::move(profile); }

    // Same format, size, palette and pixels (padding and profile are not
    // compared).
    bool operator==(const Dib& other) const;

    static bool isValidBitsPerPixel(int bpp);
    // Stride of a row of the given format; 0 when too large.
    static std::uint64_t strideFor(std::uint64_t width, int bitsPerPixel);

private:
    std::size_t rowOffset(int y) const { return static_cast<std::size_t>(height_ - 1 - y) * stride_; }

    int width_ = 0;
    int height_ = 0;
    int bpp_ = 0;
    std::size_t stride_ = 0;
    std::vector<RgbQuad> palette_;
    std::vector<std::uint8_t> bits_;
    std::shared_ptr<const ColourProfile> profile_;
};

// 5- and 6-bit channels widened to 8 bits by repeating their top bits.
inline std::uint8_t widen5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }
inline std::uint8_t widen6(unsigned v) { return static_cast<std::uint8_t>((v << 2) | (v >> 4)); }

// Pixels of one stored row (row index counted bottom-up, as in memory) as
// width blue, green, red triples. Palette indices beyond the palette read as
// black.
void rowToBgr24(const Dib& src, int storedRow, std::uint8_t* out);

// The image at 24 bits per pixel (a copy when it is 24 bits already).
Dib toBpp24(const Dib& src);

// A 32-bit picture whose fourth byte is alpha (0 transparent, 255 opaque,
// not premultiplied) laid over a background colour: 24 bits, each channel
// (c × a + background × (255 − a)) / 255 rounded to the nearest.
Dib compositeOver(const Dib& rgba, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace hueloom::image
