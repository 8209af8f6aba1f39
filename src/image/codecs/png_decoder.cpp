#include "image/codecs/png_decoder.h"

#include <zlib.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "image/codecs/png_chunk.h"
#include "image/file_io.h"
#include "image/image_error.h"

namespace hueloom::codecs {

using image::Dib;
using image::ImageError;
using png::get32be;

namespace {

[[noreturn]] void fail(const std::string& what) { throw ImageError("Invalid PNG file: " + what); }

// deflate cannot expand data by more than about 1032:1; image data needing
// more than this many bytes per compressed byte cannot be in the file.
constexpr std::uint64_t kMaxInflateRatio = 1032;

struct Header {
    std::uint32_t width = 0, height = 0;
    int depth = 0, colourType = 0;
    int channels() const {
        switch (colourType) {
        case 0: return 1;
        case 2: return 3;
        case 3: return 1;
        case 4: return 2;
        default: return 4;  // 6
        }
    }
};

bool validDepth(int colourType, int depth) {
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return a;
    if (pb <= pc) return b;
    return c;
}

void unfilter(std::uint8_t* cur, const std::uint8_t* prev, std::size_t n, std::size_t bpp, int type) {
    switch (type) {
    case 0: return;
    case 1:
        for (std::size_t i = bpp; i < n; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + cur[i - bpp]);
        return;
    case 2:
        for (std::size_t i = 0; i < n; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + prev[i]);
        return;
    case 3:
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned left = i >= bpp ? cur[i - bpp] : 0;
            cur[i] = static_cast<std::uint8_t>(cur[i] + ((left + prev[i]) >> 1));
        }
        return;
    case 4:
        for (std::size_t i = 0; i < n; ++i) {
            const int left = i >= bpp ? cur[i - bpp] : 0;
            const int upLeft = i >= bpp ? prev[i - bpp] : 0;
            cur[i] = static_cast<std::uint8_t>(cur[i] + paeth(left, prev[i], upLeft));
        }
        return;
    default: fail("unknown row filter " + std::to_string(type));
    }
}

// Sample i of a row of packed samples of the given depth (<= 8 bits).
unsigned packedSample(const std::uint8_t* row, std::size_t i, int depth) {
    const std::size_t bit = i * static_cast<std::size_t>(depth);
    return (row[bit / 8] >> (8 - depth - static_cast<int>(bit % 8))) & ((1u << depth) - 1);
}

struct Inflater {
    z_stream z{};
    bool live = false;
    ~Inflater() {
        if (live) inflateEnd(&z);
    }
};

// The passes of an image: one for a plain image, Adam7's seven for an
// interlaced one (first column and row, and the steps between them).
struct Pass {
    std::uint32_t x0, y0, dx, dy;
};
constexpr Pass kWhole[] = {{0, 0, 1, 1}};
constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

// A 16-bit sample as 8 bits, rounded (what libpng's scaling and ImageMagick
// give).
std::uint8_t to8(const std::uint8_t* p) { return static_cast<std::uint8_t>(((p[0] << 8 | p[1]) + 128) / 257); }

struct Decoded {
    Dib dib;
    // With a tRNS chunk: each pixel's alpha, row after row.
    std::vector<std::uint8_t> alpha;
};

Decoded decode(std::span<const std::uint8_t> file) {
    const std::uint8_t* f = file.data();
    const std::size_t size = file.size();
    if (size < 8 || std::memcmp(f, png::kSignature, 8) != 0) fail("no PNG signature");

    Header hdr;
    bool haveHeader = false, havePalette = false, sawIdat = false, idatEnded = false, sawEnd = false;
    bool interlaced = false;
    std::vector<image::RgbQuad> palette;
    std::vector<std::uint8_t> trns;
    bool haveTrns = false;
    std::vector<std::span<const std::uint8_t>> idat;
    std::uint64_t idatBytes = 0;

    std::size_t pos = 8;
    while (!sawEnd) {
        if (size - pos < 12) fail("the file is truncated");
        const std::uint32_t length = get32be(f + pos);
        if (length > 0x7FFFFFFFu || length > size - pos - 12) fail("a chunk is truncated");
        const std::uint8_t* type = f + pos + 4;
        const std::uint8_t* data = f + pos + 8;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t c = type[i];
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) fail("bad chunk type");
        }
        if (png::chunkCrc(type, data, length) != get32be(data + length))
            fail(std::string("CRC error in chunk ") + std::string(reinterpret_cast<const char*>(type), 4));
        pos += 12 + static_cast<std::size_t>(length);
        const std::string name(reinterpret_cast<const char*>(type), 4);

