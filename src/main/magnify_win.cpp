// TfrmMagnify: creation, layouts and window shapes,
// display modes, painting and the window's messages. Its commands live in
// the other magnify_*_win.cpp files.
#include "main/magnify_win.h"

#include "image/codecs/libraries.h"

#include <windowsx.h>

#include <algorithm>

#include "dialogs/infobox/info_box_win.h"
#include "settings/profile_win.h"
#include "shell/shell.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "core/texts.h"

namespace hueloom::app {

TfrmMagnify* frmMagnify = nullptr;

namespace {

constexpr DWORD kMagnifierStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kImageStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT kPickListId = 200;

}  // namespace

TfrmMagnify::TfrmMagnify() { frmMagnify = this; }

TfrmMagnify::~TfrmMagnify() {
    finishWriteAhead();
    if (frmMagnify == this) frmMagnify = nullptr;
}

bool TfrmMagnify::create() {
    registerClass(L"TfrmMagnify", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const magnifier::WindowLayout l = magnifier::windowLayout(tk::windowDpi(nullptr));
    if (!createWindow(L"TfrmMagnify", L"(15x15)x10", kMagnifierStyle, 0, 0, 0, l.width, l.height, tk::app().handle()))
        return false;
    FormCreate();
    return true;
}

void TfrmMagnify::FormCreate() {
    lay_ = magnifier::windowLayout(dpi());

    // The two star buttons: the menu (left) and the display modes (right).
    auto star = [this](tk::TCuteButton& b, const Rect& r, COLORREF colour, const wchar_t* hint,
                       std::function<void()> onClick) {
        b.create(hwnd_, r.left, r.top, r.width(), r.height());
        b.setCaption(L"★");
        b.setFontColor(colour);
        b.setHint(hint);
        b.onClick = std::move(onClick);
    };
    star(CuteButton1, lay_.button1, RGB(255, 0, 0), hueloom::wideText("main.1"), [this] { CuteButton1Click(); });
    star(CuteButton2, lay_.button2, RGB(0, 0, 255), star2Hint(), [this] { CuteButton2Click(); });

    lblPickColor1.create(hwnd_, lay_.valueLabel.left, lay_.valueLabel.top, lay_.valueLabel.width(),
                         lay_.valueLabel.height());
    ScrollBox1.create(hwnd_, lay_.scrollBox.left, lay_.scrollBox.top, lay_.scrollBox.width(), lay_.scrollBox.height());
    Image1.create(ScrollBox1.hwnd(), 0, 0, lay_.viewSize, lay_.viewSize);
    ScrollBox1.setChild(&Image1);
    Image1.onMouseDown = [this](int button, int x, int y, WPARAM keys) { Image1MouseDown(button, x, y, keys); };
    Image1.onMouseMove = [this](int x, int y) { selectionMouseMove(x, y); };
    Image1.onMouseUp = [this](int x, int y) { selectionMouseUp(x, y); };
    selectionLabel_.create(Image1.hwnd());
    ScrollBox1.onResize = [this] {
        if (colourListMode_ && !magnifierRunning()) rebuildColourList();
    };
    cbxPickColor.create(hwnd_, lay_.pickList.left, lay_.pickList.top, lay_.pickList.width(), lay_.pickList.height(),
                        kPickListId);
    cbxPickColor.setCursor(LoadCursorW(nullptr, IDC_HAND));
    cbxPickColor.setBackground(GetSysColor(COLOR_INFOBK));

    buildMenus();
    MainMenu1.attach(hwnd_);

    Timer1 = std::make_unique<tk::Timer>(*this, MagnifyModel::kSamplingInterval, [this] { Timer1Timer(); });
    Timer2 = std::make_unique<tk::Timer>(*this, 300, [this] { Timer2Timer(); });
    aheadTimer_ = std::make_unique<tk::Timer>(*this, 0, [this] {
        aheadTimer_->setInterval(0);
        if (!busy()) writeAhead();
    });
    installFollower();

    // 1. Magnifier layout (with the skin, fonts and shapes of the window's
    // dpi). 2. Full shape. 3. Double buffering.
    applyDpi();
    SetWindowShape(shapeFull_);
    ScrollBox1.setDoubleBuffered(true);
    Image1.setDoubleBuffered(true);

    // 4. Settings file beside the program; it also places the window.
    settingsPath = hueloom::settings::settingsPathAnsi();
    LoadSettings();
    applyCaptureCursor();
    ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));

