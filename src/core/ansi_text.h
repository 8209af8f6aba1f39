#pragma once
// Byte-string helpers for texts in the system's ANSI code page.
//
// Settings, folder names and key names are kept as the bytes the platform
// gives us (Shift-JIS on a Japanese system) and are never converted. Two
// things must not be done byte by byte on such text: case folding (a trail
// byte may look like an ASCII letter) and searching for '\' (a trail byte may
// be 0x5C, as in "ソ" or "表"). These helpers walk the text character by
// character, using a lead-byte test that the caller can replace for code pages
// other than 932.

#include <string>
#include <string_view>

namespace hueloom {

// True for a byte that starts a two-byte character of the given code page.
using LeadBytePredicate = bool (*)(unsigned char);

// Lead bytes of code page 932 (Shift-JIS): 0x81-0x9F and 0xE0-0xFC.
bool isShiftJisLeadByte(unsigned char b);

// Case-insensitive equality for ASCII letters; bytes of double-byte characters
// are compared exactly.
bool equalsIgnoreCase(std::string_view a, std::string_view b, LeadBytePredicate isLead = isShiftJisLeadByte);

// True when `text` starts with `prefix`, compared as equalsIgnoreCase does.
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix,
                          LeadBytePredicate isLead = isShiftJisLeadByte);

// Folder part of a path: everything before the last '\' (or '/' or ':'),
// without the trailing separator, except that a root keeps it:
//   "C:\Tools\Hueloom.exe" -> "C:\Tools",  "C:\Hueloom.exe" -> "C:\",
//   "\\srv\share\x.txt" -> "\\srv\share",  "Untitled.txt" -> "".
// Used for the program's folder and for the folder of a chosen file name.
std::string folderOf(std::string_view path, LeadBytePredicate isLead = isShiftJisLeadByte);

}  // namespace hueloom
