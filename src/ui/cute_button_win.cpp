#include "ui/cute_button_win.h"

#include <windowsx.h>

#include "toolkit/application.h"

bool TCuteButton::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TCuteButton", parent, x, y, w, h, WS_TABSTOP);
}

void TCuteButton::setCaption(const std::wstring& c) {
    if (c == caption_) return;
    caption_ = c;
    invalidate();
}

void TCuteButton::setColor(COLORREF c) {
    if (c == face_) return;
    face_ = c;
    invalidate();
}

void TCuteButton::setFontColor(COLORREF c) {
    if (c == fontColour_) return;
    fontColour_ = c;
    invalidate();
}

void TCuteButton::setOuter(Bevel b) {
    if (b == outer_) return;
    outer_ = b;
    invalidate();
}

void TCuteButton::click() {
    if (onClick) {
        auto fn = onClick;
        tk::app().guarded(fn);
    }
}

static void frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    tk::Brush tl(CreateSolidBrush(topLeft)), br(CreateSolidBrush(bottomRight));
    RECT e;
    e = {r.left, r.top, r.right, r.top + 1}; FillRect(dc, &e, tl);
    e = {r.left, r.top, r.left + 1, r.bottom}; FillRect(dc, &e, tl);
    e = {r.left, r.bottom - 1, r.right, r.bottom}; FillRect(dc, &e, br);
    e = {r.right - 1, r.top, r.right, r.bottom}; FillRect(dc, &e, br);
    InflateRect(&r, -1, -1);
}

void TCuteButton::paint(HDC dc, const RECT& client) {
    RECT r = client;
    tk::Brush face(CreateSolidBrush(face_));
    FillRect(dc, &r, face);
    COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
    if (outer_ == Raised) frame3D(dc, r, hi, sh);
    if (outer_ == Lowered) frame3D(dc, r, sh, hi);
    frame3D(dc, r, hi, sh);  // inner bevel, raised
    RECT text = client;
    InflateRect(&text, -2, -2);
    if (outer_ == Lowered) {
        text.left += 2;
        text.top += 2;
    }
    tk::SavedDC saved(dc);
    if (font_) SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fontColour_);
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT TCuteButton::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&tme);
            tracking_ = true;
            setOuter((wp & MK_LBUTTON) ? Lowered : Raised);
        }
        if (pressed_) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc = clientRect();
            setOuter(PtInRect(&rc, p) ? Lowered : Raised);
        }
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (!pressed_) setOuter(None);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(hwnd_);
        setOuter(Lowered);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ReleaseCapture();
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT rc = clientRect();
        bool inside = PtInRect(&rc, p) != 0;
        setOuter(inside ? Raised : None);
        if (inside) click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    }
    return Control::wndProc(msg, wp, lp);
}