    // 5. Help file beside the program.
    tk::app().helpFile = hueloom::shell::helpFilePath(tk::modulePath());

    // 6. Frame colour.
    frameColor_ = settings.ActiveColor;

    // 7. Menu shortcuts from the hot keys.
    setMenuShortcuts();

    // 8. Hint text.
    hintText_ = magnifier::hintText(hueloom::codecs::libraryNotices());

    // 9. Last pointer position.
    tracker_.reset();

    // The hot-key component; it brings the window forward only once a
    // rectangle-capture hot key has asked for it.
    HookHotKey1 = std::make_unique<hueloom::hotkeys::THookHotKey>(*this);
    HookHotKey1->Activate = false;
    HookHotKey1->OnHotKey = [this](int index) { HookHotKey1HotKey(index); };
    initOutput();

    // 10. Stored choices, taken by the model and applied through the menu
    // handlers.
    model_.applySettings(settings);
    syncMenuChecks();
    showTemplates();
    loadProfiles(true);
    if (model_.topmost() == true)
        mnuTOPMOSTClick();
    else if (model_.topmost() == false)
        mnuNOTOPMOSTClick();
    if (settings.HookHotKey == "Off")
        mnuNotHookHotKeyClick();
    else if (settings.HookHotKey == "On")
        mnuHookHotKeyClick();
    {
        RECT r = bounds();
        settings.Top = r.top;
        settings.Left = r.left;
        settingsAtStart_ = settingsText();
    }

    // 11. Application events.
    tk::Application& a = tk::app();
    a.onActivate = [this] { setFrameColour(settings.ActiveColor); };
    a.onDeactivate = [this] { setFrameColour(settings.DeactiveColor); };
    a.onMessage = [this](MSG& msg, bool& handled) { PrintScreenFilter(msg, handled); };

    // 12. PrintScreen and Alt+PrintScreen on the application window.
    hueloom::hotkeys::PrintScreenHandlers psh;
    psh.state = [this] {
        hueloom::hotkeys::PrintScreenState st;
        st.hookHotKeyChecked = model_.hotKeyScope() == HotKeyScope::Always;
        st.notHookHotKeyChecked = model_.hotKeyScope() == HotKeyScope::ActiveOnly;
        st.applicationActive = tk::app().active();
        st.hookPrintScreenKey = settings.HookPrintScreenKey;
        st.hookAltPrintScreenKey = settings.HookAltPrintScreenKey;
        return st;
    };
    psh.screenCapture = [this] { mnuScreenCaptureClick(); };
    psh.windowCapture = [this] { mnuWindowCaptureClick(); };
    printScreenKeys = std::make_unique<hueloom::hotkeys::PrintScreenKeys>(a.handle(), psh);
    printScreenKeys->registerKeys();

    // 13. The start-up hint, until "今後表示しない" is ticked.
    if (!settings.message(settings::Message::StartHint))
        settings.message(settings::Message::StartHint) = hueloom::dialogs::ShowInfoBox(
            hueloom::wideText("main.2"), tk::widen(hintText_, CP_UTF8), -1, -1, true, settings.ActiveColor);
}

