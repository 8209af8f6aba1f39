// The options dialog under Wine: opened on a page over given settings, its
// controls driven with real messages, and what it hands back when closed.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "win_test_support.h"
#include "core/texts.h"
#include "settings/colour_key.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "dialogs/options/option_win.h"

namespace {

namespace dialogs = hueloom::dialogs;
namespace st = hueloom::settings;

// Runs `whileOpen` once the dialog is on screen, from inside its modal loop.
bool runDialog(hueloom::dialogs::OptionDialogState& state, int page,
               const std::function<void(hueloom::dialogs::TfrmCompressOption&)>& whileOpen) {
    return ModalDriver::runOn<hueloom::dialogs::TfrmCompressOption>(
        whileOpen, [&] { return hueloom::dialogs::ShowOptionDialog(state, page); });
}

void click(HWND h, int x = 5, int y = 5) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void closeWithX(hueloom::dialogs::TfrmCompressOption& d) { click(d.CuteButton1.hwnd(), 18, 18); }

using Snapshot = ClientSnapshot;

st::Settings sampleSettings() {
    st::Settings s;
    s.JPGQuality = 90;
    s.PNGQuality = 2;
    s.OptionRectWidth = 33;
    s.ActiveColor = hueloom::rgbColour(0, 160, 80);
    s.MaskColor = hueloom::kClRed;
    s.HotKeyGetColor = hueloom::kShortcutShift | hueloom::kShortcutCtrl | 'C';
    s.HotKeyScreenCapture = hueloom::kShortcutAlt | (hueloom::vk::kF1 + 4);
    s.HotKeyWindowCapture = 0;
    s.HotKeyRectCapture = hueloom::kShortcutCtrl | 'R';
    s.HookPrintScreenKey = true;
    s.HookAltPrintScreenKey = false;
    s.SleepTime = 1500;
    s.CaptureCursor = 18;
    s.flgCursorCapture = true;
    return s;
}

hueloom::dialogs::OptionDialogState sampleState(int averaging = 1) {
    hueloom::dialogs::OptionDialogState state;
    state.settings = sampleSettings();
    state.averagingSize = averaging;
    state.chooseColor = [](unsigned&) { return false; };
    return state;
}

COLORREF pageColour(int page) { return tk::resolveColour(dialogs::optionPageColour(page)); }

}  // namespace

TEST(OptionDialog, OpensOnTheAskedPageShowingEverySetting) {
    hueloom::dialogs::OptionDialogState state = sampleState(9);
    std::wstring jpgCaption, rectText, sleepText;
    int page = -1, visiblePages = 0, jpg = 0, png = -2, average = -2, cursor = -2, itemHeight = 0, items = 0;
    bool hook = false, altHook = true, cursorCapture = false, pageShown = false;
    std::vector<WORD> keys;
    std::wstring caption;
    runDialog(state, dialogs::kPageColors, [&](hueloom::dialogs::TfrmCompressOption& d) {
        caption = d.text();
        page = d.activePage();
        for (int i = 0; i < dialogs::kOptionPageCount; ++i) visiblePages += IsWindowVisible(d.page(i).hwnd()) ? 1 : 0;
        pageShown = IsWindowVisible(d.page(dialogs::kPageColors).hwnd()) != FALSE;
        jpg = d.JPGBar.position();
        jpgCaption = d.Label1.caption();
        png = d.RadioGroupPNG.itemIndex();
        rectText = d.Edit1.text();
        average = d.RadioGroupAverage.itemIndex();
        for (auto& k : d.hotKeys) keys.push_back(k.shortcut());
        hook = d.chbxPrintScreen.checked();
        altHook = d.chbxAltPrintScreen.checked();
        sleepText = d.edtSleep.text();
        cursor = d.ComboBox1.selected();
        items = d.ComboBox1.count();
        itemHeight = static_cast<int>(SendMessageW(d.ComboBox1.hwnd(), CB_GETITEMHEIGHT, 0, 0));
        cursorCapture = d.CheckCursorCapture.checked();
        closeWithX(d);
    });
    EXPECT_EQ(caption, L"オプション設定");
    EXPECT_EQ(page, dialogs::kPageColors);
    EXPECT_EQ(visiblePages, 1);
    EXPECT_TRUE(pageShown);
    EXPECT_EQ(jpg, 90);
    EXPECT_EQ(jpgCaption, L"JPG品質：90");
    EXPECT_EQ(png, 2);
    EXPECT_EQ(rectText, L"33");
    EXPECT_EQ(average, 3);  // "9ｘ9"
    const std::vector<WORD> expected{WORD(hueloom::kShortcutShift | hueloom::kShortcutCtrl | 'C'),
                                     WORD(hueloom::kShortcutAlt | (hueloom::vk::kF1 + 4)), 0,
                                     WORD(hueloom::kShortcutCtrl | 'R')};
    EXPECT_EQ(keys, expected);
    EXPECT_TRUE(hook);
    EXPECT_FALSE(altHook);
    EXPECT_EQ(sleepText, L"1500");
    EXPECT_EQ(cursor, 18);
    EXPECT_EQ(items, 20);
    EXPECT_EQ(itemHeight, 40);
    EXPECT_TRUE(cursorCapture);
    // Closed untouched: the same values come back.
    const st::Settings before = sampleSettings();
    EXPECT_EQ(state.averagingSize, 9);
    EXPECT_EQ(state.settings.JPGQuality, before.JPGQuality);
    EXPECT_EQ(state.settings.OptionRectWidth, before.OptionRectWidth);
    EXPECT_EQ(state.settings.HotKeyScreenCapture, before.HotKeyScreenCapture);
    EXPECT_EQ(state.settings.SleepTime, before.SleepTime);
    EXPECT_EQ(state.settings.CaptureCursor, before.CaptureCursor);
}

