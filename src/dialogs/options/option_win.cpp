#include "dialogs/options/option_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <stdexcept>

#include "core/dpi.h"
#include "core/shortcut_text.h"
#include "settings/colour_key.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "core/texts.h"

namespace hueloom::dialogs {

namespace {

namespace st = hueloom::settings;

using namespace option_parts;
constexpr UINT kTabsId = 1000;
constexpr int kCursorItemHeight = 40;

struct CursorDef {
    const wchar_t* name;
    const wchar_t* system;  // IDC_ shape, or nullptr for a program resource
    int resource;  // the program's cursor resource for the shape
    const wchar_t* fallback;
};

// Shapes the system has come from it; the others from the program's cursor
// resources or, while it carries none, the nearest system shape.
const CursorDef kCursors[] = {
    {L"crArrow", IDC_ARROW, 0, nullptr},          {L"crCross", IDC_CROSS, 0, nullptr},
    {L"crIBeam", IDC_IBEAM, 0, nullptr},          {L"crSizeNESW", IDC_SIZENESW, 0, nullptr},
    {L"crSizeNS", IDC_SIZENS, 0, nullptr},        {L"crSizeNWSE", IDC_SIZENWSE, 0, nullptr},
    {L"crSizeWE", IDC_SIZEWE, 0, nullptr},        {L"crUpArrow", IDC_UPARROW, 0, nullptr},
    {L"crHourGlass", IDC_WAIT, 0, nullptr},       {L"crDrag", nullptr, 32766, IDC_ARROW},
    {L"crNoDrop", nullptr, 32767, IDC_NO},        {L"crHSplit", nullptr, 32765, IDC_SIZEWE},
    {L"crVSplit", nullptr, 32764, IDC_SIZENS},    {L"crMultiDrag", nullptr, 32763, IDC_ARROW},
    {L"crSQLWait", nullptr, 32762, IDC_WAIT},     {L"crNo", IDC_NO, 0, nullptr},
    {L"crAppStart", IDC_APPSTARTING, 0, nullptr}, {L"crHelp", IDC_HELP, 0, nullptr},
    {L"crHandPoint", nullptr, 32761, IDC_HAND},   {L"crSizeAll", IDC_SIZEALL, 0, nullptr},
};

}  // namespace

void option_parts::createText(tk::Label& label, HWND page, int x, int y, int w, int h, const std::wstring& text,
                              HFONT font, COLORREF ink, COLORREF back) {
    label.create(page, x, y, w, h);
    label.setLayout(tk::Label::Layout::Paragraph);
    label.setCaption(text);
    label.setFont(font);
    label.setColours(ink, back);
}

COLORREF option_parts::pageColour(int page) { return tk::resolveColour(dialogs::optionPageColour(page)); }
std::wstring option_parts::wide(std::string_view utf8) { return tk::widen(std::string(utf8), CP_UTF8); }

// ---------------------------------------------------------------- cursors, colours

const std::vector<std::wstring>& OptionCursorNames() {
    static const std::vector<std::wstring> names = [] {
        std::vector<std::wstring> v;
        for (const CursorDef& c : kCursors) v.emplace_back(c.name);
        return v;
    }();
    return names;
}

HCURSOR OptionCursorByName(const std::wstring& name) {
    for (const CursorDef& c : kCursors) {
        if (name != c.name) continue;
        if (c.system) return LoadCursorW(nullptr, c.system);
        if (HCURSOR own = LoadCursorW(tk::app().hinstance(), MAKEINTRESOURCEW(c.resource))) return own;
        return LoadCursorW(nullptr, c.fallback);
    }
    return nullptr;
}

bool ChooseColorDialog(HWND owner, unsigned& colour) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = tk::resolveColour(colour);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) return false;
    colour = cc.rgbResult & 0xFFFFFF;
    return true;
}

// ---------------------------------------------------------------- small controls

bool TfrmCompressOption::ColourSwatch::create(HWND parent, int x, int y, int w, int h) {
    return Control::create(L"TOptionSwatch", parent, x, y, w, h);
}

