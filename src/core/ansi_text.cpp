#include "core/ansi_text.h"

namespace hueloom {

namespace {

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Compares the first n bytes of a and b (both at least n long).
bool equalPrefix(std::string_view a, std::string_view b, size_t n, LeadBytePredicate isLead) {
    size_t i = 0;
    while (i < n) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (isLead(ca) && i + 1 < n) {
            // A double-byte character: both bytes must match exactly.
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            i += 2;
            continue;
        }
        if (foldAscii(ca) != foldAscii(cb)) return false;
        ++i;
    }
    return true;
}

bool isSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

}  // namespace

bool isShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool equalsIgnoreCase(std::string_view a, std::string_view b, LeadBytePredicate isLead) {
    return a.size() == b.size() && equalPrefix(a, b, a.size(), isLead);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix, LeadBytePredicate isLead) {
    return text.size() >= prefix.size() && equalPrefix(text, prefix, prefix.size(), isLead);
}

std::string folderOf(std::string_view path, LeadBytePredicate isLead) {
    // Find the last separator that is a character of its own, not the second
    // byte of a double-byte character.
    size_t last = std::string_view::npos;
    size_t beforeLast = std::string_view::npos;  // start of the character before it
    size_t prevStart = std::string_view::npos;
    for (size_t i = 0; i < path.size();) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (isLead(c) && i + 1 < path.size()) {
            prevStart = i;
            i += 2;
            continue;
        }
        if (isSeparator(path[i])) {
            last = i;
            beforeLast = prevStart;
        }
        prevStart = i;
        ++i;
    }
    if (last == std::string_view::npos) return {};
    size_t end = last + 1;  // keep the separator for now
    const bool previousIsSeparator =
        beforeLast != std::string_view::npos && beforeLast + 1 == last && isSeparator(path[beforeLast]);
    if (last > 0 && path[last] != ':' && !previousIsSeparator) end = last;  // drop it unless a root
    return std::string(path.substr(0, end));
}

}  // namespace hueloom