TEST(OptionDialog, MovedToA144DpiMonitorItsControlsFontsAndShapeScale) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    RECT win{}, close{}, shapeBox{}, title{};
    LOGFONTW closeFont{};
    runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
        RECT r;
        GetWindowRect(d.hwnd(), &r);
        RECT suggested{r.left, r.top, r.left + 609, r.top + 480};
        SendMessageW(d.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(d.hwnd(), &win);
        close = d.CuteButton1.bounds();
        title = d.Label16.bounds();
        GetObjectW(d.CuteButton1.font(), sizeof(closeFont), &closeFont);
        tk::Region shape = tk::windowRegion(d.hwnd());
        if (shape) GetRgnBox(shape, &shapeBox);
        closeWithX(d);
    });
    EXPECT_EQ(win.right - win.left, 609);
    EXPECT_EQ(win.bottom - win.top, 480);
    EXPECT_EQ(close.left, 501);  // 334 × 1.5
    EXPECT_EQ(close.top, 12);
    EXPECT_EQ(close.right - close.left, 56);  // 37 × 1.5, rounded
    EXPECT_EQ(title.left, 60);
    EXPECT_EQ(title.top, 29);  // 19 × 1.5, rounded
    EXPECT_EQ(closeFont.lfHeight, -29) << "the 19-pixel font made again at 144 dpi";
    EXPECT_EQ(shapeBox.right, 609);
    EXPECT_EQ(shapeBox.bottom, 480);
}

TEST(OptionDialog, AveragePageFromStandardModeSelectsNothingAndAChoiceIsTaken) {
    hueloom::dialogs::OptionDialogState state = sampleState(1);
    int page = -1, before = -2;
    runDialog(state, dialogs::kPageAverage, [&](hueloom::dialogs::TfrmCompressOption& d) {
        page = d.activePage();
        before = d.RadioGroupAverage.itemIndex();
        SendMessageW(d.RadioGroupAverage.button(2), BM_CLICK, 0, 0);  // "7ｘ7"
        closeWithX(d);
    });
    EXPECT_EQ(page, dialogs::kPageAverage);
    EXPECT_EQ(before, -1);
    EXPECT_EQ(state.averagingSize, 7);

    // Opened again and closed without a choice: standard mode stays.
    hueloom::dialogs::OptionDialogState again = sampleState(1);
    runDialog(again, dialogs::kPageAverage, [&](hueloom::dialogs::TfrmCompressOption& d) { closeWithX(d); });
    EXPECT_EQ(again.averagingSize, 1);
}

