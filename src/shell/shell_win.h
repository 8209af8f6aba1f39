// The Help menu's shell commands: shortcuts to the program on the desktop
// and in the Start menu (shell link objects saved as .lnk files), the help
// file beside the program, the support page and a new mail to the author.
//
// The shell calls that leave the program (opening a URL, showing the help
// file, the message box, finding a special folder) go through shellCalls(),
// which tests replace so that no browser or mail program starts.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace hueloom::shell {

struct ShellCalls {
    // ShellExecute with the verb "open" (no owner, parameters or folder).
    std::function<void(const std::wstring& target)> shellOpen;
    // The help file's default topic in the system's help viewer (hh.exe),
    // which runs as a program of its own.
    std::function<void(const std::wstring& helpFile)> showHelp;
    // A plain message box.
    std::function<void(const std::wstring& text)> messageBox;
    // The file-system path of a shell special folder (empty on failure).
    std::function<std::wstring(HWND owner, int folderId)> specialFolder;
};

// The calls in use; replace members to observe or redirect them.
ShellCalls& shellCalls();
// The real calls (what shellCalls() holds at start).
ShellCalls defaultShellCalls();

// The file-system path of a shell special folder (CSIDL_DESKTOP, …) through
// SHGetSpecialFolderLocation and SHGetPathFromIDList; empty when the folder
// has none.
std::wstring GetSpecialFolderPath(HWND owner, int folderId);

// Writes a shell link to `target` with the working directory `workingDir`
// into `linkFile`, replacing a file of that name. Throws std::runtime_error
// (with the system's error text) when the link object cannot be made or
// the file cannot be saved.
void SaveShortcut(const std::wstring& linkFile, const std::wstring& target, const std::wstring& workingDir);

// What a .lnk file says: read back through IShellLink.
struct ShortcutInfo {
    std::wstring path, workingDirectory, arguments, description;
};
ShortcutInfo ReadShortcut(const std::wstring& linkFile);

// Writes the shortcut `Name`.lnk to the running program (its full path,
// working directory its folder) into the folder of every target whose
// keyword equals `Keyword` ("DESKTOP", "PROGRAMS"). Throws when a folder
// cannot be found or the file cannot be written.
void CreateShortcut(HWND owner, const std::wstring& Name, const std::string& Keyword);

// The menu commands. mnuHelpHelp: shows the help file, or the message
// "<help file>が見つかりません。" when it does not exist (the caller passes
// the application's help file, program path with ".chm").
void OpenHelpFile(const std::wstring& helpFile);
// mnuSupportHP: the support page in the default browser.
void OpenSupportHomepage();
// mnuMailToMe: a new mail to the support address.
void MailToAuthor();

}  // namespace hueloom::shell
