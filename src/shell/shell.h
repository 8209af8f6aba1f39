#pragma once
// What the Help menu hands to the Windows shell, without the shell: the
// shortcut name and its target folders, the help file beside the program,
// the support page and the mail address, and the paths built from them.
// Paths are Windows paths ('\' or '/' separators) held as wide strings.

#include <string>
#include <string_view>
#include <vector>

#include "core/paths.h"

namespace hueloom::shell {

// Name of the shortcut file (without ".lnk").
inline constexpr wchar_t kShortcutName[] = L"Hueloom 1.0A4";

// Shell special-folder ids of the shortcut targets.
inline constexpr int kCsidlDesktop = 0;  // CSIDL_DESKTOP
inline constexpr int kCsidlPrograms = 2;  // CSIDL_PROGRAMS

struct ShortcutTarget {
    std::string_view keyword;  // "DESKTOP", "PROGRAMS"
    int folderId;  // shell special-folder id
    std::wstring_view caption;  // menu caption
};

// The table of shortcut targets, in menu order.
const std::vector<ShortcutTarget>& shortcutTargets();
// The targets whose keyword equals `keyword` (exact, case-sensitive).
std::vector<ShortcutTarget> targetsForKeyword(std::string_view keyword);

// folder + "\" + name + ".lnk"; no second separator when the folder already
// ends in one.
std::wstring shortcutFilePath(const std::wstring& folder, const std::wstring& name);

// The help file of the interface's language: the program file's path with
// ".chm" (Japanese) or ".en.chm" (English).
std::wstring helpFilePath(const std::wstring& programPath);
// The message shown when the help file is missing.
std::wstring helpMissingMessage(const std::wstring& helpFile);
// The system's help viewer, hh.exe in the Windows folder, and its command
// line that shows a help file's default topic (the path in quotes).
std::wstring helpViewerPath(const std::wstring& windowsDir);
std::wstring helpViewerArguments(const std::wstring& helpFile);

// The maker's support page and mail address, and the "mailto:" URL.
inline constexpr wchar_t kSupportUrl[] = L"http://www.hueloom.example/support/";
inline constexpr wchar_t kSupportMail[] = L"support@hueloom.example";
std::wstring mailtoUrl(const std::wstring& address);

}  // namespace hueloom::shell
