// libFuzzer target: the PNG decoder on arbitrary bytes, as they are and with
// every chunk CRC made right (so that mutations get past the CRC check into
// the chunk, inflate and filter code). A file it accepts must survive our
// encoder and decode to the same colours.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "image/codecs/png_decoder.h"
#include "image/codecs/png_writer.h"
#include "image/image_error.h"

namespace {

std::uint32_t be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

std::vector<std::uint8_t> withGoodCrcs(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> f(data, data + size);
    std::size_t pos = 8;
    while (pos + 12 <= f.size()) {
        const std::uint64_t len = be32(&f[pos]);
        if (len > f.size() - pos - 12) break;
        const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, &f[pos + 4], static_cast<uInt>(4 + len)));
        std::uint8_t* c = &f[pos + 8 + len];
        c[0] = std::uint8_t(crc >> 24);
        c[1] = std::uint8_t(crc >> 16);
        c[2] = std::uint8_t(crc >> 8);
        c[3] = std::uint8_t(crc);
        pos += 12 + len;
    }
    return f;
}

void check(std::span<const std::uint8_t> file) {
    using namespace hueloom;
    image::Dib dib;
    try {
        dib = codecs::decodePng(file);
    } catch (const image::ImageError&) {
        return;
    }
    if (static_cast<std::uint64_t>(dib.width()) * dib.height() > (1u << 20)) return;  // keep runs fast
    codecs::PngWriter writer;
    writer.setCompressionLevel(1);
    const image::Dib back = codecs::decodePng(writer.encode(dib));
    if (!(image::toBpp24(back) == image::toBpp24(dib))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(std::span(data, size));
    const std::vector<std::uint8_t> fixed = withGoodCrcs(data, size);
    check(fixed);
    return 0;
}
