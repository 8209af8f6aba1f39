#include "picking/colour_sample_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "toolkit/application_win.h"

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

void TfrmColorSample::PictureButton::drawGlyph(HDC dc, int x, int y) {
    RECT all{x, y, x + 16, y + 16};
    tk::Brush black(CreateSolidBrush(RGB(0, 0, 0)));
    FillRect(dc, &all, black);
    // Three by three squares of 4 × 4 pixels, one pixel apart.
    static const COLORREF squares[3][3] = {
        {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255)},
        {RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(0, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)},
    };
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            RECT r{x + 1 + 5 * col, y + 1 + 5 * row, x + 5 + 5 * col, y + 5 + 5 * row};
            tk::Brush b(CreateSolidBrush(squares[row][col]));
            FillRect(dc, &r, b);
        }
    const COLORREF grey = RGB(128, 128, 128);
    SetPixelV(dc, x, y, grey);
    SetPixelV(dc, x + 15, y, grey);
    SetPixelV(dc, x, y + 15, grey);
    SetPixelV(dc, x + 15, y + 15, grey);
}

void TfrmColorSample::PictureButton::paint(HDC dc, const RECT& rc) {
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = rc;
    const bool in = pressed();
    DrawEdge(dc, &edge, in ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = in ? 1 : 0;
    drawGlyph(dc, (rc.right - 16) / 2 + shift, (rc.bottom - 16) / 2 + shift);
    if (GetFocus() == hwnd_) {
        RECT f = rc;
        InflateRect(&f, -3, -3);
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
    if (!createWindow(L"TfrmColorSample", caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, at.x, at.y,
                      kClientWidth, kClientHeight, tk::app().handle()))
        return false;

    windowFont_ = tk::makeFont(12, FW_NORMAL);
    titleFont_ = tk::makeFont(15, FW_BOLD, true);
    readoutFont_ = tk::makeFont(14, FW_BOLD);
    background_.reset(CreateSolidBrush(kNavy));

    lblTitle.create(hwnd_, 24, 8, 1, 1);
    lblTitle.setTransparent(true);
    lblTitle.setFont(titleFont_);
    lblTitle.setColours(kLime, kNavy);
    lblTitle.setAlignment(DT_LEFT);
    lblTitle.setCaption(caption);
    {
        const SIZE sz = textSize(titleFont_, caption);
        lblTitle.setBounds(24, 8, sz.cx, sz.cy);
    }

    Image1.create(hwnd_, kChartLeft, kChartTop, picking::kChartWidth, picking::kChartHeight);
    Image1.onMove = [this](int x, int y) { Image1MouseMove(x, y); };
    Image1.onPress = [this](int x, int y) { Image1MouseDown(x, y); };

    // The white backing sits beneath the chart and shows as its 2-pixel frame.
    Label2.create(hwnd_, 22, 30, 394, 94);
    Label2.setColours(kWhite, kWhite);
    SetWindowPos(Label2.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    Label1.create(hwnd_, 16, 128, 161, 33);
    Label1.setLayout(tk::Label::Layout::CentredLines);
    Label1.setFont(readoutFont_);
    Label1.setTransparent(true);

    RadioGroup1.create(hwnd_, 186, 128, 129, 33);
    RadioGroup1.setColumns(2);
    RadioGroup1.setFont(windowFont_);
    RadioGroup1.setTextColour(kWhite);
    RadioGroup1.setBackground(kNavy);
    RadioGroup1.setCaption(wide(picking::valueFormatCaption()));
    RadioGroup1.setItems({wide(picking::decimalItemCaption()), wide(picking::hexadecimalItemCaption())});
    RadioGroup1.onClick = [this] { RadioGroup1Click(); };

    BitBtn1.create(hwnd_, 320, 136, 25, 25);
    BitBtn1.onClick = [this] { BitBtn1Click(); };

    Button1.create(hwnd_, 352, 136, 65, 25);
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
    const std::vector<uint32_t> px = picking::drawChart();
    tk::DibSection chart(picking::kChartWidth, picking::kChartHeight, 32);
    if (!chart) throw std::runtime_error("cannot create the colour chart");
    for (int y = 0; y < picking::kChartHeight; ++y)
        std::memcpy(chart.row(y), px.data() + static_cast<size_t>(y) * picking::kChartWidth,
                    static_cast<size_t>(picking::kChartWidth) * 4);
    GdiFlush();
    Image1.setPicture(tk::Bitmap(chart.releaseHandle()), picking::kChartWidth, picking::kChartHeight);

    // 4. The value format of the main window.
    RadioGroup1.setItemIndex(host_.decimalChosen() ? 0 : 1);
    model_.setDecimal(decimal());

    // 5. At the main window's top-left corner.
    const POINT at = host_.topLeft();
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    setShape(tk::Region(CreateRoundRectRgn(0, 0, kClientWidth, kClientHeight, kCornerEllipse, kCornerEllipse)), false);
    applyReadout();
}

void TfrmColorSample::FormPaint(HDC dc) {
    RECT rc = clientRect();
    FillRect(dc, &rc, background_);
    frameShape(dc, tk::resolveColour(host_.activeColor()), kFrameBrush);
}

void TfrmColorSample::applyReadout() {
    const picking::Readout& r = model_.readout();
    Label1.setCaption(wide(r.text));
    Label1.setColours(toColorRef(hueloom::markerColour(r.colour)), toColorRef(r.colour));
    Label1.setTransparent(!r.opaque);
}

void TfrmColorSample::act(const picking::SampleAction& a) {
    switch (a.kind) {
    case picking::SampleAction::Copy: host_.copyPickedColour(wide(a.text), hueloom::toColourValue(a.colour)); break;
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
    const bool read = model_.hover(x, y, [&](int px, int py) { return toRgb(GetPixel(mem, px, py)); });
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
    if (picking::strictlyInside(p.x, p.y, kChartLeft, kChartTop, picking::kChartWidth, picking::kChartHeight)) return r;
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