void TfrmMagnify::applyDpi() {
    lay_ = magnifier::windowLayout(dpi());
    // Skin picture, drawn by our own code at this size.
    {
        std::vector<uint32_t> px = magnifier::drawSkin(dpi());
        skin_ = tk::DibSection(lay_.width, lay_.height, 32);
        if (skin_)
            for (int y = 0; y < lay_.height; ++y)
                std::copy_n(px.data() + static_cast<size_t>(y) * lay_.width, lay_.width,
                            reinterpret_cast<uint32_t*>(skin_.row(y)));
    }
    windowFont_ = tk::makeFont(12, dpi(), FW_NORMAL);
    labelFont_ = tk::makeFont(14, dpi(), FW_BOLD);
    starFont_ = tk::makeFont(12, dpi(), FW_BOLD);
    CuteButton1.setFont(starFont_);
    CuteButton2.setFont(starFont_);
    lblPickColor1.setFont(labelFont_);
    cbxPickColor.setFont(windowFont_);
    buildShapes();
    if (model_.layout() == Layout::Magnifier) {
        const int mode = model_.displayMode();
        ApplyLayout(Layout::Magnifier);
        model_.setDisplayMode(mode);
        showValue();
    } else {
        arrangeImageLayout();
    }
}

void TfrmMagnify::FormDpiChanged() {
    applyDpi();
    if (model_.layout() != Layout::Magnifier) return;
    tracker_.reset();  // the view is redrawn at its new size at the next step
    switch (model_.displayMode()) {
    case magnifier::Bar1: SetWindowShape(shapeBar1_); break;
    case magnifier::Bar2: SetWindowShape(shapeBar2_); break;
    default: SetWindowShape(seeThrough_ ? shapeSeeThrough_ : shapeFull_); break;
    }
}

void TfrmMagnify::buildShapes() {
    using tk::Region;
    const int e = lay_.cornerEllipse;
    Region outline(CreateRoundRectRgn(0, 0, lay_.width + 1, lay_.height + 1, e, e));
    viewRect_.reset(CreateRectRgn(lay_.viewRect.left, lay_.viewRect.top, lay_.viewRect.right, lay_.viewRect.bottom));
    shapeFull_.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shapeFull_, outline, viewRect_, RGN_OR);
    shapeSeeThrough_.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shapeSeeThrough_, outline, viewRect_, RGN_XOR);
    shapeBar1_.reset(CreateRoundRectRgn(0, 0, lay_.width + 1, lay_.bar1.bottom + 1, e, e));
    shapeBar2_.reset(CreateRoundRectRgn(0, 0, lay_.width + 1, lay_.bar2.bottom + 1, e, e));
}

