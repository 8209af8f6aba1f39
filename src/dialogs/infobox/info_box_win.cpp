#include "dialogs/infobox/info_box_win.h"

#include <algorithm>

#include <memory>
#include <stdexcept>
#include <string>

#include "settings/colour_key.h"
#include "core/dpi.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "core/texts.h"

namespace hueloom::dialogs {

namespace {

namespace st = hueloom::settings;

// Size of a label that sizes itself to its text, drawn in `font`.
dialogs::TextExtent measure(HFONT font, const std::wstring& text) {
    tk::WindowDC screen(nullptr);
    tk::SavedDC saved(screen);
    SelectObject(screen, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(screen, &tm);
    const std::string utf8 = tk::narrow(text, CP_UTF8);
    return dialogs::measureLines(utf8, tm.tmHeight, [&](std::string_view line) {
        const std::wstring w = tk::widen(std::string(line), CP_UTF8);
        SIZE sz{0, 0};
        if (!w.empty()) GetTextExtentPoint32W(screen, w.c_str(), static_cast<int>(w.size()), &sz);
        return static_cast<int>(sz.cx);
    });
}

void place(tk::Window& w, const dialogs::Bounds& b) { w.setBounds(b.left, b.top, b.width, b.height); }

}  // namespace

// ---------------------------------------------------------------- the box

bool TfrmMyDlg::create() {
    registerClass(L"TfrmMyDlg", CS_DBLCLKS, LoadCursorW(nullptr, IDC_HAND), nullptr);
    const int dpi0 = tk::windowDpi(nullptr);
    const int w = hueloom::scale(dialogs::kInfoMinWidth, dpi0), h = hueloom::scale(124, dpi0);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!createWindow(L"TfrmMyDlg", L"", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, x, y, w, h, tk::app().handle()))
        return false;
    auto s = [this](int v) { return scaled(v); };

    keepFont(windowFont_, 12, FW_NORMAL);
    keepFont(titleFont_, 15, FW_NORMAL);
    keepFont(contentFont_, 13, FW_NORMAL);
    keepFont(buttonFont_, 15, FW_BOLD);
    background_.reset(CreateSolidBrush(tk::resolveColour(hueloom::kClInfoBk)));

    lblTitle.create(hwnd_, s(dialogs::kInfoTitleLeft), s(dialogs::kInfoTitleTop), 1, 1);
    lblTitle.setTransparent(true);
    lblTitle.setColours(RGB(255, 0, 0), tk::resolveColour(hueloom::kClInfoBk));
    lblTitle.setFont(titleFont_);
    lblTitle.setAlignment(DT_LEFT);

    Label1.create(hwnd_, s(5), s(dialogs::kInfoContentTop - 8), 1, s(2));
    Label1.setColours(RGB(0, 0, 0), tk::resolveColour(hueloom::kClOlive));

    lblContent.create(hwnd_, s(dialogs::kInfoContentLeft), s(dialogs::kInfoContentTop), 1, 1);
    lblContent.setLayout(tk::Label::Layout::Paragraph);  // no '&' prefixes: file paths may hold one
    lblContent.setTransparent(true);
    lblContent.setColours(GetSysColor(COLOR_INFOTEXT), tk::resolveColour(hueloom::kClInfoBk));
    lblContent.setFont(contentFont_);

    Label2.create(hwnd_, s(5), 0, 1, s(2));
    Label2.setColours(RGB(0, 0, 0), tk::resolveColour(hueloom::kCl3DLight));

    CheckBox1.create(hwnd_, s(dialogs::kInfoCheckBoxLeft), 0, s(dialogs::kInfoCheckBoxWidth),
                     s(dialogs::kInfoCheckBoxHeight), hueloom::wideText("infobox.1"));
    CheckBox1.setFont(windowFont_);
    CheckBox1.setBackground(tk::resolveColour(hueloom::kClInfoBk));

