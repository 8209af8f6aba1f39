#include "image/codecs/png_chunk.h"

#include <zlib.h>

namespace hueloom::codecs::png {

std::uint32_t chunkCrc(const std::uint8_t* type, const std::uint8_t* data, std::size_t size) {
    uLong crc = crc32(0L, type, 4);
    // crc32 takes a 32-bit length; feed large data in pieces.
    while (size > 0) {
        const uInt n = size > 0x40000000u ? 0x40000000u : static_cast<uInt>(size);
        crc = crc32(crc, data, n);
        data += n;
        size -= n;
    }
    return static_cast<std::uint32_t>(crc);
}

}  // namespace hueloom::codecs::png
