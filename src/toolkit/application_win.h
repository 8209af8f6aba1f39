// The application object: one hidden window that owns the task-bar button and
// carries the application title, the message loop (also used by the program's
// own modal loops) with an application-wide message filter, and the
// activated / deactivated / minimised / restored events.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace tk {

class Form;

class Application {
public:
    static Application& instance();

    void initialize(HINSTANCE inst);
    HINSTANCE hinstance() const { return inst_; }
    HWND handle() const { return hwnd_; }

    void setTitle(const std::wstring& title);
    const std::wstring& title() const { return title_; }
    std::wstring helpFile;

    void setMainForm(Form* f) { main_ = f; }
    Form* mainForm() const { return main_; }

    // Runs until the main form is destroyed; returns the exit code.
    int run();
    // GetMessage of the program's message loops (run and the modal forms').
    BOOL getMessage(MSG& msg);
    // Handles one message taken from the queue: filter, shortcuts, dialog
    // keys, then the usual translate and dispatch.
    void handleMessage(MSG& msg);
    // Lets pending messages be processed (returns when the queue is empty).
    void processMessages();
    bool terminated() const { return terminated_; }
    void terminate(int code = 0);

    void minimize();
    void restore();
    bool minimized() const { return minimized_; }
    bool active() const { return active_; }

    // Shows and hides the task-bar button (the application window).
    void showTaskbarButton(bool show);

    // Events.
    std::function<void(MSG&, bool& handled)> onMessage;
    std::function<void()> onActivate, onDeactivate, onMinimize, onRestore;

    // Called by forms when the system tells a top-level window of ours that
    // the application is activated or deactivated.
    void notifyActivateApp(bool active);

    // Shows an error text in a message box owned by the active window: the
    // one path by which failed commands are reported.
    void showError(const std::wstring& text);
    // Runs a command, reporting any exception with showError.
    void guarded(const std::function<void()>& fn);

private:
    Application() = default;
    static LRESULT CALLBACK appProc(HWND, UINT, WPARAM, LPARAM);
    HINSTANCE inst_ = nullptr;
    HWND hwnd_ = nullptr;
    Form* main_ = nullptr;
    std::wstring title_;
    bool terminated_ = false;
    int exitCode_ = 0;
    bool minimized_ = false;
    bool active_ = false;
};

inline Application& app() { return Application::instance(); }

// Text conversions between UTF-16 and the ANSI code page / UTF-8.
std::wstring widen(const std::string& s, UINT codePage = CP_ACP);
std::string narrow(const std::wstring& s, UINT codePage = CP_ACP);

// The system's text for an error code or HRESULT (UTF-8), or "error 0x…".
std::string systemErrorText(DWORD code);

// The platform's name of a key (GetKeyNameText, ANSI), empty when it has none:
// the names of the keys shortcut texts do not name themselves.
std::string keyNameText(unsigned char virtualKey);

// The program file's full path.
std::wstring modulePath();

}  // namespace tk
