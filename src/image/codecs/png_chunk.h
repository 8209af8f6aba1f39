// Small helpers shared by the PNG writer and decoder: big-endian fields and
// the chunk CRC.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hueloom::codecs::png {

inline constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

inline void put32be(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}
inline std::uint32_t get32be(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// CRC of a chunk: over its type and data.
std::uint32_t chunkCrc(const std::uint8_t* type, const std::uint8_t* data, std::size_t size);

}  // namespace hueloom::codecs::png
