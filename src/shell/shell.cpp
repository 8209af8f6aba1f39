#include "shell/shell.h"

#include "core/paths.h"
#include "core/texts.h"

namespace hueloom::shell {

const std::vector<ShortcutTarget>& shortcutTargets() {
    static const std::vector<ShortcutTarget> targets = {
        {"DESKTOP", kCsidlDesktop, hueloom::wideText("shell.1")},
        {"PROGRAMS", kCsidlPrograms, hueloom::wideText("shell.2")},
    };
    return targets;
}

std::vector<ShortcutTarget> targetsForKeyword(std::string_view keyword) {
    std::vector<ShortcutTarget> out;
    for (const ShortcutTarget& t : shortcutTargets())
        if (t.keyword == keyword) out.push_back(t);
    return out;
}

std::wstring shortcutFilePath(const std::wstring& folder, const std::wstring& name) {
    std::wstring path = folder;
    if (path.empty() || !isPathSeparator(path.back())) path += L'\\';
    return path + name + L".lnk";
}

std::wstring helpFilePath(const std::wstring& programPath) {
    return withExtension(programPath, hueloom::language() == hueloom::Language::English ? L".en.chm" : L".chm");
}

std::wstring helpMissingMessage(const std::wstring& helpFile) { return helpFile + hueloom::wideText("shell.3"); }

std::wstring helpViewerPath(const std::wstring& windowsDir) {
    std::wstring path = windowsDir;
    if (!path.empty() && !isPathSeparator(path.back())) path += L'\\';
    return path + L"hh.exe";
}

std::wstring helpViewerArguments(const std::wstring& helpFile) { return L"\"" + helpFile + L"\""; }

std::wstring mailtoUrl(const std::wstring& address) { return L"mailto:" + address; }

}  // namespace hueloom::shell