TEST(OptionDialog, EditsAreTakenBackHoweverTheDialogCloses) {
    hueloom::dialogs::OptionDialogState state = sampleState(5);
    std::wstring jpgCaption;
    int upAtTop = 0, afterDown = 0;
    runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
        // Slider moved by the keyboard: the caption follows.
        SendMessageW(d.JPGBar.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
        SendMessageW(d.JPGBar.hwnd(), WM_KEYUP, VK_RIGHT, 0);
        jpgCaption = d.Label1.caption();
        SendMessageW(d.RadioGroupPNG.button(3), BM_CLICK, 0, 0);
        // The up-down stops at 50, no wrap-around.
        d.UpDownRectWidth.setPosition(50);
        const RECT ud = d.UpDownRectWidth.clientRect();
        click(d.UpDownRectWidth.hwnd(), ud.right / 2, 2);
        upAtTop = d.UpDownRectWidth.position();
        click(d.UpDownRectWidth.hwnd(), ud.right / 2, ud.bottom - 3);
        afterDown = d.UpDownRectWidth.position();
        d.hotKeys[dialogs::kHotKeyWindowCapture].setShortcut(hueloom::kShortcutShift | hueloom::kShortcutAlt | 'W');
        d.hotKeys[dialogs::kHotKeyGetColor].setShortcut(0);
        SendMessageW(d.chbxPrintScreen.hwnd(), BM_CLICK, 0, 0);
        SendMessageW(d.chbxAltPrintScreen.hwnd(), BM_CLICK, 0, 0);
        SendMessageW(d.CheckCursorCapture.hwnd(), BM_CLICK, 0, 0);
        d.edtSleep.setText(L"500");
        d.ComboBox1.select(4);
        // Closed by the system's close command, not the "X" button.
        SendMessageW(d.hwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(jpgCaption, L"JPG品質：91");
    EXPECT_EQ(upAtTop, 50);
    EXPECT_EQ(afterDown, 49);
    const st::Settings& s = state.settings;
    EXPECT_EQ(s.JPGQuality, 91);
    EXPECT_EQ(s.PNGQuality, 3);
    EXPECT_EQ(s.OptionRectWidth, 49);
    EXPECT_EQ(state.averagingSize, 5);
    EXPECT_EQ(s.HotKeyGetColor, 0);
    EXPECT_EQ(s.HotKeyWindowCapture, hueloom::kShortcutShift | hueloom::kShortcutAlt | 'W');
    EXPECT_EQ(s.HotKeyRectCapture, hueloom::kShortcutCtrl | 'R');
    EXPECT_FALSE(s.HookPrintScreenKey);
    EXPECT_TRUE(s.HookAltPrintScreenKey);
    EXPECT_FALSE(s.flgCursorCapture);
    EXPECT_EQ(s.SleepTime, 500);
    EXPECT_EQ(s.CaptureCursor, 4);
}

TEST(OptionDialog, DelayThatIsNoNumberKeepsThePreviousOne) {
    for (const wchar_t* text : {L"12ms"}) {  // the other texts are covered by the portable tests
        hueloom::dialogs::OptionDialogState state = sampleState();
        runDialog(state, dialogs::kPageCapture, [&](hueloom::dialogs::TfrmCompressOption& d) {
            d.edtSleep.setText(text);
            closeWithX(d);
        });
        EXPECT_EQ(state.settings.SleepTime, 1500) << "text " << tk::narrow(text, CP_UTF8);
    }
    hueloom::dialogs::OptionDialogState negative = sampleState();
    runDialog(negative, dialogs::kPageCapture, [&](hueloom::dialogs::TfrmCompressOption& d) {
        d.edtSleep.setText(L"-300");
        closeWithX(d);
    });
    EXPECT_EQ(negative.settings.SleepTime, 0);
}

TEST(OptionDialog, HotKeyFieldTakesTheKeyTypedWithItsModifiers) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    WORD typed = 0;
    runDialog(state, dialogs::kPageHotKeys, [&](hueloom::dialogs::TfrmCompressOption& d) {
        HWND field = d.sHotKeyScreenCapture.hwnd();
        SetFocus(field);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(field, WM_KEYDOWN, VK_CONTROL, 0);
        SendMessageW(field, WM_KEYDOWN, 'K', 0);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
        SetKeyboardState(keys);
        SendMessageW(field, WM_KEYUP, 'K', 0);
        SendMessageW(field, WM_KEYUP, VK_CONTROL, 0);
        typed = d.sHotKeyScreenCapture.shortcut();
        closeWithX(d);
    });
    EXPECT_EQ(typed, hueloom::kShortcutCtrl | 'K');
    EXPECT_EQ(state.settings.HotKeyScreenCapture, hueloom::kShortcutCtrl | 'K');
}

TEST(OptionDialog, ColourSwatchTakesAConfirmedColourOnly) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    std::vector<unsigned> offered;
    int calls = 0;
    state.chooseColor = [&](unsigned& c) {
        offered.push_back(c);
        ++calls;
        if (calls == 1) {
            c = hueloom::rgbColour(0x12, 0x34, 0x56);
            return true;
        }
        c = 0xABCDEF;  // a declined choice must not leak through
        return false;
    };
    unsigned shownActive = 0, shownMask = 0;
    COLORREF pixel = 0, onScreen = 0;
    runDialog(state, dialogs::kPageColors, [&](hueloom::dialogs::TfrmCompressOption& d) {
        click(d.lblActiveColor.hwnd());
        click(d.lblMaskColor.hwnd());
        shownActive = d.swatchColour(dialogs::kActiveColor);
        shownMask = d.swatchColour(dialogs::kMaskColor);
        pixel = Snapshot(d.lblActiveColor.hwnd()).at(20, 8);
        // On the screen too: the swatch is not hidden by its black backing.
        RedrawWindow(d.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT r;
        GetWindowRect(d.lblActiveColor.hwnd(), &r);
        tk::WindowDC screen(nullptr);
        onScreen = GetPixel(screen, r.left + 20, r.top + 8);
        closeWithX(d);
    });
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], sampleSettings().ActiveColor);
    EXPECT_EQ(offered[1], hueloom::kClRed);
    EXPECT_EQ(shownActive, hueloom::rgbColour(0x12, 0x34, 0x56));
    EXPECT_EQ(pixel, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(onScreen, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(shownMask, hueloom::kClRed);
    EXPECT_EQ(state.settings.ActiveColor, hueloom::rgbColour(0x12, 0x34, 0x56));
    EXPECT_EQ(state.settings.MaskColor, hueloom::kClRed);
}

TEST(OptionDialog, BackgroundFollowsThePageAndTheOutlineIsFramedInTheActiveColour) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    COLORREF first = 0, afterTab = 0, frameLeft = 0, frameBottom = 0, tabFill = 0, pageOnScreen = 0;
    int pageAfterTab = -1, redInActiveTab = 0;
    bool cornerOut = false, bottomCornerIn = false, topMiddleIn = false;
    RECT win{};
    runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
        GetWindowRect(d.hwnd(), &win);
        first = Snapshot(d.hwnd()).at(250, 47);
        // A click on the tab of the hot-key page switches to it.
        const RECT tab = d.PageControl1.tabRect(dialogs::kPageHotKeys);
        click(d.PageControl1.hwnd(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        pump();
        pageAfterTab = d.activePage();
        Snapshot s(d.hwnd());
        afterTab = s.at(250, 47);
        frameLeft = s.at(1, 200);
        frameBottom = s.at(200, 318);
        // The page itself, as on the screen (below the last row of hot keys).
        RedrawWindow(d.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        {
            tk::WindowDC screen(nullptr);
            pageOnScreen = GetPixel(screen, win.left + 100, win.top + 300);
        }
        Snapshot tabs(d.PageControl1.hwnd());
        const RECT other = d.PageControl1.tabRect(dialogs::kPagePNG);
        tabFill = tabs.at(other.left + 3, other.top + 3);
        redInActiveTab = tabs.count(RGB(255, 0, 0), d.PageControl1.tabRect(dialogs::kPageHotKeys));
        cornerOut = !PtInRegion(d.shape(), 2, 2);
        bottomCornerIn = PtInRegion(d.shape(), 1, 318) != FALSE;
        topMiddleIn = PtInRegion(d.shape(), 200, 1) != FALSE;
        closeWithX(d);
    });
    EXPECT_EQ(win.right - win.left, 406);
    EXPECT_EQ(win.bottom - win.top, 320);
    EXPECT_EQ(win.left, (GetSystemMetrics(SM_CXSCREEN) - 406) / 2);
    EXPECT_EQ(win.top, (GetSystemMetrics(SM_CYSCREEN) - 320) / 2);
    EXPECT_EQ(first, pageColour(dialogs::kPageJPG));
    EXPECT_EQ(pageAfterTab, dialogs::kPageHotKeys);
    EXPECT_EQ(afterTab, pageColour(dialogs::kPageHotKeys));
    EXPECT_EQ(pageOnScreen, pageColour(dialogs::kPageHotKeys));
    EXPECT_EQ(frameLeft, RGB(0, 160, 80));
    EXPECT_EQ(frameBottom, RGB(0, 160, 80));
    EXPECT_EQ(tabFill, pageColour(dialogs::kPagePNG));
    EXPECT_GT(redInActiveTab, 5) << "the active tab's caption is drawn in red";
    EXPECT_TRUE(cornerOut);
    EXPECT_TRUE(bottomCornerIn);
    EXPECT_TRUE(topMiddleIn);
}

TEST(OptionDialog, DraggedByItsBackgroundButNotByItsControls) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    LRESULT title = 0, strip = 0, button = 0;
    runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
        RECT w;
        GetWindowRect(d.hwnd(), &w);
        auto hit = [&](int x, int y) {
            POINT p{w.left + x, w.top + y};
            HWND target = WindowFromPoint(p);
            // Transparent children pass the test on to the dialog.
            LRESULT r = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
            if (r == HTTRANSPARENT) r = SendMessageW(d.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
            return r;
        };
        title = hit(60, 30);  // on the title text
        strip = hit(250, 46);  // between title and pages
        button = hit(350, 25);
        closeWithX(d);
    });
    EXPECT_EQ(title, HTCAPTION);
    EXPECT_EQ(strip, HTCAPTION);
    EXPECT_EQ(button, HTCLIENT);
}

