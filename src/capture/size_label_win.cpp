#include "capture/size_label_win.h"

#include "toolkit/dpi_win.h"

namespace hueloom::capture {

bool SizeLabel::create(HWND parent) {
    font_ = tk::makeFont(13, dpi(), FW_NORMAL);
    if (!Control::create(L"TLabRectSize", parent, 0, 0, 1, 1)) return false;
    hide();
    return true;
}

void SizeLabel::setCaption(const std::wstring& text) {
    caption_ = text;
    if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
    // Sized to the text.
    tk::WindowDC screen(nullptr);
    tk::SavedDC saved(screen);
    SelectObject(screen, font_);
    RECT r{0, 0, 0, 0};
    DrawTextW(screen, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_CALCRECT | DT_LEFT | DT_NOPREFIX);
    RECT b = bounds();
    setBounds(b.left, b.top, r.right, r.bottom);
    invalidate();
}

LRESULT SizeLabel::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    // The mouse works on the window beneath through the label.
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return Control::wndProc(msg, wp, lp);
}

void SizeLabel::paint(HDC dc, const RECT& rc) {
    FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
    tk::SavedDC saved(dc);
    SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT r = rc;
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

}  // namespace hueloom::capture
