#include "image/codecs/png_writer.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <tmmintrin.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <system_error>

#include <zlib.h>

#include "image/codecs/deflate_chain.h"
#include "image/codecs/png_chunk.h"
#include "image/codecs/png_filter.h"
#include "image/file_io.h"
#include "image/image_error.h"

namespace hueloom::codecs {

using image::Dib;
using image::ImageError;
using png::put32be;

int pngLevelForQuality(int pngQuality) {
    switch (pngQuality) {
    case 0: return 0;
    case 1: return -1;
    case 2: return 1;
    case 3: return 9;
    default: return -1;
    }
}

PngTime PngTime::nowUtc() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day ymd{day};
    const hh_mm_ss hms{now - day};
    PngTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(hms.hours().count());
    t.minute = static_cast<int>(hms.minutes().count());
    t.second = static_cast<int>(hms.seconds().count());
    return t;
}

void PngWriter::setCompressionLevel(int level) { level_ = (level >= -1 && level <= 9) ? level : -1; }

namespace {

void writeChunk(const PngWriter::Sink& sink, const char* type, const std::uint8_t* data, std::size_t size) {
    std::uint8_t head[8];
    put32be(head, static_cast<std::uint32_t>(size));
    std::memcpy(head + 4, type, 4);
    std::uint8_t tail[4];
    put32be(tail, png::chunkCrc(head + 4, data, size));
    sink(head, 8);
    if (size > 0) sink(data, size);
    sink(tail, 4);
}

// 32-bit pixels: the same, dropping the fourth byte.
void bgrxToRgbPlain(const std::uint8_t* s, std::size_t w, std::uint8_t* out) {
    for (std::size_t x = 0; x < w; ++x) {
        out[0] = s[2];
        out[1] = s[1];
        out[2] = s[0];
        s += 4;
        out += 3;
    }
}

// Swaps blue and red of w 24-bit pixels.
void bgrToRgbPlain(const std::uint8_t* s, std::size_t w, std::uint8_t* out) {
    for (std::size_t x = 0; x < w; ++x) {
        out[0] = s[2];
        out[1] = s[1];
        out[2] = s[0];
        s += 3;
        out += 3;
    }
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// Five pixels per byte shuffle where the processor has SSSE3 (nearly every
// x86 processor since 2006).
__attribute__((target("ssse3"))) void bgrToRgbSsse3(const std::uint8_t* s, std::size_t w, std::uint8_t* out) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::size_t x = 0;
    // 16 bytes are read and written for 15: stop while a sixth pixel follows.
    for (; x + 6 <= w; x += 5, s += 15, out += 15)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), order));
    bgrToRgbPlain(s, w - x, out);
}

__attribute__((target("ssse3"))) void bgrxToRgbSsse3(const std::uint8_t* s, std::size_t w, std::uint8_t* out) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    std::size_t x = 0;
    // Four pixels give 12 bytes of 16 written: stop while two more follow.
    for (; x + 6 <= w; x += 4, s += 16, out += 12)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), order));
    bgrxToRgbPlain(s, w - x, out);
}

bool haveSsse3() {
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}
void bgrToRgb(const std::uint8_t* s, std::size_t w, std::uint8_t* out) {
    haveSsse3() ? bgrToRgbSsse3(s, w, out) : bgrToRgbPlain(s, w, out);
}
void bgrxToRgb(const std::uint8_t* s, std::size_t w, std::uint8_t* out) {
    haveSsse3() ? bgrxToRgbSsse3(s, w, out) : bgrxToRgbPlain(s, w, out);
}
#else
void bgrToRgb(const std::uint8_t* s, std::size_t w, std::uint8_t* out) { bgrToRgbPlain(s, w, out); }
void bgrxToRgb(const std::uint8_t* s, std::size_t w, std::uint8_t* out) { bgrxToRgbPlain(s, w, out); }
#endif

