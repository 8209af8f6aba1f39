#include "toolkit/dialog_win.h"

namespace tk {

Dialog::~Dialog() { destroy(); }

void Dialog::setShape(Region region, bool redraw) {
    shape_ = copyRegion(region);
    SetWindowRgn(hwnd_, region.release(), redraw);
}

void Dialog::frameShape(HDC dc, COLORREF colour, int width) const {
    if (!shape_) return;
    Brush frame(CreateSolidBrush(colour));
    FrameRgn(dc, shape_, frame, width, width);
}

LRESULT Dialog::hitTest(int x, int y) {
    const LRESULT r = Form::hitTest(x, y);
    return r == HTCLIENT ? HTCAPTION : r;
}

LRESULT Dialog::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // FormPaint covers the whole client area
    case WM_PRINTCLIENT: FormPaint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_SHOWWINDOW:
        if (wp) FormShow();
        break;
    case WM_SETCURSOR:
        if (applyCursor(lp, HTCAPTION, dragCursor_)) return TRUE;
        break;
    case WM_ACTIVATE:
        if (!focusControl_) break;
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(hwnd_, f)) activeControl_ = f;
            return 0;
        }
        FormActivate();
        SetFocus(activeControl_ && IsWindow(activeControl_) && IsWindowVisible(activeControl_) ? activeControl_
                                                                                               : focusControl_);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (Window* control = fromHandle(reinterpret_cast<HWND>(lp)))
            if (HBRUSH b = control->reflectCtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
        break;
    case WM_SYSCOMMAND:
        // Alt + letter typed where no control takes it.
        if ((wp & 0xFFF0) == SC_KEYMENU && lp && dispatchAccelerator(hwnd_, static_cast<wchar_t>(lp))) return 0;
        break;
    }
    return Form::wndProc(msg, wp, lp);
}

}  // namespace tk
