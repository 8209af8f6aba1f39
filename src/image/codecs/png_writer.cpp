#include "image/codecs/png_writer.h"

#include <zlib.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

#include "image/codecs/png_chunk.h"
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

// Fills out (the PNG row without its filter byte) from stored row r.
void pngRow(const Dib& dib, int storedRow, std::uint8_t* out) {
    const std::uint8_t* s = dib.bits() + static_cast<std::size_t>(storedRow) * dib.stride();
    const std::size_t w = static_cast<std::size_t>(dib.width());
    switch (dib.bitsPerPixel()) {
    case 24:
        for (std::size_t x = 0; x < w; ++x) {
            out[0] = s[2];
            out[1] = s[1];
            out[2] = s[0];
            s += 3;
            out += 3;
        }
        return;
    case 32:
        for (std::size_t x = 0; x < w; ++x) {
            out[0] = s[2];
            out[1] = s[1];
            out[2] = s[0];
            s += 4;
            out += 3;
        }
        return;
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

struct ZStream {
    z_stream z{};
    bool live = false;
    ~ZStream() {
        if (live) deflateEnd(&z);
    }
};

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

    std::uint8_t gama[4];
    put32be(gama, 45455);
    writeChunk(sink, "gAMA", gama, sizeof gama);

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

    // Image data: one zlib stream, rows with filter type 0. Output collects
    // in a buffer one byte longer than an IDAT chunk, so a full chunk is sent
    // only once it is known not to be the last one.
    ZStream zs;
    if (deflateInit2(&zs.z, level_, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw ImageError("PNG encoder: cannot start zlib");
    zs.live = true;

    const std::size_t rowSize = 1 + (palette ? dib.rowBytes() : static_cast<std::size_t>(dib.width()) * 3);
    std::unique_ptr<std::uint8_t[]> row(new std::uint8_t[rowSize]);
    row[0] = 0;
    std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[kIdatChunkSize + 1]);
    std::size_t used = 0;

    auto pump = [&](int flush) {
        for (;;) {
            zs.z.next_out = out.get() + used;
            zs.z.avail_out = static_cast<uInt>(kIdatChunkSize + 1 - used);
            const int rc = deflate(&zs.z, flush);
            if (rc == Z_STREAM_ERROR) throw ImageError("PNG encoder: zlib failed");
            used = kIdatChunkSize + 1 - zs.z.avail_out;
            if (used == kIdatChunkSize + 1) {
                writeChunk(sink, "IDAT", out.get(), kIdatChunkSize);
                out[0] = out[kIdatChunkSize];
                used = 1;
                continue;  // more output may be pending
            }
            if (flush == Z_FINISH ? rc == Z_STREAM_END : zs.z.avail_in == 0) return;
        }
    };

    for (int y = 0; y < dib.height(); ++y) {
        pngRow(dib, dib.height() - 1 - y, row.get() + 1);
        zs.z.next_in = row.get();
        zs.z.avail_in = static_cast<uInt>(rowSize);
        pump(Z_NO_FLUSH);
    }
    zs.z.next_in = nullptr;
    zs.z.avail_in = 0;
    pump(Z_FINISH);
    writeChunk(sink, "IDAT", out.get(), used);
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