TEST(OptionDialog, CursorListDrawsTheNamedCursorAndNoText) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    std::vector<std::wstring> asked;
    state.cursorNames = {L"first", L"second"};
    state.cursorImage = [&](const std::wstring& name) -> HCURSOR {
        asked.push_back(name);
        return name == L"second" ? LoadCursorW(nullptr, IDC_CROSS) : nullptr;
    };
    state.settings.CaptureCursor = 1;
    int inked[2] = {-1, -1};
    int count = 0;
    runDialog(state, dialogs::kPageCapture, [&](hueloom::dialogs::TfrmCompressOption& d) {
        count = d.ComboBox1.count();
        for (int item = 0; item < 2; ++item) {
            tk::DibSection dib(73, 40, 32);
            tk::MemoryDC mem(nullptr);
            tk::Select sel(mem, dib.handle());
            DRAWITEMSTRUCT di{};
            di.CtlType = ODT_COMBOBOX;
            di.itemID = static_cast<UINT>(item);
            di.hDC = mem;
            di.rcItem = RECT{0, 0, 73, 40};
            d.ComboBox1DrawItem(di);
            GdiFlush();
            const COLORREF window = GetSysColor(COLOR_WINDOW);
            int n = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 73; ++x) {
                    const BYTE* p = dib.row(y) + x * 4;
                    if (RGB(p[2], p[1], p[0]) != window) {
                        ++n;
                        EXPECT_LT(x, 32);  // within the 32 x 32 cursor at the top-left corner
                        EXPECT_LT(y, 32);
                    }
                }
            inked[item] = n;
        }
        closeWithX(d);
    });
    EXPECT_EQ(count, 2);
    EXPECT_EQ(inked[0], 0) << "no cursor for the entry: nothing drawn";
    EXPECT_GT(inked[1], 10) << "the cross cursor is drawn";
    EXPECT_NE(std::find(asked.begin(), asked.end(), L"second"), asked.end());
    EXPECT_EQ(state.settings.CaptureCursor, 1);
}

