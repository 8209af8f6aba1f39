// Whole-file reading and writing for the image writers and readers, with
// errors raised as ImageError carrying the file name and the system's reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace hueloom::image {

// The path as UTF-8 text, for messages.
std::string displayName(const std::filesystem::path& path);

void writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
// Refuses (ImageError) a file larger than maxBytes before reading it.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes);

}  // namespace hueloom::image
