#include "image/file_io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>
#include "core/texts.h"

namespace hueloom::image {

std::string displayName(const std::filesystem::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

namespace {

std::function<std::string(int)>& reasonText() {
    static std::function<std::string(int)> text;
    return text;
}

std::string reasonFor(int code) {
    if (code == 0) return {};
    if (const auto& text = reasonText()) return text(code);
    return std::strerror(code);
}

// The system's code for the C library call that just failed: on Windows the
// platform's own error (what FormatMessage names), elsewhere errno.
void clearSystemError() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}
int lastSystemError() {
#ifdef _WIN32
    if (_doserrno != 0) return static_cast<int>(_doserrno);
    // Some failures set errno only (a short write on a full disk): the
    // platform's code for the same condition.
    switch (errno) {
    case ENOSPC: return 112;  // ERROR_DISK_FULL
    case EACCES: return 5;  // ERROR_ACCESS_DENIED
    case ENOENT: return 3;  // ERROR_PATH_NOT_FOUND
    case EMFILE: return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case ENOMEM: return 8;  // ERROR_NOT_ENOUGH_MEMORY
    case EEXIST: return 80;  // ERROR_FILE_EXISTS
    case EROFS: return 19;  // ERROR_WRITE_PROTECT
    case EIO: return 29;  // ERROR_WRITE_FAULT
    default: return 0;
    }
#else
    return errno;
#endif
}

// The system's code behind an error of the standard library's file system
// calls. On Windows these report errno values for the platform's errors;
// the two that matter here are turned back into the platform's codes.
int platformCode(const std::error_code& ec) {
    if (!ec) return 0;
#ifdef _WIN32
    if (ec.category() == std::system_category()) return ec.value();
    if (ec.value() == EACCES) return 5;  // ERROR_ACCESS_DENIED
    if (ec.value() == ENOENT) return 2;  // ERROR_FILE_NOT_FOUND
    return 0;
#else
    return ec.value();
#endif
}

std::FILE* openFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

#ifdef _WIN32
constexpr int kDiskFull = 112;  // ERROR_DISK_FULL
#else
constexpr int kDiskFull = ENOSPC;
#endif

// A name beside `path` for the new contents while they are written.
std::filesystem::path siblingName(const std::filesystem::path& path, const char* tag) {
    static unsigned counter = 0;
    std::filesystem::path p = path;
    p += std::string(".~") + tag + std::to_string(++counter);
    return p;
}

std::string actionText(FileError::Action action, const std::string& name) {
    switch (action) {
    case FileError::Action::Create: return hueloom::text("fileio.1") + name + hueloom::text("fileio.2");
    case FileError::Action::Write: return hueloom::text("fileio.3") + name + hueloom::text("fileio.4");
    case FileError::Action::Replace: return hueloom::text("fileio.5") + name + hueloom::text("fileio.6");
    case FileError::Action::Read: break;
    }
    return hueloom::text("fileio.7") + name + hueloom::text("fileio.8");
}

std::string fileMessage(FileError::Action action, const std::filesystem::path& path, int code) {
    std::string text = actionText(action, displayName(path));
    const std::string reason = reasonFor(code);
    if (!reason.empty()) text += "\n" + reason;
    return text;
}

// Lets the complete file `temp` take the place of `target`.
void replaceTarget(const std::filesystem::path& temp, const std::filesystem::path& target) {
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (!ec) return;
    // Where renaming cannot replace a file, the earlier one steps aside first
    // and comes back if the new one cannot take its place.
    const int renameCode = platformCode(ec);
    const std::filesystem::path old = siblingName(target, "old");
    std::error_code aside, placed;
    std::filesystem::rename(target, old, aside);
    if (!aside) std::filesystem::rename(temp, target, placed);
    if (aside || placed) {
        std::error_code back;
        if (!aside) std::filesystem::rename(old, target, back);
        throw FileError(FileError::Action::Replace, target, renameCode != 0 ? renameCode : platformCode(placed));
    }
    std::filesystem::remove(old, ec);
}

}  // namespace

void setSystemReasonText(std::function<std::string(int code)> text) { reasonText() = std::move(text); }

FileError::FileError(Action action, const std::filesystem::path& path, int systemCode)
    : ImageError(fileMessage(action, path, systemCode)), action_(action), code_(systemCode) {}

// ------------------------------------------------------------------ writing

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)), temp_(siblingName(target_, "new")) {
    clearSystemError();
    file_ = openFile(temp_, true);
    if (!file_) throw FileError(FileError::Action::Create, target_, lastSystemError());
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
        temp_.clear();
    }
}

void AtomicFile::write(std::span<const std::uint8_t> bytes) {
    if (!file_) throw FileError(FileError::Action::Write, target_, 0);
    clearSystemError();
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        // A write the file system cut short without a reason ran out of room.
        int code = lastSystemError();
        if (code == 0) code = kDiskFull;
        discard();
        throw FileError(FileError::Action::Write, target_, code);
    }
}

void AtomicFile::commit() {
    if (!file_) throw FileError(FileError::Action::Write, target_, 0);
    clearSystemError();
    const bool flushed = std::fflush(file_) == 0;
    int code = flushed ? 0 : lastSystemError();
    std::FILE* f = std::exchange(file_, nullptr);
    if (std::fclose(f) != 0 && flushed) code = lastSystemError();
    if (!flushed || code != 0) {
        discard();
        throw FileError(FileError::Action::Write, target_, code);
    }
    try {
        replaceTarget(temp_, target_);
    } catch (...) {
        discard();
        throw;
    }
    temp_.clear();
}

void writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

void writeFileThrough(const std::filesystem::path& target,
                      const std::function<void(const std::filesystem::path& temp)>& fill) {
    const std::filesystem::path temp = siblingName(target, "new");
    std::error_code ec;
    try {
        fill(temp);
        replaceTarget(temp, target);
    } catch (...) {
        std::filesystem::remove(temp, ec);
        throw;
    }
}

// ------------------------------------------------------------------ reading

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    clearSystemError();
    file_ = openFile(path, false);
    if (!file_) throw FileError(FileError::Action::Read, path, lastSystemError());
    std::error_code ec;
    const std::uintmax_t n = std::filesystem::file_size(path, ec);
    if (ec) {
        std::fclose(file_);
        throw FileError(FileError::Action::Read, path, platformCode(ec));
    }
    size_ = n;
}

InputFile::~InputFile() {
    if (file_) std::fclose(file_);
}

std::size_t InputFile::readSome(std::span<std::uint8_t> bytes) {
    clearSystemError();
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), file_);
    if (n < bytes.size() && std::ferror(file_)) throw FileError(FileError::Action::Read, path_, lastSystemError());
    return n;
}

void InputFile::read(std::span<std::uint8_t> bytes) {
    if (readSome(bytes) != bytes.size())
        throw ImageError(actionText(FileError::Action::Read, displayName(path_)) + hueloom::text("fileio.9"));
}

void InputFile::seek(std::uint64_t offset) {
    clearSystemError();
#ifdef _WIN32
    const int r = _fseeki64(file_, static_cast<long long>(offset), SEEK_SET);
#else
    const int r = fseeko(file_, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (r != 0) throw FileError(FileError::Action::Read, path_, lastSystemError());
}

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes) {
    InputFile in(path);
    if (in.size() > maxBytes)
        throw ImageError(actionText(FileError::Action::Read, displayName(path)) + hueloom::text("fileio.10"));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.size()));
    in.read(bytes);
    return bytes;
}

}  // namespace hueloom::image
