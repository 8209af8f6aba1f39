#include "editing/progress_win.h"

#include <commctrl.h>

#include <algorithm>

#include "core/dpi.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"

namespace hueloom::editing {

namespace {
constexpr int kClientW = 319, kClientH = 129;
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kLime = RGB(0, 255, 0);
}  // namespace

bool TfrmProgress::create(HWND owner, const std::wstring& title) {
    registerClass(L"TfrmProgress", CS_DBLCLKS, LoadCursorW(nullptr, IDC_WAIT), nullptr);
    RECT o{};
    if (owner)
        GetWindowRect(owner, &o);
    else
        o = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // Drawn at the dpi of the window it stands over.
    const int ownerDpi = tk::windowDpi(owner);
    const int cw = hueloom::scale(kClientW, ownerDpi), ch = hueloom::scale(kClientH, ownerDpi);
    int x = o.left + ((o.right - o.left) - cw) / 2, y = o.top + ((o.bottom - o.top) - ch) / 2;
    if (!createWindow(L"TfrmProgress", title.c_str(), WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, x,
                      y, cw, ch, owner))
        return false;
    auto s = [this](int v) { return scaled(v); };
    keepFont(font_, 12, FW_NORMAL);
    keepFont(labelFont_, 16, FW_BOLD);

    // Title, centred by its own width.
    Label2.create(hwnd_, 0, s(27), cw, s(20));
    Label2.setFont(labelFont_);
    Label2.setColours(RGB(0, 0, 255), kSilver);
    Label2.setCaption(title);
    {
        tk::WindowDC dc(hwnd_);
        tk::Select sel(dc, labelFont_);
        SIZE sz{};
        GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &sz);
        Label2.setBounds((cw - sz.cx) / 2, s(27), sz.cx, s(20));
    }
    panel_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDFRAME, s(48), s(48), s(225), s(41),
                             hwnd_, nullptr, tk::app().hinstance(), nullptr);
    bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, s(48 + 16), s(48 + 8), s(193), s(25), hwnd_,
                           nullptr, tk::app().hinstance(), nullptr);
    SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
    Label1.create(hwnd_, s(144), s(93), s(60), s(20));
    Label1.setFont(labelFont_);
    Label1.setColours(RGB(255, 0, 0), kSilver);
    Label1.setAlignment(DT_LEFT);
    Label1.setCaption(L"0 %");

    buildShape();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    return true;
}

void TfrmProgress::buildShape() {
    // The window is the ellipse inscribed in its bounds.
    const RECT rc = clientRect();
    setShape(tk::Region(CreateEllipticRgn(0, 0, rc.right, rc.bottom)));
}

void TfrmProgress::setProgress(int percent) {
    // A filter reports every row. Each change of the label or the bar is a
    // round trip to the window system (under Wine to its server), so the
    // window shows the percentage at most every kPaintEveryMs, and at 100 %:
    // what the user waits for is the filter's work, not the window's.
    const int p = std::clamp(percent, 0, 100);
    if (p == percent_ && p != 100) return;
    percent_ = p;
    const ULONGLONG now = GetTickCount64();
    if (now - lastPaint_ < kPaintEveryMs && percent_ != 100) return;
    lastPaint_ = now;
    Label1.setCaption(std::to_wstring(percent_) + L" %");
    if (bar_) SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(percent_), 0);
    Label1.update();
    tk::app().processMessages();
}

void TfrmProgress::FormPaint(HDC dc) {
    RECT rc = clientRect();
    tk::Brush silver(CreateSolidBrush(kSilver));
    FillRect(dc, &rc, silver);
    frameShape(dc, kLime, scaled(2));
}

LRESULT TfrmProgress::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        // The etched frame around the bar is a plain static of the system's.
        if (reinterpret_cast<HWND>(lp) == panel_) {
            static tk::Brush silver(CreateSolidBrush(kSilver));
            SetBkColor(reinterpret_cast<HDC>(wp), kSilver);
            return reinterpret_cast<LRESULT>(silver.get());
        }
        break;
    case WM_CLOSE: return 0;  // closed by its command only
    }
    return Dialog::wndProc(msg, wp, lp);
}

}  // namespace hueloom::editing
