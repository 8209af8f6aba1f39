#include "main/magnify_win.h"

#include "magnifier/sampling.h"

#include <windowsx.h>

#include <algorithm>

#include <commdlg.h>

#include "core/ansi_text.h"
#include "settings/colour_key.h"
#include "settings/profile_win.h"
#include "core/shortcut_text.h"
#include "toolkit/application_win.h"
#include "toolkit/clipboard_win.h"
#include "dialogs/about/about_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "dialogs/options/option_logic.h"
#include "dialogs/options/option_win.h"
#include "capture/cursors_win.h"
#include "shell/shell_logic.h"
#include "shell/shell_win.h"
#include "main/menu_rules.h"

using namespace hueloom;
using namespace hueloom::app;
namespace L = hueloom::app::layout;

TfrmMagnify* frmMagnify = nullptr;

namespace {

constexpr DWORD kMagnifierStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kImageStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT kPickListId = 200;

// Where a menu entry exists: the main menu bar, the magnifier's pop-up, or both.
enum Where { MainOnly = 1, PopupOnly = 2, Both = 3 };

struct MenuDef {
    int level;
    const wchar_t* name;  // main-menu name; the pop-up twin is "p" + name
    const wchar_t* caption;
    int where = Both;
    const wchar_t* popupCaption = nullptr;
    bool radio = false;
};

const MenuDef kMenu1[] = {
    {0, L"mnuFile", L"ファイル(&F)"},
    {1, L"mnuSaveTxt", L"色のメモの保存(&C)"},
    {1, L"mnuImgSave", L"画像の保存(&S)", Both, L"画像の保存(&I)"},
    {1, L"", L"-", MainOnly},
    {1, L"mnuPrintImage", L"画像を印刷(&P)", MainOnly},
    {1, L"", L"-"},
    {1, L"mnuExit", L"終了(&X)"},
    {0, L"mnuImgEdit", L"画像編集(&E)", MainOnly},
    {1, L"mnuImgUndo", L"元に戻す(&U)", MainOnly},
    {1, L"", L"-", MainOnly},
    {1, L"mnuImgMode256", L"256色に減色(&S)", MainOnly},
    {1, L"", L"-", MainOnly},
    {1, L"mnuImgModeReverse", L"反転(&R)", MainOnly},
    {1, L"mnuImgModeGray", L"グレースケール(&G)", MainOnly},
    {1, L"", L"-", MainOnly},
    {1, L"mnuCopyBMP", L"コピー・BMP(&B)", MainOnly},
    {1, L"mnuCopyEMF", L"コピー・EMF(&E)", MainOnly},
    {1, L"", L"-", MainOnly},
    {1, L"mnuPaste", L"ペースト(&P)", MainOnly},
    {0, L"mnuShow", L"表示(&V)"},
    {1, L"mnuV10", L"色の10進数表示(&1)", Both, nullptr, true},
    {1, L"mnuV16", L"色の16進数表示(&6)", Both, nullptr, true},
    {1, L"", L"-"},
    {1, L"mnuPixel", L"標準モード(&T)", Both, nullptr, true},
    {1, L"mnuPixels", L"平均値モード(&V)", Both, nullptr, true},
    {1, L"", L"-"},
    {1, L"mnuColorClear", L"取得色の一覧のクリア(&D)"},
    {1, L"", L"-"},
    {1, L"mnuColorSample", L"カラー・サンプルの表示(&S)"},
    {1, L"", L"-"},
    {1, L"mnuTOPMOST", L"常に手前に表示(&M)", Both, nullptr, true},
    {1, L"mnuNOTOPMOST", L"常に手前に表示の解除(&N)", Both, nullptr, true},
    {1, L"", L"-"},
    {1, L"mnuVariousColor", L"色の設定"},
    {1, L"", L"-"},
    {1, L"mnuOriginalMode", L"拡大鏡モード(&K)"},
    {0, L"mnuTool", L"ツール(&T)"},
    {1, L"mnuColorToImg", L"取得した色の一覧を画像として表示(&C)"},
    {1, L"", L"-"},
    {1, L"mnuScreenCapture", L"スクリーン・キャプチャ(&S)"},
    {1, L"mnuWindowCapture", L"アクティブウインドウ・キャプチャ(&W)"},
    {1, L"mnuRectCapture", L"矩形領域・キャプチャ(&R)"},
    {1, L"", L"-", MainOnly},
    {1, L"mnuLoadCursor", L"ファイルからカーソルを読み込む", MainOnly},
    {1, L"", L"-"},
    {1, L"mnuHookHotKeyScope", L"ホットキーの有効範囲"},
    {2, L"mnuNotHookHotKey", L"Hueloomがｱｸﾃｨﾌﾞ時のみ有効", Both, nullptr, true},
    {2, L"mnuHookHotKey", L"いつでも有効", Both, nullptr, true},
    {1, L"", L"-"},
    {1, L"mnuSetting", L"設定(&O)"},
    {0, L"mnuHelp", L"ヘルプ(&H)"},
    {1, L"mnuHint", L"ヒント(&I)"},
    {1, L"mnuHelpHelp", L"ヘルプ(&H)"},
    {1, L"", L"-"},
    {1, L"mnuShortCutCreate", L"ショートカットの作成"},
    {2, L"mnuShortCutDesktop", L"デスクトップ"},
    {2, L"mnuShortCutPrograms", L"スタートメニュー"},
    {1, L"", L"-"},
    {1, L"mnuSupportHP", L"サポート・ホームページ(&S)"},
    {1, L"mnuMailToMe", L"作者へメール(&M)"},
    {1, L"", L"-"},
    {1, L"mnuAbout", L"バージョン情報(&V)"},
    {0, L"", L"-", PopupOnly},
    {0, L"mnuPopupClose", L"メニューを閉じる", PopupOnly},
    {0, L"mnuIroCopy", L"色の値をコピー", PopupOnly},
};

std::wstring popupName(const std::wstring& name) { return name.empty() ? name : L"p" + name; }

}  // namespace

