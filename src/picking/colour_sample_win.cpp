#include "picking/colour_sample_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "core/dpi.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"

namespace hueloom::picking {

namespace {

using hueloom::Rgb;

constexpr int kClientWidth = 439, kClientHeight = 182;
constexpr int kCornerEllipse = 50;
constexpr int kFrameBrush = 3;
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kChartLeft = 24, kChartTop = 32;

std::wstring wide(const std::string& utf8) { return tk::widen(utf8, CP_UTF8); }

COLORREF toColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }
Rgb toRgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

SIZE textSize(HFONT font, const std::wstring& text) {
    tk::WindowDC screen(nullptr);
    tk::SavedDC saved(screen);
    SelectObject(screen, font);
    SIZE sz{0, 0};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &sz);
    return sz;
}

}  // namespace

// ---------------------------------------------------------------- chart image

namespace {

// Calls a pointer handler with the position in `lp`, errors reported.
void notify(const std::function<void(int, int)>& handler, LPARAM lp) {
    if (!handler) return;
    auto fn = handler;  // the handler may replace itself
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    tk::app().guarded([&] { fn(x, y); });
}

}  // namespace

LRESULT TfrmColorSample::ChartImage::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE: notify(onMove, lp); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: notify(onPress, lp); return 0;
    case WM_SETCURSOR:
        if (tk::applyCursor(lp, HTCLIENT, LoadCursorW(nullptr, IDC_HAND))) return TRUE;
        break;
    }
    return ImageControl::wndProc(msg, wp, lp);
}

// ---------------------------------------------------------------- picture button

bool TfrmColorSample::PictureButton::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TSamplePictureButton", parent, x, y, w, h, WS_TABSTOP);
}

void TfrmColorSample::PictureButton::drawGlyph(HDC dc, int x, int y) const {
    // 16 × 16 at 96 dpi: three by three squares of 4 × 4 pixels, one pixel
    // apart; every length scaled to the button's dpi.
    const int g = scaled(16), pitch = scaled(5), side = scaled(4), gap = scaled(1);
    RECT all{x, y, x + g, y + g};
    tk::Brush black(CreateSolidBrush(RGB(0, 0, 0)));
    FillRect(dc, &all, black);
    static const COLORREF squares[3][3] = {
        {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255)},
        {RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(0, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)},
    };
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            RECT r{x + gap + pitch * col, y + gap + pitch * row, x + gap + pitch * col + side,
                   y + gap + pitch * row + side};
            tk::Brush b(CreateSolidBrush(squares[row][col]));
            FillRect(dc, &r, b);
        }
    const COLORREF grey = RGB(128, 128, 128);
    SetPixelV(dc, x, y, grey);
    SetPixelV(dc, x + g - 1, y, grey);
    SetPixelV(dc, x, y + g - 1, grey);
    SetPixelV(dc, x + g - 1, y + g - 1, grey);
}

void TfrmColorSample::PictureButton::paint(HDC dc, const RECT& rc) {
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = rc;
    const bool in = pressed();
    DrawEdge(dc, &edge, in ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = in ? scaled(1) : 0, g = scaled(16);
    drawGlyph(dc, (rc.right - g) / 2 + shift, (rc.bottom - g) / 2 + shift);
    if (GetFocus() == hwnd_) {
        RECT f = rc;
        InflateRect(&f, -scaled(3), -scaled(3));
        DrawFocusRect(dc, &f);
    }
}

void TfrmColorSample::PictureButton::fire() {
    if (!onClick) return;
    auto fn = onClick;
    tk::app().guarded(fn);
}

LRESULT TfrmColorSample::PictureButton::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        down_ = over_ = true;
        invalidate();
        return 0;
    case WM_MOUSEMOVE:
        if (down_) {
            const RECT rc = clientRect();
            const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            const bool over = PtInRect(&rc, p) != FALSE;
            if (over != over_) {
                over_ = over;
                invalidate();
            }
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!down_) return 0;
        const RECT rc = clientRect();
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const bool click = PtInRect(&rc, p) != FALSE;
        down_ = over_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        invalidate();
        if (click) fire();
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (down_ && reinterpret_cast<HWND>(lp) != hwnd_) {
            down_ = over_ = false;
            invalidate();
        }
        return 0;
    case WM_KEYUP:
        if (wp == VK_SPACE) fire();
        return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: invalidate(); break;
    }
    return Control::wndProc(msg, wp, lp);
}

// ---------------------------------------------------------------- the window

TfrmColorSample::TfrmColorSample(ColourSampleHost& host) : host_(host) {}

uint32_t TfrmColorSample::confirmedColor() const { return hueloom::toColourValue(model_.confirmedColour()); }