void TfrmCompressOption::ColourSwatch::setColour(unsigned value) {
    value_ = value;
    invalidate();
}

void TfrmCompressOption::ColourSwatch::paint(HDC dc, const RECT& rc) {
    tk::Brush b(CreateSolidBrush(tk::resolveColour(value_)));
    FillRect(dc, &rc, b);
}

LRESULT TfrmCompressOption::ColourSwatch::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return TRUE;
    case WM_LBUTTONDOWN: pressed_ = true; return 0;
    case WM_LBUTTONUP: {
        const bool was = pressed_;
        pressed_ = false;
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT rc = clientRect();
        if (was && PtInRect(&rc, p) && onClick) {
            auto fn = onClick;
            tk::app().guarded(fn);
        }
        return 0;
    }
    }
    return Control::wndProc(msg, wp, lp);
}

bool TfrmCompressOption::CursorList::createOwnerDrawn(HWND parent, int x, int y, int w, int h, UINT id) {
    return createNative(
        L"COMBOBOX", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, x,
        y, w, h, parent, id);
}

bool TfrmCompressOption::Sheet::create(HWND parent, const RECT& r, COLORREF colour) {
    colour_ = colour;
    return Control::create(L"TOptionSheet", parent, r.left, r.top, r.right - r.left, r.bottom - r.top, WS_CLIPCHILDREN,
                           WS_EX_CONTROLPARENT);
}

void TfrmCompressOption::Sheet::paint(HDC dc, const RECT& rc) {
    tk::Brush b(CreateSolidBrush(colour_));
    FillRect(dc, &rc, b);
}

LRESULT TfrmCompressOption::Sheet::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The dialog answers for every control of its pages.
        return SendMessageW(GetParent(hwnd_), msg, wp, lp);
    }
    return Control::wndProc(msg, wp, lp);
}

// ---------------------------------------------------------------- the dialog

HBRUSH TfrmCompressOption::pageBrush(COLORREF c) {
    for (auto& [colour, brush] : brushes_)
        if (colour == c) return brush;
    brushes_.emplace_back(c, tk::Brush(CreateSolidBrush(c)));
    return brushes_.back().second;
}

bool TfrmCompressOption::create(unsigned frameColor, const std::vector<std::wstring>& cursorNames,
                                std::function<HCURSOR(const std::wstring&)> cursorImage,
                                std::function<bool(unsigned&)> chooseColor) {
    frameColor_ = frameColor;
    cursorNames_ = cursorNames.empty() ? OptionCursorNames() : cursorNames;
    cursorImage_ = cursorImage ? std::move(cursorImage) : OptionCursorByName;
    chooseColor_ = std::move(chooseColor);
    if (!chooseColor_) {
        chooseColor_ = [this](unsigned& c) { return ChooseColorDialog(hwnd_, c); };
    }

    tk::initCommonControls();
    registerClass(L"TfrmCompressOption", CS_DBLCLKS, nullptr, nullptr);
    const int dpi0 = tk::windowDpi(nullptr);
    const int w = hueloom::scale(dialogs::kOptionWidth, dpi0), h = hueloom::scale(dialogs::kOptionHeight, dpi0);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!createWindow(L"TfrmCompressOption", hueloom::wideText("options.dlg.1"), WS_POPUP | WS_CLIPCHILDREN,
                      WS_EX_TOPMOST, x, y, w, h, tk::app().handle()))
        return false;
    // The fonts of the window's dpi.
    keepFont(windowFont_, 12, FW_NORMAL);
    keepFont(titleFont_, 21, FW_BOLD);
    keepFont(closeFont_, 19, FW_BOLD);
    keepFont(pageFont_, 15, FW_NORMAL);
    keepFont(pageBoldFont_, 15, FW_BOLD);
    keepFont(tabBoldFont_, 12, FW_BOLD);
    keepFont(listFont_, 32, FW_NORMAL);
    keepFont(noteFont_, 13, FW_NORMAL);
    setDragCursor(LoadCursorW(nullptr, IDC_ARROW));
    FormCreate();
    return true;
}

