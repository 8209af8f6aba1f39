#include "toolkit/controls/cute_button_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "toolkit/application_win.h"
#include "toolkit/controls/common_controls_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

namespace {

using tk::Bevel;
using tk::CaptionAlignment;
using tk::CaptionLayout;

constexpr UINT_PTR kDropDownTimerId = 0xC07E;
constexpr UINT kShiftJis = 932;  // accelerator letters are looked up in Shift-JIS text

void fill(HDC dc, const RECT& r, HBRUSH b) {
    if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, b);
}

// A 3-D frame `width` pixels thick inside r: top and left edges in topLeft,
// bottom and right edges in bottomRight (which own the two far corners).
void frame3D(HDC dc, RECT r, int width, COLORREF topLeft, COLORREF bottomRight) {
    tk::Brush tl(CreateSolidBrush(topLeft)), br(CreateSolidBrush(bottomRight));
    for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
        fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, tl);
        fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, tl);
        fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, br);
        fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
        InflateRect(&r, -1, -1);
    }
}

UINT textFlags(CaptionAlignment a, CaptionLayout l) {
    UINT f = DT_SINGLELINE | DT_EXPANDTABS;
    f |= a == CaptionAlignment::Left ? DT_LEFT : a == CaptionAlignment::Right ? DT_RIGHT : DT_CENTER;
    f |= l == CaptionLayout::Top ? DT_TOP : l == CaptionLayout::Bottom ? DT_BOTTOM : DT_VCENTER;
    return f;
}

}  // namespace

TCuteButton::TCuteButton() : model_(*this) { doubleBuffered_ = true; }

TCuteButton::~TCuteButton() { destroy(); }

bool TCuteButton::create(HWND parent, int x, int y, int w, int h) {
    if (!Control::create(L"TCuteButton", parent, x, y, w, h, WS_TABSTOP)) return false;
    SetWindowTextW(hwnd_, caption_.c_str());
    updateTooltip();
    return true;
}

// ---------------------------------------------------------------- properties

void TCuteButton::changed(bool repaintNow) {
    if (repaintNow) invalidate();
}

void TCuteButton::setCaption(const std::wstring& c) {
    if (c == caption_) return;
    caption_ = c;
    if (hwnd_) SetWindowTextW(hwnd_, c.c_str());
    changed();
}

void TCuteButton::setColor(COLORREF c) {
    if (c == look_.color) return;
    look_.color = c;
    changed();
}

COLORREF TCuteButton::color() const { return tk::resolveColour(look_.color); }

void TCuteButton::setFontColor(COLORREF c) {
    if (c == fontColour_) return;
    fontColour_ = c;
    changed();
}

void TCuteButton::setFont(HFONT f) {
    if (f == font_) return;
    font_ = f;
    changed();
}

void TCuteButton::setHint(const std::wstring& h) {
    if (h == hint_) return;
    hint_ = h;
    updateTooltip();
}

void TCuteButton::setBevelHighlightColor(unsigned c) {
    if (c == look_.bevelHighlightColor) return;
    look_.bevelHighlightColor = c;
    changed();
}

void TCuteButton::setBevelShadowColor(unsigned c) {
    if (c == look_.bevelShadowColor) return;
    look_.bevelShadowColor = c;
    changed();
}

void TCuteButton::setDisabledColor(unsigned c) {
    if (c == look_.disabledColor) return;
    look_.disabledColor = c;
    changed(!enabled());
}

void TCuteButton::setUseDisabledColor(bool on) {
    if (on == look_.useDisabledColor) return;
    look_.useDisabledColor = on;
    changed(!enabled());
}

void TCuteButton::setFlat(bool on) {
    if (on == look_.flat) return;
    look_.flat = on;  // the inner bevel: none when flat, raised otherwise
    changed();
}

void TCuteButton::setShowFocusRect(bool on) {
    if (on == look_.showFocusRect) return;
    look_.showFocusRect = on;
    changed();
}

void TCuteButton::setLayout(Layout l) {
    if (l == look_.layout) return;
    look_.layout = l;
    changed();
}

void TCuteButton::setAlignment(Alignment a) {
    if (a == look_.alignment) return;
    look_.alignment = a;
    changed();
}

void TCuteButton::setMarginX(int m) {
    m = tk::normaliseMargin(m);
    if (m == look_.marginX) return;
    look_.marginX = m;
    changed();
}

void TCuteButton::setMarginY(int m) {
    m = tk::normaliseMargin(m);
    if (m == look_.marginY) return;
    look_.marginY = m;
    changed();
}