TEST(OptionDialog, OneKeyForTwoCommandsIsRefusedAndTheDialogStaysOpen) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    MessageBoxCatcher boxes;
    const WORD shared = hueloom::kShortcutShift | hueloom::kShortcutCtrl | 'C';  // the colour copy's key
    bool openAfterX = false, openAfterClose = false;
    int page = -1;
    HWND focus = nullptr, rectField = nullptr;
    runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
        d.sHotKeyRectCapture.setShortcut(shared);
        closeWithX(d);
        openAfterX = d.visible() && d.modalResult() == 0;
        page = d.activePage();
        focus = GetFocus();
        rectField = d.sHotKeyRectCapture.hwnd();
        SendMessageW(d.hwnd(), WM_CLOSE, 0, 0);  // the system's close command too
        openAfterClose = d.visible() && d.modalResult() == 0;
        d.sHotKeyRectCapture.setShortcut(hueloom::kShortcutCtrl | 'Q');
        closeWithX(d);
    });
    EXPECT_FALSE(boxes.watchdogFired());
    EXPECT_TRUE(openAfterX);
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(page, dialogs::kPageHotKeys);
    EXPECT_EQ(focus, rectField);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0],
              L"ホットキー「Shift+Ctrl+C」が「色値コピー」と「矩形領域・キャプチャ」の両方に設定されています。\n"
              L"一つのキーは一つのコマンドにしか使えません。どちらかを別のキーにしてください。");
    EXPECT_EQ(state.settings.HotKeyGetColor, shared);
    EXPECT_EQ(state.settings.HotKeyRectCapture, hueloom::kShortcutCtrl | 'Q');
}