TfrmMagnify::TfrmMagnify() { frmMagnify = this; }

TfrmMagnify::~TfrmMagnify() {
    if (frmMagnify == this) frmMagnify = nullptr;
}

tk::MenuItem* TfrmMagnify::item(const std::wstring& name) const {
    for (const tk::Menu* m : {&MainMenu1, &PopupMenu1, &PopupMenu2}) {
        if (tk::MenuItem* it = const_cast<tk::Menu*>(m)->find(name)) return it;
    }
    return nullptr;
}

void TfrmMagnify::setChecked(const std::wstring& name, bool on) {
    if (tk::MenuItem* it = MainMenu1.find(name)) it->checked = on;
    if (tk::MenuItem* it = PopupMenu1.find(popupName(name))) it->checked = on;
}

bool TfrmMagnify::isChecked(const std::wstring& name) const {
    tk::MenuItem* it = item(name);
    return it && it->checked;
}

void TfrmMagnify::buildMenus() {
    handlers_ = {
        {L"mnuFile", [this] { mnuFileClick(); }},
        {L"mnuShow", [this] { mnuShowClick(); }},
        {L"mnuTool", [this] { mnuToolClick(); }},
        {L"mnuExit", [this] { close(); }},
        {L"mnuV10", [this] { mnuV10Click(); }},
        {L"mnuV16", [this] { mnuV16Click(); }},
        {L"mnuPixel", [this] { mnuPixelClick(); }},
        {L"mnuTOPMOST", [this] { mnuTOPMOSTClick(); }},
        {L"mnuNOTOPMOST", [this] { mnuNOTOPMOSTClick(); }},
        {L"mnuOriginalMode", [this] { mnuOriginalModeClick(); }},
        {L"mnuIroCopy", [this] { pmnuIroCopyClick(); }},
        {L"mnuColorClear", [this] { mnuColorClearClick(); }},
        {L"mnuSaveTxt", [this] { mnuSaveTxtClick(); }},
        {L"mnuNotHookHotKey", [this] { mnuNotHookHotKeyClick(); }},
        {L"mnuHookHotKey", [this] { mnuHookHotKeyClick(); }},
        {L"mnuHint", [this] { mnuHintClick(); }},
        {L"mnuScreenCapture", [this] { mnuScreenCaptureClick(); }},
        {L"mnuWindowCapture", [this] { mnuWindowCaptureClick(); }},
        {L"mnuRectCapture", [this] { mnuRectCaptureClick(); }},
        {L"mnuImgEdit", [this] { mnuImgEditClick(); }},
        {L"mnuColorToImg", [this] { mnuColorToImgClick(); }},
        {L"mnuLoadCursor", [this] { mnuLoadCursorClick(); }},
        {L"mnuAbout", [] { ShowAboutWindow(); }},
        {L"mnuColorSample", [this] { mnuColorSampleClick(); }},
        {L"mnuImgSave", [this] { mnuImgSaveClick(); }},
        {L"mnuCopyBMP", [this] { mnuCopyBMPClick(); }},
        {L"mnuCopyEMF", [this] { mnuCopyEMFClick(); }},
        {L"mnuPaste", [this] { mnuPasteClick(); }},
        {L"mnuPrintImage", [this] { mnuPrintImageClick(); }},
        {L"mnuSetting", [this] { mnuSettingClick(static_cast<int>(hueloom::ui::OptionCommand::Setting)); }},
        {L"mnuPixels", [this] { mnuSettingClick(static_cast<int>(hueloom::ui::OptionCommand::Pixels)); }},
        {L"mnuVariousColor",
         [this] { mnuSettingClick(static_cast<int>(hueloom::ui::OptionCommand::VariousColor)); }},
        {L"mnuHelpHelp", [] { hueloom::ui::OpenHelpFile(tk::app().helpFile); }},
        {L"mnuShortCutDesktop", [this] { hueloom::ui::CreateShortcut(hwnd_, hueloom::ui::kShortcutName, "DESKTOP"); }},
        {L"mnuShortCutPrograms",
         [this] { hueloom::ui::CreateShortcut(hwnd_, hueloom::ui::kShortcutName, "PROGRAMS"); }},
        {L"mnuSupportHP", [] { hueloom::ui::OpenSupportHomepage(); }},
        {L"mnuMailToMe", [] { hueloom::ui::MailToAuthor(); }},
        {L"mnuImgUndo", [this] { mnuImgUndoClick(); }},
        {L"mnuImgModeReverse", [this] { mnuImgModeReverseClick(); }},
        {L"mnuImgModeGray", [this] { mnuImgModeGrayClick(); }},
        {L"mnuImgMode256", [this] { mnuImgMode256Click(); }},
    };
    // Build the main menu bar and the magnifier's first pop-up from one table.
    for (int pass = 0; pass < 2; ++pass) {
        const bool isMain = pass == 0;
        tk::Menu& menu = isMain ? MainMenu1 : PopupMenu1;
        tk::MenuItem* parents[3] = {&menu.root(), nullptr, nullptr};
        for (const MenuDef& d : kMenu1) {
            tk::MenuItem* parent = parents[d.level];
            if (!(d.where & (isMain ? MainOnly : PopupOnly))) {
                // Keep children of a skipped submenu out of the previous one.
                if (d.level < 2) parents[d.level + 1] = nullptr;
                continue;
            }
            if (!parent) continue;
            std::wstring name = isMain ? d.name : popupName(d.name);
            std::wstring caption = (!isMain && d.popupCaption) ? d.popupCaption : d.caption;
            std::function<void()> fn;
            if (auto h = handlers_.find(d.name); h != handlers_.end()) fn = h->second;
            tk::MenuItem* it = caption == L"-" ? parent->separator() : parent->add(name, caption, fn);
            it->radio = d.radio;
            if (d.level < 2) parents[d.level + 1] = it;
        }
    }
    // Initial check marks.
    PopupMenu1.find(L"pmnuV10")->checked = true;
    PopupMenu1.find(L"pmnuPixel")->checked = true;
    setChecked(L"mnuOriginalMode", true);
    setChecked(L"mnuNotHookHotKey", true);
    PopupMenu1.find(L"pmnuIroCopy")->visible = false;
    MainMenu1.find(L"mnuImgUndo")->shortcut = 0x4000 | 'Z';  // Ctrl+Z
    MainMenu1.find(L"mnuPaste")->shortcut = 0x4000 | 'V';    // Ctrl+V

    tk::MenuItem& p2 = PopupMenu2.root();
    auto radio = [](tk::MenuItem* it) { it->radio = true; return it; };
    radio(p2.add(L"pmnuDispNormal", L"通常表示", [this] { pmnuDispNormalClick(); }))->checked = true;
    radio(p2.add(L"pmnuDispBar1", L"バー表示１", [this] { pmnuDispBar1Click(); }));
    radio(p2.add(L"pmnuDispBar2", L"バー表示２", [this] { pmnuDispBar2Click(); }));
    p2.separator();
    p2.add(L"pmnuMinimize", L"最小化", [this] { pmnuMinimizeClick(); });
    p2.separator();
    p2.add(L"pmuClose", L"Hueloomの終了", [this] { close(); });

    addMenu(&MainMenu1);
    addMenu(&PopupMenu1);
    addMenu(&PopupMenu2);
}