void TCuteButton::setBevelWidth(int w) {
    if (w < 1) w = 1;
    if (w == look_.bevelWidth) return;
    look_.bevelWidth = w;
    changed();
}

void TCuteButton::setTabFocusUp(bool on) { model_.behaviour().tabFocusUp = on; }
bool TCuteButton::tabFocusUp() const { return const_cast<TCuteButton*>(this)->model_.behaviour().tabFocusUp; }

void TCuteButton::setDropDownMenu(tk::Menu* m) {
    dropDownMenu_ = m;
    model_.behaviour().hasDropDownMenu = m != nullptr;
}

void TCuteButton::setDropDownDelay(int ms) { model_.behaviour().dropDownDelay = ms; }
int TCuteButton::dropDownDelay() const { return const_cast<TCuteButton*>(this)->model_.behaviour().dropDownDelay; }

void TCuteButton::setEgnoreContClick(bool on) { model_.behaviour().egnoreContClick = on; }
bool TCuteButton::egnoreContClick() const { return const_cast<TCuteButton*>(this)->model_.behaviour().egnoreContClick; }

void TCuteButton::setEnabled(bool on) {
    if (hwnd_) EnableWindow(hwnd_, on ? TRUE : FALSE);
}

bool TCuteButton::enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void TCuteButton::click() { model_.click(); }

void TCuteButton::updateTooltip() {
    if (!hwnd_) return;
    if (hint_.empty()) {
        if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        return;
    }
    setToolTip(tooltip_, GetParent(hwnd_), hwnd_, GetAncestor(hwnd_, GA_ROOT), hint_);
}

// ---------------------------------------------------------------- painting

void TCuteButton::paint(HDC dc, const RECT& client) {
    const bool isOn = IsWindowEnabled(hwnd_) != FALSE;
    tk::CuteButtonLook look = look_;
    look.dpi = dpi();
    const auto plan = tk::planCuteButtonPaint(look, model_.outerBevel(), client.right - client.left,
                                              client.bottom - client.top, isOn, GetFocus() == hwnd_);
    {
        tk::Brush face(CreateSolidBrush(tk::resolveColour(plan.faceColor)));
        FillRect(dc, &client, face);
    }
    for (const auto& f : plan.frames)
        frame3D(dc, tk::toRECT(f.rect), f.width, tk::resolveColour(f.topLeftColor),
                tk::resolveColour(f.bottomRightColor));

    tk::SavedDC saved(dc);
    if (font_) SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = textFlags(plan.alignment, plan.layout);
    for (const auto& pass : plan.captionPasses) {
        RECT r = tk::toRECT(plan.captionRect);
        OffsetRect(&r, pass.dx, pass.dy);
        SetTextColor(dc, pass.color ? tk::resolveColour(*pass.color) : fontColour_);
        DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, flags);
    }
    if (plan.focusRect) {
        RECT r = tk::toRECT(*plan.focusRect);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &r);
    }
}

// ---------------------------------------------------------------- host

void TCuteButton::repaint() {
    // Synchronously, so a press look shows even while a click handler runs.
    invalidate();
    update();
}

bool TCuteButton::isEnabled() { return enabled(); }
bool TCuteButton::isFocused() { return hwnd_ && GetFocus() == hwnd_; }

void TCuteButton::takeFocus() {
    if (hwnd_ && GetFocus() != hwnd_) SetFocus(hwnd_);
}

void TCuteButton::captureMouse() {
    if (hwnd_) SetCapture(hwnd_);
}

bool TCuteButton::holdsMouseCapture() { return hwnd_ && GetCapture() == hwnd_; }

void TCuteButton::releaseMouseCapture() {
    if (!holdsMouseCapture()) return;
    releasing_ = true;
    ReleaseCapture();
    releasing_ = false;
}

void TCuteButton::startDropDownTimer(int ms) {
    if (hwnd_) SetTimer(hwnd_, kDropDownTimerId, static_cast<UINT>(ms), nullptr);
}

void TCuteButton::stopDropDownTimer() {
    if (hwnd_) KillTimer(hwnd_, kDropDownTimerId);
}

void TCuteButton::runClickHandler() {
    if (!onClick) return;
    auto fn = onClick;
    tk::app().guarded(fn);
}

void TCuteButton::processPendingMessages() { tk::app().processMessages(); }