    OKBtn.create(hwnd_, 0, 0, s(dialogs::kInfoButtonWidth), s(dialogs::kInfoButtonHeight));
    OKBtn.setCaption(L"OK");
    OKBtn.setBevelWidth(2);
    OKBtn.setBevelHighlightColor(hueloom::kClAqua);
    OKBtn.setBevelShadowColor(hueloom::kClNavy);
    OKBtn.setFont(buttonFont_);
    OKBtn.setFontColor(RGB(0, 0, 255));
    OKBtn.setShowFocusRect(false);
    OKBtn.setCursor(LoadCursorW(nullptr, IDC_HAND));
    OKBtn.onClick = [this] { OKBtnClick(); };
    setFocusControl(OKBtn.hwnd());
    setDragCursor(LoadCursorW(nullptr, IDC_HAND));  // the whole box is a drag handle

    targetX = targetY = 0;
    return true;
}

void TfrmMyDlg::prepare(const std::wstring& title, const std::wstring& text, int x, int y, bool showCheckBox) {
    setText(title);
    lblTitle.setCaption(title);
    lblContent.setCaption(text);
    CheckBox1.setChecked(false);
    CheckBox1.show(showCheckBox);
    targetX = x;
    targetY = y;
    arrange();

    // Centred on the screen until the box becomes active.
    const int w = layout_.clientWidth, h = layout_.clientHeight;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMyDlg::arrange() {
    layout_ = dialogs::layoutInfoBox(measure(titleFont_, lblTitle.caption()),
                                     measure(contentFont_, lblContent.caption()), dpi());
    place(lblTitle, layout_.title);
    place(lblContent, layout_.content);
    place(Label1, layout_.rule1);
    place(Label2, layout_.rule2);
    // The check box as wide as its caption needs (its mark and the text),
    // in a language whose caption is longer than the standard width.
    dialogs::Bounds box = layout_.checkBox;
    box.width = std::max(box.width, measure(windowFont_, hueloom::wideText("infobox.1")).width + scaled(20));
    place(CheckBox1, box);
    place(OKBtn, layout_.okButton);
    OKBtn.setColor(dialogs::kInfoButtonFace);
}

void TfrmMyDlg::FormDpiChanged() {
    Dialog::FormDpiChanged();
    // The labels take the size of their text in the new fonts.
    arrange();
    SetWindowPos(hwnd_, nullptr, 0, 0, layout_.clientWidth, layout_.clientHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    buildShape();
}

void TfrmMyDlg::setFrameColor(unsigned value) {
    if (value == frameColor_) return;
    frameColor_ = value;
    invalidate();
}

void TfrmMyDlg::FormShow() { buildShape(); }

void TfrmMyDlg::buildShape() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int e = scaled(dialogs::kInfoCornerEllipse);
    setShape(tk::Region(CreateRoundRectRgn(0, 0, r.right - r.left, r.bottom - r.top, e, e)));
}

void TfrmMyDlg::FormActivate() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const auto p = dialogs::placeInfoBox(targetX, targetY, r.right - r.left, r.bottom - r.top,
                                         GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (p && (p->x != r.left || p->y != r.top))
        SetWindowPos(hwnd_, nullptr, p->x, p->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMyDlg::FormPaint(HDC dc) {
    RECT rc = clientRect();
    FillRect(dc, &rc, background_);
    frameShape(dc, tk::resolveColour(frameColor_), scaled(dialogs::kInfoFrameBrush));
}

void TfrmMyDlg::OKBtnClick() { setModalResult(IDOK); }

bool TfrmMyDlg::dialogKey(WORD vk, WORD shortcut) {
    (void)shortcut;
    if (vk != VK_TAB) return false;
    // Tab moves between the check box (when shown) and the button.
    if (CheckBox1.visible() && GetFocus() == OKBtn.hwnd())
        SetFocus(CheckBox1.hwnd());
    else
        SetFocus(OKBtn.hwnd());
    return true;
}

// ---------------------------------------------------------------- ShowInfoBox

bool ShowInfoBox(const std::wstring& Title, const std::wstring& Text, int X, int Y, bool ShowCheckBox,
                 unsigned frameColor) {
    if (TfrmMyDlg::current()) return false;
    auto box = std::make_unique<TfrmMyDlg>();
    if (!box->create()) throw std::runtime_error("cannot create the information box");
    box->setFrameColor(frameColor);
    box->prepare(Title, Text, X, Y, ShowCheckBox);
    box->FormActivate();  // place it before it shows, so it does not jump
    box->showModal();
    const bool ticked = box->CheckBox1.checked();
    box->CheckBox1.setChecked(false);
    return ticked;
}

}  // namespace hueloom::dialogs
