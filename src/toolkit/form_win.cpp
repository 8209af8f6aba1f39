#include "toolkit/form_win.h"

#include <windowsx.h>

#include <algorithm>

#include "core/dpi.h"
#include "core/shortcut_text.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/menu_win.h"

namespace tk {

namespace {
const wchar_t kObjProp[] = L"tk.object";
}

Window::~Window() { destroy(); }

void Window::destroy() {
    if (hwnd_) {
        HWND h = hwnd_;
        DestroyWindow(h);
        hwnd_ = nullptr;
    }
}

namespace {
BOOL CALLBACK collectChild(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}
}  // namespace

bool dispatchAccelerator(HWND root, wchar_t ch) {
    if (!root) return false;
    std::vector<HWND> children;
    EnumChildWindows(root, collectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND h : children) {
        // Looked up again: an accelerator's handler may have destroyed the others.
        if (IsWindow(h))
            if (Window* w = Window::fromHandle(h); w && w->acceleratorChar(ch)) return true;
    }
    return false;
}

Window* Window::fromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    return static_cast<Window*>(GetPropW(hwnd, kObjProp));
}

void Window::registerClass(const wchar_t* name, UINT style, HCURSOR cursor, HBRUSH background) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(app().hinstance(), name, &wc)) return;
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.style = style;
    wc.lpfnWndProc = staticProc;
    wc.hInstance = app().hinstance();
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    wc.hIcon = LoadIconW(app().hinstance(), L"MAINICON");
    RegisterClassExW(&wc);
}

bool Window::createWindow(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                          int w, int h, HWND parent, HMENU menuOrId) {
    HWND hwnd =
        CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menuOrId, app().hinstance(), this);
    return hwnd != nullptr && hwnd == hwnd_;
}

bool Window::createNative(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                          int w, int h, HWND parent, UINT id) {
    hwnd_ = CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), app().hinstance(), nullptr);
    if (!hwnd_) return false;
    SetPropW(hwnd_, kObjProp, this);
    native_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeProc)));
    return true;
}

LRESULT CALLBACK Window::staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            self->dpi_ = windowDpi(hwnd);
            SetPropW(hwnd, kObjProp, self);
        }
    } else {
        self = fromHandle(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT r = self->wndProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjProp);
        self->hwnd_ = nullptr;
        self->onDestroyed();
    }
    return r;
}

LRESULT CALLBACK Window::nativeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = fromHandle(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT r = self->wndProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjProp);
        self->hwnd_ = nullptr;
    }
    return r;
}

LRESULT Window::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (native_) return CallWindowProcW(native_, hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT Window::wndProc(UINT msg, WPARAM wp, LPARAM lp) { return defaultProc(msg, wp, lp); }

void Window::show(bool v) {
    if (hwnd_) ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
}

void Window::setBounds(int x, int y, int w, int h) {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Window::bounds() const {
    RECT r{};
    if (!hwnd_) return r;
    GetWindowRect(hwnd_, &r);
    HWND parent = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr;
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Window::width() const {
    RECT r = bounds();
    return r.right - r.left;
}
int Window::height() const {
    RECT r = bounds();
    return r.bottom - r.top;
}

RECT Window::clientRect() const {
    RECT r{};
    if (hwnd_) GetClientRect(hwnd_, &r);
    return r;
}

int Window::dpi() const {
    if (!hwnd_) return windowDpi(nullptr);
    if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) {
        HWND root = GetAncestor(hwnd_, GA_ROOT);
        const Window* top = fromHandle(root);
        return top && top != this ? top->dpi() : windowDpi(root);
    }
    return dpi_ ? dpi_ : windowDpi(hwnd_);
}

void Window::replaceFont(HFONT from, HFONT to) {
    if (hwnd_ && reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)) == from)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(to), TRUE);
}

int Window::scaled(int v) const { return hueloom::scale(v, dpi()); }

void Window::invalidate(bool erase) {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, erase);
}

void Window::update() {
    if (hwnd_) UpdateWindow(hwnd_);
}

void Window::setText(const std::wstring& t) {
    if (hwnd_) SetWindowTextW(hwnd_, t.c_str());
}

std::wstring Window::text() const {
    if (!hwnd_) return {};
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

// ---------------------------------------------------------------- Form

Form* Form::fromHandle(HWND hwnd) { return dynamic_cast<Form*>(Window::fromHandle(hwnd)); }

WORD Form::shortcutFromKey(WORD vk) {
    WORD sc = vk & 0xFF;
    if (GetKeyState(VK_SHIFT) < 0) sc |= hueloom::kShortcutShift;
    if (GetKeyState(VK_CONTROL) < 0) sc |= hueloom::kShortcutCtrl;
    if (GetKeyState(VK_MENU) < 0) sc |= hueloom::kShortcutAlt;
    return sc;
}

bool Form::previewKey(const MSG& msg) {
    WORD vk = static_cast<WORD>(msg.wParam);
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) return false;
    WORD sc = shortcutFromKey(vk);
    for (Menu* m : menus_) {
        if (m->dispatchShortcut(sc)) return true;
    }
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: return dialogKey(vk, sc);
    }
    return false;
}

