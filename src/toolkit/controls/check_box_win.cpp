#include "toolkit/controls/check_box_win.h"

#include "toolkit/application_win.h"

namespace tk {

bool CheckBox::create(HWND parent, int x, int y, int w, int h, const std::wstring& caption, UINT id) {
    return createNative(L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, x, y, w, h,
                        parent, id);
}

bool CheckBox::checked() const { return hwnd_ && SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::setChecked(bool on) {
    if (hwnd_) SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::setFont(HFONT f) {
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

void CheckBox::setBackground(COLORREF c) {
    if (c == back_ && brush_) return;
    back_ = c;
    brush_.reset(CreateSolidBrush(c));
    invalidate(true);
}

HBRUSH CheckBox::ctlColor(HDC dc) {
    if (!brush_) brush_.reset(CreateSolidBrush(back_));
    SetBkColor(dc, back_);
    SetTextColor(dc, text_);
    return brush_;
}

LRESULT CheckBox::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    // Notifications reflected by the owner form.
    if (msg == kReflectedCommand) {
        if (HIWORD(wp) == BN_CLICKED && onClick) {
            auto fn = onClick;
            app().guarded(fn);
        }
        return 0;
    }
    return defaultProc(msg, wp, lp);
}

}  // namespace tk
