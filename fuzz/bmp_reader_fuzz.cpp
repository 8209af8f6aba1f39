// libFuzzer target: the BMP reader on arbitrary bytes. A file it accepts
// must be written back by our writer and read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/bmp.h"
#include "image/image_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hueloom::image;
    Dib dib;
    try {
        dib = readBmp(std::span(data, size));
    } catch (const ImageError&) {
        return 0;
    }
    if (!(readBmp(writeBmp(dib)) == dib)) std::abort();
    return 0;
}