// Fills out (the PNG row without its filter byte) from stored row r.
void pngRow(const Dib& dib, int storedRow, std::uint8_t* out) {
    const std::uint8_t* s = dib.bits() + static_cast<std::size_t>(storedRow) * dib.stride();
    const std::size_t w = static_cast<std::size_t>(dib.width());
    switch (dib.bitsPerPixel()) {
    case 24: bgrToRgb(s, w, out); return;
    case 32: bgrxToRgb(s, w, out); return;
    case 15:
    case 16: {
        image::rowToBgr24(dib, storedRow, out);
        for (std::size_t x = 0; x < w; ++x) std::swap(out[x * 3], out[x * 3 + 2]);
        return;
    }
    default: {  // 1, 4, 8 bits: the indices as they are stored
        const std::size_t n = dib.rowBytes();
        std::memcpy(out, s, n);
        const std::size_t used = w * static_cast<std::size_t>(dib.bitsPerPixel()) % 8;
        if (used != 0) out[n - 1] &= static_cast<std::uint8_t>(0xFF00 >> used);
        return;
    }
    }
}

// Truecolour rows, filtered a piece at a time. Each piece gets one filter
// choice: no filter, Sub on every row, or the adaptive per-row choice. Which
// one packs best depends on the picture (screen contents often pack best
// unfiltered, photographs filtered, and the per-row heuristic is no sure
// guide), so a band of rows from the middle of the piece is compressed
// quickly each way and the smallest result wins.
class TruecolourPieces {
public:
    TruecolourPieces(const Dib& dib, std::size_t rowBytes)
        : dib_(dib), n_(rowBytes), rows_(4 * rowBytes), filter_(rowBytes), probe_(kProbeLevel) {}

    // Writes rows [y0, y0 + count) filtered into out (1 + rowBytes each).
    void fill(int y0, int count, std::uint8_t* out) {
        const png::RowFilterKind kind = choose(y0, count, out);
        if (kind == png::RowFilterKind::None) {
            for (int y = y0; y < y0 + count; ++y, out += 1 + n_) {
                out[0] = 0;
                rawRow(y, out + 1);
            }
            std::memcpy(rows_.data(), out - n_, n_);  // the last row, above the next piece
            return;
        }
        std::uint8_t* prev = rows_.data();  // holds row y0 - 1 (zeros above the first)
        std::uint8_t* cur = prev + n_;
        for (int y = y0; y < y0 + count; ++y) {
            rawRow(y, cur);
            filter_.apply(kind, prev, cur, out);
            out += 1 + n_;
            std::swap(prev, cur);
        }
        if (prev != rows_.data()) std::memcpy(rows_.data(), prev, n_);
    }

private:
    static constexpr int kProbeLevel = 1;

    void rawRow(int y, std::uint8_t* out) const { pngRow(dib_, dib_.height() - 1 - y, out); }

    // The filter choice for a piece; out (room for the whole piece) serves
    // as scratch space.
    png::RowFilterKind choose(int y0, int count, std::uint8_t* out) {
        const int band = std::max(1, count / 32);
        const int s0 = y0 + (count - band) / 2;
        std::uint8_t* prev = rows_.data() + 2 * n_;
        std::uint8_t* cur = prev + n_;
        static constexpr png::RowFilterKind kinds[] = {png::RowFilterKind::None, png::RowFilterKind::Sub,
                                                       png::RowFilterKind::Adaptive};
        png::RowFilterKind best = kinds[0];
        std::size_t bestSize = 0;
        for (const png::RowFilterKind kind : kinds) {
            if (s0 > 0) {
                rawRow(s0 - 1, prev);
            } else {
                std::fill_n(prev, n_, std::uint8_t{0});
            }
            std::uint8_t* o = out;
            for (int y = s0; y < s0 + band; ++y) {
                rawRow(y, cur);
                filter_.apply(kind, prev, cur, o);
                o += 1 + n_;
                std::swap(prev, cur);
            }
            const std::size_t size = probe_.size(out, static_cast<std::size_t>(o - out));
            if (kind == kinds[0] || size < bestSize) bestSize = size, best = kind;
        }
        return best;
    }

