// decodePng: reads a PNG file into a Dib (used for the about window's
// picture and to check our own files).
//
// Files of every colour type and bit depth, plain or interlaced (Adam7):
// palette and grey images become 8-bit palette Dibs (grey with an ascending
// grey palette), truecolour becomes 24 bits, images with an alpha channel
// become 32 bits with the alpha in the fourth byte; 16-bit samples are
// rounded to 8 bits (v / 257).
// Malformed input (bad signature, CRC, chunk order or sizes, corrupt or short
// zlib data, image sizes the data cannot justify) raises ImageError.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "image/dib.h"

namespace hueloom::codecs {

image::Dib decodePng(std::span<const std::uint8_t> file);
// The same picture as 32 bits, blue green red alpha, whatever its colour
// type: the alpha channel, or the tRNS chunk's transparency (alpha 0 or
// 255), or opaque.
image::Dib decodePngRgba(std::span<const std::uint8_t> file);
// Whether a PNG file can hold transparent pixels: an alpha channel or a tRNS
// chunk (read from the chunk headers; false for what is no PNG).
bool pngHasTransparency(std::span<const std::uint8_t> file);
image::Dib loadPng(const std::filesystem::path& path);

}  // namespace hueloom::codecs