bool TfrmColorSample::create(SampleMode mode) {
    model_ = picking::ColourSampleModel(mode, host_.decimalChosen());
    registerClass(L"TfrmColorSample", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const POINT at = host_.topLeft();
    const std::wstring caption = wide(picking::sampleWindowCaption(mode));
    const int dpi0 = tk::windowDpi(nullptr);
    if (!createWindow(L"TfrmColorSample", caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, at.x, at.y,
                      hueloom::scale(kClientWidth, dpi0), hueloom::scale(kClientHeight, dpi0), tk::app().handle()))
        return false;
    auto s = [this](int v) { return scaled(v); };
    // The chart is made of whole cells at every dpi.
    cell_ = std::max(1, s(picking::kChartWidth) / picking::kChartColumns);
    const int chartW = picking::kChartColumns * cell_, chartH = picking::kChartRows * cell_;

    keepFont(windowFont_, 12, FW_NORMAL);
    keepFont(titleFont_, 15, FW_BOLD, true);
    keepFont(readoutFont_, 14, FW_BOLD);
    background_.reset(CreateSolidBrush(kNavy));

    lblTitle.create(hwnd_, s(24), s(8), s(1), s(1));
    lblTitle.setTransparent(true);
    lblTitle.setFont(titleFont_);
    lblTitle.setColours(kLime, kNavy);
    lblTitle.setAlignment(DT_LEFT);
    lblTitle.setCaption(caption);
    {
        const SIZE sz = textSize(titleFont_, caption);
        lblTitle.setBounds(s(24), s(8), sz.cx, sz.cy);
    }

    Image1.create(hwnd_, s(kChartLeft), s(kChartTop), chartW, chartH);
    Image1.onMove = [this](int x, int y) { Image1MouseMove(x, y); };
    Image1.onPress = [this](int x, int y) { Image1MouseDown(x, y); };

    // The white backing sits beneath the chart and shows as its 2-pixel frame.
    Label2.create(hwnd_, s(kChartLeft) - s(2), s(kChartTop) - s(2), chartW + 2 * s(2), chartH + 2 * s(2));
    Label2.setColours(kWhite, kWhite);
    SetWindowPos(Label2.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    Label1.create(hwnd_, s(16), s(128), s(161), s(33));
    Label1.setLayout(tk::Label::Layout::CentredLines);
    Label1.setFont(readoutFont_);
    Label1.setTransparent(true);

    RadioGroup1.create(hwnd_, s(186), s(128), s(129), s(33));
    RadioGroup1.setColumns(2);
    RadioGroup1.setFont(windowFont_);
    RadioGroup1.setTextColour(kWhite);
    RadioGroup1.setBackground(kNavy);
    RadioGroup1.setCaption(wide(picking::valueFormatCaption()));
    RadioGroup1.setItems({wide(picking::decimalItemCaption()), wide(picking::hexadecimalItemCaption())});
    RadioGroup1.onClick = [this] { RadioGroup1Click(); };

    BitBtn1.create(hwnd_, s(320), s(136), s(25), s(25));
    BitBtn1.onClick = [this] { BitBtn1Click(); };

    Button1.create(hwnd_, s(352), s(136), s(65), s(25));
    Button1.setCaption(wide(picking::closeButtonCaption()));
    Button1.setFont(windowFont_);
    Button1.setColor(GetSysColor(COLOR_BTNFACE));
    Button1.setFontColor(RGB(0, 0, 0));
    Button1.onClick = [this] { Button1Click(); };

    addHint(Image1.hwnd(), wide(picking::sampleChartHint(mode)));
    addHint(BitBtn1.hwnd(), wide(picking::fullDialogHint()));

    if (!colourDialog) colourDialog = runColourDialog;
    FormCreate();
    return true;
}

void TfrmColorSample::FormCreate() {
    // 1–3. The chart with its grid.
    buildChart();

    // 4. The value format of the main window.
    RadioGroup1.setItemIndex(host_.decimalChosen() ? 0 : 1);
    model_.setDecimal(decimal());

    // 5. At the main window's top-left corner.
    const POINT at = host_.topLeft();
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    buildShape();
    applyReadout();
}

void TfrmColorSample::buildChart() {
    const std::vector<uint32_t> px = picking::drawChart(cell_);
    const int chartW = picking::kChartColumns * cell_, chartH = picking::kChartRows * cell_;
    tk::DibSection chart(chartW, chartH, 32);
    if (!chart) throw std::runtime_error("cannot create the colour chart");
    for (int y = 0; y < chartH; ++y)
        std::memcpy(chart.row(y), px.data() + static_cast<size_t>(y) * chartW, static_cast<size_t>(chartW) * 4);
    GdiFlush();
    Image1.setPicture(tk::Bitmap(chart.releaseHandle()), chartW, chartH);
}

void TfrmColorSample::buildShape() {
    const RECT rc = clientRect();
    const int e = scaled(kCornerEllipse);
    setShape(tk::Region(CreateRoundRectRgn(0, 0, rc.right, rc.bottom, e, e)), false);
}

void TfrmColorSample::FormDpiChanged() {
    Dialog::FormDpiChanged();
    // The chart is whole cells again, its white backing two pixels around it,
    // the title as large as its text.
    auto s = [this](int v) { return scaled(v); };
    cell_ = std::max(1, s(picking::kChartWidth) / picking::kChartColumns);
    const int chartW = picking::kChartColumns * cell_, chartH = picking::kChartRows * cell_;
    Image1.setBounds(s(kChartLeft), s(kChartTop), chartW, chartH);
    Label2.setBounds(s(kChartLeft) - s(2), s(kChartTop) - s(2), chartW + 2 * s(2), chartH + 2 * s(2));
    buildChart();
    const SIZE sz = textSize(titleFont_, lblTitle.caption());
    lblTitle.setBounds(s(24), s(8), sz.cx, sz.cy);
}

void TfrmColorSample::FormPaint(HDC dc) {
    RECT rc = clientRect();
    FillRect(dc, &rc, background_);
    frameShape(dc, tk::resolveColour(host_.activeColor()), scaled(kFrameBrush));
}

void TfrmColorSample::applyReadout() {
    const picking::Readout& r = model_.readout();
    Label1.setCaption(wide(r.text));
    Label1.setColours(toColorRef(hueloom::markerColour(r.colour)), toColorRef(r.colour));
    Label1.setTransparent(!r.opaque);
}

void TfrmColorSample::act(const picking::SampleAction& a) {
    switch (a.kind) {
    case picking::SampleAction::Copy: host_.copyPickedColour(wide(a.text), a.colour); break;
    case picking::SampleAction::Confirm: applyReadout(); break;
    case picking::SampleAction::None: break;
    }
}

void TfrmColorSample::Image1MouseMove(int x, int y) {
    HBITMAP picture = Image1.picture();
    if (!picture) return;
    model_.setDecimal(decimal());
    tk::MemoryDC mem(nullptr);
    tk::Select sel(mem, picture);
    const bool read = model_.hover(
        x, y, [&](int px, int py) { return toRgb(GetPixel(mem, px, py)); }, cell_);
    if (!read) return;
    applyReadout();
    const std::wstring text = wide(model_.readout().text);
    host_.showReadout(text);
    tk::app().setTitle(text);
}

void TfrmColorSample::Image1MouseDown(int x, int y) {
    (void)x;
    (void)y;
    if (Label1.caption().empty()) return;
    act(model_.click());
}

void TfrmColorSample::BitBtn1Click() {
    if (!colourDialog) return;
    const std::optional<COLORREF> c = colourDialog(hwnd_);
    if (!c) return;
    model_.setDecimal(decimal());
    act(model_.dialogColour(toRgb(*c)));
}

void TfrmColorSample::Button1Click() {
    Image1.clear();
    setModalResult(IDOK);
}

void TfrmColorSample::RadioGroup1Click() { model_.setDecimal(decimal()); }

LRESULT TfrmColorSample::WMNCHitTest(int x, int y) {
    const LRESULT r = Form::hitTest(x, y);  // not the dialog's: the chart keeps its clicks
    if (r != HTCLIENT) return r;
    POINT p{x, y};
    ScreenToClient(hwnd_, &p);
    if (picking::strictlyInside(p.x, p.y, scaled(kChartLeft), scaled(kChartTop), picking::kChartColumns * cell_,
                                picking::kChartRows * cell_))
        return r;
    // Off the chart: the background drags the window and the read-out resets.
    tk::app().guarded([&] {
        model_.leave();
        applyReadout();
        if (model_.mode() == SampleMode::Copy) host_.clearReadout();
    });
    return HTCAPTION;
}

std::optional<COLORREF> TfrmColorSample::runColourDialog(HWND owner) {
    static COLORREF custom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    };
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorW(&cc)) return std::nullopt;
    return cc.rgbResult & 0xFFFFFF;
}

