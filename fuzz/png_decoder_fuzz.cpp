// libFuzzer target: the PNG decoder on arbitrary bytes. A file it accepts
// must survive our encoder and decode to the same colours.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "codecs/png_decoder.h"
#include "codecs/png_writer.h"
#include "image/image_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hueloom;
    image::Dib dib;
    try {
        dib = codecs::decodePng(std::span(data, size));
    } catch (const image::ImageError&) {
        return 0;
    }
    if (static_cast<std::uint64_t>(dib.width()) * dib.height() > (1u << 20)) return 0;  // keep runs fast
    codecs::PngWriter writer;
    writer.setCompressionLevel(1);
    const image::Dib back = codecs::decodePng(writer.encode(dib));
    if (!(image::toBpp24(back) == image::toBpp24(dib))) std::abort();
    return 0;
}
