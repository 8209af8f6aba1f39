#include "toolkit/controls/image_control_win.h"

#include <windowsx.h>

#include "toolkit/application_win.h"

namespace tk {

bool ImageControl::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TImage", parent, x, y, w, h);
}

void ImageControl::setPicture(Bitmap bmp, int w, int h) {
    picture_ = std::move(bmp);
    painter_ = nullptr;
    size_ = {w, h};
    if (autoSize_ && hwnd_) {
        RECT r = bounds();
        setBounds(r.left, r.top, std::max(w, 1), std::max(h, 1));
    }
    invalidate();
}

void ImageControl::setPainter(Painter painter, int w, int h) {
    picture_.reset();
    painter_ = std::move(painter);
    size_ = {w, h};
    if (autoSize_ && hwnd_) {
        RECT r = bounds();
        setBounds(r.left, r.top, std::max(w, 1), std::max(h, 1));
    }
    invalidate();
}

void ImageControl::clear() {
    picture_.reset();
    painter_ = nullptr;
    size_ = {0, 0};
    invalidate();
}

LRESULT ImageControl::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (onMouseDown) {
            auto fn = onMouseDown;
            int button = msg == WM_LBUTTONDOWN ? MK_LBUTTON : msg == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON;
            int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
            app().guarded([&] { fn(button, x, y, wp); });
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (auto fn = msg == WM_MOUSEMOVE ? onMouseMove : onMouseUp) {
            const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
            app().guarded([&] { fn(x, y); });
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (applyCursor(lp, HTCLIENT, cursor_ ? cursor_ : LoadCursorW(nullptr, IDC_ARROW))) return TRUE;
        break;
    }
    return Control::wndProc(msg, wp, lp);
}

bool ImageControl::paintsOver(const RECT& clip) const {
    return hasPicture() && clip.left >= 0 && clip.top >= 0 && clip.right <= size_.cx && clip.bottom <= size_.cy;
}

void ImageControl::paint(HDC dc, const RECT& rc) {
    if (!paintsOver(rc)) {
        // The background only where the picture does not cover it.
        const int saved = SaveDC(dc);
        if (hasPicture()) ExcludeClipRect(dc, 0, 0, size_.cx, size_.cy);
        Brush b(CreateSolidBrush(back_));
        FillRect(dc, &rc, b);
        RestoreDC(dc, saved);
    }
    if (painter_) {
        RECT clip;
        if (GetClipBox(dc, &clip) == NULLREGION) return;
        const RECT picture{0, 0, size_.cx, size_.cy};
        RECT part;
        if (IntersectRect(&part, &clip, &picture)) painter_(dc, part);
        return;
    }
    if (!picture_) return;
    MemoryDC mem(dc);
    Select sel(mem, picture_);
    BitBlt(dc, 0, 0, size_.cx, size_.cy, mem, 0, 0, SRCCOPY);
}

}  // namespace tk
