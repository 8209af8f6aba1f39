// The settings file through the platform's profile-string routines, in the
// ANSI code page, one key at a time.
#pragma once
#include <string>
#include <vector>

#include "settings/profile.h"

namespace hueloom::settings {

class WinProfile : public Profile {
public:
    explicit WinProfile(std::string path) : path_(std::move(path)) {}
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void writeString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::string& path() const { return path_; }

    // After writing: the system's code of the first write that failed (0:
    // none). flush() puts what the system holds of the file on the disk and
    // then reads every key written back from there: a value that did not
    // arrive (a full disk) counts as a failed write.
    unsigned long failure() const { return failure_; }
    void flush();

private:
    std::string path_;
    struct Written {
        std::string section, key, value;
    };
    std::vector<Written> written_;
    unsigned long failure_ = 0;
};

// The program file's path in the ANSI code page, and the settings file path
// beside it (same name, extension ".ini").
std::string programPathAnsi();
std::string settingsPathAnsi();

}  // namespace hueloom::settings
