// JPEG export through libjpeg: the picture as 24-bit RGB, libjpeg's default
// parameters, the given quality (1..100, clamped) with baseline tables
// forced, the floating-point DCT; the result is a baseline JFIF file with
// three components, and the picture's colour profile in APP2 markers when it
// has one. A picture taller than 256 rows is encoded in bands of 256 rows on
// all cores and carries a restart marker between bands; it decodes to the
// same pixels as one pass would.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "image/dib.h"

namespace hueloom::codecs {

std::vector<std::uint8_t> writeJpeg(const image::Dib& dib, int quality);
void saveJpeg(const image::Dib& dib, int quality, const std::filesystem::path& path);

}  // namespace hueloom::codecs
