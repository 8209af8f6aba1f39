#include "image/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "image/image_error.h"

namespace hueloom::image {

std::string displayName(const std::filesystem::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

namespace {
std::string reason() {
    const int e = errno;
    return e != 0 ? std::string(": ") + std::strerror(e) : std::string();
}
}  // namespace

namespace {

// A name beside `path` for the new contents while they are written.
std::filesystem::path siblingName(const std::filesystem::path& path, const char* tag) {
    static unsigned counter = 0;
    std::filesystem::path p = path;
    p += std::string(".~") + tag + std::to_string(++counter);
    return p;
}

}  // namespace

void writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // The new contents go to a file of their own in the same folder, which
    // then takes the target's place: a failed write leaves the earlier file
    // as it was and no partial file behind.
    const std::filesystem::path tmp = siblingName(path, "new");
    std::error_code ec;
    try {
        errno = 0;
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw ImageError("Cannot create file \"" + displayName(path) + "\"" + reason());
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) throw ImageError("Cannot write file \"" + displayName(path) + "\"" + reason());
        out.close();
        if (out.fail()) throw ImageError("Cannot write file \"" + displayName(path) + "\"" + reason());
    } catch (...) {
        std::filesystem::remove(tmp, ec);
        throw;
    }
    std::filesystem::rename(tmp, path, ec);
    if (!ec) return;
    // Where renaming cannot replace a file, the earlier one steps aside first
    // and comes back if the new one cannot take its place.
    const std::filesystem::path old = siblingName(path, "old");
    std::error_code moved;
    std::filesystem::rename(path, old, moved);
    if (!moved) std::filesystem::rename(tmp, path, ec);
    if (moved || ec) {
        if (!moved) std::filesystem::rename(old, path, moved);
        std::filesystem::remove(tmp, moved);
        throw ImageError("Cannot write file \"" + displayName(path) + "\": " + ec.message());
    }
    std::filesystem::remove(old, ec);
}

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ImageError("Cannot open file \"" + displayName(path) + "\"" + reason());
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw ImageError("Cannot read file \"" + displayName(path) + "\"" + reason());
    if (static_cast<std::uint64_t>(size) > maxBytes)
        throw ImageError("File \"" + displayName(path) + "\" is too large");
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size) throw ImageError("Cannot read file \"" + displayName(path) + "\"" + reason());
    return bytes;
}

}  // namespace hueloom::image