void TfrmColorSample::addHint(HWND control, const std::wstring& text) {
    if (!tooltip_) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   tk::app().hinstance(), nullptr);
        if (!tooltip_) return;
    }
    std::wstring copy = text;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.hinst = tk::app().hinstance();
    ti.lpszText = copy.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring TfrmColorSample::hintOf(HWND control) const {
    if (!tooltip_) return {};
    wchar_t buf[256] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = buf;
    if (!SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return {};
    ti.lpszText = buf;
    SendMessageW(tooltip_, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return buf;
}

bool TfrmColorSample::dialogKey(WORD vk, WORD shortcut) {
    (void)shortcut;
    if (vk == VK_RETURN) {
        // 閉じる is the default button, unless the picture button has the focus.
        if (GetFocus() == BitBtn1.hwnd())
            BitBtn1Click();
        else
            Button1Click();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- entry points

void ShowColorSample(ColourSampleHost& host) {
    auto form = std::make_unique<TfrmColorSample>(host);
    if (!form->create(hueloom::picking::SampleMode::Copy))
        throw std::runtime_error("cannot create the colour sample window");
    form->showModal();
}

SampleColorChoice ChooseSampleColor(ColourSampleHost& host) {
    auto form = std::make_unique<TfrmColorSample>(host);
    if (!form->create(hueloom::picking::SampleMode::Select))
        throw std::runtime_error("cannot create the colour sample window");
    form->showModal();
    SampleColorChoice r;
    if (form->confirmed()) {
        r.confirmed = true;
        r.colour = form->confirmedColor();
    }
    return r;
}

}  // namespace hueloom::picking
