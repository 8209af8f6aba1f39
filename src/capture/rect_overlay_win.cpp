#include "capture/rect_overlay_win.h"

#include <windowsx.h>

#include <memory>
#include <stdexcept>

#include "capture/size_dialog_win.h"
#include "capture/size_label_win.h"
#include "core/shortcut_text.h"
#include "image/win/dib_win.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "core/texts.h"

namespace hueloom::capture {

namespace {

constexpr WORD kCtrlZ = hueloom::kShortcutCtrl | 'Z';
const wchar_t* const kSizeItems[] = {L"pmnuFreeSize", L"pmnu16x16", L"pmnu24x24",
                                     L"pmnu32x32",    L"pmnu48x48", L"pmnuOptSize"};

}  // namespace

TfrmVirtualDesktop* TfrmVirtualDesktop::current_ = nullptr;

TfrmVirtualDesktop::TfrmVirtualDesktop() {
    if (!current_) current_ = this;
}

TfrmVirtualDesktop::~TfrmVirtualDesktop() {
    if (current_ == this) current_ = nullptr;
    destroy();
}

// ---------------------------------------------------------------- the overlay

bool TfrmVirtualDesktop::create() { return create(tk::virtualScreen()); }

bool TfrmVirtualDesktop::create(const hueloom::Rect& desktop) {
    registerClass(L"TfrmVirtualDesktop", 0, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    crSelectCross = LoadCursorW(tk::app().hinstance(), L"MYCROSS2");
    if (!crSelectCross) crSelectCross = LoadCursorW(nullptr, IDC_CROSS);

    desktop_ = desktop;
    DesktopWidth = desktop.width();
    DesktopHeight = desktop.height();
    if (!createWindow(L"TfrmVirtualDesktop", L"VirtualDesktop", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, desktop.left,
                      desktop.top, DesktopWidth, DesktopHeight, tk::app().handle()))
        return false;
    setFrozenScreen(hueloom::image::Dib());
    LabRectSize.create(hwnd_);

    tk::MenuItem& root = PopupMenu1.root();
    auto radio = [&](const wchar_t* name, const wchar_t* caption, std::function<void()> fn) {
        tk::MenuItem* it = root.add(name, caption, std::move(fn));
        it->radio = true;
    };
    radio(L"pmnuFreeSize", hueloom::wideText("overlay.1"), [this] { pmnuFreeSizeClick(); });
    radio(L"pmnu16x16", hueloom::wideText("overlay.2"), [this] { pmnu16x16Click(); });
    radio(L"pmnu24x24", hueloom::wideText("overlay.3"), [this] { pmnu24x24Click(); });
    radio(L"pmnu32x32", hueloom::wideText("overlay.4"), [this] { pmnu32x32Click(); });
    radio(L"pmnu48x48", hueloom::wideText("overlay.5"), [this] { pmnu48x48Click(); });
    radio(L"pmnuOptSize", hueloom::wideText("overlay.6"), [this] { pmnuOptSizeClick(); });
    root.separator();
    root.add(L"pmnuRectCut", hueloom::wideText("overlay.7"), [this] { pmnuRectCutClick(); });
    tk::MenuItem* undo = root.add(L"pmnuCtrl_Z", hueloom::wideText("overlay.8"), [this] { pmnuCtrl_ZClick(); });
    undo->visible = false;
    undo->shortcut = kCtrlZ;
    addMenu(&PopupMenu1);

    pmnuFreeSizeClick();
    return true;
}

void TfrmVirtualDesktop::setFrozenScreen(const hueloom::image::Dib& screen) {
    tk::WindowDC sdc(nullptr);
    frozen_.reset(CreateCompatibleBitmap(sdc, DesktopWidth, DesktopHeight));
    if (!frozen_) throw std::runtime_error(hueloom::text("overlay.9"));
    tk::MemoryDC mem(sdc);
    tk::Select sel(mem, frozen_);
    RECT all{0, 0, DesktopWidth, DesktopHeight};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    hueloom::image::drawDib(mem, screen, 0, 0);
    masked_.reset();
    maskedFor_.reset();
    invalidate();
}

void TfrmVirtualDesktop::setMaskColor(unsigned value) {
    maskColor_ = value;
    masked_.reset();
    maskedFor_.reset();
    invalidate();
}

HCURSOR TfrmVirtualDesktop::currentCursor() const {
    const wchar_t* id = IDC_ARROW;
    switch (sel_.pointer()) {
    case capture::Pointer::SelectCross: return crSelectCross;
    case capture::Pointer::Arrow: id = IDC_ARROW; break;
    case capture::Pointer::SizeNWSE: id = IDC_SIZENWSE; break;
    case capture::Pointer::SizeNS: id = IDC_SIZENS; break;
    case capture::Pointer::SizeNESW: id = IDC_SIZENESW; break;
    case capture::Pointer::SizeWE: id = IDC_SIZEWE; break;
    case capture::Pointer::SizeAll: id = IDC_SIZEALL; break;
    }
    return LoadCursorW(nullptr, id);
}

hueloom::Point TfrmVirtualDesktop::pointerPos() const {
    POINT p{0, 0};
    GetCursorPos(&p);
    if (hwnd_) ScreenToClient(hwnd_, &p);
    return hueloom::Point{p.x, p.y};
}

TfrmVirtualDesktop::Shown TfrmVirtualDesktop::shown() const {
    return Shown{sel_.focusVisible(), sel_.rect(), sel_.repaints(), sel_.labelVisible(), sel_.pointer()};
}

void TfrmVirtualDesktop::apply(const Shown& before) {
    const Shown now = shown();
    if (before.label && !now.label) ShowSizeLabel(false);
    if (now.repaints != before.repaints) {
        // The repaint draws the view and, when shown, the focus rectangle.
        invalidate();
        update();
    } else if (before.focus != now.focus || (now.focus && !(before.rect == now.rect))) {
        // The focus rectangle is XOR-drawn: drawing it again erases it.
        tk::WindowDC dc(hwnd_);
        if (before.focus) {
            RECT r = tk::toRECT(before.rect);
            DrawFocusRect(dc, &r);
        }
        if (now.focus) {
            RECT r = tk::toRECT(now.rect);
            DrawFocusRect(dc, &r);
        }
    }
    if (now.label && (!before.label || !(before.rect == now.rect) || now.repaints != before.repaints))
        ShowSizeLabel(true);
    if (now.pointer != before.pointer && hwnd_) {
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) == hwnd_ || IsChild(hwnd_, WindowFromPoint(p))) SetCursor(currentCursor());
    }
    if (sel_.closeRequested()) setModalResult(IDOK);
}