    const Dib& dib_;
    std::size_t n_;
    std::vector<std::uint8_t> rows_;  // two rows for the pieces, two for the probes
    png::RgbRowFilter filter_;
    DeflateProbe probe_;
};

// Sends IDAT chunks of kIdatChunkSize bytes; the last one holds the rest.
// A full chunk goes out only once more data follows it.
class IdatOut {
public:
    explicit IdatOut(const PngWriter::Sink& sink) : sink_(sink), buf_(new std::uint8_t[PngWriter::kIdatChunkSize]) {}
    void put(std::span<const std::uint8_t> data) {
        const std::uint8_t* p = data.data();
        std::size_t n = data.size();
        while (n > 0) {
            if (used_ == PngWriter::kIdatChunkSize) {
                writeChunk(sink_, "IDAT", buf_.get(), used_);
                used_ = 0;
            }
            const std::size_t k = std::min(n, PngWriter::kIdatChunkSize - used_);
            std::memcpy(buf_.get() + used_, p, k);
            used_ += k;
            p += k;
            n -= k;
        }
    }
    void finish() { writeChunk(sink_, "IDAT", buf_.get(), used_); }

private:
    const PngWriter::Sink& sink_;
    std::unique_ptr<std::uint8_t[]> buf_;
    std::size_t used_ = 0;
};

// libdeflate's level for a zlib level: the same number (zlib's default is
// 6). libdeflate packs smaller than zlib at the same level, in far less time.
int deflateLevelFor(int zlibLevel) { return zlibLevel < 0 ? 6 : zlibLevel; }

// iCCP: the profile's name as PNG allows it (1 to 79 printable Latin-1
// characters, single spaces between words), method 0, the profile deflated.
std::vector<std::uint8_t> iccpChunk(const image::ColourProfile& profile) {
    std::string name;
    for (char c : profile.name) {
        const bool printable = c > ' ' && c <= '~';
        if (printable)
            name += c;
        else if (!name.empty() && name.back() != ' ')  // spaces and the rest: one space
            name += ' ';
        if (name.size() == 79) break;
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) name = "ICC profile";
    std::vector<std::uint8_t> out(name.begin(), name.end());
    out.push_back(0);
    out.push_back(0);
    uLongf size = compressBound(static_cast<uLong>(profile.bytes.size()));
    const std::size_t head = out.size();
    out.resize(head + size);
    if (compress2(out.data() + head, &size, profile.bytes.data(), static_cast<uLong>(profile.bytes.size()), 9) != Z_OK)
        throw ImageError("PNG: the colour profile could not be compressed");
    out.resize(head + size);
    return out;
}

}  // namespace

