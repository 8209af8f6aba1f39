#include "image/bmp.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "image/file_io.h"
#include "image/image_error.h"

namespace hueloom::image {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kV5HeaderSize = 124;
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr std::uint32_t kGmGraphics = 2;  // relative colorimetric
constexpr std::uint64_t kMaxProfileBytes = 16u << 20;

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}
std::uint32_t get16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
std::uint32_t get32(const std::uint8_t* p) { return get16(p) | (get16(p + 2) << 16); }

[[noreturn]] void fail(const std::string& what) { throw ImageError("Invalid BMP file: " + what); }

}  // namespace

namespace {

// File header, info header, masks and colour table: everything before the
// pixels. A picture with a colour profile gets a V5 header that embeds it,
// the profile following the pixels.
std::vector<std::uint8_t> bmpHeaders(const Dib& dib, bool embedProfile) {
    if (dib.isNull()) throw ImageError("No image");
    const bool masks = dib.bitsPerPixel() == 16;
    const ColourProfile* profile =
        embedProfile && dib.profile() && !dib.profile()->bytes.empty() ? dib.profile().get() : nullptr;
    const std::size_t headerSize = profile ? kV5HeaderSize : kInfoHeaderSize;
    const std::size_t paletteBytes = dib.palette().size() * 4;
    // The V5 header holds the masks itself.
    const std::size_t offBits = kFileHeaderSize + headerSize + (masks && !profile ? 12 : 0) + paletteBytes;
    const std::size_t total = offBits + dib.imageSize() + (profile ? profile->bytes.size() : 0);
    if (total > 0xFFFFFFFFu) throw ImageError("The picture is too large for a BMP file");

    std::vector<std::uint8_t> out(offBits);
    std::uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(total));
    put32(p + 10, static_cast<std::uint32_t>(offBits));
    p += kFileHeaderSize;
    put32(p + 0, static_cast<std::uint32_t>(headerSize));
    put32(p + 4, static_cast<std::uint32_t>(dib.width()));
    put32(p + 8, static_cast<std::uint32_t>(dib.height()));
    put16(p + 12, 1);
    put16(p + 14, static_cast<std::uint32_t>(dib.bitCount()));
    put32(p + 16, masks ? kBiBitfields : kBiRgb);
    put32(p + 20, static_cast<std::uint32_t>(dib.imageSize()));
    put32(p + 32, static_cast<std::uint32_t>(dib.palette().size()));
    if (profile) {
        if (masks) put32(p + 40, 0xF800), put32(p + 44, 0x07E0), put32(p + 48, 0x001F);
        put32(p + 56, kProfileEmbedded);
        put32(p + 108, kGmGraphics);
        put32(p + 112, static_cast<std::uint32_t>(offBits - kFileHeaderSize + dib.imageSize()));
        put32(p + 116, static_cast<std::uint32_t>(profile->bytes.size()));
    }
    p += headerSize;
    if (masks && !profile) {
        put32(p + 0, 0xF800);
        put32(p + 4, 0x07E0);
        put32(p + 8, 0x001F);
        p += 12;
    }
    for (const RgbQuad& q : dib.palette()) {
        p[0] = q.blue;
        p[1] = q.green;
        p[2] = q.red;
        p[3] = 0;
        p += 4;
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> writeBmp(const Dib& dib, bool embedProfile) {
    std::vector<std::uint8_t> out = bmpHeaders(dib, embedProfile);
    out.insert(out.end(), dib.bits(), dib.bits() + dib.imageSize());
    if (embedProfile && dib.profile()) out.insert(out.end(), dib.profile()->bytes.begin(), dib.profile()->bytes.end());
    return out;
}

void saveBmp(const Dib& dib, const std::filesystem::path& path) {
    // Straight from the picture to the file: the rows are stored as the
    // file stores them, so no second copy of the picture is made.
    const std::vector<std::uint8_t> headers = bmpHeaders(dib, true);
    AtomicFile file(path);
    file.write(headers);
    file.write(std::span(dib.bits(), dib.imageSize()));
    if (dib.profile()) file.write(dib.profile()->bytes);
    file.commit();
}

namespace {

// What the headers say: the picture's format and where its rows lie.
struct BmpLayout {
    std::int64_t width = 0, height = 0;
    int bpp = 0;
    bool topDown = false;
    std::vector<RgbQuad> palette;
    std::uint64_t offBits = 0, stride = 0;
    std::uint64_t profileOffset = 0, profileSize = 0;  // an embedded profile, from the file's start
};

// Reads the headers from `head`, the start of a file of `size` bytes that
// holds at least min(size, kMaxHeadBytes) bytes.
constexpr std::size_t kMaxHeadBytes = kFileHeaderSize + 124 + 12 + 256 * 4;

BmpLayout readLayout(std::span<const std::uint8_t> head, std::uint64_t size) {
    const std::uint8_t* const f = head.data();
    if (size < kFileHeaderSize + 12) fail("the file is too short");
    if (f[0] != 'B' || f[1] != 'M') fail("no BMP signature");
    const std::uint32_t offBits = get32(f + 10);

    const std::uint8_t* h = f + kFileHeaderSize;
    const std::uint32_t headerSize = get32(h);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 &&
        headerSize != 108 && headerSize != 124)
        fail("unknown header size " + std::to_string(headerSize));
    if (kFileHeaderSize + static_cast<std::uint64_t>(headerSize) > size) fail("the header is truncated");

    const bool core = headerSize == 12;
    std::int64_t width, height;
    std::uint32_t planes, bitCount, compression = kBiRgb, clrUsed = 0;
    if (core) {
        width = get16(h + 4);
        height = get16(h + 6);
        planes = get16(h + 8);
        bitCount = get16(h + 10);
    } else {
        width = static_cast<std::int32_t>(get32(h + 4));
        height = static_cast<std::int32_t>(get32(h + 8));
        planes = get16(h + 12);
        bitCount = get16(h + 14);
        compression = get32(h + 16);
        clrUsed = get32(h + 32);
    }
    if (planes != 1) fail("plane count " + std::to_string(planes));
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        fail("image size " + std::to_string(width) + " x " + std::to_string(height));
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        fail(std::to_string(bitCount) + " bits per pixel");
    if (core && (bitCount == 16 || bitCount == 32)) fail("core header with " + std::to_string(bitCount) + " bits");
    if (compression != kBiRgb && compression != kBiBitfields)
        throw ImageError("Unsupported BMP file: compressed pixel data (method " + std::to_string(compression) + ")");
    if (compression == kBiBitfields && bitCount != 16 && bitCount != 32)
        fail("colour masks with " + std::to_string(bitCount) + " bits per pixel");
    if (topDown && compression != kBiRgb && compression != kBiBitfields) fail("top-down compressed image");

    std::uint64_t pos = kFileHeaderSize + headerSize;
    int bpp = static_cast<int>(bitCount);
    if (bitCount == 16) bpp = 15;
    if (compression == kBiBitfields) {
        const std::uint8_t* m;
        if (headerSize >= 52) {
            m = h + 40;  // the masks are part of the larger headers
        } else {
            if (pos + 12 > size) fail("the colour masks are truncated");
            m = f + pos;
            pos += 12;
        }
        const std::uint32_t r = get32(m), g = get32(m + 4), b = get32(m + 8);
        if (bitCount == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F) {
            bpp = 15;
        } else if (bitCount == 16 && r == 0xF800 && g == 0x07E0 && b == 0x001F) {
            bpp = 16;
        } else if (bitCount == 32 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF) {
            bpp = 32;
        } else {
            throw ImageError("Unsupported BMP file: colour masks " + std::to_string(r) + ", " + std::to_string(g) +
                             ", " + std::to_string(b));
        }
    }

    std::vector<RgbQuad> palette;
    const std::uint64_t entrySize = core ? 3 : 4;
    if (bitCount <= 8) {
        const std::uint64_t maxColours = std::uint64_t{1} << bitCount;
        const std::uint64_t count = clrUsed == 0 ? maxColours : clrUsed;
        if (count > maxColours) fail(std::to_string(clrUsed) + " colours for " + std::to_string(bitCount) + " bits");
        if (pos + count * entrySize > size) fail("the colour table is truncated");
        palette.resize(static_cast<std::size_t>(count));
        for (auto& q : palette) {
            q.blue = f[pos];
            q.green = f[pos + 1];
            q.red = f[pos + 2];
            pos += entrySize;
        }
    } else if (clrUsed != 0) {
        // A truecolour file may carry a colour table for palette displays; it
        // is skipped.
        if (clrUsed > 256) fail(std::to_string(clrUsed) + " table colours");
        pos += static_cast<std::uint64_t>(clrUsed) * entrySize;
    }
    if (offBits < pos) fail("the pixel data overlap the headers");
    if (offBits > size) fail("the pixel data are missing");

    const std::uint64_t stride = Dib::strideFor(static_cast<std::uint64_t>(width), bpp);
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (stride == 0 || pixelBytes / stride != static_cast<std::uint64_t>(height) || pixelBytes > size - offBits)
        fail("the pixel data are truncated");
    BmpLayout layout{width, height, bpp, topDown, std::move(palette), offBits, stride};
    if (headerSize == kV5HeaderSize && get32(h + 56) == kProfileEmbedded && get32(h + 116) != 0) {
        layout.profileOffset = kFileHeaderSize + std::uint64_t{get32(h + 112)};
        layout.profileSize = get32(h + 116);
        if (layout.profileSize > kMaxProfileBytes || layout.profileOffset + layout.profileSize > size)
            fail("the colour profile is truncated");
    }
    return layout;
}

// The picture the layout describes, its rows (in file order, `stride` bytes
// each) delivered by readRow(fileRow, destination).
template <class ReadRow>
Dib readRows(BmpLayout layout, ReadRow readRow) {
    const int width = static_cast<int>(layout.width), height = static_cast<int>(layout.height);
    Dib dib = withPictureMemory(width, height, [&] { return Dib(width, height, layout.bpp); });
    if (!layout.palette.empty()) dib.setPalette(std::move(layout.palette));
    const std::size_t rowBytes = dib.rowBytes();
    const std::size_t usedBits = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(dib.bitCount()) % 8;
    const std::uint8_t lastMask = usedBits == 0 ? 0xFF : static_cast<std::uint8_t>(0xFF00 >> usedBits);
    for (std::int64_t r = 0; r < layout.height; ++r) {
        const std::int64_t storedRow = layout.topDown ? layout.height - 1 - r : r;
        std::uint8_t* dst = dib.bits() + static_cast<std::size_t>(storedRow) * dib.stride();
        readRow(r, dst);  // the file's stride equals the picture's
        dst[rowBytes - 1] &= lastMask;  // unused bits of a 1- or 4-bit row
        std::memset(dst + rowBytes, 0, dib.stride() - rowBytes);  // and the padding
    }
    return dib;
}

}  // namespace

Dib readBmp(std::span<const std::uint8_t> file) {
    BmpLayout layout = readLayout(file, file.size());
    const std::uint8_t* src = file.data() + layout.offBits;
    const std::size_t stride = static_cast<std::size_t>(layout.stride);
    const std::uint64_t at = layout.profileOffset, n = layout.profileSize;
    Dib dib = readRows(std::move(layout), [&](std::int64_t r, std::uint8_t* dst) {
        std::memcpy(dst, src + static_cast<std::size_t>(r) * stride, stride);
    });
    if (n)
        dib.setProfile(std::make_shared<const ColourProfile>(
            ColourProfile{{}, std::vector<std::uint8_t>(file.data() + at, file.data() + at + n)}));
    return dib;
}

Dib loadBmp(const std::filesystem::path& path) {
    // Row by row from the file into the picture: the file is never held in
    // memory beside it.
    InputFile in(path);
    std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), kMaxHeadBytes)));
    in.read(head);
    BmpLayout layout;
    try {
        layout = readLayout(head, in.size());
    } catch (const ImageError& e) {
        throw ImageError(std::string(e.what()) + " (\"" + displayName(path) + "\")");
    }
    in.seek(layout.offBits);
    const std::size_t stride = static_cast<std::size_t>(layout.stride);
    const std::uint64_t at = layout.profileOffset, n = layout.profileSize;
    Dib dib = readRows(std::move(layout), [&](std::int64_t, std::uint8_t* dst) { in.read(std::span(dst, stride)); });
    if (n) {
        ColourProfile profile;
        profile.bytes.resize(static_cast<std::size_t>(n));
        in.seek(at);
        in.read(profile.bytes);
        dib.setProfile(std::make_shared<const ColourProfile>(std::move(profile)));
    }
    return dib;
}

}  // namespace hueloom::image
