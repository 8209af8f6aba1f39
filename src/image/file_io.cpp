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

void writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw ImageError("Cannot create file \"" + displayName(path) + "\"" + reason());
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw ImageError("Cannot write file \"" + displayName(path) + "\"" + reason());
    out.close();
    if (out.fail()) throw ImageError("Cannot write file \"" + displayName(path) + "\"" + reason());
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
