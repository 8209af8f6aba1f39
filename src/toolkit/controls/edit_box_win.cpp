#include "toolkit/controls/edit_box_win.h"

namespace tk {

bool EditBox::create(HWND parent, int x, int y, int w, int h, UINT id) {
    return createNative(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, x, y, w, h,
                        parent, id);
}

void EditBox::setFont(HFONT f) {
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

void EditBox::focus() {
    if (hwnd_) SetFocus(hwnd_);
}

void EditBox::selectAll() {
    if (hwnd_) SendMessageW(hwnd_, EM_SETSEL, 0, -1);
}

}  // namespace tk
