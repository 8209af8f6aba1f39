#include "dialogs/about/about_win.h"

#include "image/codecs/libraries.h"

#include <stdexcept>

#include "image/codecs/png_decoder.h"
#include "image/win/dib_win.h"
#include "core/dpi.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "core/texts.h"

namespace hueloom::dialogs {

namespace {

const wchar_t kClassName[] = L"TfrmVersion";
constexpr UINT kBtnFaceSysColour = COLOR_BTNFACE;

COLORREF rgbToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// A label at (left, top), as large as its caption in its font.
void placeLabel(TfrmVersion::Label& l, int left, int top, const wchar_t* caption, COLORREF colour, HFONT font) {
    l.left = left;
    l.top = top;
    l.caption = caption;
    l.colour = colour;
    l.font = font;
    tk::WindowDC screen(nullptr);
    tk::SavedDC saved(screen);
    SelectObject(screen, l.font);
    SIZE sz{0, 0};
    GetTextExtentPoint32W(screen, l.caption.c_str(), static_cast<int>(l.caption.size()), &sz);
    l.width = sz.cx;
    l.height = sz.cy;
}

}  // namespace

int TfrmVersion::orbitCounter_ = 0;

TfrmVersion::TfrmVersion() {
    // The picture, as the form definition carries it.
    DataBind1.Data().LoadFromBytes(dialogs::aboutPicturePng());
}

TfrmVersion::~TfrmVersion() {
    // The temporary picture never outlives the window.
    if (!closed_ && !picturePath_.empty()) DeleteFileW(picturePath_.c_str());
    Timer1.reset();
    TimerClose.reset();
    destroy();
}

bool TfrmVersion::create(const std::wstring& picturePath) {
    registerClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const int dpi0 = tk::windowDpi(nullptr);
    const int w = hueloom::scale(dialogs::kAboutWidth, dpi0), h = hueloom::scale(dialogs::kAboutHeight, dpi0);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!createWindow(kClassName, hueloom::wideText("about.win.1"), WS_POPUP | WS_CLIPCHILDREN, 0, x, y, w, h,
                      tk::app().handle()))
        return false;
    picturePath_ = picturePath.empty() ? dialogs::aboutPicturePath(tk::modulePath()) : picturePath;

    keepFont(windowFont_, 12, FW_NORMAL);
    keepFont(label1Font_, 15, FW_BOLD, true);
    keepFont(label2Font_, 12, FW_NORMAL);
    keepFont(buttonFont_, 13, FW_BOLD);
    placeDrawn();
    Shape1.visible = false;

    const hueloom::Rect b = hueloom::scale(dialogs::kAboutButton, dpi());  // scaled
    CuteButton1.create(hwnd_, b.left, b.top, b.right - b.left, b.bottom - b.top);
    CuteButton1.setCaption(dialogs::kAboutOkCaption);
    CuteButton1.setBevelWidth(2);
    CuteButton1.setColor(rgbToColorRef(dialogs::kAboutButtonFace));
    CuteButton1.setFont(buttonFont_);
    CuteButton1.setFontColor(RGB(255, 255, 255));
    CuteButton1.setShowFocusRect(false);
    CuteButton1.setCursor(LoadCursorW(nullptr, IDC_HAND));
    CuteButton1.onClick = [this] { CuteButton1Click(); };
    // The libraries the program contains, with the notices their licences
    // ask for, where the card has no room: the button's tip.
    CuteButton1.setHint(
        tk::widen(hueloom::codecs::libraryNotices() + "\r\n" + hueloom::text("about.notices"), CP_UTF8));

    Timer1 = std::make_unique<tk::Timer>(*this, dialogs::kAboutOrbitInterval, [this] { Timer1Timer(); });
    TimerClose = std::make_unique<tk::Timer>(*this, 0, [this] { TimerCloseTimer(); });

    FormCreate();
    return true;
}

void TfrmVersion::placeDrawn() {
    auto s = [this](int v) { return scaled(v); };
    const RECT rc = clientRect();
    canvas_ = tk::DibSection(rc.right, rc.bottom, 32);
    ImgIcon.left = s(dialogs::kAboutIconLeft);
    ImgIcon.top = s(dialogs::kAboutIconTop);
    ImgIcon.width = ImgIcon.height = s(dialogs::kAboutIconSize);
    const bool shown1 = Label1.visible, shown2 = Label2.visible;
    placeLabel(Label1, s(dialogs::kAboutLabel1Left), s(dialogs::kAboutLabel1Top), dialogs::kAboutProgramName,
               RGB(255, 0, 0), label1Font_);
    placeLabel(Label2, s(dialogs::kAboutLabel2Left), s(dialogs::kAboutLabel2Top), dialogs::kAboutRightsLine,
               RGB(0, 128, 0), label2Font_);
    Label1.visible = shown1;
    Label2.visible = shown2;
    Shape1.width = Shape1.height = s(dialogs::kAboutShapeSize);
}

