#include "toolkit/controls/scroll_box_win.h"

#include <algorithm>

#include "toolkit/application_win.h"

namespace tk {

bool ScrollBox::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TScrollBox", parent, x, y, w, h, WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
}

void ScrollBox::setColour(COLORREF c) {
    colour_ = c;
    brush_.reset(CreateSolidBrush(c));
    invalidate();
}

void ScrollBox::setScrollBars(bool on) {
    scrollBars_ = on;
    posX_ = posY_ = 0;
    arrange();
}

void ScrollBox::arrange() {
    if (!hwnd_) return;
    RECT rc = clientRect();
    if (!child_ || !child_->hwnd() || !scrollBars_) {
        arranged_.reset();
        ShowScrollBar(hwnd_, SB_BOTH, FALSE);
        if (child_ && child_->hwnd()) {
            RECT cb = child_->bounds();
            SetWindowPos(child_->hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            (void)cb;
        }
        return;
    }
    int cw = child_->width(), ch = child_->height();
    if (arranged_ && arranged_->childW == cw && arranged_->childH == ch && arranged_->x == posX_ &&
        arranged_->y == posY_ && EqualRect(&arranged_->client, &rc))
        return;
    // Two passes: showing one bar may make the other necessary.
    for (int pass = 0; pass < 2; ++pass) {
        rc = clientRect();
        SCROLLINFO si{sizeof(si)};
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = cw - 1;
        si.nPage = static_cast<UINT>(rc.right);
        posX_ = std::clamp(posX_, 0, std::max(0, cw - static_cast<int>(rc.right)));
        si.nPos = posX_;
        SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
        si.nMax = ch - 1;
        si.nPage = static_cast<UINT>(rc.bottom);
        posY_ = std::clamp(posY_, 0, std::max(0, ch - static_cast<int>(rc.bottom)));
        si.nPos = posY_;
        SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    }
    SetWindowPos(child_->hwnd(), nullptr, -posX_, -posY_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    arranged_ = Arranged{cw, ch, posX_, posY_, clientRect()};
}

void ScrollBox::scroll(int bar, int code) {
    SCROLLINFO si{sizeof(si)};
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 16; break;
    case SB_LINEDOWN: pos += 16; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    (bar == SB_HORZ ? posX_ : posY_) = pos;
    arrange();
}

LRESULT ScrollBox::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HSCROLL: scroll(SB_HORZ, LOWORD(wp)); return 0;
    case WM_VSCROLL: scroll(SB_VERT, LOWORD(wp)); return 0;
    case WM_MOUSEWHEEL:
        if (scrollBars_) scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    case WM_SIZE:
        arrange();
        if (onResize) {
            auto fn = onResize;
            app().guarded(fn);
        }
        break;
    }
    return Control::wndProc(msg, wp, lp);
}

void ScrollBox::paint(HDC dc, const RECT& rc) {
    if (!brush_) brush_.reset(CreateSolidBrush(colour_));
    FillRect(dc, &rc, brush_);
}

}  // namespace tk
