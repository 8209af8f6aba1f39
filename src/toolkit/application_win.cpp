#include "toolkit/application_win.h"

#include <exception>
#include <new>
#include <stdexcept>

#include "toolkit/form_win.h"
#include "toolkit/trace_win.h"
#include "core/texts.h"

namespace tk {

Application& Application::instance() {
    static Application a;
    return a;
}

LRESULT CALLBACK Application::appProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Application& a = instance();
    switch (msg) {
    case WM_ACTIVATEAPP: a.notifyActivateApp(wp != 0); break;
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE: a.minimize(); return 0;
        case SC_RESTORE: a.restore(); return 0;
        case SC_CLOSE:
            if (a.main_ && a.main_->hwnd()) PostMessageW(a.main_->hwnd(), WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Clicking the task-bar button activates this window; hand the
        // activation on to the main form.
        if (LOWORD(wp) != WA_INACTIVE && !a.minimized_ && a.main_ && a.main_->hwnd() &&
            IsWindowVisible(a.main_->hwnd()))
            SetFocus(a.main_->hwnd());
        return 0;
    case WM_CLOSE:
        if (a.main_ && a.main_->hwnd()) PostMessageW(a.main_->hwnd(), WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Application::initialize(HINSTANCE inst) {
    inst_ = inst;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = appProc;
    wc.hInstance = inst;
    wc.lpszClassName = L"TApplication";
    wc.hIcon = LoadIconW(inst, L"MAINICON");
    wc.hIconSm = wc.hIcon;
    RegisterClassExW(&wc);
    int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    // A zero-sized window in the middle of the screen: invisible itself, it
    // owns the task-bar button that shows the application title.
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, cx, cy, 0, 0,
                            nullptr, nullptr, inst, nullptr);
}

void Application::setTitle(const std::wstring& title) {
    if (title == title_) return;
    title_ = title;
    if (hwnd_) SetWindowTextW(hwnd_, title_.c_str());
}

void Application::showTaskbarButton(bool show) {
    if (!hwnd_) return;
    ShowWindow(hwnd_, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void Application::terminate(int code) {
    terminated_ = true;
    exitCode_ = code;
    PostQuitMessage(code);
}

void Application::handleMessage(MSG& msg) {
    if (tracing) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) trace("keydown");
        if (msg.message == WM_MOUSEMOVE) trace("mousemove");
    }
    bool handled = false;
    if (onMessage) onMessage(msg, handled);
    if (handled) return;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        HWND top = GetAncestor(msg.hwnd, GA_ROOT);
        if (Form* f = Form::fromHandle(top)) {
            if (f->previewKey(msg)) return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

BOOL Application::getMessage(MSG& msg) {
    // Nothing left to do, painting included: what the last input asked for is on the screen.
    if (tracing && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) trace("idle");
    return GetMessageW(&msg, nullptr, 0, 0);
}

int Application::run() {
    if (main_ && main_->hwnd() && !IsWindowVisible(main_->hwnd())) main_->show();
    MSG msg;
    while (!terminated_) {
        BOOL r = getMessage(msg);
        if (r == 0 || r == -1) break;
        handleMessage(msg);
    }
    return exitCode_;
}

void Application::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        handleMessage(msg);
    }
}

void Application::minimize() {
    if (minimized_) return;
    minimized_ = true;
    if (main_ && main_->hwnd()) ShowWindow(main_->hwnd(), SW_HIDE);
    ShowWindow(hwnd_, SW_MINIMIZE);
    if (onMinimize) onMinimize();
}

void Application::restore() {
    if (!minimized_) return;
    minimized_ = false;
    ShowWindow(hwnd_, SW_RESTORE);
    if (main_ && main_->hwnd()) {
        ShowWindow(main_->hwnd(), SW_SHOW);
        SetForegroundWindow(main_->hwnd());
    }
    if (onRestore) onRestore();
}

void Application::notifyActivateApp(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active) {
        if (onActivate) onActivate();
    } else {
        if (onDeactivate) onDeactivate();
    }
}

void Application::showError(const std::wstring& text) {
    HWND owner = GetActiveWindow();
    if (!owner && main_) owner = main_->hwnd();
    MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void Application::guarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::bad_alloc&) {
        showError(hueloom::wideText("app.1"));
    } catch (const std::exception& e) {
        showError(widen(e.what(), CP_UTF8));
    } catch (...) {
        showError(L"Unexpected error");
    }
}

std::wstring widen(const std::string& s, UINT cp) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string narrow(const std::wstring& w, UINT cp) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string keyNameText(unsigned char vk) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    char buf[64] = {};
    if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), buf, sizeof buf) > 0) return buf;
    return {};
}

std::string systemErrorText(DWORD code) {
    wchar_t* buf = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
    std::wstring text = n && buf ? std::wstring(buf, n) : std::wstring();
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) {
        char hex[32];
        wsprintfA(hex, "error 0x%08lX", static_cast<unsigned long>(code));
        return hex;
    }
    return narrow(text, CP_UTF8);
}

std::wstring modulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

}  // namespace tk
