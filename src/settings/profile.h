#pragma once
// Access to the settings file one key at a time, with the semantics of the
// platform's profile-string routines: a missing file, section or key yields
// the default; writing creates the file, section or key as needed; keys and
// sections nobody asks for are left alone. Section and key names are compared
// without regard to letter case. Texts are bytes in the ANSI code page.

#include <string>

namespace hueloom::settings {

class Profile {
public:
    virtual ~Profile() = default;
    // The value of section/key, or `defaultValue` when there is none. A key
    // present with an empty value gives the empty text, not the default.
    virtual std::string readString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) = 0;
    // Sets section/key to value, creating what is missing.
    virtual void writeString(const std::string& section, const std::string& key, const std::string& value) = 0;
};

}  // namespace hueloom::settings
