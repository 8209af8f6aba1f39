#include "toolkit/controls/label_win.h"

namespace tk {

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
    // Its font, as other windows tell theirs (the layout checks measure by it).
    if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(font_);
    return Control::wndProc(msg, wp, lp);
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

}  // namespace tk
