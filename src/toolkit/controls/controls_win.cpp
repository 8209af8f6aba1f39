#include "toolkit/controls/controls_win.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/application_win.h"

namespace tk {

// ---------------------------------------------------------------- Control

bool Control::create(const wchar_t* cls, HWND parent, int x, int y, int w, int h, DWORD style, DWORD exStyle) {
    registerClass(cls, CS_DBLCLKS);
    return createWindow(cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, exStyle, x, y, w, h, parent);
}

LRESULT Control::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintDC pdc(hwnd_);
        RECT rc = clientRect();
        if (doubleBuffered_) {
            MemoryDC mem(pdc);
            Bitmap bmp(CreateCompatibleBitmap(pdc, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
            Select sel(mem, bmp);
            paint(mem, rc);
            BitBlt(pdc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
        } else {
            paint(pdc, rc);
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT rc = clientRect();
        paint(reinterpret_cast<HDC>(wp), rc);
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

// ---------------------------------------------------------------- Label

bool Label::create(HWND parent, int x, int y, int w, int h) { return Control::create(L"TLabel", parent, x, y, w, h); }

void Label::setCaption(const std::wstring& t) {
    if (t == caption_) return;
    caption_ = t;
    if (hwnd_) SetWindowTextW(hwnd_, t.c_str());
    invalidate();
}

void Label::setColours(COLORREF text, COLORREF back) {
    if (text == text_ && back == back_) return;
    text_ = text;
    back_ = back;
    invalidate();
}

void Label::setTransparent(bool t) {
    if (t == transparent_) return;
    transparent_ = t;
    invalidate();
}

LRESULT Label::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    // Clicks fall through to the form, so the label drags it as well.
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return Control::wndProc(msg, wp, lp);
}

void paintParentBehind(HWND child, HDC dc) {
    HWND parent = GetParent(child);
    POINT org{0, 0};
    MapWindowPoints(child, parent, &org, 1);
    SavedDC saved(dc);
    SetViewportOrgEx(dc, -org.x, -org.y, nullptr);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

void Label::paint(HDC dc, const RECT& rc) {
    if (transparent_) {
        paintParentBehind(hwnd_, dc);
    } else {
        Brush b(CreateSolidBrush(back_));
        FillRect(dc, &rc, b);
    }
    if (caption_.empty()) return;
    SavedDC saved(dc);
    if (font_) SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text_);
    RECT r = rc;
    const int n = static_cast<int>(caption_.size());
    switch (layout_) {
    case Layout::Line: DrawTextW(dc, caption_.c_str(), n, &r, align_ | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX); break;
    case Layout::Paragraph: DrawTextW(dc, caption_.c_str(), n, &r, DT_LEFT | DT_TOP | DT_NOPREFIX); break;
    case Layout::CentredLines: {
        RECT measure = rc;
        DrawTextW(dc, caption_.c_str(), n, &measure, DT_CENTER | DT_NOPREFIX | DT_CALCRECT);
        const int h = measure.bottom - measure.top;
        r.top = rc.top + (rc.bottom - rc.top - h) / 2;
        r.bottom = r.top + h;
        DrawTextW(dc, caption_.c_str(), n, &r, DT_CENTER | DT_NOPREFIX | DT_NOCLIP);
        break;
    }
    }
}

// ---------------------------------------------------------------- Image

bool ImageControl::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TImage", parent, x, y, w, h);
}

void ImageControl::setPicture(Bitmap bmp, int w, int h) {
    picture_ = std::move(bmp);
    size_ = {w, h};
    if (autoSize_ && hwnd_) {
        RECT r = bounds();
        setBounds(r.left, r.top, std::max(w, 1), std::max(h, 1));
    }
    invalidate();
}

void ImageControl::clear() {
    picture_.reset();
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
    case WM_SETCURSOR:
        if (applyCursor(lp, HTCLIENT, cursor_ ? cursor_ : LoadCursorW(nullptr, IDC_ARROW))) return TRUE;
        break;
    }
    return Control::wndProc(msg, wp, lp);
}

void ImageControl::paint(HDC dc, const RECT& rc) {
    Brush b(CreateSolidBrush(back_));
    FillRect(dc, &rc, b);
    if (!picture_) return;
    MemoryDC mem(dc);
    Select sel(mem, picture_);
    BitBlt(dc, 0, 0, size_.cx, size_.cy, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- ScrollBox

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
        ShowScrollBar(hwnd_, SB_BOTH, FALSE);
        if (child_ && child_->hwnd()) {
            RECT cb = child_->bounds();
            SetWindowPos(child_->hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            (void)cb;
        }
        return;
    }
    int cw = child_->width(), ch = child_->height();
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

// ---------------------------------------------------------------- ComboBox

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