void PngWriter::write(const Dib& dib, const Sink& sink) const {
    if (dib.isNull()) throw ImageError("No image");
    const int bpp = dib.bitsPerPixel();
    const bool palette = dib.hasPalette();

    sink(png::kSignature, 8);

    std::uint8_t ihdr[13];
    put32be(ihdr, static_cast<std::uint32_t>(dib.width()));
    put32be(ihdr + 4, static_cast<std::uint32_t>(dib.height()));
    ihdr[8] = static_cast<std::uint8_t>(palette ? bpp : 8);
    ihdr[9] = palette ? 3 : 2;
    ihdr[10] = ihdr[11] = ihdr[12] = 0;
    writeChunk(sink, "IHDR", ihdr, sizeof ihdr);

    const PngTime t = time_ ? *time_ : PngTime::nowUtc();
    const std::uint8_t time[7] = {static_cast<std::uint8_t>(t.year >> 8), static_cast<std::uint8_t>(t.year),
                                  static_cast<std::uint8_t>(t.month),     static_cast<std::uint8_t>(t.day),
                                  static_cast<std::uint8_t>(t.hour),      static_cast<std::uint8_t>(t.minute),
                                  static_cast<std::uint8_t>(t.second)};
    writeChunk(sink, "tIME", time, sizeof time);

    std::string text = "Software";
    text.push_back('\0');
    text += kSoftware;
    writeChunk(sink, "tEXt", reinterpret_cast<const std::uint8_t*>(text.data()), text.size());

    std::uint8_t priv[8] = {};
    std::memcpy(priv, kPrivateTag, 4);
    writeChunk(sink, kPrivateChunkType, priv, sizeof priv);

    if (dib.profile()) {
        // The picture's colour profile, which stands for gAMA (a reader
        // without colour management is better served by none than by a
        // gamma the profile does not have).
        const std::vector<std::uint8_t> iccp = iccpChunk(*dib.profile());
        writeChunk(sink, "iCCP", iccp.data(), iccp.size());
    } else {
        std::uint8_t gama[4];
        put32be(gama, 45455);
        writeChunk(sink, "gAMA", gama, sizeof gama);
    }

    if (bpp == 15 || bpp == 16) {
        const std::uint8_t sbit[3] = {5, static_cast<std::uint8_t>(bpp == 16 ? 6 : 5), 5};
        writeChunk(sink, "sBIT", sbit, sizeof sbit);
    }

    if (palette) {
        std::vector<std::uint8_t> plte;
        plte.reserve(dib.palette().size() * 3);
        for (const image::RgbQuad& q : dib.palette()) {
            plte.push_back(q.red);
            plte.push_back(q.green);
            plte.push_back(q.blue);
        }
        writeChunk(sink, "PLTE", plte.data(), plte.size());
    }

    // Image data: one zlib stream, compressed in pieces of whole rows (see
    // ZlibChain), so only one piece of filtered rows is held at a time.
    // Truecolour rows are filtered when they are compressed; palette rows
    // and stored data keep filter type 0.
    const std::size_t rowBytes = palette ? dib.rowBytes() : static_cast<std::size_t>(dib.width()) * 3;
    const std::size_t rowSize = 1 + rowBytes;
    const bool filtered = !palette && level_ != 0;
    const std::size_t rowsPerPiece = std::max<std::size_t>(1, kPieceBytes / rowSize);
    const int height = dib.height();
    std::vector<std::uint8_t> piece(std::min<std::size_t>(rowsPerPiece, height) * rowSize);
    std::optional<TruecolourPieces> truecolour;
    if (filtered) truecolour.emplace(dib, rowBytes);

    ZlibChain chain(deflateLevelFor(level_), level_);
    IdatOut idat(sink);
    for (int y0 = 0; y0 < height;) {
        const int count = static_cast<int>(std::min<std::size_t>(rowsPerPiece, height - y0));
        if (filtered) {
            truecolour->fill(y0, count, piece.data());
        } else {
            for (int i = 0; i < count; ++i) {
                std::uint8_t* out = piece.data() + i * rowSize;
                out[0] = 0;
                pngRow(dib, height - 1 - (y0 + i), out + 1);
            }
        }
        y0 += count;
        idat.put(chain.add(piece.data(), count * rowSize, y0 == height));
    }
    idat.finish();
    writeChunk(sink, "IEND", nullptr, 0);
}

std::vector<std::uint8_t> PngWriter::encode(const Dib& dib) const {
    std::vector<std::uint8_t> bytes;
    if (!dib.isNull()) {
        const std::size_t raw = static_cast<std::size_t>(dib.height()) * (dib.rowBytes() + 1);
        bytes.reserve(level_ == 0 ? raw + raw / 1000 + 1024 : raw / 2 + 1024);
    }
    write(dib, [&bytes](const std::uint8_t* data, std::size_t size) { bytes.insert(bytes.end(), data, data + size); });
    return bytes;
}

void PngWriter::save(const Dib& dib, const std::filesystem::path& path) const {
    if (dib.isNull()) throw ImageError("No image");
    image::writeFileBytes(path, encode(dib));
}

}  // namespace hueloom::codecs