void TfrmVersion::FormDpiChanged() {
    Dialog::FormDpiChanged();  // the button and the fonts
    if (closed_ || TimerClose->interval()) return;  // closing: the iris finishes as it is
    placeDrawn();
    if (background_) background_ = hueloom::image::createBitmap(dialogs::drawAboutPicture(dpi()));
    FormShow();
    compose();
}

void TfrmVersion::showError(const std::wstring& text) {
    if (reportError)
        reportError(text);
    else
        tk::app().showError(text);
}

void TfrmVersion::FormCreate() {
    // 1. The iris is off until closing starts.
    TimerClose->setInterval(0);
    irisStep_ = 0;
    try {
        // 2. The embedded picture beside the program. 3. Read back as the background.
        DataBind1.Data().SaveToFile(std::filesystem::path(picturePath_));
        const hueloom::image::Dib picture = hueloom::codecs::loadPng(std::filesystem::path(picturePath_));
        // At another dpi the same picture is drawn afresh at the window's size.
        background_ =
            hueloom::image::createBitmap(dpi() == hueloom::kBaseDpi ? picture : dialogs::drawAboutPicture(dpi()));
        if (!background_) throw std::runtime_error("cannot make the about picture's bitmap");
        // 4. The application icon.
        ImgIcon.icon = LoadIconW(tk::app().hinstance(), L"MAINICON");
    } catch (const std::exception& e) {
        // The window still opens, without picture and icon.
        background_.reset();
        ImgIcon.icon = nullptr;
        showError(tk::widen(e.what(), CP_UTF8));
    }
    compose();
}

void TfrmVersion::FormShow() {
    if (closed_) return;  // nothing to shape once the window has closed
    const hueloom::Rect o = hueloom::scale(dialogs::kAboutOuterEllipse, dpi());
    const hueloom::Rect h = hueloom::scale(dialogs::kAboutHoleEllipse, dpi());
    const hueloom::Rect c = hueloom::scale(dialogs::kAboutCard, dpi());
    tk::Region outer(CreateEllipticRgn(o.left, o.top, o.right, o.bottom));
    tk::Region hole(CreateEllipticRgn(h.left, h.top, h.right, h.bottom));
    tk::Region card(CreateRectRgn(c.left, c.top, c.right, c.bottom));
    shape_.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shape_, outer, hole, RGN_XOR);
    CombineRgn(shape_, shape_, card, RGN_OR);
    SetWindowShape(shape_);
}

