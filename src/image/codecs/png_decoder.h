// decodePng: reads a PNG file into a Dib (used for the about window's
// picture and to check our own files).
//
// Non-interlaced files of every colour type and bit depth: palette and grey
// images become 8-bit palette Dibs (grey with an ascending grey palette),
// truecolour becomes 24 bits, images with an alpha channel become 32 bits
// with the alpha in the fourth byte; 16-bit samples keep their high byte.
// Malformed input (bad signature, CRC, chunk order or sizes, corrupt or short
// zlib data, image sizes the data cannot justify) raises ImageError.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "image/dib.h"

namespace hueloom::codecs {

image::Dib decodePng(std::span<const std::uint8_t> file);
image::Dib loadPng(const std::filesystem::path& path);

}  // namespace hueloom::codecs
