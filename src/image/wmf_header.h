// The 22-byte header that makes a Windows metafile "placeable": key
// 0x9AC6CDD7, handle 0, bounding box (0, 0, width, height) in units of the
// header's resolution, units per inch (96 for screen pixels), reserved 0 and
// the checksum, the exclusive-or of the first ten 16-bit words. All fields
// little-endian.
#pragma once

#include <array>
#include <cstdint>

namespace hueloom::image {

constexpr std::uint32_t kPlaceableWmfKey = 0x9AC6CDD7;

// Throws ImageError when width or height is not within 1..32767 (the box is
// stored in signed 16-bit fields) or unitsPerInch is 0.
std::array<std::uint8_t, 22> placeableWmfHeader(int width, int height, std::uint16_t unitsPerInch = 96);

// XOR of the first ten little-endian 16-bit words of a header.
std::uint16_t placeableWmfChecksum(const std::uint8_t* header);

}  // namespace hueloom::image
