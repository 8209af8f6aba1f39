#include "core/paths.h"

namespace hueloom {

namespace {

// Index just past the last separator (or drive colon) of the path.
std::size_t fileNameStart(const std::wstring& path) {
    const std::size_t p = path.find_last_of(L"\\/:");
    return p == std::wstring::npos ? 0 : p + 1;
}

}  // namespace

std::wstring directoryWithSeparator(const std::wstring& path) { return path.substr(0, fileNameStart(path)); }

std::wstring withExtension(const std::wstring& path, std::wstring_view ext) {
    const std::size_t start = fileNameStart(path);
    const std::size_t dot = path.find_last_of(L'.');
    std::wstring out = path;
    // A leading dot (".profile") names the file; it is no extension.
    if (dot != std::wstring::npos && dot > start) out.resize(dot);
    out += ext;
    return out;
}

std::wstring fileBeside(const std::wstring& path, std::wstring_view name) {
    return directoryWithSeparator(path) + std::wstring(name);
}

std::wstring resolveBeside(const std::wstring& path, const std::wstring& name) {
    const bool full = (name.size() >= 2 && name[1] == L':') || (!name.empty() && isPathSeparator(name[0]));
    return full ? name : fileBeside(path, name);
}

}  // namespace hueloom
