// The settings file through the platform's profile-string routines, in the
// ANSI code page, one key at a time.
#pragma once
#include <string>

#include "settings/profile.h"

namespace hueloom::settings {

class WinProfile : public Profile {
public:
    explicit WinProfile(std::string path) : path_(std::move(path)) {}
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void writeString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The program file's path in the ANSI code page, and the settings file path
// beside it (same name, extension ".ini").
std::string programPathAnsi();
std::string settingsPathAnsi();

}  // namespace hueloom::settings
