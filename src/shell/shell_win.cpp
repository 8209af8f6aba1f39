#include "shell/shell_win.h"

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <stdexcept>

#include "toolkit/application_win.h"
#include "shell/shell.h"

namespace hueloom::shell {

namespace {

std::string utf8(const std::wstring& w) { return tk::narrow(w, CP_UTF8); }

[[noreturn]] void fail(const std::string& what, DWORD code) {
    throw std::runtime_error(what + ": " + tk::systemErrorText(code));
}

// COM for the calling thread for as long as the object lives (a no-op
// besides a reference count when it is initialised already).
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT hr_;
};

// Releases a COM interface on scope exit.
template <typename I>
struct ComPtr {
    I* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    I* operator->() const { return p; }
};

// The shell-link object with its IShellLink and IPersistFile interfaces.
struct Link {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    Link() {
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(&link.p));
        if (FAILED(hr)) fail("cannot create the shell link object", static_cast<DWORD>(hr));
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
        if (FAILED(hr)) fail("cannot reach the shell link's file interface", static_cast<DWORD>(hr));
    }
};

void realShellOpen(const std::wstring& target) {
    const auto r =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW));
    if (r <= 32) {
        // ShellExecute's small results are the old WinExec error codes; the
        // last error tells the reason in words.
        const DWORD e = GetLastError();
        fail("cannot open " + utf8(target), e ? e : static_cast<DWORD>(r));
    }
}

void realShowHelp(const std::wstring& helpFile) {
    // hh.exe, not HtmlHelp in this process: the viewer stays open when the
    // program ends, and its browser engine never loads here.
    wchar_t dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        const std::wstring viewer = helpViewerPath(dir);
        if (GetFileAttributesW(viewer.c_str()) != INVALID_FILE_ATTRIBUTES &&
            reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", viewer.c_str(),
                                                    helpViewerArguments(helpFile).c_str(), nullptr, SW_SHOW)) > 32)
            return;
    }
    // No viewer there: the shell opens the file with what shows .chm files.
    realShellOpen(helpFile);
}

void realMessageBox(const std::wstring& text) {
    MessageBoxW(GetActiveWindow(), text.c_str(), tk::app().title().c_str(), MB_OK);
}

}  // namespace

ShellCalls defaultShellCalls() {
    ShellCalls c;
    c.shellOpen = realShellOpen;
    c.showHelp = realShowHelp;
    c.messageBox = realMessageBox;
    c.specialFolder = GetSpecialFolderPath;
    return c;
}

ShellCalls& shellCalls() {
    static ShellCalls calls = defaultShellCalls();
    return calls;
}

std::wstring GetSpecialFolderPath(HWND owner, int folderId) {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, folderId, &pidl)) || !pidl) return {};
    wchar_t buf[MAX_PATH] = {};
    const BOOL ok = SHGetPathFromIDListW(pidl, buf);
    CoTaskMemFree(pidl);  // the shell's allocator
    return ok ? std::wstring(buf) : std::wstring();
}

void SaveShortcut(const std::wstring& linkFile, const std::wstring& target, const std::wstring& workingDir) {
    ComScope com;
    Link l;
    l.link->SetPath(target.c_str());
    l.link->SetWorkingDirectory(workingDir.c_str());
    const HRESULT hr = l.file->Save(linkFile.c_str(), FALSE);
    if (FAILED(hr)) fail("cannot write the shortcut " + utf8(linkFile), static_cast<DWORD>(hr));
}

ShortcutInfo ReadShortcut(const std::wstring& linkFile) {
    ComScope com;
    Link l;
    const HRESULT hr = l.file->Load(linkFile.c_str(), STGM_READ);
    if (FAILED(hr)) fail("cannot read the shortcut " + utf8(linkFile), static_cast<DWORD>(hr));
    ShortcutInfo info;
    wchar_t buf[1024];
    auto get = [&](auto&& call) {
        buf[0] = 0;
        call();
        return std::wstring(buf);
    };
    info.path = get([&] { l.link->GetPath(buf, 1024, nullptr, SLGP_RAWPATH); });
    info.workingDirectory = get([&] { l.link->GetWorkingDirectory(buf, 1024); });
    info.arguments = get([&] { l.link->GetArguments(buf, 1024); });
    info.description = get([&] { l.link->GetDescription(buf, 1024); });
    return info;
}

void CreateShortcut(HWND owner, const std::wstring& Name, const std::string& Keyword) {
    const std::wstring program = tk::modulePath();  // the system's full path of the program file
    const std::wstring workDir = directoryWithSeparator(program);
    for (const ShortcutTarget& t : targetsForKeyword(Keyword)) {
        const std::wstring folder = shellCalls().specialFolder(owner, t.folderId);
        // Without its folder the link would land in the current drive's root.
        if (folder.empty())
            throw std::runtime_error("cannot find the folder for the shortcut (" + std::string(t.keyword) + ")");
        SaveShortcut(shortcutFilePath(folder, Name), program, workDir);
    }
}

void OpenHelpFile(const std::wstring& helpFile) {
    const DWORD attr = helpFile.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(helpFile.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) {
        shellCalls().messageBox(helpMissingMessage(helpFile));
        return;
    }
    shellCalls().showHelp(helpFile);
}

void OpenSupportHomepage() { shellCalls().shellOpen(kSupportUrl); }

void MailToAuthor() { shellCalls().shellOpen(mailtoUrl(kSupportMail)); }

}  // namespace hueloom::shell