void TfrmVirtualDesktop::buildMaskedView() {
    if (masked_ && maskedFor_ && *maskedFor_ == sel_.rect()) return;
    tk::WindowDC sdc(nullptr);
    masked_.reset(CreateCompatibleBitmap(sdc, DesktopWidth, DesktopHeight));
    maskedFor_.reset();
    if (!masked_ || !frozen_) return;
    tk::MemoryDC mem(sdc), src(sdc);
    tk::Select selMask(mem, masked_);
    tk::Select selSrc(src, frozen_);
    RECT all{0, 0, DesktopWidth, DesktopHeight};
    tk::Brush mask(CreateSolidBrush(tk::resolveColour(maskColor_)));
    FillRect(mem, &all, mask);
    {
        // White inside the selection, its own border pixels black.
        tk::SavedDC saved(mem);
        SelectObject(mem, GetStockObject(BLACK_PEN));
        SelectObject(mem, GetStockObject(WHITE_BRUSH));
        const hueloom::Rect& r = sel_.rect();
        Rectangle(mem, r.left, r.top, r.right, r.bottom);
    }
    BitBlt(mem, 0, 0, DesktopWidth, DesktopHeight, src, 0, 0, SRCAND);
    maskedFor_ = sel_.rect();
}

void TfrmVirtualDesktop::FormPaint(HDC dc) {
    HBITMAP view = frozen_;
    if (sel_.view() == capture::View::Masked) {
        buildMaskedView();
        if (masked_ && maskedFor_) view = masked_;
    }
    if (view) {
        tk::MemoryDC mem(dc);
        tk::Select sel(mem, view);
        BitBlt(dc, 0, 0, DesktopWidth, DesktopHeight, mem, 0, 0, SRCCOPY);
    } else {
        RECT all{0, 0, DesktopWidth, DesktopHeight};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (sel_.focusVisible()) {
        RECT r = tk::toRECT(sel_.rect());
        DrawFocusRect(dc, &r);
    }
}

void TfrmVirtualDesktop::ShowSizeLabel(bool visible) {
    if (!visible) {
        LabRectSize.hide();
        return;
    }
    const hueloom::Rect& r = sel_.rect();
    // The text tells screen coordinates; the label sits in client coordinates.
    LabRectSize.setCaption(tk::widen(capture::sizeLabelText(hueloom::clientToScreen(r, desktop_)), CP_UTF8));
    const int w = LabRectSize.width(), h = LabRectSize.height();
    const hueloom::Point p = capture::placeSizeLabel(r, w, h, DesktopWidth, DesktopHeight);
    LabRectSize.setBounds(p.x, p.y, w, h);
    LabRectSize.show();
    LabRectSize.update();
}

// ---------------------------------------------------------------- events

void TfrmVirtualDesktop::FormMouseDown(MouseButton button, int x, int y) {
    const Shown before = shown();
    sel_.mouseDown(button, x, y);
    if (button == MouseButton::Left && (sel_.dragging() || sel_.state() == capture::selGrabbed)) SetCapture(hwnd_);
    apply(before);
}

void TfrmVirtualDesktop::FormMouseMove(int x, int y) {
    const Shown before = shown();
    sel_.mouseMove(x, y);
    apply(before);
}

void TfrmVirtualDesktop::FormMouseUp(int x, int y) {
    const Shown before = shown();
    sel_.mouseUp(x, y);
    if (GetCapture() == hwnd_) ReleaseCapture();
    apply(before);
}

void TfrmVirtualDesktop::FormKeyDown(WORD vk) {
    const Shown before = shown();
    sel_.keyDown(capture::keyOfVirtualKey(vk), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
    apply(before);
}

void TfrmVirtualDesktop::FormKeyUp(WORD vk) {
    const Shown before = shown();
    sel_.keyUp(capture::keyOfVirtualKey(vk));
    apply(before);
}

void TfrmVirtualDesktop::SetFixedSize(int width, int height) {
    const Shown before = shown();
    sel_.setFixedSize(width, height, pointerPos());
    apply(before);
}

// ---------------------------------------------------------------- menu

void TfrmVirtualDesktop::checkSizeItem(const std::wstring& name) {
    for (const wchar_t* n : kSizeItems)
        if (tk::MenuItem* it = PopupMenu1.find(n)) it->checked = name == n;
}

void TfrmVirtualDesktop::fixedItem(const std::wstring& name, int size) {
    checkSizeItem(name);
    SetFixedSize(size, size);
}

void TfrmVirtualDesktop::pmnuCtrl_ZClick() {
    const Shown before = shown();
    sel_.startOver();
    checkSizeItem(L"pmnuFreeSize");
    apply(before);
}

void TfrmVirtualDesktop::pmnuFreeSizeClick() {
    const Shown before = shown();
    checkSizeItem(L"pmnuFreeSize");
    sel_.freeSize(pointerPos());
    apply(before);
}

void TfrmVirtualDesktop::pmnuOptSizeClick() {
    checkSizeItem(L"pmnuOptSize");
    std::optional<SIZE> size;
    try {
        size = AskFixedSize(hwnd_, frameColor_);
    } catch (...) {
        pmnuCtrl_ZClick();
        throw;
    }
    if (size)
        SetFixedSize(size->cx, size->cy);
    else
        pmnuCtrl_ZClick();
}

void TfrmVirtualDesktop::pmnuRectCutClick() { setModalResult(IDOK); }

// ---------------------------------------------------------------- messages

bool TfrmVirtualDesktop::dialogKey(WORD, WORD) {
    // Arrows and Enter go to FormKeyDown; Escape and Tab do nothing.
    return false;
}

LRESULT TfrmVirtualDesktop::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PRINTCLIENT: FormPaint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETCURSOR:
        if (tk::applyCursor(lp, HTCLIENT, currentCursor())) return TRUE;
        break;
    case WM_LBUTTONDOWN: tk::app().guarded([&] { FormMouseDown(MouseButton::Left, x, y); }); return 0;
    case WM_RBUTTONDOWN: tk::app().guarded([&] { FormMouseDown(MouseButton::Right, x, y); }); return 0;
    case WM_MBUTTONDOWN: tk::app().guarded([&] { FormMouseDown(MouseButton::Middle, x, y); }); return 0;
    case WM_MOUSEMOVE: tk::app().guarded([&] { FormMouseMove(x, y); }); return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: tk::app().guarded([&] { FormMouseUp(x, y); }); return 0;
    case WM_RBUTTONUP:
        tk::app().guarded([&] { FormMouseUp(x, y); });
        break;  // the default handling sends WM_CONTEXTMENU
    case WM_CONTEXTMENU: {
        POINT p{x, y};
        if (lp == -1) GetCursorPos(&p);
        PopupMenu1.popup(hwnd_, p.x, p.y);
        return 0;
    }
    case WM_KEYDOWN: tk::app().guarded([&] { FormKeyDown(static_cast<WORD>(wp)); }); return 0;
    case WM_KEYUP: tk::app().guarded([&] { FormKeyUp(static_cast<WORD>(wp)); }); return 0;
    }
    return Form::wndProc(msg, wp, lp);
}

// ---------------------------------------------------------------- entry points

std::optional<hueloom::Rect> SelectRectangle(const hueloom::image::Dib& frozenScreen, const hueloom::Rect& desktop,
                                             const hueloom::settings::Settings& settings) {
    if (TfrmVirtualDesktop::current()) return std::nullopt;
    auto overlay = std::make_unique<TfrmVirtualDesktop>();
    if (!overlay->create(desktop)) throw std::runtime_error("cannot create the rectangle overlay");
    overlay->setMaskColor(settings.MaskColor);
    overlay->setFrameColor(settings.ActiveColor);
    overlay->setFrozenScreen(frozenScreen);
    overlay->showModal();
    return overlay->selScreenRect();
}

void ShowRectCaptureInstructions(hueloom::settings::Settings& settings, int x, int y) {
    if (settings.message(settings::Message::RectCaptureNote)) return;
    settings.message(settings::Message::RectCaptureNote) = hueloom::dialogs::ShowInfoBox(
        tk::widen(capture::rectCaptureInstructionsTitle(), CP_UTF8),
        tk::widen(capture::rectCaptureInstructions(settings.SleepTime), CP_UTF8), x, y, true, settings.ActiveColor);
}

}  // namespace hueloom::capture
