#include "toolkit/dialog_win.h"

#include <utility>

#include "core/dpi.h"

namespace tk {

namespace {

BOOL CALLBACK collectDescendant(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> descendants(HWND root) {
    std::vector<HWND> all;
    EnumChildWindows(root, collectDescendant, reinterpret_cast<LPARAM>(&all));
    return all;
}

}  // namespace

void Dialog::keepFont(Font& font, int pixels, int weight, bool underline) {
    font = makeFont(pixels, dpi(), weight, underline);
    for (KeptFont& k : fonts_)
        if (k.font == &font) {
            k = {&font, pixels, weight, underline};
            return;
        }
    fonts_.push_back({&font, pixels, weight, underline});
}

void Dialog::FormDpiChanged() {
    const int from = laidOutDpi_ ? laidOutDpi_ : dpi(), to = dpi();
    laidOutDpi_ = to;
    if (from == to) return;
    const std::vector<HWND> children = descendants(hwnd_);
    // Places relative to each child's parent, all read before any moves.
    std::vector<RECT> places;
    for (HWND c : children) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
        places.push_back(r);
    }
    auto s = [from, to](LONG v) { return hueloom::rescale(v, from, to); };
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT& r = places[i];
        SetWindowPos(children[i], nullptr, s(r.left), s(r.top), s(r.right) - s(r.left), s(r.bottom) - s(r.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (KeptFont& k : fonts_) {
        Font made = makeFont(k.pixels, to, k.weight, k.underline);
        for (HWND c : children) {
            if (Window* w = Window::fromHandle(c))
                w->replaceFont(*k.font, made);
            else if (reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)) == k.font->get())
                SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
        }
        *k.font = std::move(made);  // the old font goes once nothing uses it
    }
    if (shape_) buildShape();
}

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
    case WM_CREATE: laidOutDpi_ = dpi(); break;
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