bool TfrmMagnify::create() {
    registerClass(L"TfrmMagnify", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    if (!createWindow(L"TfrmMagnify", L"(15x15)x10", kMagnifierStyle, 0, 0, 0, L::kWidth, L::kHeight,
                      tk::app().handle()))
        return false;
    FormCreate();
    return true;
}

void TfrmMagnify::FormCreate() {
    // Fonts: the window font and the value label's bold one.
    windowFont_ = tk::makeFont(12, FW_NORMAL);
    labelFont_ = tk::makeFont(14, FW_BOLD);
    starFont_ = tk::makeFont(12, FW_BOLD);

    // Skin picture, drawn by our own code.
    {
        std::vector<uint32_t> px = drawSkin();
        skin_ = tk::DibSection(L::kWidth, L::kHeight, 32);
        if (skin_)
            for (int y = 0; y < L::kHeight; ++y)
                std::copy_n(px.data() + static_cast<size_t>(y) * L::kWidth, L::kWidth,
                            reinterpret_cast<uint32_t*>(skin_.row(y)));
    }

    CuteButton1.create(hwnd_, L::kButton1.left, L::kButton1.top, L::kButton1.width(), L::kButton1.height());
    CuteButton1.setCaption(L"★");
    CuteButton1.setFontColor(RGB(255, 0, 0));
    CuteButton1.setFont(starFont_);
    CuteButton1.setHint(L"メニューを表示");
    CuteButton1.onClick = [this] { CuteButton1Click(); };
    CuteButton2.create(hwnd_, L::kButton2.left, L::kButton2.top, L::kButton2.width(), L::kButton2.height());
    CuteButton2.setCaption(L"★");
    CuteButton2.setFontColor(RGB(0, 0, 255));
    CuteButton2.setFont(starFont_);
    CuteButton2.setHint(L"表示状態の変更");
    CuteButton2.onClick = [this] { CuteButton2Click(); };

    lblPickColor1.create(hwnd_, L::kValueLabel.left, L::kValueLabel.top, L::kValueLabel.width(),
                         L::kValueLabel.height());
    lblPickColor1.setFont(labelFont_);
    ScrollBox1.create(hwnd_, L::kScrollBox.left, L::kScrollBox.top, L::kScrollBox.width(), L::kScrollBox.height());
    Image1.create(ScrollBox1.hwnd(), 0, 0, L::kViewSize, L::kViewSize);
    ScrollBox1.setChild(&Image1);
    Image1.onMouseDown = [this](int button, int x, int y, WPARAM keys) { Image1MouseDown(button, x, y, keys); };
    ScrollBox1.onResize = [this] {
        if (colourListMode_ && Timer1 && !magnifierRunning()) rebuildColourList();
    };
    cbxPickColor.create(hwnd_, L::kPickList.left, L::kPickList.top, L::kPickList.width(), L::kPickList.height(),
                        kPickListId);
    cbxPickColor.setFont(windowFont_);
    cbxPickColor.setCursor(LoadCursorW(nullptr, IDC_HAND));
    cbxPickColor.setBackground(GetSysColor(COLOR_INFOBK));

    buildMenus();
    MainMenu1.attach(hwnd_);

    Timer1 = std::make_unique<tk::Timer>(*this, 100, [this] { Timer1Timer(); });
    Timer2 = std::make_unique<tk::Timer>(*this, 300, [this] { Timer2Timer(); });

    // 1. Magnifier layout. 2. Window shapes, full shape. 3. Double buffering.
    ApplyLayout(Layout::Magnifier);
    buildShapes();
    SetWindowShape(shapeFull_);
    ScrollBox1.setDoubleBuffered(true);
    Image1.setDoubleBuffered(true);

    // 4. Settings file beside the program; it also places the window.
    settingsPath = hueloom::settings::settingsPathAnsi();
    LoadSettings();
    applyCaptureCursor();
    ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));

    // 5. Help file beside the program.
    tk::app().helpFile = hueloom::ui::helpFilePath(tk::modulePath());

    // 6. Frame colour.
    frameColor_ = settings.ActiveColor;

    // 7. Menu shortcuts from the hot keys.
    setMenuShortcuts();

    // 8. Hint text.
    hintText_ = hintText();

    // 9. Last pointer position.
    tracker_.reset();

    // The hot-key component; it brings the window forward only once a
    // rectangle-capture hot key has asked for it.
    HookHotKey1 = std::make_unique<hueloom::hotkeys::THookHotKey>(*this);
    HookHotKey1->Activate = false;
    HookHotKey1->OnHotKey = [this](int index) { HookHotKey1HotKey(index); };
    initOutput();

    // 10. Stored choices, applied through the menu handlers (exact spelling).
    if (settings.TOPMOST == "On") mnuTOPMOSTClick();
    else if (settings.TOPMOST == "Off") mnuNOTOPMOSTClick();
    if (settings.ColorMode == "Decimal") mnuV10Click();
    else if (settings.ColorMode == "Hexadecimal") mnuV16Click();
    if (settings.HookHotKey == "Off") mnuNotHookHotKeyClick();
    else if (settings.HookHotKey == "On") mnuHookHotKeyClick();

    // 11. Application events.
    tk::Application& a = tk::app();
    a.onActivate = [this] { setFrameColour(settings.ActiveColor); };
    a.onDeactivate = [this] { setFrameColour(settings.DeactiveColor); };
    a.onMessage = [this](MSG& msg, bool& handled) { PrintScreenFilter(msg, handled); };

    // 12. PrintScreen and Alt+PrintScreen on the application window.
    hueloom::hotkeys::PrintScreenHandlers psh;
    psh.state = [this] {
        hueloom::hotkeys::PrintScreenState st;
        st.hookHotKeyChecked = isChecked(L"mnuHookHotKey");
        st.notHookHotKeyChecked = isChecked(L"mnuNotHookHotKey");
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
    if (!settings.Msg_ID[0])
        settings.Msg_ID[0] = ShowInfoBox(L"Hueloom（Hueloom）－ Ver. 1.0 A4", tk::widen(hintText_, CP_UTF8), -1, -1,
                                         true, settings.ActiveColor);
}

