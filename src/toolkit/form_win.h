// Window base classes: `Window` binds a C++ object to an HWND and forwards
// every message to a virtual handler; `Form` is a top-level window with
// menus, timers, keyboard preview and modal showing.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace tk {

class Menu;
class Timer;

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    static Window* fromHandle(HWND hwnd);

    void show(bool visible = true);
    void hide() { show(false); }
    bool visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void setBounds(int x, int y, int w, int h);
    // Position relative to the parent's client area (screen for top level).
    RECT bounds() const;
    int width() const;
    int height() const;
    RECT clientRect() const;
    // The dpi the window is laid out and drawn at: a top-level window's is
    // its monitor's when it is created (tk::windowDpi) and then the one each
    // WM_DPICHANGED brings; a child window's is its top-level window's.
    // scaled(v) is a 96-dpi length at it.
    int dpi() const;
    int scaled(int v) const;
    void invalidate(bool erase = false);
    void update();
    void setText(const std::wstring& text);
    std::wstring text() const;
    void destroy();

    // Message handler; the default forwards to the window class procedure.
    virtual LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp);

    // WM_CTLCOLOR… about this control, reflected to it by its dialog: sets
    // the DC's colours and returns the background brush, or null for the
    // system's colours.
    virtual HBRUSH reflectCtlColor(HDC dc) {
        (void)dc;
        return nullptr;
    }
    // An accelerator character (Alt + letter, or a letter typed on a button)
    // offered to this control; true when it acted on it.
    virtual bool acceleratorChar(wchar_t ch) {
        (void)ch;
        return false;
    }
    // The window's dpi changed and its dialog made new fonts: a control that
    // uses `from` takes `to` instead (by WM_GETFONT / WM_SETFONT unless it
    // keeps its font itself).
    virtual void replaceFont(HFONT from, HFONT to);

protected:
    // Registers (once) a window class that routes to this object.
    static void registerClass(const wchar_t* name, UINT style = CS_DBLCLKS, HCURSOR cursor = nullptr,
                              HBRUSH background = nullptr);
    bool createWindow(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int w,
                      int h, HWND parent, HMENU menuOrId = nullptr);
    // Wraps a window of a system class (combo box, …) by subclassing it.
    bool createNative(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int w,
                      int h, HWND parent, UINT id);
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual void onDestroyed() {}

    HWND hwnd_ = nullptr;
    int dpi_ = 0;  // of a top-level window; 0 before it exists

private:
    static LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK nativeProc(HWND, UINT, WPARAM, LPARAM);
    WNDPROC native_ = nullptr;
};

// For WM_SETCURSOR: shows `cursor` while the pointer is over `hit`
// (HTCLIENT, HTCAPTION); false, leaving the default, otherwise.
inline bool applyCursor(LPARAM lp, UINT hit, HCURSOR cursor) {
    if (!cursor || LOWORD(lp) != hit) return false;
    SetCursor(cursor);
    return true;
}

// WM_COMMAND from a control, reflected by its form to the control itself.
constexpr UINT kReflectedCommand = WM_APP + 0x3000 + WM_COMMAND;

// Offers an accelerator character to every descendant of `root` in turn;
// true when one of them acted on it.
bool dispatchAccelerator(HWND root, wchar_t ch);

class Control;

class Form : public Window {
public:
    static Form* fromHandle(HWND hwnd);

    // Modal showing: disables the program's other windows and runs a nested
    // message loop (through Application::handleMessage, so the application
    // message filter still runs) until modalResult is set.
    int showModal();
    void setModalResult(int r) { modalResult_ = r; }
    int modalResult() const { return modalResult_; }
    bool isModal() const { return modal_; }
    void close();

    void addMenu(Menu* m) { menus_.push_back(m); }
    void addTimer(Timer* t) { timers_.push_back(t); }
    void removeTimer(Timer* t);

    // Keyboard preview: menu shortcuts first, then dialog keys.
    virtual bool previewKey(const MSG& msg);
    // Dialog keys (arrows, Tab, Enter, Esc) reaching the form; true = handled.
    virtual bool dialogKey(WORD vk, WORD shortcut) {
        (void)vk;
        (void)shortcut;
        return false;
    }
    // Asked before the form closes.
    virtual bool closeQuery() { return true; }

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

    // Current shortcut word for a key: vk | $2000 Shift | $4000 Ctrl | $8000 Alt.
    static WORD shortcutFromKey(WORD vk);

protected:
    // WM_PAINT, and WM_PRINTCLIENT where a window answers it: one routine.
    virtual void FormPaint(HDC dc) { (void)dc; }
    // The window has moved to a monitor of another dpi (WM_DPICHANGED) and
    // taken the rectangle the system suggested; dpi() tells the new one. The
    // window lays itself out again: sizes, fonts, shapes, pictures.
    virtual void FormDpiChanged() {}
    virtual LRESULT hitTest(int x, int y);
    std::vector<Menu*> menus_;
    std::vector<Timer*> timers_;
    int modalResult_ = 0;
    bool modal_ = false;
};

// Timer whose interval doubles as its state: 0 = stopped.
class Timer {
public:
    Timer(Form& owner, UINT interval, std::function<void()> onTimer);
    ~Timer();
    void setInterval(UINT ms);
    UINT interval() const { return interval_; }
    UINT id() const { return id_; }
    // Starts the system timer once the owner has its window.
    void attach();
    std::function<void()> onTimer;

private:
    Form& owner_;
    UINT interval_;
    UINT id_;
    bool running_ = false;
};

}  // namespace tk
