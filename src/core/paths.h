// Windows paths held as wide strings: '\' or '/' separators, "C:" drives.
// Used for the files the program keeps beside itself (settings, help file,
// undo snapshot, about picture) and for shortcut folders.
#pragma once
#include <string>
#include <string_view>

namespace hueloom {

constexpr bool isPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The folder part of a file path with its trailing separator ("C:\a\" for
// "C:\a\b.exe"); empty when the path has no folder.
std::wstring directoryWithSeparator(const std::wstring& path);

// The path with the extension of its last component replaced by `ext`
// (".chm"); the extension is appended when the file name has none. Dots in
// folder names are not taken for an extension.
std::wstring withExtension(const std::wstring& path, std::wstring_view ext);

// The file `name` in the folder of `path` ("C:\a\Undo.tmp" for
// "C:\a\b.exe").
std::wstring fileBeside(const std::wstring& path, std::wstring_view name);

// `name` as it is when it is a full path ("C:\x", "\\server\x", "\x"),
// otherwise the file of that name in the folder of `path`.
std::wstring resolveBeside(const std::wstring& path, const std::wstring& name);

}  // namespace hueloom
