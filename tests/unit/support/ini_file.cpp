#include "support/ini_file.h"

#include <cstdio>

#include "core/ansi_text.h"

namespace hueloom::settings {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Position of the first single-byte `ch` that is a character of its own.
size_t findChar(std::string_view s, char ch) {
    for (size_t i = 0; i < s.size();) {
        if (isShiftJisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            i += 2;
            continue;
        }
        if (s[i] == ch) return i;
        ++i;
    }
    return std::string_view::npos;
}

std::string valueOf(std::string_view line) {
    const size_t eq = findChar(line, '=');
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace

IniFile::Line IniFile::parseLine(std::string_view text) {
    Line line;
    line.text = std::string(text);
    const std::string_view t = trim(text);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        std::string_view name = t.substr(1);
        const size_t close = findChar(name, ']');
        if (close != std::string_view::npos) name = name.substr(0, close);
        line.isSection = true;
        line.section = std::string(trim(name));
        return line;
    }
    const size_t eq = findChar(t, '=');
    if (eq == std::string_view::npos) return line;
    const std::string_view key = trim(t.substr(0, eq));
    if (key.empty()) return line;
    line.isKey = true;
    line.key = std::string(key);
    return line;
}

IniFile IniFile::parse(std::string_view bytes) {
    IniFile ini;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        ini.lines_.push_back(parseLine(bytes.substr(start, end - start)));
        if (end < bytes.size() && bytes[end] == '\r') ++end;
        if (end < bytes.size() && bytes[end] == '\n') ++end;
        start = end;
    }
    return ini;
}

std::string IniFile::serialise() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

bool IniFile::loadFile(const std::string& path) {
    lines_.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string bytes;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return false;
    *this = parse(bytes);
    return true;
}

bool IniFile::saveFile(const std::string& path) const {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const std::string bytes = serialise();
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    return written && closed;
}

size_t IniFile::findSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].isSection && equalsIgnoreCase(lines_[i].section, section)) return i;
    }
    return lines_.size();
}

size_t IniFile::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !lines_[i].isSection) ++i;
    return i;
}

size_t IniFile::findKey(size_t header, std::string_view key) const {
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines_[i].isKey && equalsIgnoreCase(lines_[i].key, key)) return i;
    }
    return std::string_view::npos;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    const size_t header = findSection(section);
    return header < lines_.size() && findKey(header, key) != std::string_view::npos;
}

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& defaultValue) {
    const size_t header = findSection(section);
    if (header == lines_.size()) return defaultValue;
    const size_t at = findKey(header, key);
    if (at == std::string_view::npos) return defaultValue;
    return valueOf(lines_[at].text);
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    size_t header = findSection(section);
    if (header == lines_.size()) {
        lines_.push_back(parseLine("[" + section + "]"));
    }
    const size_t at = findKey(header, key);
    if (at != std::string_view::npos) {
        lines_[at] = parseLine(lines_[at].key + "=" + value);
        return;
    }
    // Append after the section's last key (or right after its header), so
    // blank lines and comments that close the section stay where they are.
    size_t insertAt = header + 1;
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines_[i].isKey) insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), parseLine(key + "=" + value));
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.isSection) names.push_back(line.section);
    }
    return names;
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const size_t header = findSection(section);
    if (header == lines_.size()) return names;
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (lines_[i].isKey) names.push_back(lines_[i].key);
    }
    return names;
}

}  // namespace hueloom::settings