LRESULT Form::hitTest(int x, int y) { return defaultProc(WM_NCHITTEST, 0, MAKELPARAM(x, y)); }

void Form::removeTimer(Timer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

void Form::close() {
    if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

int Form::showModal() {
    if (!hwnd_) return IDCANCEL;
    modalResult_ = 0;
    modal_ = true;
    // Disable every other enabled top-level window of this thread.
    struct Collect {
        HWND self;
        std::vector<HWND> windows;
    } collect{hwnd_, {}};
    struct Enum {
        static BOOL CALLBACK proc(HWND h, LPARAM lp) {
            auto* c = reinterpret_cast<Collect*>(lp);
            if (h != c->self && IsWindowEnabled(h) && IsWindowVisible(h)) c->windows.push_back(h);
            return TRUE;
        }
    };
    EnumThreadWindows(GetCurrentThreadId(), Enum::proc, reinterpret_cast<LPARAM>(&collect));
    std::vector<HWND>& disabled = collect.windows;
    for (HWND h : disabled) EnableWindow(h, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    Application& a = app();
    MSG msg;
    while (modalResult_ == 0 && hwnd_) {
        BOOL r = a.getMessage(msg);
        if (r == 0 || r == -1) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (!modalResult_) modalResult_ = IDCANCEL;
            break;
        }
        a.handleMessage(msg);
    }
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    modal_ = false;
    return modalResult_;
}

LRESULT Form::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        FormPaint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_NCHITTEST: return hitTest(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    case WM_TIMER:
        for (Timer* t : timers_) {
            if (t->id() == wp) {
                if (t->interval() && t->onTimer) {
                    auto fn = t->onTimer;
                    app().guarded(fn);
                }
                return 0;
            }
        }
        break;
    case WM_COMMAND:
        if (lp == 0) {
            UINT id = LOWORD(wp);
            for (Menu* m : menus_)
                if (m->dispatchCommand(id)) return 0;
        } else if (Window* w = Window::fromHandle(reinterpret_cast<HWND>(lp))) {
            // Reflect notifications to the control that sent them.
            return w->wndProc(kReflectedCommand, wp, lp);
        }
        break;
    case WM_INITMENUPOPUP:
        for (Menu* m : menus_)
            if (m->initPopup(reinterpret_cast<HMENU>(wp))) return 0;
        break;
    case WM_ACTIVATEAPP: app().notifyActivateApp(wp != 0); break;
    case WM_SYSCOMMAND:
        // The main form's minimise button minimises the application: the form
        // hides and the task-bar button (the application window) brings it
        // back. Minimised on its own it would leave a button that restores
        // nothing.
        if ((wp & 0xFFF0) == SC_MINIMIZE && app().mainForm() == this) {
            app().minimize();
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        // The new dpi comes with the message; GetDpiForWindow says the same.
        if (LOWORD(wp)) dpi_ = LOWORD(wp);
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        auto fn = [this] { FormDpiChanged(); };
        app().guarded(fn);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    }
    case WM_CLOSE:
        if (modal_) {
            if (closeQuery()) modalResult_ = IDCANCEL;
            return 0;
        }
        if (!closeQuery()) return 0;
        if (app().mainForm() == this) {
            destroy();
            app().terminate(0);
        } else {
            hide();
        }
        return 0;
    }
    return defaultProc(msg, wp, lp);
}

// ---------------------------------------------------------------- Timer

namespace {
UINT nextTimerId = 100;
}

Timer::Timer(Form& owner, UINT interval, std::function<void()> fn)
    : onTimer(std::move(fn)), owner_(owner), interval_(interval), id_(nextTimerId++) {
    owner_.addTimer(this);
    attach();
}

Timer::~Timer() {
    if (running_ && owner_.hwnd()) KillTimer(owner_.hwnd(), id_);
    owner_.removeTimer(this);
}

void Timer::attach() {
    if (!owner_.hwnd()) return;
    if (interval_) {
        SetTimer(owner_.hwnd(), id_, interval_, nullptr);
        running_ = true;
    } else if (running_) {
        KillTimer(owner_.hwnd(), id_);
        running_ = false;
    }
}

void Timer::setInterval(UINT ms) {
    if (ms == interval_ && (running_ || !ms)) return;
    interval_ = ms;
    attach();
}

}  // namespace tk