void TfrmCompressOption::FormCreate() {
    auto s = [this](int v) { return scaled(v); };
    Label16.create(hwnd_, s(40), s(19), s(161), s(22));
    Label16.setCaption(hueloom::wideText("options.dlg.2"));
    Label16.setFont(titleFont_);
    Label16.setColours(RGB(128, 0, 0), pageColour(dialogs::kPageJPG));
    Label16.setTransparent(true);
    Label16.setAlignment(DT_LEFT);

    CuteButton1.create(hwnd_, s(334), s(8), s(37), s(37));
    CuteButton1.setCaption(L"X");
    CuteButton1.setColor(RGB(255, 0, 255));
    CuteButton1.setFont(closeFont_);
    CuteButton1.setFontColor(RGB(255, 255, 0));
    CuteButton1.setBevelWidth(3);
    CuteButton1.setShowFocusRect(false);
    CuteButton1.setCursor(LoadCursorW(nullptr, IDC_HAND));
    CuteButton1.setHint(hueloom::wideText("options.dlg.3"));
    CuteButton1.onClick = [this] { CuteButton1Click(); };

    PageControl1.create(hwnd_, s(dialogs::kOptionPagesLeft), s(dialogs::kOptionPagesTop), s(dialogs::kOptionPagesWidth),
                        s(dialogs::kOptionPagesHeight), kTabsId);
    PageControl1.setFont(windowFont_);
    PageControl1.setTabPadding(s(4), s(3));
    for (int i = 0; i < dialogs::kOptionPageCount; ++i) PageControl1.addTab(wide(dialogs::optionPageCaption(i)));
    buildPages();
    setActivePage(dialogs::kPageJPG);

    // Explanatory texts.
    Label2.setCaption(hueloom::wideText("options.dlg.4"));
    Label3.setCaption(hueloom::wideText("options.dlg.5"));
    Label4.setCaption(hueloom::wideText("options.dlg.6"));
}

void TfrmCompressOption::setActivePage(int page) {
    page = dialogs::validOptionPage(page);
    PageControl1.select(page);
    PageControl1Change();
}

