#include "capture/size_dialog_win.h"

#include <memory>
#include <stdexcept>

#include "capture/selection.h"
#include "core/dpi.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "core/texts.h"

namespace hueloom::capture {

namespace {

constexpr COLORREF kAqua = RGB(0, 255, 255);
constexpr int kFrameBrush = 3;

}  // namespace

bool TfrmFxRectSize::create(HWND owner, unsigned frameColor) {
    frameColor_ = frameColor;
    registerClass(L"TfrmFxRectSize", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const int dpi0 = tk::windowDpi(nullptr);
    const int cw = hueloom::scale(kClientWidth, dpi0), ch = hueloom::scale(kClientHeight, dpi0);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - cw) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - ch) / 2;
    if (!createWindow(L"TfrmFxRectSize", hueloom::wideText("sizedlg.1"), WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, x,
                      y, cw, ch, owner ? owner : tk::app().handle()))
        return false;
    auto s = [this](int v) { return scaled(v); };

    keepFont(titleFont_, 16, FW_BOLD, true);
    keepFont(fieldFont_, 16, FW_NORMAL);
    keepFont(buttonFont_, 15, FW_BOLD);

    lblTitle.create(hwnd_, s(50), s(24), s(241), s(20));
    lblTitle.setCaption(hueloom::wideText("sizedlg.2"));
    lblTitle.setFont(titleFont_);
    lblTitle.setColours(RGB(255, 0, 0), kBackground);
    lblTitle.setTransparent(true);

    lblWidth.create(hwnd_, s(70), s(56), s(60), s(22));
    lblWidth.setCaption(hueloom::wideText("sizedlg.3"));
    lblHeight.create(hwnd_, s(70), s(86), s(60), s(22));
    lblHeight.setCaption(hueloom::wideText("sizedlg.4"));
    for (tk::Label* l : {&lblWidth, &lblHeight}) {
        l->setFont(fieldFont_);
        l->setColours(RGB(0, 0, 0), kBackground);
        l->setTransparent(true);
        l->setAlignment(DT_RIGHT);
    }

    Edit1.create(hwnd_, s(134), s(56), s(120), s(24), 1);
    Edit2.create(hwnd_, s(134), s(86), s(120), s(24), 2);
    Edit1.setFont(fieldFont_);
    Edit2.setFont(fieldFont_);

    OKBtn.create(hwnd_, s(82), s(118), s(82), s(34));
    OKBtn.setCaption(L"&OK");
    OKBtn.setFontColor(RGB(255, 0, 0));
    CancelBtn.create(hwnd_, s(177), s(118), s(82), s(34));
    CancelBtn.setCaption(L"&Cancel");
    CancelBtn.setFontColor(RGB(0, 0, 255));
    for (tk::TCuteButton* b : {&OKBtn, &CancelBtn}) {
        b->setFont(buttonFont_);
        b->setBevelWidth(2);  // at 96 dpi; the button scales it
        b->setShowFocusRect(true);
    }
    OKBtn.onClick = [this] { OKBtnClick(); };
    CancelBtn.onClick = [this] { setModalResult(IDCANCEL); };
    setFocusControl(Edit1.hwnd());
    return true;
}

void TfrmFxRectSize::FormShow() { buildShape(); }

void TfrmFxRectSize::buildShape() {
    const RECT rc = clientRect();
    setShape(tk::Region(CreateEllipticRgn(0, 0, rc.right, rc.bottom)));
    const int inset = scaled(5);
    for (tk::TCuteButton* b : {&OKBtn, &CancelBtn}) {
        const int w = b->width(), h = b->height();
        SetWindowRgn(b->hwnd(), CreateEllipticRgn(inset, inset, w - inset, h - inset), TRUE);
    }
}

void TfrmFxRectSize::FormPaint(HDC dc) {
    RECT rc = clientRect();
    tk::Brush back(CreateSolidBrush(kBackground));
    FillRect(dc, &rc, back);
    {
        tk::SavedDC saved(dc);
        tk::Brush hatch(CreateHatchBrush(HS_DIAGCROSS, kAqua));
        SelectObject(dc, hatch);
        SelectObject(dc, GetStockObject(NULL_PEN));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, kBackground);
        // A null pen draws one pixel less on the right and bottom: widen by one.
        Ellipse(dc, 0, 0, rc.right + 1, rc.bottom + 1);
    }
    frameShape(dc, tk::resolveColour(frameColor_), scaled(kFrameBrush));
}

void TfrmFxRectSize::OKBtnClick() {
    width_ = capture::parseSizeField(tk::narrow(Edit1.text(), CP_UTF8));
    height_ = capture::parseSizeField(tk::narrow(Edit2.text(), CP_UTF8));
    setModalResult(width_ < 0 || height_ < 0 ? IDCANCEL : IDOK);
}

void TfrmFxRectSize::moveFocus(bool backwards) {
    HWND order[] = {Edit1.hwnd(), Edit2.hwnd(), OKBtn.hwnd(), CancelBtn.hwnd()};
    const int n = 4;
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (order[i] == GetFocus()) at = i;
    const int next = at < 0 ? 0 : (at + (backwards ? n - 1 : 1)) % n;
    SetFocus(order[next]);
    if (next < 2) SendMessageW(order[next], EM_SETSEL, 0, -1);
}

bool TfrmFxRectSize::FormKeyDown(WORD vk) {
    if (vk != VK_RETURN) return false;
    // Enter moves between the fields like Tab and never presses a button.
    PostMessageW(GetActiveWindow(), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
    return true;
}

bool TfrmFxRectSize::dialogKey(WORD vk, WORD shortcut) {
    (void)shortcut;
    switch (vk) {
    case VK_RETURN: return FormKeyDown(vk);
    case VK_TAB: moveFocus(GetKeyState(VK_SHIFT) < 0); return true;
    case VK_ESCAPE: setModalResult(IDCANCEL); return true;
    }
    return false;
}

LRESULT TfrmFxRectSize::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NEXTDLGCTL:
        if (LOWORD(lp))
            SetFocus(reinterpret_cast<HWND>(wp));
        else
            moveFocus(wp != 0);
        return 0;
    }
    return Dialog::wndProc(msg, wp, lp);
}

std::optional<SIZE> AskFixedSize(HWND owner, unsigned frameColor) {
    if (TfrmFxRectSize::current()) return std::nullopt;
    auto dlg = std::make_unique<TfrmFxRectSize>();
    if (!dlg->create(owner, frameColor)) throw std::runtime_error("cannot create the size dialog");
    dlg->Edit1.clear();
    dlg->Edit2.clear();
    if (dlg->showModal() != IDOK) return std::nullopt;
    return SIZE{dlg->fixedWidth(), dlg->fixedHeight()};
}

}  // namespace hueloom::capture
