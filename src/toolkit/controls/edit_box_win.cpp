#include "toolkit/controls/edit_box_win.h"

namespace tk {

bool EditBox::create(HWND parent, int x, int y, int w, int h, UINT id, bool readOnly) {
    return createNative(L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0),
                        WS_EX_CLIENTEDGE, x, y, w, h, parent, id);
}

bool EditBox::readOnly() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY); }

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