void TfrmMagnify::buildShapes() {
    using tk::Region;
    Region outline(CreateRoundRectRgn(0, 0, L::kWidth + 1, L::kHeight + 1, L::kCornerEllipse, L::kCornerEllipse));
    viewRect_.reset(CreateRectRgn(L::kViewRect.left, L::kViewRect.top, L::kViewRect.right, L::kViewRect.bottom));
    shapeFull_.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shapeFull_, outline, viewRect_, RGN_OR);
    shapeSeeThrough_.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shapeSeeThrough_, outline, viewRect_, RGN_XOR);
    shapeBar1_.reset(CreateRoundRectRgn(0, 0, L::kWidth + 1, L::kBar1.bottom + 1, L::kCornerEllipse, L::kCornerEllipse));
    shapeBar2_.reset(CreateRoundRectRgn(0, 0, L::kWidth + 1, L::kBar2.bottom + 1, L::kCornerEllipse, L::kCornerEllipse));
}

void TfrmMagnify::SetWindowShape(HRGN shape) {
    if (!hwnd_) return;
    tk::Region copy = tk::copyRegion(shape);
    SetWindowRgn(hwnd_, copy.release(), TRUE);  // the window owns the copy now
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// ------------------------------------------------------------------ layouts

void TfrmMagnify::ApplyLayout(Layout which) {
    layout_ = which;
    if (which == Layout::Magnifier) {
        displayMode_ = Normal;
        SetWindowLongW(hwnd_, GWL_STYLE, (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) | kMagnifierStyle);
        for (auto& it : MainMenu1.root().items()) it->visible = false;
        MainMenu1.refresh();
        SetWindowPos(hwnd_, nullptr, 0, 0, L::kWidth, L::kHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        CuteButton1.setBounds(L::kButton1.left, L::kButton1.top, L::kButton1.width(), L::kButton1.height());
        CuteButton2.setBounds(L::kButton2.left, L::kButton2.top, L::kButton2.width(), L::kButton2.height());
        CuteButton1.show();
        CuteButton2.show();
        lblPickColor1.setBounds(L::kValueLabel.left, L::kValueLabel.top, L::kValueLabel.width(),
                                L::kValueLabel.height());
        lblPickColor1.setCaption(L"");
        lblPickColor1.show();
        ScrollBox1.setBounds(L::kScrollBox.left, L::kScrollBox.top, L::kScrollBox.width(), L::kScrollBox.height());
        ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));
        ScrollBox1.setScrollBars(false);
        ScrollBox1.show();
        Image1.setAutoSize(false);
        Image1.setBounds(0, 0, L::kViewSize, L::kViewSize);
        cbxPickColor.setBounds(L::kPickList.left, L::kPickList.top, L::kPickList.width(), L::kPickList.height() + 200);
        cbxPickColor.show();
    } else {
        displayMode_ = ImageLayout;
        tk::app().setTitle(L"Hueloom");
        setChecked(L"mnuOriginalMode", false);
        SetWindowRgn(hwnd_, nullptr, TRUE);
        SetWindowLongW(hwnd_, GWL_STYLE, (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) | kImageStyle);
        for (auto& it : MainMenu1.root().items()) it->visible = true;
        MainMenu1.refresh();
        SetWindowPos(hwnd_, nullptr, 0, 0, L::kWidth, L::kHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        CuteButton1.hide();
        CuteButton2.hide();
        CuteButton1.setBounds(L::kButton1.left, L::kButton1.top, L::kButton1.width(), L::kButton1.height());
        CuteButton2.setBounds(L::kButton2.left, L::kButton2.top, L::kButton2.width(), L::kButton2.height());
        lblPickColor1.setCaption(L"拡大鏡モード停止中");
        ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));
        ScrollBox1.setScrollBars(true);
        ScrollBox1.show();
        lblPickColor1.setTransparent(false);
        Image1.setAutoSize(true);
        arrangeImageLayout();
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TfrmMagnify::arrangeImageLayout() {
    if (layout_ != Layout::Image) return;
    RECT rc = clientRect();
    int comboH = 20;
    RECT cb{};
    if (cbxPickColor.hwnd()) {
        GetWindowRect(cbxPickColor.hwnd(), &cb);
        comboH = static_cast<int>(SendMessageW(cbxPickColor.hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
    }
    int labelH = 18;
    int w = rc.right;
    cbxPickColor.setBounds(0, rc.bottom - comboH, w, comboH + 200);
    lblPickColor1.setBounds(0, rc.bottom - comboH - labelH, w, labelH);
    ScrollBox1.setBounds(0, 0, w, std::max(0, static_cast<int>(rc.bottom) - comboH - labelH));
    ScrollBox1.arrange();
}

// ------------------------------------------------------------------ sampling

void TfrmMagnify::Timer1Timer() {
    POINT p;
    if (!GetCursorPos(&p)) return;
    // 1. Nothing to do while the pointer rests.
    if (!tracker_.moved({p.x, p.y})) return;
    Image1.clear();

    // 3. Is the pointer over the window's current shape?
    POINT q = p;
    ScreenToClient(hwnd_, &q);
    PointerPlace place;
    {
        tk::Region rgn = tk::windowRegion(hwnd_);
        if (rgn) place.overWindowShape = PtInRegion(rgn, q.x, q.y) != 0;
    }
    place.overViewRect = L::kViewRect.contains({q.x, q.y});
    place.colourSampleOpen = colourSampleOpen_;
    place.minimized = tk::app().minimized();
    place.pickListDropped = cbxPickColor.hwnd() && cbxPickColor.droppedDown();
    const SamplingStep step = samplingStep(displayMode_, seeThrough_, place);
    if (step.action == SamplingStep::SeeThrough) {
        if (step.reshape) SetWindowShape(shapeSeeThrough_);
        seeThrough_ = true;
        lblPickColor1.setCaption(L"");
        tk::app().setTitle(L"Hueloom");
        ScrollBox1.hide();
        CuteButton2.setColor(GetSysColor(COLOR_BTNFACE));
        CuteButton2.setFontColor(RGB(0, 0, 255));
        return;
    }
    // 5. The pointer is elsewhere.
    if (step.action == SamplingStep::Wait) return;
    HWND focus = GetFocus();
    if (focus && focus != hwnd_ && IsChild(hwnd_, focus)) SetFocus(hwnd_);
    if (step.reshape) SetWindowShape(shapeFull_);
    seeThrough_ = false;
    lblPickColor1.setTransparent(false);
    ScrollBox1.show();
    sampleScreen(p);
}

void TfrmMagnify::sampleScreen(POINT p) {
    const int w = L::kViewSize, h = L::kViewSize;
    tk::DibSection view(w, h, 24);
    if (!view) return;
    {
        // The screen copy always reads the screen itself, in screen
        // coordinates, whatever window holds the mouse capture.
        tk::WindowDC screen(nullptr);
        tk::MemoryDC mem(screen);
        tk::Select sel(mem, view.handle());
        SetStretchBltMode(mem, COLORONCOLOR);
        StretchBlt(mem, 0, 0, w, h, screen, p.x - kSourceHalf, p.y - kSourceHalf, kSourceSize, kSourceSize,
                   SRCCOPY | CAPTUREBLT);
        GdiFlush();

        ViewBits bits{view.bits(), w, h, view.stride()};
        Sample sample = sampleView(bits, averaging_);
        picked_ = sample.colour;
        marker_ = sample.marker;
        decText_ = sample.decimal;
        hexText_ = sample.hexadecimal;
        drawMarks(bits, averaging_, marker_);
    }
    Image1.setPicture(tk::Bitmap(view.releaseHandle()), w, h);

    lblPickColor1.setColours(tk::resolveColour(settings.MojiColor), tk::resolveColour(settings.MojiBKColor));
    CuteButton2.setColor(GetSysColor(COLOR_BTNFACE));
    CuteButton2.setFontColor(RGB(picked_.r, picked_.g, picked_.b));
    std::wstring text;
    if (isChecked(L"mnuV16")) text = tk::widen(hexText_);
    else if (isChecked(L"mnuV10")) text = tk::widen(decText_);
    else return;
    lblPickColor1.setCaption(text);
    tk::app().setTitle(text);
}

void TfrmMagnify::StopMagnifier() {
    Timer1->setInterval(0);
    Image1.clear();
    workingImage_ = hueloom::image::Dib();
    ApplyLayout(Layout::Image);
}

void TfrmMagnify::RestoreMagnifier() {
    tk::app().showTaskbarButton(false);
    ShowWindow(hwnd_, SW_HIDE);
    tk::app().processMessages();
    Image1.clear();
    workingImage_ = hueloom::image::Dib();
    ApplyLayout(Layout::Magnifier);
    pmnuDispNormalClick();
    SetWindowShape(shapeFull_);
    colourListMode_ = false;
    tracker_.reset();
    Timer1->setInterval(100);
    tk::app().showTaskbarButton(true);
    ShowWindow(hwnd_, SW_SHOW);
}

void TfrmMagnify::mnuOriginalModeClick() {
    RestoreMagnifier();
    setChecked(L"mnuOriginalMode", true);
    if (isChecked(L"mnuTOPMOST")) mnuTOPMOSTClick();
    if (isChecked(L"mnuHookHotKey")) mnuHookHotKeyClick();
}

// ------------------------------------------------------------------ menus

void TfrmMagnify::mnuV10Click() {
    setChecked(L"mnuV10", true);
    setChecked(L"mnuV16", false);
}

void TfrmMagnify::mnuV16Click() {
    setChecked(L"mnuV16", true);
    setChecked(L"mnuV10", false);
}

void TfrmMagnify::mnuPixelClick() { averaging_ = 1; }

void TfrmMagnify::mnuTOPMOSTClick() {
    setChecked(L"mnuTOPMOST", true);
    setChecked(L"mnuNOTOPMOST", false);
    RECT r = bounds();
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOACTIVATE);
}

void TfrmMagnify::mnuNOTOPMOSTClick() {
    setChecked(L"mnuNOTOPMOST", true);
    setChecked(L"mnuTOPMOST", false);
    RECT r = bounds();
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOACTIVATE);
}

MenuFacts TfrmMagnify::menuFacts() const {
    MenuFacts f;
    f.magnifierRunning = magnifierRunning();
    f.hasPickedColours = cbxPickColor.count() > 0;
    f.undoAvailable = UndoAvailable;
    f.workingImagePalette8 = workingImage_.isPalette8();
    return f;
}

void TfrmMagnify::enableTwins(std::initializer_list<const wchar_t*> names, bool on) {
    for (const wchar_t* n : names)
        if (tk::MenuItem* it = item(n)) it->enabled = on;
}

void TfrmMagnify::mnuFileClick() {
    const MenuEnabling e = menuEnabling(menuFacts());
    enableTwins({L"mnuSaveTxt", L"pmnuSaveTxt"}, e.saveTxt);
    enableTwins({L"mnuImgSave", L"pmnuImgSave"}, e.imgSave);
}

void TfrmMagnify::mnuShowClick() {
    const MenuEnabling e = menuEnabling(menuFacts());
    enableTwins({L"mnuColorClear", L"pmnuColorClear"}, e.colorClear);
    enableTwins({L"mnuColorSample", L"pmnuColorSample", L"mnuVariousColor", L"pmnuVariousColor"}, e.colorSample);
    setChecked(L"mnuPixel", averaging_ == 1);
    setChecked(L"mnuPixels", averaging_ != 1);
}

void TfrmMagnify::mnuToolClick() { enableTwins({L"mnuColorToImg", L"pmnuColorToImg"}, menuEnabling(menuFacts()).colorToImg); }

void TfrmMagnify::CuteButton1Click() {
    RECT r;
    GetWindowRect(CuteButton1.hwnd(), &r);
    PopupMenu1.popup(hwnd_, r.left, r.bottom);
}

void TfrmMagnify::CuteButton2Click() {
    RECT r;
    GetWindowRect(CuteButton2.hwnd(), &r);
    PopupMenu2.popup(hwnd_, r.left, r.bottom);
}

// ------------------------------------------------------------------ display modes

void TfrmMagnify::ApplyDisplayMode(const void* sender) {
    if (sender == this) displayMode_ = nextDisplayMode(displayMode_);
    auto checkOnly = [this](const wchar_t* name) {
        for (const wchar_t* n : {L"pmnuDispNormal", L"pmnuDispBar1", L"pmnuDispBar2"})
            PopupMenu2.find(n)->checked = std::wstring(n) == name;
    };
    switch (displayMode_) {
    case Normal:
        SetWindowShape(shapeSeeThrough_);
        checkOnly(L"pmnuDispNormal");
        seeThrough_ = true;
        break;
    case Bar1:
        SetWindowShape(shapeBar1_);
        checkOnly(L"pmnuDispBar1");
        break;
    case Bar2:
        SetWindowShape(shapeBar2_);
        checkOnly(L"pmnuDispBar2");
        break;
    default:
        break;
    }
}

void TfrmMagnify::pmnuDispNormalClick() {
    displayMode_ = Normal;
    ApplyDisplayMode(PopupMenu2.find(L"pmnuDispNormal"));
}

void TfrmMagnify::pmnuDispBar1Click() {
    displayMode_ = Bar1;
    ApplyDisplayMode(PopupMenu2.find(L"pmnuDispBar1"));
}

void TfrmMagnify::pmnuDispBar2Click() {
    displayMode_ = Bar2;
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
    frameColor_ = (blinkCount_ % 2 == 0) ? settings.ActiveColor : settings.DeactiveColor;
    FormPaint(true);
    ++blinkCount_;
}

void TfrmMagnify::FormPaint(HDC dc) {
    if (layout_ == Layout::Magnifier && skin_) {
        tk::MemoryDC mem(dc);
        tk::Select sel(mem, skin_.handle());
        BitBlt(dc, 0, 0, L::kWidth, L::kHeight, mem, 0, 0, SRCCOPY);
    } else {
        RECT rc = clientRect();
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    }
    tk::Region rgn = tk::windowRegion(hwnd_);
    if (!rgn) return;
    tk::Brush brush(CreateSolidBrush(tk::resolveColour(frameColor_)));
    FrameRgn(dc, rgn, brush, 3, 2);
}

void TfrmMagnify::FormPaint(bool outlineOnly) {
    if (!hwnd_) return;
    if (!outlineOnly) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    tk::WindowDC dc(hwnd_);
    tk::Region rgn = tk::windowRegion(hwnd_);
    if (!rgn) return;
    tk::Brush brush(CreateSolidBrush(tk::resolveColour(frameColor_)));
    FrameRgn(dc, rgn, brush, 3, 2);
}

LRESULT TfrmMagnify::hitTest(int x, int y) {
    LRESULT r = Form::hitTest(x, y);
    return r == HTCLIENT ? HTCAPTION : r;
}

bool TfrmMagnify::dialogKey(WORD vk, WORD) {
    Arrow a;
    switch (vk) {
    case VK_LEFT: a = Arrow::Left; break;
    case VK_UP: a = Arrow::Up; break;
    case VK_RIGHT: a = Arrow::Right; break;
    case VK_DOWN: a = Arrow::Down; break;
    default: return false;
    }
    POINT p;
    GetCursorPos(&p);
    BYTE keys[256];
    GetKeyboardState(keys);
    bool shift = (keys[VK_SHIFT] & 0x80) != 0;
    Point np = nudge({p.x, p.y}, a, shift);
    SetCursorPos(np.x, np.y);
    return true;
}

bool TfrmMagnify::closeQuery() {
    SaveSettings();
    std::wstring undo = undoPath();
    if (GetFileAttributesW(undo.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileW(undo.c_str());
    return true;
}

void TfrmMagnify::FormDestroy() {
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
        if (displayMode_ != ImageLayout && shapeBar2_ && PtInRegion(shapeBar2_, p.x, p.y))
            ApplyDisplayMode(this);
        return r;
    }
    case WM_GETMINMAXINFO:
        if (layout_ == Layout::Magnifier) {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
            mmi->ptMinTrackSize = {L::kWidth, L::kHeight};
            mmi->ptMaxTrackSize = {L::kWidth, L::kHeight};
            return 0;
        }
        break;
    case WM_SIZE:
        arrangeImageLayout();
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lp) == cbxPickColor.hwnd())
            if (HBRUSH b = cbxPickColor.controlColour(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
        break;
    case WM_PRINTCLIENT:
        FormPaint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_DESTROY:
        FormDestroy();
        break;
    }
    return Form::wndProc(msg, wp, lp);
}

// ------------------------------------------------------------------ settings

namespace {

// Writes a whole file through a temporary beside it, so that a failed write
// leaves any earlier file of that name as it was.
bool writeFileReplacing(const std::wstring& path, const std::string& bytes) {
    std::wstring tmp = path + L".hueloom-tmp";
    HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
        ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = CloseHandle(h) && ok;
    if (ok) ok = MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(tmp.c_str());
    return ok;
}

std::string platformKeyName(uint8_t vk) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    char buf[64] = {};
    if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), buf, sizeof buf) > 0) return buf;
    return {};
}

}  // namespace

