#include "toolkit/controls/common_controls_win.h"

#include <commctrl.h>

#include "core/shortcut_text.h"
#include "toolkit/application_win.h"

namespace tk {

void initCommonControls() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                              ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

// ---------------------------------------------------------------- Edit

// ---------------------------------------------------------------- TrackBar

bool TrackBar::create(HWND parent, int x, int y, int w, int h, UINT id) {
    initCommonControls();
    return createNative(TRACKBAR_CLASSW, L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, x, y, w, h,
                        parent, id);
}

TrackBar::~TrackBar() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void TrackBar::setRange(int min, int max) {
    SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(hwnd_, TBM_SETRANGEMAX, TRUE, max);
}

void TrackBar::setTickFrequency(int every) { SendMessageW(hwnd_, TBM_SETTICFREQ, static_cast<WPARAM>(every), 0); }
void TrackBar::setPosition(int pos) { SendMessageW(hwnd_, TBM_SETPOS, TRUE, pos); }
int TrackBar::position() const { return static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0)); }
int TrackBar::minimum() const { return static_cast<int>(SendMessageW(hwnd_, TBM_GETRANGEMIN, 0, 0)); }
int TrackBar::maximum() const { return static_cast<int>(SendMessageW(hwnd_, TBM_GETRANGEMAX, 0, 0)); }

void TrackBar::setHint(const std::wstring& text) {
    hint_ = text;
    if (hwnd_) setToolTip(tooltip_, GetParent(hwnd_), hwnd_, GetAncestor(hwnd_, GA_ROOT), hint_);
}

void setToolTip(HWND& tip, HWND owner, HWND tool, HWND popupOwner, std::wstring& text) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    ti.hinst = app().hinstance();
    ti.lpszText = text.data();
    if (tip && IsWindow(tip)) {
        SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
        return;
    }
    initCommonControls();
    tip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, popupOwner, nullptr, app().hinstance(), nullptr);
    if (!tip) return;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 400);  // a hint of several lines keeps its breaks
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

// ---------------------------------------------------------------- UpDown

bool UpDown::create(HWND parent, int x, int y, int w, int h, UINT id) {
    initCommonControls();
    return createNative(UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                        0, x, y, w, h, parent, id);
}

void UpDown::setBuddy(HWND edit) { SendMessageW(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0); }
void UpDown::setRange(int min, int max) { SendMessageW(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(min), max); }
void UpDown::setPosition(int pos) { SendMessageW(hwnd_, UDM_SETPOS32, 0, pos); }
int UpDown::position() const { return static_cast<int>(SendMessageW(hwnd_, UDM_GETPOS32, 0, 0)); }

// ---------------------------------------------------------------- HotKeyEdit

bool HotKeyEdit::create(HWND parent, int x, int y, int w, int h, UINT id) {
    initCommonControls();
    return createNative(HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, x, y, w, h, parent,
                        id);
}

void HotKeyEdit::setFont(HFONT f) {
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

WORD HotKeyEdit::toControlValue(WORD sc) {
    BYTE mods = 0;
    if (sc & hueloom::kShortcutShift) mods |= HOTKEYF_SHIFT;
    if (sc & hueloom::kShortcutCtrl) mods |= HOTKEYF_CONTROL;
    if (sc & hueloom::kShortcutAlt) mods |= HOTKEYF_ALT;
    const BYTE vk = static_cast<BYTE>(sc & 0xFF);
    return vk ? MAKEWORD(vk, mods) : 0;
}

WORD HotKeyEdit::fromControlValue(WORD value) {
    const BYTE vk = LOBYTE(value), mods = HIBYTE(value);
    if (!vk) return 0;  // modifiers alone are no key
    WORD sc = vk;
    if (mods & HOTKEYF_SHIFT) sc |= hueloom::kShortcutShift;
    if (mods & HOTKEYF_CONTROL) sc |= hueloom::kShortcutCtrl;
    if (mods & HOTKEYF_ALT) sc |= hueloom::kShortcutAlt;
    return sc;
}

void HotKeyEdit::setShortcut(WORD sc) { SendMessageW(hwnd_, HKM_SETHOTKEY, toControlValue(sc), 0); }

WORD HotKeyEdit::shortcut() const {
    return fromControlValue(static_cast<WORD>(SendMessageW(hwnd_, HKM_GETHOTKEY, 0, 0)));
}

// ---------------------------------------------------------------- TabStrip

bool TabStrip::create(HWND parent, int x, int y, int w, int h, UINT id) {
    initCommonControls();
    return createNative(WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_OWNERDRAWFIXED,
                        0, x, y, w, h, parent, id);
}

void TabStrip::setFont(HFONT f) {
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

void TabStrip::setTabPadding(int horizontal, int vertical) {
    // Tabs as narrow as their captions: no minimum width beyond the padding.
    SendMessageW(hwnd_, TCM_SETMINTABWIDTH, 0, 2 * horizontal);
    SendMessageW(hwnd_, TCM_SETPADDING, 0, MAKELPARAM(horizontal, vertical));
}

void TabStrip::addTab(const std::wstring& caption) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = caption;
    item.pszText = text.data();
    SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(count()), reinterpret_cast<LPARAM>(&item));
}

int TabStrip::count() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0)); }
int TabStrip::selected() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)); }
void TabStrip::select(int index) { SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }

RECT TabStrip::pageRect() const {
    RECT r = clientRect();
    SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(hwnd_, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring TabStrip::caption(int index) const {
    wchar_t buf[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 127;
    SendMessageW(hwnd_, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.pszText ? std::wstring(item.pszText) : std::wstring();
}

RECT TabStrip::tabRect(int index) const {
    RECT r{};
    SendMessageW(hwnd_, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

}  // namespace tk