void TfrmCompressOption::PageControl1Change() {
    const int active = PageControl1.selected();
    for (int i = 0; i < static_cast<int>(sheets_.size()); ++i) {
        HWND sheet = sheets_[static_cast<size_t>(i)]->hwnd();
        if (i == active)  // above the page control, which would paint its own body over it
            SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ShowWindow(sheet, SW_HIDE);
    }
    // The dialog's background follows the page.
    Label16.setColours(RGB(128, 0, 0), pageColour(active));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TfrmCompressOption::setControls(const dialogs::OptionControls& c) {
    JPGBar.setPosition(c.jpgPosition);
    JPGBarChange();
    RadioGroupPNG.setItemIndex(c.pngIndex);
    UpDownRectWidth.setPosition(c.rectWidth);
    RadioGroupAverage.setItemIndex(c.averageIndex);
    for (size_t i = 0; i < colourLabels.size(); ++i) colourLabels[i].setColour(c.colours[i]);
    for (size_t i = 0; i < hotKeys.size(); ++i) hotKeys[i].setShortcut(c.hotKeys[i]);
    chbxPrintScreen.setChecked(c.hookPrintScreen);
    chbxAltPrintScreen.setChecked(c.hookAltPrintScreen);
    edtSleep.setText(tk::widen(c.sleepText, CP_UTF8));
    ComboBox1.select(c.cursorIndex);
    CheckCursorCapture.setChecked(c.cursorCapture);
    CheckToSrgb.setChecked(c.captureToSrgb);
    ComboLanguage.select(c.languageIndex);
}

dialogs::OptionControls TfrmCompressOption::controls() const {
    dialogs::OptionControls c;
    c.jpgPosition = JPGBar.position();
    c.pngIndex = RadioGroupPNG.itemIndex();
    c.rectWidth = UpDownRectWidth.position();
    c.averageIndex = RadioGroupAverage.itemIndex();
    for (size_t i = 0; i < colourLabels.size(); ++i) c.colours[i] = colourLabels[i].colour();
    for (size_t i = 0; i < hotKeys.size(); ++i) c.hotKeys[i] = hotKeys[i].shortcut();
    c.hookPrintScreen = chbxPrintScreen.checked();
    c.hookAltPrintScreen = chbxAltPrintScreen.checked();
    c.sleepText = tk::narrow(edtSleep.text(), CP_UTF8);
    c.cursorIndex = ComboBox1.selected();
    c.cursorCapture = CheckCursorCapture.checked();
    c.captureToSrgb = CheckToSrgb.checked();
    c.languageIndex = ComboLanguage.selected();
    return c;
}

unsigned TfrmCompressOption::swatchColour(int which) const { return colourLabels[static_cast<size_t>(which)].colour(); }

HCURSOR TfrmCompressOption::cursorOf(int i) const {
    if (i < 0 || i >= static_cast<int>(cursorNames_.size()) || !cursorImage_) return nullptr;
    return cursorImage_(cursorNames_[static_cast<size_t>(i)]);
}

void TfrmCompressOption::JPGBarChange() { Label1.setCaption(wide(dialogs::jpgQualityCaption(JPGBar.position()))); }

void TfrmCompressOption::ColourLabelClick(int which) {
    ColourSwatch& swatch = colourLabels[static_cast<size_t>(which)];
    unsigned colour = swatch.colour();
    if (chooseColor_ && chooseColor_(colour)) swatch.setColour(colour);
}

void TfrmCompressOption::CuteButton1Click() {
    if (closeQuery()) setModalResult(IDOK);
}

bool TfrmCompressOption::closeQuery() {
    std::array<uint16_t, dialogs::kOptionHotKeyCount> keys{};
    for (size_t i = 0; i < hotKeys.size(); ++i) keys[i] = hotKeys[i].shortcut();
    const std::optional<dialogs::SharedHotKey> shared = dialogs::sharedHotKey(keys);
    if (!shared) return true;
    // The dialog stays open on the hot-key page, so the user can change one.
    setActivePage(dialogs::kPageHotKeys);
    const std::string message =
        dialogs::sharedHotKeyMessage(*shared, hueloom::shortcutToText(shared->key, tk::keyNameText));
    MessageBoxW(hwnd_, wide(message).c_str(), text().c_str(), MB_OK | MB_ICONWARNING);
    SetFocus(hotKeys[static_cast<size_t>(shared->second)].hwnd());
    return false;
}

void TfrmCompressOption::FormShow() { buildShape(); }

void TfrmCompressOption::FormDpiChanged() {
    Dialog::FormDpiChanged();
    PageControl1.setTabPadding(scaled(4), scaled(3));
    SendMessageW(ComboBox1.hwnd(), CB_SETITEMHEIGHT, 0, scaled(kCursorItemHeight));
}

void TfrmCompressOption::buildShape() {
    const dialogs::OptionOutline o = dialogs::optionOutline(dpi());
    tk::Region rgn(CreateRoundRectRgn(o.roundLeft, o.roundTop, o.roundRight, o.roundBottom, o.ellipse, o.ellipse));
    tk::Region plain(CreateRectRgn(o.rectLeft, o.rectTop, o.rectRight, o.rectBottom));
    CombineRgn(rgn, rgn, plain, RGN_OR);
    setShape(std::move(rgn));
}

void TfrmCompressOption::FormPaint(HDC dc) {
    RECT rc = clientRect();
    FillRect(dc, &rc, pageBrush(pageColour(PageControl1.selected())));
    frameShape(dc, tk::resolveColour(frameColor_), scaled(dialogs::kOptionFrameBrush));
}

void TfrmCompressOption::PageControl1DrawTab(const DRAWITEMSTRUCT& di) {
    const int i = static_cast<int>(di.itemID);
    RECT r = di.rcItem;
    FillRect(di.hDC, &r, pageBrush(pageColour(i)));
    OffsetRect(&r, 0, 1);
    const bool active = i == PageControl1.selected();
    tk::SavedDC saved(di.hDC);
    SelectObject(di.hDC, active ? tabBoldFont_.get() : windowFont_.get());
    SetTextColor(di.hDC, active ? RGB(255, 0, 0) : GetSysColor(COLOR_BTNTEXT));
    SetBkMode(di.hDC, TRANSPARENT);
    const std::wstring caption = wide(dialogs::optionPageCaption(i));
    DrawTextW(di.hDC, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TfrmCompressOption::ComboBox1DrawItem(const DRAWITEMSTRUCT& di) {
    RECT r = di.rcItem;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    FillRect(di.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(di.itemID) < 0) return;
    if (HCURSOR c = cursorOf(static_cast<int>(di.itemID)))
        DrawIconEx(di.hDC, r.left, r.top, c, scaled(32), scaled(32), 0, nullptr, DI_NORMAL);
}

bool TfrmCompressOption::dialogKey(WORD vk, WORD shortcut) {
    if (vk != VK_TAB) return false;
    if (shortcut & hueloom::kShortcutCtrl) {
        // Ctrl+Tab / Shift+Ctrl+Tab: next / previous page.
        const int n = dialogs::kOptionPageCount;
        setActivePage((activePage() + ((shortcut & hueloom::kShortcutShift) ? n - 1 : 1)) % n);
        return true;
    }
    HWND next = GetNextDlgTabItem(hwnd_, GetFocus(), (shortcut & hueloom::kShortcutShift) != 0);
    if (next) SetFocus(next);
    return true;
}

LRESULT TfrmCompressOption::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY: {
        const auto* nm = reinterpret_cast<const NMHDR*>(lp);
        if (nm && nm->hwndFrom == PageControl1.hwnd() && nm->code == static_cast<UINT>(TCN_SELCHANGE)) {
            tk::app().guarded([this] { PageControl1Change(); });
            return 0;
        }
        break;
    }
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == JPGBar.hwnd()) {
            tk::app().guarded([this] { JPGBarChange(); });
            return 0;
        }
        break;
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (mi->CtlType == ODT_COMBOBOX) {
            mi->itemHeight = static_cast<UINT>(scaled(kCursorItemHeight));
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (di->CtlType == ODT_TAB) {
            PageControl1DrawTab(*di);
            return TRUE;
        }
        if (di->CtlType == ODT_COMBOBOX) {
            ComboBox1DrawItem(*di);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wp);
        const HWND h = reinterpret_cast<HWND>(lp);
        if (h == JPGBar.hwnd()) {
            SetBkColor(dc, pageColour(dialogs::kPageJPG));
            return reinterpret_cast<LRESULT>(pageBrush(pageColour(dialogs::kPageJPG)));
        }
        if (h == Edit1.hwnd()) {  // read-only, but shown like an ordinary edit box
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    }
    }
    return Dialog::wndProc(msg, wp, lp);
}

// ---------------------------------------------------------------- ShowOptionDialog

bool ShowOptionDialog(OptionDialogState& state, int page) {
    if (TfrmCompressOption::current()) return false;
    auto dlg = std::make_unique<TfrmCompressOption>();
    if (!dlg->create(state.settings.ActiveColor, state.cursorNames, state.cursorImage, state.chooseColor))
        throw std::runtime_error("cannot create the options dialog");
    dlg->setActivePage(page);
    dlg->setControls(dialogs::optionControlsFrom(state.settings, state.averagingSize));
    dlg->showModal();
    // No OK or Cancel: every value is taken back, however the dialog closed.
    dialogs::takeOptionControls(dlg->controls(), state.settings, state.averagingSize);
    return true;
}

}  // namespace hueloom::dialogs
