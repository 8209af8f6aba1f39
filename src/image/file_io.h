// Reading and writing files for the image writers and readers. Every failure
// is a FileError that names the file and gives the system's reason.
//
// Files are written through AtomicFile: the new contents go to a file of their
// own beside the target, which takes the target's place only once it is
// complete. A failed write (a full disk, a read-only folder) keeps the earlier
// file as it was and leaves nothing behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "image/image_error.h"

namespace hueloom::image {

// The path as UTF-8 text, for messages.
std::string displayName(const std::filesystem::path& path);

// The system's text for one of its error codes. Natively strerror; the
// Windows program installs FormatMessage, so the reason reads in the system's
// language. An empty function restores the default.
void setSystemReasonText(std::function<std::string(int code)> text);

// A file operation that failed. what() is the message for the user (UTF-8):
// "ファイル「NAME」に書き込めません。" and, on the next line, the system's reason.
class FileError : public ImageError {
public:
    enum class Action { Create, Write, Replace, Read };
    // `systemCode` 0: the system gave no reason.
    FileError(Action action, const std::filesystem::path& path, int systemCode);
    Action action() const { return action_; }
    int systemCode() const { return code_; }

private:
    Action action_;
    int code_;
};

// A file written in pieces and put in place at the end (see above).
class AtomicFile {
public:
    // Opens the temporary file beside `target`.
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();  // without commit: the temporary file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::uint8_t> bytes);
    // Completes the file and lets it take the target's place.
    void commit();

private:
    void discard();
    std::filesystem::path target_, temp_;
    std::FILE* file_ = nullptr;
};

void writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The same for a file another writer fills (a metafile the system records as
// it goes): `fill` creates and completes the file at the path it is given,
// beside `target`, which then takes the target's place. A failure keeps the
// earlier file and removes the new one.
void writeFileThrough(const std::filesystem::path& target,
                      const std::function<void(const std::filesystem::path& temp)>& fill);

// A file read in pieces.
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    std::uint64_t size() const { return size_; }
    // Reads exactly bytes.size() bytes (a FileError if the file ends first).
    void read(std::span<std::uint8_t> bytes);
    // Reads up to bytes.size() bytes; how many.
    std::size_t readSome(std::span<std::uint8_t> bytes);
    void seek(std::uint64_t offset);
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

// Refuses (ImageError) a file larger than maxBytes before reading it.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes);

}  // namespace hueloom::image