void TfrmMagnify::SetWindowShape(HRGN shape) {
    if (!hwnd_) return;
    shownShape_ = tk::copyRegion(shape);  // what the sampling step asks the pointer to be over
    tk::Region copy = tk::copyRegion(shape);
    SetWindowRgn(hwnd_, copy.release(), TRUE);  // the window owns the copy now
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// ------------------------------------------------------------------ layouts

void TfrmMagnify::ApplyLayout(Layout which) {
    model_.setLayout(which);
    if (which == Layout::Magnifier) {
        SetWindowLongW(hwnd_, GWL_STYLE, (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) | kMagnifierStyle);
        for (auto& it : MainMenu1.root().items()) it->visible = false;
        MainMenu1.refresh();
        SetWindowPos(hwnd_, nullptr, 0, 0, lay_.width, lay_.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        placeStars();
        CuteButton1.show();
        CuteButton2.show();
        lblPickColor1.setBounds(lay_.valueLabel.left, lay_.valueLabel.top, lay_.valueLabel.width(),
                                lay_.valueLabel.height());
        lblPickColor1.setCaption(L"");
        lblPickColor1.show();
        ScrollBox1.setBounds(lay_.scrollBox.left, lay_.scrollBox.top, lay_.scrollBox.width(), lay_.scrollBox.height());
        ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));
        ScrollBox1.setScrollBars(false);
        ScrollBox1.show();
        Image1.setAutoSize(false);
        Image1.setBounds(0, 0, lay_.viewSize, lay_.viewSize);
        cbxPickColor.setBounds(lay_.pickList.left, lay_.pickList.top, lay_.pickList.width(),
                               lay_.pickList.height() + scaled(200));
        cbxPickColor.show();
    } else {
        tk::app().setTitle(L"Hueloom");
        setChecked(Command::OriginalMode, false);
        SetWindowRgn(hwnd_, nullptr, TRUE);
        shownShape_.reset();
        SetWindowLongW(hwnd_, GWL_STYLE, (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) | kImageStyle);
        for (auto& it : MainMenu1.root().items()) it->visible = true;
        MainMenu1.refresh();
        SetWindowPos(hwnd_, nullptr, 0, 0, lay_.width, lay_.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        CuteButton1.hide();
        CuteButton2.hide();
        placeStars();
        lblPickColor1.setCaption(hueloom::wideText("main.3"));
        ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));
        ScrollBox1.setScrollBars(true);
        ScrollBox1.show();
        lblPickColor1.setTransparent(false);
        Image1.setAutoSize(true);
        arrangeImageLayout();
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TfrmMagnify::placeStars() {
    CuteButton1.setBounds(lay_.button1.left, lay_.button1.top, lay_.button1.width(), lay_.button1.height());
    CuteButton2.setBounds(lay_.button2.left, lay_.button2.top, lay_.button2.width(), lay_.button2.height());
}

void TfrmMagnify::arrangeImageLayout() {
    if (model_.layout() != Layout::Image) return;
    RECT rc = clientRect();
    int comboH = scaled(20);
    RECT cb{};
    if (cbxPickColor.hwnd()) {
        GetWindowRect(cbxPickColor.hwnd(), &cb);
        comboH = static_cast<int>(SendMessageW(cbxPickColor.hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
    }
    int labelH = scaled(18);
    int w = rc.right;
    cbxPickColor.setBounds(0, rc.bottom - comboH, w, comboH + 200);
    lblPickColor1.setBounds(0, rc.bottom - comboH - labelH, w, labelH);
    ScrollBox1.setBounds(0, 0, w, std::max(0, static_cast<int>(rc.bottom) - comboH - labelH));
    ScrollBox1.arrange();
}

void TfrmMagnify::mnuOriginalModeClick() {
    RestoreMagnifier();
    setChecked(Command::OriginalMode, true);
    reapplySwitches();
}

// A layout change re-creates the platform window's state: always-on-top and
// the hot-key scope are applied again through their handlers.
void TfrmMagnify::reapplySwitches() {
    if (model_.topmost() == true) mnuTOPMOSTClick();
    if (model_.hotKeyScope() == HotKeyScope::Always)
        mnuHookHotKeyClick();
    else
        mnuNotHookHotKeyClick();
}

// ------------------------------------------------------------------ display modes

void TfrmMagnify::ApplyDisplayMode(const void* sender) {
    if (sender == this) model_.setDisplayMode(magnifier::nextDisplayMode(model_.displayMode()));
    switch (model_.displayMode()) {
    case magnifier::Normal:
        SetWindowShape(shapeSeeThrough_);
        seeThrough_ = true;
        break;
    case magnifier::Bar1: SetWindowShape(shapeBar1_); break;
    case magnifier::Bar2: SetWindowShape(shapeBar2_); break;
    default: break;
    }
    syncMenuChecks();
}

void TfrmMagnify::pmnuDispNormalClick() {
    model_.setDisplayMode(magnifier::Normal);
    ApplyDisplayMode(PopupMenu2.find(L"pmnuDispNormal"));
}

void TfrmMagnify::pmnuDispBar1Click() {
    model_.setDisplayMode(magnifier::Bar1);
    ApplyDisplayMode(PopupMenu2.find(L"pmnuDispBar1"));
}

void TfrmMagnify::pmnuDispBar2Click() {
    model_.setDisplayMode(magnifier::Bar2);
    ApplyDisplayMode(PopupMenu2.find(L"pmnuDispBar2"));
}

void TfrmMagnify::pmnuMinimizeClick() { tk::app().minimize(); }

void TfrmMagnify::setFrameColour(unsigned value) {
    frameColor_ = value;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TfrmMagnify::Timer2Timer() {
    if (blinkCount_ > 8) {
        Timer2->setInterval(0);
        return;
    }
    setFrameColour((blinkCount_ % 2 == 0) ? settings.ActiveColor : settings.DeactiveColor);
    ++blinkCount_;
}

void TfrmMagnify::FormPaint(HDC dc) {
    if (model_.layout() == Layout::Magnifier && skin_) {
        tk::MemoryDC mem(dc);
        tk::Select sel(mem, skin_.handle());
        BitBlt(dc, 0, 0, lay_.width, lay_.height, mem, 0, 0, SRCCOPY);
    } else {
        RECT rc = clientRect();
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    }
    tk::Region rgn = tk::windowRegion(hwnd_);
    if (!rgn) return;
    tk::Brush brush(CreateSolidBrush(tk::resolveColour(frameColor_)));
    FrameRgn(dc, rgn, brush, scaled(3), scaled(2));
}

LRESULT TfrmMagnify::hitTest(int x, int y) {
    LRESULT r = Form::hitTest(x, y);
    return r == HTCLIENT ? HTCAPTION : r;
}

bool TfrmMagnify::dialogKey(WORD vk, WORD) {
    if (selectionKey(vk)) return true;
    magnifier::Arrow a;
    switch (vk) {
    case VK_LEFT: a = magnifier::Arrow::Left; break;
    case VK_UP: a = magnifier::Arrow::Up; break;
    case VK_RIGHT: a = magnifier::Arrow::Right; break;
    case VK_DOWN: a = magnifier::Arrow::Down; break;
    default: return false;
    }
    POINT p;
    GetCursorPos(&p);
    BYTE keys[256];
    GetKeyboardState(keys);
    bool shift = (keys[VK_SHIFT] & 0x80) != 0;
    Point np = magnifier::nudge({p.x, p.y}, a, shift);
    SetCursorPos(np.x, np.y);
    return true;
}

bool TfrmMagnify::closeQuery() {
    if (busy()) return false;  // closes once the running command has ended
    SaveSettings();
    finishWriteAhead();
    for (const std::wstring& file : {undoPath(), aheadPath()})
        if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileW(file.c_str());
    return true;
}

void TfrmMagnify::FormDestroy() {
    removeFollower();
    tk::app().onMessage = nullptr;
    if (printScreenKeys) printScreenKeys->unregisterKeys();
    shapeFull_.reset();
    shapeSeeThrough_.reset();
    shapeBar1_.reset();
    shapeBar2_.reset();
    viewRect_.reset();
}

LRESULT TfrmMagnify::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCLBUTTONDBLCLK: {
        LRESULT r = Form::wndProc(msg, wp, lp);
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        if (!busy() && model_.layout() == Layout::Magnifier && shapeBar2_ && PtInRegion(shapeBar2_, p.x, p.y))
            ApplyDisplayMode(this);
        return r;
    }
    case WM_GETMINMAXINFO:
        if (model_.layout() == Layout::Magnifier) {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
            mmi->ptMinTrackSize = {lay_.width, lay_.height};
            mmi->ptMaxTrackSize = {lay_.width, lay_.height};
            return 0;
        }
        break;
    case WM_SIZE: arrangeImageLayout(); break;
    case WM_ERASEBKGND: return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lp) == cbxPickColor.hwnd())
            if (HBRUSH b = cbxPickColor.controlColour(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
        break;
    case WM_PRINTCLIENT: FormPaint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_DESTROY: FormDestroy(); break;
    case WM_DISPLAYCHANGE:
        monitors_.clear();
        loadProfiles(false);
        break;
    case WM_SETTINGCHANGE: loadProfiles(false); break;
    case kFollowMessage:
    case kHookMessage: {
        if (pointerWatch_) pointerWatch_->done();
        // The watch has paced itself to the frames; the hook has not.
        const POINT at{static_cast<LONG>(wp), static_cast<LONG>(lp)};
        followPointer(msg == kFollowMessage, &at);
        return 0;
    }
    }
    return Form::wndProc(msg, wp, lp);
}

}  // namespace hueloom::app