        if (!haveHeader && name != "IHDR") fail("the first chunk is not IHDR");
        if (name == "IHDR") {
            if (haveHeader) fail("two IHDR chunks");
            if (length != 13) fail("IHDR has the wrong size");
            hdr.width = get32be(data);
            hdr.height = get32be(data + 4);
            hdr.depth = data[8];
            hdr.colourType = data[9];
            if (hdr.width == 0 || hdr.height == 0 || hdr.width > 0x7FFFFFFFu || hdr.height > 0x7FFFFFFFu)
                fail("image size " + std::to_string(hdr.width) + " x " + std::to_string(hdr.height));
            if (!validDepth(hdr.colourType, hdr.depth))
                fail("colour type " + std::to_string(hdr.colourType) + " with bit depth " + std::to_string(hdr.depth));
            if (data[10] != 0 || data[11] != 0) fail("unknown compression or filter method");
            if (data[12] > 1) fail("unknown interlace method");
            interlaced = data[12] == 1;
            haveHeader = true;
        } else if (name == "PLTE") {
            if (havePalette) fail("two PLTE chunks");
            if (sawIdat) fail("PLTE after the image data");
            if (length == 0 || length % 3 != 0 || length / 3 > 256) fail("PLTE has the wrong size");
            if (hdr.colourType == 0 || hdr.colourType == 4) fail("PLTE in a grey image");
            if (hdr.colourType == 3 && length / 3 > (1u << hdr.depth)) fail("PLTE too long for the bit depth");
            palette.resize(length / 3);
            for (std::size_t i = 0; i < palette.size(); ++i)
                palette[i] = image::RgbQuad{data[i * 3 + 2], data[i * 3 + 1], data[i * 3], 0};
            havePalette = true;
        } else if (name == "IDAT") {
            if (idatEnded) fail("the image data are not contiguous");
            if (hdr.colourType == 3 && !havePalette) fail("no PLTE before the image data");
            sawIdat = true;
            idat.emplace_back(data, length);
            idatBytes += length;
        } else if (name == "IEND") {
            sawEnd = true;
        } else {
            if (sawIdat) idatEnded = true;
            if (type[0] >= 'A' && type[0] <= 'Z') fail("unknown critical chunk " + name);
            // The transparency chunk is read; other ancillary chunks are ignored.
            if (name == "tRNS" && !sawIdat && !haveTrns && hdr.colourType != 4 && hdr.colourType != 6) {
                const std::size_t need = hdr.colourType == 0 ? 2 : hdr.colourType == 2 ? 6 : 0;
                if ((need && length != need) || (!need && length > palette.size())) fail("tRNS has the wrong size");
                trns.assign(data, data + length);
                haveTrns = true;
            }
        }
        if (sawIdat && name != "IDAT") idatEnded = true;
    }
    if (!sawIdat) fail("no image data");

    const int channels = hdr.channels();
    const std::uint64_t bitsPerPixel = static_cast<std::uint64_t>(channels) * static_cast<std::uint64_t>(hdr.depth);
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(hdr.width) * bitsPerPixel + 7) / 8;
    const std::uint64_t limit = idatBytes * kMaxInflateRatio + 64;
    if ((rowBytes + 1) > limit / hdr.height)
        fail("the image data are too short for a " + std::to_string(hdr.width) + " x " + std::to_string(hdr.height) +
             " image");

    int outBpp = 8;
    if (hdr.colourType == 2) outBpp = 24;
    if (hdr.colourType == 4 || hdr.colourType == 6) outBpp = 32;
    Decoded out;
    Dib& dib = out.dib;
    dib = Dib(static_cast<int>(hdr.width), static_cast<int>(hdr.height), outBpp);
    if (hdr.colourType == 3) {
        dib.setPalette(palette);
    } else if (hdr.colourType == 0) {
        std::vector<image::RgbQuad> grey(256);
        for (int i = 0; i < 256; ++i) {
            const auto g = static_cast<std::uint8_t>(i);
            grey[static_cast<std::size_t>(i)] = image::RgbQuad{g, g, g, 0};
        }
        dib.setPalette(std::move(grey));
    }
    if (haveTrns) out.alpha.assign(static_cast<std::size_t>(hdr.width) * hdr.height, 255);

    Inflater inf;
    if (inflateInit(&inf.z) != Z_OK) throw ImageError("PNG decoder: cannot start zlib");
    inf.live = true;
    std::size_t nextIdat = 0;
    const std::size_t filterBpp = static_cast<std::size_t>(bitsPerPixel < 8 ? 1 : bitsPerPixel / 8);
    const unsigned greyScale = hdr.depth < 8 ? 255u / ((1u << hdr.depth) - 1) : 1u;
    const std::size_t sampleBytes = hdr.depth == 16 ? 2 : 1;
    bool streamEnded = false;
    std::vector<std::uint8_t> prev(static_cast<std::size_t>(rowBytes) + 1), cur(prev.size());

    auto inflateRow = [&](std::size_t n) {
        inf.z.next_out = cur.data();
        inf.z.avail_out = static_cast<uInt>(n + 1);
        while (inf.z.avail_out > 0) {
            if (streamEnded) fail("the image data are too short");
            if (inf.z.avail_in == 0) {
                if (nextIdat == idat.size()) fail("the image data are truncated");
                inf.z.next_in = const_cast<Bytef*>(idat[nextIdat].data());
                inf.z.avail_in = static_cast<uInt>(idat[nextIdat].size());
                ++nextIdat;
                continue;
            }
            const int rc = inflate(&inf.z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                streamEnded = true;
            } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
                fail(std::string("corrupt image data") + (inf.z.msg ? std::string(" (") + inf.z.msg + ")" : ""));
            }
        }
    };
    // The alpha tRNS gives the pixel x of row s: its palette entry's, or 0
    // for the one transparent grey or colour (compared at the image's depth).
    auto alphaOf = [&](const std::uint8_t* s, std::size_t x) -> std::uint8_t {
        if (hdr.colourType == 3) {
            const unsigned index = hdr.depth == 8 ? s[x] : packedSample(s, x, hdr.depth);
            return index < trns.size() ? trns[index] : 255;
        }
        if (hdr.colourType == 0) {
            const unsigned v = hdr.depth == 16  ? (s[x * 2] << 8 | s[x * 2 + 1])
                               : hdr.depth == 8 ? s[x]
                                                : packedSample(s, x, hdr.depth);
            return v == static_cast<unsigned>(trns[0] << 8 | trns[1]) ? 0 : 255;
        }
        for (int c = 0; c < 3; ++c) {
            const std::uint8_t* p = s + (x * 3 + static_cast<std::size_t>(c)) * sampleBytes;
            const unsigned v = sampleBytes == 2 ? (p[0] << 8 | p[1]) : p[0];
            if (v != static_cast<unsigned>(trns[c * 2] << 8 | trns[c * 2 + 1])) return 255;
        }
        return 0;
    };

    for (const Pass& pass : interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(kWhole)) {
        if (pass.x0 >= hdr.width || pass.y0 >= hdr.height) continue;  // an empty pass has no rows at all
        const std::size_t w = (hdr.width - pass.x0 + pass.dx - 1) / pass.dx;
        const std::uint32_t rows = (hdr.height - pass.y0 + pass.dy - 1) / pass.dy;
        const std::size_t n = static_cast<std::size_t>((w * bitsPerPixel + 7) / 8);
        std::fill(prev.begin(), prev.end(), 0);
        for (std::uint32_t r = 0; r < rows; ++r) {
            inflateRow(n);
            unfilter(cur.data() + 1, prev.data() + 1, n, filterBpp, cur[0]);
            const std::uint8_t* s = cur.data() + 1;
            const std::uint32_t y = pass.y0 + r * pass.dy;
            std::uint8_t* d = dib.scanLine(static_cast<int>(y));
            const std::size_t x0 = pass.x0, dx = pass.dx;
            switch (hdr.colourType) {
            case 3:
                for (std::size_t i = 0; i < w; ++i)
                    d[x0 + i * dx] = hdr.depth == 8 ? s[i] : static_cast<std::uint8_t>(packedSample(s, i, hdr.depth));
                break;
            case 0:
                for (std::size_t i = 0; i < w; ++i)
                    d[x0 + i * dx] = hdr.depth == 16 ? to8(s + i * 2)
                                     : hdr.depth == 8
                                         ? s[i]
                                         : static_cast<std::uint8_t>(packedSample(s, i, hdr.depth) * greyScale);
                break;
            case 2:
                for (std::size_t i = 0; i < w; ++i) {
                    const std::uint8_t* p = s + i * 3 * sampleBytes;
                    std::uint8_t* q = d + (x0 + i * dx) * 3;
                    if (sampleBytes == 2) {
                        q[0] = to8(p + 4), q[1] = to8(p + 2), q[2] = to8(p);
                    } else {
                        q[0] = p[2], q[1] = p[1], q[2] = p[0];
                    }
                }
                break;
            case 4:
                for (std::size_t i = 0; i < w; ++i) {
                    const std::uint8_t* p = s + i * 2 * sampleBytes;
                    std::uint8_t* q = d + (x0 + i * dx) * 4;
                    q[0] = q[1] = q[2] = sampleBytes == 2 ? to8(p) : p[0];
                    q[3] = sampleBytes == 2 ? to8(p + 2) : p[1];
                }
                break;
            default:  // 6
                for (std::size_t i = 0; i < w; ++i) {
                    const std::uint8_t* p = s + i * 4 * sampleBytes;
                    std::uint8_t* q = d + (x0 + i * dx) * 4;
                    if (sampleBytes == 2) {
                        q[0] = to8(p + 4), q[1] = to8(p + 2), q[2] = to8(p), q[3] = to8(p + 6);
                    } else {
                        q[0] = p[2], q[1] = p[1], q[2] = p[0], q[3] = p[3];
                    }
                }
                break;
            }
            if (haveTrns) {
                std::uint8_t* a = out.alpha.data() + static_cast<std::size_t>(y) * hdr.width;
                for (std::size_t i = 0; i < w; ++i) a[x0 + i * dx] = alphaOf(s, i);
            }
            std::swap(prev, cur);
        }
    }
    return out;
}

}  // namespace

