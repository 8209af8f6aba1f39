#pragma once
// An INI file held in memory, read and written like the platform's
// GetPrivateProfileString / WritePrivateProfileString:
// - "[Section]" lines open sections, "key=value" lines hold keys; names and
//   values are trimmed of blanks, and a value enclosed in matching single or
//   double quotes is read without them;
// - lookups ignore letter case and take the first matching section and key;
// - every other line (comments, blank lines, junk, keys before the first
//   section) is kept as it stands, and so is the order of everything;
// - writing replaces the value of an existing key, appends a missing key at the
//   end of its section, and appends a missing section at the end of the file.
// The text is serialised with CR LF line ends. Bytes are never converted.
// The native tests use it as the settings file behind Profile.

#include <string>
#include <string_view>
#include <vector>

#include "settings/profile.h"

namespace hueloom::settings {

class IniFile final : public Profile {
public:
    IniFile() = default;

    // Builds the model from file bytes (CR LF, LF or CR line ends).
    static IniFile parse(std::string_view bytes);
    // The file bytes, every line ended by CR LF.
    std::string serialise() const;

    // Reads the file at `path` (ANSI path). A missing or unreadable file gives
    // an empty model and false.
    bool loadFile(const std::string& path);
    // Writes the whole file; false when it cannot be written.
    bool saveFile(const std::string& path) const;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void writeString(const std::string& section, const std::string& key, const std::string& value) override;

    // Whether section/key exists.
    bool hasKey(std::string_view section, std::string_view key) const;
    // Section names in file order (as spelled in the file).
    std::vector<std::string> sectionNames() const;
    // Key names of the first matching section, in file order.
    std::vector<std::string> keyNames(std::string_view section) const;

private:
    struct Line {
        std::string text;  // the line as it stands (without line end)
        std::string section;  // set for a section header
        std::string key;  // set for a key line
        bool isSection = false;
        bool isKey = false;
    };
    // Index of the first header of `section`, or lines_.size().
    size_t findSection(std::string_view section) const;
    // Index of the key line within the section starting at header index, or npos.
    size_t findKey(size_t header, std::string_view key) const;
    // Index one past the last line of the section whose header is at `header`.
    size_t sectionEnd(size_t header) const;

    static Line parseLine(std::string_view text);

    std::vector<Line> lines_;
};

}  // namespace hueloom::settings
