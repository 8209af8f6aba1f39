#include "capture/size_dialog_win.h"

#include <memory>
#include <stdexcept>

#include "capture/selection.h"
#include "toolkit/application_win.h"

namespace hueloom::capture {

namespace {

constexpr COLORREF kAqua = RGB(0, 255, 255);
constexpr int kFrameBrush = 3;

}  // namespace

bool TfrmFxRectSize::create(HWND owner, unsigned frameColor) {
    frameColor_ = frameColor;
    registerClass(L"TfrmFxRectSize", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
    if (!createWindow(L"TfrmFxRectSize", L"固定切抜きサイズ", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, x, y,
                      kClientWidth, kClientHeight, owner ? owner : tk::app().handle()))
        return false;

    titleFont_ = tk::makeFont(16, FW_BOLD, true);
    fieldFont_ = tk::makeFont(16, FW_NORMAL);
    buttonFont_ = tk::makeFont(15, FW_BOLD);

    lblTitle.create(hwnd_, 50, 24, 241, 20);
    lblTitle.setCaption(L"切抜きサイズを指定して下さい");
    lblTitle.setFont(titleFont_);
    lblTitle.setColours(RGB(255, 0, 0), kBackground);
    lblTitle.setTransparent(true);

    lblWidth.create(hwnd_, 70, 56, 60, 22);
    lblWidth.setCaption(L"幅：");
    lblHeight.create(hwnd_, 70, 86, 60, 22);
    lblHeight.setCaption(L"高さ：");
    for (tk::Label* l : {&lblWidth, &lblHeight}) {
        l->setFont(fieldFont_);
        l->setColours(RGB(0, 0, 0), kBackground);
        l->setTransparent(true);
        l->setAlignment(DT_RIGHT);
    }

    Edit1.create(hwnd_, 134, 56, 120, 24, 1);
    Edit2.create(hwnd_, 134, 86, 120, 24, 2);
    Edit1.setFont(fieldFont_);
    Edit2.setFont(fieldFont_);

    OKBtn.create(hwnd_, 82, 118, 82, 34);
    OKBtn.setCaption(L"&OK");
    OKBtn.setFontColor(RGB(255, 0, 0));
    CancelBtn.create(hwnd_, 177, 118, 82, 34);
    CancelBtn.setCaption(L"&Cancel");
    CancelBtn.setFontColor(RGB(0, 0, 255));
    for (tk::TCuteButton* b : {&OKBtn, &CancelBtn}) {
        b->setFont(buttonFont_);
        b->setBevelWidth(2);
        b->setShowFocusRect(true);
    }
    OKBtn.onClick = [this] { OKBtnClick(); };
    CancelBtn.onClick = [this] { setModalResult(IDCANCEL); };
    setFocusControl(Edit1.hwnd());
    return true;
}

void TfrmFxRectSize::FormShow() {
    setShape(tk::Region(CreateEllipticRgn(0, 0, kClientWidth, kClientHeight)));
    for (tk::TCuteButton* b : {&OKBtn, &CancelBtn}) {
        const int w = b->width(), h = b->height();
        SetWindowRgn(b->hwnd(), CreateEllipticRgn(5, 5, w - 5, h - 5), TRUE);
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
    frameShape(dc, tk::resolveColour(frameColor_), kFrameBrush);
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