void TCuteButton::popUpDropDownMenu() {
    if (!dropDownMenu_ || !hwnd_) return;
    RECT r;
    GetWindowRect(hwnd_, &r);
    struct InMenu {
        TCuteButton& b;
        explicit InMenu(TCuteButton& b) : b(b) { b.inMenu_ = true; }
        ~InMenu() {
            b.inMenu_ = false;
            b.mousePressed_ = false;  // the menu took the release
        }
    } guard(*this);
    dropDownMenu_->popup(hwnd_, r.left, r.bottom);
}

unsigned TCuteButton::shiftState() {
    unsigned s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
    if (GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
    return s;
}

void TCuteButton::fireMouse(const MouseEvent& ev) {
    if (!ev || !hwnd_) return;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    auto fn = ev;
    unsigned shift = shiftState();
    tk::app().guarded([&] { fn(*this, shift, p.x, p.y); });
}

void TCuteButton::fireMouseEnter() { fireMouse(onMouseEnter); }
void TCuteButton::fireMouseLeave() { fireMouse(onMouseLeave); }

// ---------------------------------------------------------------- accelerators

bool TCuteButton::acceleratorChar(wchar_t ch) {
    if (!hwnd_ || ch >= 0x80 || ch <= L' ') return false;
    const std::string ansi = tk::narrow(caption_, kShiftJis);
    HWND parent = GetParent(hwnd_);
    const bool parentVisible = parent ? IsWindowVisible(parent) != FALSE : true;
    return model_.accelerator(static_cast<char>(ch), ansi, parentVisible);
}

bool TCuteButton::dispatchAccelerator(HWND root, wchar_t ch) { return tk::dispatchAccelerator(root, ch); }

// ---------------------------------------------------------------- messages

void TCuteButton::pointerMoved(POINT p, WPARAM keys) {
    RECT rc = clientRect();
    const bool inside = PtInRect(&rc, p) != FALSE;
    if (inside && !tracking_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
    }
    if (inside && !hot_) {
        hot_ = true;
        model_.mouseEnter((keys & MK_LBUTTON) != 0, false);
    } else if (!inside && hot_) {
        // Only seen while we hold the capture: dragged off the button.
        hot_ = false;
        model_.mouseLeave();
    }
}

LRESULT TCuteButton::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE: pointerMoved(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp); return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        // While the mouse is captured, moves tell inside from outside.
        if (hot_ && GetCapture() != hwnd_) {
            hot_ = false;
            model_.mouseLeave();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        mousePressed_ = true;
        model_.mouseDown(MouseButton::Left);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: model_.mouseDown(MouseButton::Right); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: model_.mouseDown(MouseButton::Middle); break;
    case WM_LBUTTONUP: {
        RECT rc = clientRect();
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        mousePressed_ = false;
        model_.mouseUp(MouseButton::Left, PtInRect(&rc, p) != FALSE);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Another window took the mouse in mid-press: the press is over
        // without a click, so a later release here clicks nothing.
        if (mousePressed_ && !releasing_ && !inMenu_ && reinterpret_cast<HWND>(lp) != hwnd_) {
            mousePressed_ = false;
            model_.mouseUp(MouseButton::Left, false);
        }
        break;
    case WM_KEYDOWN: model_.keyDown(static_cast<uint8_t>(wp)); return 0;
    case WM_KEYUP: model_.keyUp(static_cast<uint8_t>(wp)); return 0;
    case WM_SYSCHAR:
        if (dispatchAccelerator(GetAncestor(hwnd_, GA_ROOT), static_cast<wchar_t>(wp))) return 0;
        break;
    case WM_CHAR:
        // A letter typed on a button is taken as a mnemonic, as in dialogs.
        dispatchAccelerator(GetAncestor(hwnd_, GA_ROOT), static_cast<wchar_t>(wp));
        return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        model_.focusEnter();
        invalidate();  // the focus rectangle
        break;
    case WM_KILLFOCUS:
        model_.focusExit();
        invalidate();
        break;
    case WM_ENABLE: invalidate(); break;
    case WM_TIMER:
        if (wp == kDropDownTimerId) {
            model_.dropDownTimerFired();
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        if (dropDownMenu_ && dropDownMenu_->initPopup(reinterpret_cast<HMENU>(wp))) return 0;
        break;
    case WM_SETCURSOR:
        if (tk::applyCursor(lp, HTCLIENT, cursor_)) return TRUE;
        break;
    case BM_CLICK: click(); return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kDropDownTimerId);
        if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        hot_ = tracking_ = mousePressed_ = false;
        break;
    }
    return Control::wndProc(msg, wp, lp);
}

}  // namespace tk