TEST(OptionDialog, OnlyOneDialogAtATime) {
    hueloom::dialogs::OptionDialogState state = sampleState();
    bool second = true;
    hueloom::dialogs::OptionDialogState other = sampleState();
    other.settings.JPGQuality = 5;
    runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
        second = hueloom::dialogs::ShowOptionDialog(other, dialogs::kPagePNG);
        closeWithX(d);
    });
    EXPECT_FALSE(second);
    EXPECT_EQ(other.settings.JPGQuality, 5);
}

TEST(OptionCursors, EveryStandardNameHasACursor) {
    const auto& names = hueloom::dialogs::OptionCursorNames();
    ASSERT_EQ(names.size(), 20u);
    EXPECT_EQ(names.front(), L"crArrow");
    EXPECT_EQ(names[9], L"crDrag");
    EXPECT_EQ(names[18], L"crHandPoint");
    EXPECT_EQ(names.back(), L"crSizeAll");
    for (const auto& n : names) EXPECT_NE(hueloom::dialogs::OptionCursorByName(n), nullptr) << tk::narrow(n, CP_UTF8);
    EXPECT_EQ(hueloom::dialogs::OptionCursorByName(L"crArrow"), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(hueloom::dialogs::OptionCursorByName(L"crSizeAll"), LoadCursorW(nullptr, IDC_SIZEALL));
    EXPECT_EQ(hueloom::dialogs::OptionCursorByName(L"crNothing"), nullptr);
}

TEST(OptionHotKeyEdit, ShortcutWordsAndTheControlsOwnFormConvertBothWays) {
    using tk::HotKeyEdit;
    EXPECT_EQ(HotKeyEdit::toControlValue(0x2000 | 0x4000 | 'C'), MAKEWORD('C', HOTKEYF_SHIFT | HOTKEYF_CONTROL));
    EXPECT_EQ(HotKeyEdit::toControlValue(0x8000 | VK_F5), MAKEWORD(VK_F5, HOTKEYF_ALT));
    EXPECT_EQ(HotKeyEdit::toControlValue(0x4000), 0);  // a modifier alone is no key
    EXPECT_EQ(HotKeyEdit::fromControlValue(MAKEWORD('Z', HOTKEYF_ALT | HOTKEYF_EXT)), 0x8000 | 'Z');
    EXPECT_EQ(HotKeyEdit::fromControlValue(MAKEWORD(0, HOTKEYF_CONTROL)), 0);
    for (WORD sc : {WORD(0x2000 | 0x4000 | 0x8000 | 'Q'), WORD(VK_F12), WORD(0x4000 | VK_SNAPSHOT)})
        EXPECT_EQ(HotKeyEdit::fromControlValue(HotKeyEdit::toControlValue(sc)), sc);
}

namespace {

// Every page of the options fits its texts in both languages at both scalings.
TEST(OptionDialog, EveryTextFitsItsControlInBothLanguages) {
    expectNothingClippedInBothLanguages([] {
        hueloom::dialogs::OptionDialogState state = sampleState(9);
        std::vector<std::wstring> clipped;
        runDialog(state, dialogs::kPageJPG, [&](hueloom::dialogs::TfrmCompressOption& d) {
            for (int dpi : {96, 144}) {
                if (dpi != 96) moveToDpi(d.hwnd(), dpi);
                for (int page = 0; page < dialogs::kOptionPageCount; ++page) {
                    d.setActivePage(page);
                    for (const std::wstring& t : clippedTexts(d.hwnd())) clipped.push_back(t);
                }
            }
            closeWithX(d);
        });
        return clipped;
    });
}

}  // namespace
