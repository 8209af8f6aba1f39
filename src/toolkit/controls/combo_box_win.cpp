#include "toolkit/controls/combo_box_win.h"

#include "toolkit/application_win.h"

namespace tk {

bool ComboBox::create(HWND parent, int x, int y, int w, int h, UINT id) {
    return createNative(L"COMBOBOX", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, x, y, w,
                        h + 200, parent, id);
}

void ComboBox::add(const std::wstring& s) { SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())); }
void ComboBox::clear() { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }
int ComboBox::count() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }
void ComboBox::select(int i) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0); }
int ComboBox::selected() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
bool ComboBox::droppedDown() const { return SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0; }
void ComboBox::setFont(HFONT f) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE); }

void ComboBox::setBackground(COLORREF c) {
    background_ = c;
    brush_.reset(CreateSolidBrush(c));
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH ComboBox::controlColour(HDC dc) {
    if (!brush_) return nullptr;
    SetBkColor(dc, background_);
    return brush_;
}

LRESULT ComboBox::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        if (applyCursor(lp, HTCLIENT, cursor_)) return TRUE;
        break;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        // The drop-down list and the field ask their combo box.
        if (HBRUSH b = controlColour(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
        break;
    }
    return defaultProc(msg, wp, lp);
}

std::wstring ComboBox::item(int i) const {
    LRESULT n = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == CB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

}  // namespace tk
