#include "image/codecs/png_chunk.h"

#include <libdeflate.h>

namespace hueloom::codecs::png {

std::uint32_t chunkCrc(const std::uint8_t* type, const std::uint8_t* data, std::size_t size) {
    const std::uint32_t crc = libdeflate_crc32(0, type, 4);
    // A null buffer would restart the checksum: an empty chunk has none.
    return size == 0 ? crc : libdeflate_crc32(crc, data, size);
}

}  // namespace hueloom::codecs::png
