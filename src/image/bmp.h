// Windows BMP files: the .bmp export and the undo snapshot.
//
// writeBmp stores a Dib in its own format (file header, 40-byte info header,
// colour masks for 16 bits 5-6-5, colour table for the palette formats, rows
// bottom-up; a picture with a colour profile gets a V5 header instead, the
// profile embedded after the rows). readBmp gives back exactly that Dib:
// format, palette, pixels, the profile's bytes (not its name).
// It also reads what other programs commonly write (core and V4/V5 headers,
// top-down rows, 16/32-bit colour masks of the standard layouts) and rejects
// truncated, inconsistent or unsupported (compressed) files with ImageError,
// never allocating more than the file's size can justify.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "image/dib.h"

namespace hueloom::image {

// `embedProfile` false: the 40-byte header, also for a picture with a profile.
std::vector<std::uint8_t> writeBmp(const Dib& dib, bool embedProfile = true);
void saveBmp(const Dib& dib, const std::filesystem::path& path);

Dib readBmp(std::span<const std::uint8_t> file);
Dib loadBmp(const std::filesystem::path& path);

}  // namespace hueloom::image