void TfrmMagnify::LoadSettings() {
    namespace S = hueloom::settings;
    S::WinProfile profile(settingsPath);
    S::Environment env;
    env.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    env.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    env.windowWidth = width();
    env.windowHeight = height();
    env.programFolder = hueloom::folderOf(S::programPathAnsi());
    env.keyName = platformKeyName;
    settings = S::loadSettings(profile, env);
    SetWindowPos(hwnd_, nullptr, settings.Left, settings.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMagnify::SaveSettings() {
    namespace S = hueloom::settings;
    RECT r = bounds();
    settings.Top = r.top;
    settings.Left = r.left;
    S::MenuState m;
    m.topmostChecked = isChecked(L"mnuTOPMOST");
    m.notTopmostChecked = isChecked(L"mnuNOTOPMOST");
    m.v10Checked = isChecked(L"mnuV10");
    m.v16Checked = isChecked(L"mnuV16");
    m.notHookHotKeyChecked = isChecked(L"mnuNotHookHotKey");
    m.hookHotKeyChecked = isChecked(L"mnuHookHotKey");
    S::WinProfile profile(settingsPath);
    S::saveSettings(profile, settings, m, platformKeyName);
}

void TfrmMagnify::setMenuShortcuts() {
    auto set = [this](const wchar_t* name, uint16_t sc) {
        if (tk::MenuItem* it = MainMenu1.find(name)) it->shortcut = sc;
        if (tk::MenuItem* it = PopupMenu1.find(std::wstring(L"p") + name)) it->shortcut = sc;
    };
    set(L"mnuIroCopy", settings.HotKeyGetColor);
    set(L"mnuScreenCapture", settings.HotKeyScreenCapture);
    set(L"mnuWindowCapture", settings.HotKeyWindowCapture);
    set(L"mnuRectCapture", settings.HotKeyRectCapture);
}

// ------------------------------------------------------------------ picked colours

void TfrmMagnify::AddPickedColour(const std::string& entry, const std::string& colourText) {
    pickedList_.add(entry, colourText);
    cbxPickColor.add(tk::widen(entry));
    cbxPickColor.select(cbxPickColor.count() - 1);
}

void TfrmMagnify::pmnuIroCopyClick() {
    if (!magnifierRunning()) return;
    copyPickedColour(lblPickColor1.caption(), toColourValue(picked_));
}

void TfrmMagnify::mnuColorClearClick() {
    pickedList_.clear();
    cbxPickColor.clear();
    if (colourListMode_) Image1.clear();
}

void TfrmMagnify::mnuSaveTxtClick() {
    if (pickedList_.empty()) return;
    // The system-wide hot keys stay quiet while the dialog is open.
    const bool switched = isChecked(L"mnuHookHotKey");
    if (switched) mnuNotHookHotKeyClick();
    struct Restore {
        TfrmMagnify* self;
        bool on;
        ~Restore() {
            if (on) self->mnuHookHotKeyClick();
        }
    } restore{this, switched};

    std::wstring initialDir = tk::widen(settings.InitialDirTxt);
    wchar_t file[MAX_PATH * 4] = {};
    lstrcpynW(file, memoFileName_.c_str(), static_cast<int>(std::size(file)));
    OPENFILENAMEW ofn{sizeof(ofn)};
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = L"テキストファイル(*.txt)\0*.txt\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (GetSaveFileNameW(&ofn)) {
        if (!writeFileReplacing(file, pickedList_.memoText())) {
            wchar_t msg[MAX_PATH * 4 + 64];
            wsprintfW(msg, L"ファイル %s を作成できません", file);
            MessageBoxW(hwnd_, msg, tk::app().title().c_str(), MB_OK | MB_ICONERROR);
            return;
        }
        memoFileName_ = file;
    }
    settings.InitialDirTxt = hueloom::folderOf(tk::narrow(memoFileName_));
}

// ------------------------------------------------------------------ hot keys

void TfrmMagnify::mnuNotHookHotKeyClick() {
    setChecked(L"mnuNotHookHotKey", true);
    setChecked(L"mnuHookHotKey", false);
    for (int index = 1; index <= 4; ++index) HookHotKey1->RemoveHotKey(index);
}

void TfrmMagnify::mnuHookHotKeyClick() {
    setChecked(L"mnuNotHookHotKey", false);
    setChecked(L"mnuHookHotKey", true);
    const uint16_t keys[4] = {settings.HotKeyGetColor, settings.HotKeyScreenCapture, settings.HotKeyWindowCapture,
                              settings.HotKeyRectCapture};
    for (int index = 1; index <= 4; ++index) HookHotKey1->AddHotKey(index, keys[index - 1]);
}

namespace {

// The main window's commands as the hot-key dispatch sees them.
class MagnifyCommands : public hueloom::hotkeys::HotKeyCommands {
public:
    explicit MagnifyCommands(TfrmMagnify& f) : f_(f) {}
    bool savePictureDialogOpen() override { return f_.savePictureDialogOpen; }
    void copyColour() override { f_.pmnuIroCopyClick(); }
    void screenCapture() override { f_.mnuScreenCaptureClick(); }
    void windowCapture() override { f_.mnuWindowCaptureClick(); }
    void rectCapture() override { f_.mnuRectCaptureClick(); }
    void setActivate(bool on) override { f_.HookHotKey1->Activate = on; }

private:
    TfrmMagnify& f_;
};

}  // namespace

void TfrmMagnify::HookHotKey1HotKey(int index) {
    MagnifyCommands commands(*this);
    hueloom::hotkeys::dispatchHotKey(index, commands);
}

void TfrmMagnify::PrintScreenFilter(MSG& msg, bool& handled) {
    if (printScreenKeys) printScreenKeys->filter(msg, handled);
}


void TfrmMagnify::mnuHintClick() {
    tk::app().setTitle(L"Hueloom");
    RECT r = bounds();
    ShowInfoBox(L"ヒント", tk::widen(hintText_, CP_UTF8), r.right, r.top, false, settings.ActiveColor);
}

// ------------------------------------------------------------------ options

void TfrmMagnify::mnuSettingClick(int command) {
    // While the dialog is open the system-wide keys stay unregistered, so a
    // combination typed into a hot-key field is entered, not fired.
    if (isChecked(L"mnuHookHotKey"))
        for (int index = 1; index <= 4; ++index) HookHotKey1->RemoveHotKey(index);
    struct Reapply {
        TfrmMagnify* f;
        ~Reapply() {
            if (f->isChecked(L"mnuNotHookHotKey")) f->mnuNotHookHotKeyClick();
            else if (f->isChecked(L"mnuHookHotKey")) f->mnuHookHotKeyClick();
        }
    } reapply{this};

    OptionDialogState st;
    st.settings = settings;
    st.averagingSize = averaging_;
    for (int i = 0; i < hueloom::capture::kCursorCount; ++i) st.cursorNames.push_back(hueloom::capture::cursorName(i));
    st.cursorImage = [](const std::wstring& name) {
        for (int i = 0; i < hueloom::capture::kCursorCount; ++i)
            if (name == hueloom::capture::cursorName(i)) return hueloom::capture::cursorForIndex(i);
        return LoadCursorW(nullptr, IDC_ARROW);
    };
    st.chooseColor = [this](unsigned& c) {
        colourSampleOpen_ = true;
        SampleColorChoice r;
        {
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{colourSampleOpen_};
            r = ChooseSampleColor(*this);
        }
        if (r.confirmed) c = r.colour;
        return r.confirmed;
    };
    if (!ShowOptionDialog(st, hueloom::ui::firstOptionPage(static_cast<hueloom::ui::OptionCommand>(command)))) return;
    settings = st.settings;
    averaging_ = st.averagingSize;
    applyCaptureCursor();
    ScrollBox1.setColour(tk::resolveColour(settings.ImgBKColor));
    if (colourListMode_) rebuildColourList();
    setFrameColour(settings.ActiveColor);
    tracker_.reset();  // the next sampling step redraws with the new colours and size
    setMenuShortcuts();
}

// ------------------------------------------------------------------ colour sample

void TfrmMagnify::mnuColorSampleClick() {
    if (!magnifierRunning()) return;
    colourSampleOpen_ = true;
    Timer1->setInterval(0);
    Image1.clear();
    struct Restart {
        TfrmMagnify* f;
        ~Restart() {
            f->colourSampleOpen_ = false;
            f->Timer1->setInterval(100);
        }
    } restart{this};
    ShowColorSample(*this);
}

// The colour copy shared by the hot key and the colour sample window: only
// once the value is on the clipboard does the list take it.
void TfrmMagnify::copyPickedColour(const std::wstring& valueText, uint32_t colourValue) {
    if (valueText.empty()) return;
    {
        tk::Clipboard clip(hwnd_);
        clip.empty();
        clip.setText(valueText);
    }
    std::string entry = pickedList_.pick(tk::narrow(valueText), colourValue);
    cbxPickColor.add(tk::widen(entry));
    cbxPickColor.select(cbxPickColor.count() - 1);
}

void TfrmMagnify::showReadout(const std::wstring& text) {
    lblPickColor1.setTransparent(false);
    lblPickColor1.setColours(tk::resolveColour(settings.MojiColor), tk::resolveColour(settings.MojiBKColor));
    lblPickColor1.setCaption(text);
}

void TfrmMagnify::clearReadout() {
    lblPickColor1.setColours(tk::resolveColour(settings.MojiColor), RGB(255, 255, 255));
    lblPickColor1.setCaption(L"");
}