void TfrmVersion::SetWindowShape(HRGN shape) {
    if (!hwnd_ || !shape) return;
    tk::Region copy = tk::copyRegion(shape);
    SetWindowRgn(hwnd_, copy.release(), TRUE);  // the window owns the copy
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TfrmVersion::compose() {
    if (!canvas_) return;
    tk::MemoryDC dc(nullptr);
    tk::Select selCanvas(dc, canvas_.handle());
    RECT all{0, 0, canvas_.width(), canvas_.height()};
    if (background_) {
        tk::MemoryDC src(dc.get());
        tk::Select sel(src, background_.get());
        BitBlt(dc, 0, 0, all.right, all.bottom, src, 0, 0, SRCCOPY);
    } else {
        FillRect(dc, &all, GetSysColorBrush(kBtnFaceSysColour));
    }
    const hueloom::Rect c = hueloom::scale(dialogs::kAboutCard, dpi());
    if (framed_) {
        tk::Region card(CreateRectRgn(c.left, c.top, c.right, c.bottom));
        tk::Brush brush(CreateSolidBrush(frameColour_));
        FrameRgn(dc, card, brush, scaled(dialogs::kAboutCardFrameWidth), scaled(dialogs::kAboutCardFrameHeight));
    }
    if (ImgIcon.visible && ImgIcon.icon)
        DrawIconEx(dc, ImgIcon.left, ImgIcon.top, ImgIcon.icon, ImgIcon.width, ImgIcon.height, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    tk::SavedDC clip(dc);
    // The texts stay on the card, whatever the font's width.
    IntersectClipRect(dc, c.left, c.top, c.right, c.bottom);
    for (const Label* l : {&Label1, &Label2}) {
        if (!l->visible) continue;
        tk::Select font(dc, l->font ? static_cast<HGDIOBJ>(l->font) : static_cast<HGDIOBJ>(windowFont_.get()));
        SetTextColor(dc, l->colour);
        TextOutW(dc, l->left, l->top, l->caption.c_str(), static_cast<int>(l->caption.size()));
    }
    SelectClipRgn(dc, nullptr);
    if (Shape1.visible) {
        tk::Select pen(dc, GetStockObject(BLACK_PEN));
        tk::Select brush(dc, GetStockObject(WHITE_BRUSH));
        Ellipse(dc, Shape1.left, Shape1.top, Shape1.left + Shape1.width, Shape1.top + Shape1.height);
    }
    GdiFlush();
}

COLORREF TfrmVersion::pixelAt(int x, int y) const {
    if (!canvas_ || x < 0 || y < 0 || x >= canvas_.width() || y >= canvas_.height()) return CLR_INVALID;
    GdiFlush();
    const BYTE* p = canvas_.row(y) + x * 4;
    return RGB(p[2], p[1], p[0]);
}

void TfrmVersion::FormPaint(HDC dc) {
    if (!canvas_) return;
    tk::MemoryDC src(dc);
    tk::Select sel(src, canvas_.handle());
    BitBlt(dc, 0, 0, canvas_.width(), canvas_.height(), src, 0, 0, SRCCOPY);
}

void TfrmVersion::Timer1Timer() {
    // 1-2. Where the circle goes for this step.
    const int k = orbitCounter_;
    const dialogs::OrbitStep st = dialogs::orbitStep(k);
    // 3. The colour painted there now.
    const int x = scaled(st.x), y = scaled(st.y);
    const COLORREF c = pixelAt(x, y);
    // 4. The circle.
    Shape1.left = x;
    Shape1.top = y;
    Shape1.visible = true;
    // 5. The button in that colour, its caption in the inverse.
    CuteButton1.setColor(c);
    CuteButton1.setFontColor(dialogs::inverseColour(c));
    // 6. The icon moves every ten steps.
    ImgIcon.left = scaled(st.iconLeft);
    // 7. The card framed in the colour.
    framed_ = true;
    frameColour_ = c;
    // 8. Next step.
    orbitCounter_ = dialogs::nextOrbitCounter(k);
    compose();
    invalidate();
}

void TfrmVersion::CuteButton1Click() {
    if (TimerClose) TimerClose->setInterval(dialogs::kAboutIrisInterval);
}

bool TfrmVersion::FormCloseQuery() {
    if (closed_) return true;
    if (TimerClose->interval() == 0) {
        // The first close request starts the iris instead.
        TimerClose->setInterval(dialogs::kAboutIrisInterval);
        return false;
    }
    return true;
}

void TfrmVersion::FormClose() {
    if (closed_) return;
    closed_ = true;
    Timer1->setInterval(0);
    TimerClose->setInterval(0);
    if (!picturePath_.empty()) DeleteFileW(picturePath_.c_str());
    background_.reset();
    shape_.reset();
}

void TfrmVersion::TimerCloseTimer() {
    // 1. The orbit stops.
    if (Timer1->interval()) Timer1->setInterval(0);
    // 2. Closed once the ellipse is narrower than 10 pixels.
    const dialogs::IrisStep st = dialogs::irisStep(irisStep_, width(), height(), dpi());
    if (st.close) {
        close();  // allowed: the iris timer runs
        return;
    }
    // 3. The shape shrinks.
    if (shape_) {
        tk::Region iris(CreateEllipticRgn(st.ellipse.left, st.ellipse.top, st.ellipse.right, st.ellipse.bottom));
        tk::Region r(CreateRectRgn(0, 0, 0, 0));
        CombineRgn(r, shape_, iris, RGN_AND);
        SetWindowShape(r);
    }
    // 4. The icon to the middle; alone once the window is narrow.
    ImgIcon.left = scaled(167);
    if (st.hideLabels) {
        Label1.visible = Label2.visible = false;
        ImgIcon.left = scaled(163);
        ImgIcon.top = scaled(157);
    }
    // 5. The button says it is going.
    CuteButton1.setColor(RGB(0, 0, 0));
    CuteButton1.setCaption(dialogs::aboutVanishCaption());
    CuteButton1.setFontColor(st.red ? RGB(255, 0, 0) : RGB(255, 255, 0));
    // 6. Next step.
    irisStep_ = st.next;
    compose();
    invalidate();
}

LRESULT TfrmVersion::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && CuteButton1.hwnd()) {
            SetFocus(CuteButton1.hwnd());
            return 0;
        }
        break;
    case WM_CLOSE:
        if (!FormCloseQuery()) return 0;
        FormClose();
        if (isModal())
            setModalResult(IDOK);
        else
            hide();
        return 0;
    }
    return Dialog::wndProc(msg, wp, lp);
}

int ShowAboutWindow() {
    if (TfrmVersion::current()) return 0;
    auto form = std::make_unique<TfrmVersion>();
    if (!form->create()) throw std::runtime_error("cannot create the about window");
    return form->showModal();
}

}  // namespace hueloom::dialogs