Dib decodePng(std::span<const std::uint8_t> file) { return decode(file).dib; }

Dib decodePngRgba(std::span<const std::uint8_t> file) {
    Decoded d = decode(file);
    const Dib& src = d.dib;
    if (src.bitsPerPixel() == 32 && d.alpha.empty()) return std::move(d.dib);
    Dib out(src.width(), src.height(), 32);
    const auto& pal = src.palette();
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t* s = src.scanLine(y);
        std::uint8_t* q = out.scanLine(y);
        const std::uint8_t* a = d.alpha.empty() ? nullptr : d.alpha.data() + static_cast<std::size_t>(y) * src.width();
        for (int x = 0; x < src.width(); ++x, q += 4) {
            if (src.bitsPerPixel() == 8) {
                const image::RgbQuad c = s[x] < pal.size() ? pal[s[x]] : image::RgbQuad{};
                q[0] = c.blue, q[1] = c.green, q[2] = c.red;
            } else {
                q[0] = s[x * 3], q[1] = s[x * 3 + 1], q[2] = s[x * 3 + 2];
            }
            q[3] = a ? a[x] : 255;
        }
    }
    return out;
}

bool pngHasTransparency(std::span<const std::uint8_t> file) {
    if (file.size() < 33 || std::memcmp(file.data(), png::kSignature, 8) != 0) return false;
    const int colourType = file[25];
    if (colourType == 4 || colourType == 6) return true;
    for (std::size_t pos = 8; file.size() - pos >= 12;) {
        const std::uint32_t length = get32be(file.data() + pos);
        const std::string_view type(reinterpret_cast<const char*>(file.data() + pos + 4), 4);
        if (type == "tRNS") return true;
        if (type == "IDAT" || length > file.size() - pos - 12) return false;
        pos += 12 + static_cast<std::size_t>(length);
    }
    return false;
}

Dib loadPng(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = image::readFileBytes(path, 0x7FFFFFFF);
    try {
        return decodePng(bytes);
    } catch (const ImageError& e) {
        throw ImageError(std::string(e.what()) + " (\"" + image::displayName(path) + "\")");
    }
}

}  // namespace hueloom::codecs
