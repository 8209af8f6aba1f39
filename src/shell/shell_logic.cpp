#include "shell/shell_logic.h"

namespace hueloom::ui {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Index just past the last separator (or drive colon) of the path.
std::size_t fileNameStart(const std::wstring& path) {
    const std::size_t p = path.find_last_of(L"\\/:");
    return p == std::wstring::npos ? 0 : p + 1;
}

}  // namespace

const std::vector<ShortcutTarget>& shortcutTargets() {
    static const std::vector<ShortcutTarget> targets = {
        {"DESKTOP", kCsidlDesktop, L"デスクトップ"},
        {"PROGRAMS", kCsidlPrograms, L"スタートメニュー"},
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
    if (path.empty() || !isSeparator(path.back())) path += L'\\';
    return path + name + L".lnk";
}

std::wstring directoryWithSeparator(const std::wstring& path) { return path.substr(0, fileNameStart(path)); }

std::wstring withExtension(const std::wstring& path, std::wstring_view ext) {
    const std::size_t start = fileNameStart(path);
    const std::size_t dot = path.find_last_of(L'.');
    std::wstring out = path;
    // A leading dot (".profile") names the file; it is no extension.
    if (dot != std::wstring::npos && dot > start) out.resize(dot);
    out += ext;
    return out;
}

std::wstring helpFilePath(const std::wstring& programPath) { return withExtension(programPath, L".chm"); }

std::wstring helpMissingMessage(const std::wstring& helpFile) { return helpFile + L"が見つかりません。"; }

std::wstring mailtoUrl(const std::wstring& address) { return L"mailto:" + address; }

}  // namespace hueloom::ui
