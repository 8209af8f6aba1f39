// The information box under Wine: its layout, placement, check box and shape.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "win_test_support.h"
#include "core/texts.h"
#include "toolkit/application_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/menu_win.h"
#include "dialogs/infobox/info_box_win.h"

namespace {

using Snapshot = ClientSnapshot;

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }
void press(HWND h) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5)); }
void release(HWND h) { SendMessageW(h, WM_LBUTTONUP, 0, at(5, 5)); }

// Shows the box and runs `whileOpen` once it is on screen.
bool runBox(const std::function<void(hueloom::dialogs::TfrmMyDlg&)>& whileOpen, const std::wstring& title,
            const std::wstring& text, int x, int y, bool checkBox,
            unsigned frame = hueloom::dialogs::kInfoBoxDefaultFrameColor) {
    return ModalDriver::runOn<hueloom::dialogs::TfrmMyDlg>(
        whileOpen, [&] { return hueloom::dialogs::ShowInfoBox(title, text, x, y, checkBox, frame); });
}

void clickOk(hueloom::dialogs::TfrmMyDlg& box) {
    press(box.OKBtn.hwnd());
    release(box.OKBtn.hwnd());
}

RECT windowRect(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r;
}

int contentLineHeight() {
    tk::Font f(CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐゴシック"));
    tk::WindowDC dc(nullptr);
    tk::Select sel(dc, f);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight;
}

}  // namespace

TEST(InfoBox, OneLineTextSizesTheBoxAndPlacesItsControls) {
    const int line = contentLineHeight();
    RECT win{}, rule2{}, check{}, ok{}, content{};
    HWND focus = nullptr;
    bool checkVisible = false;
    std::wstring caption;
    COLORREF okFace = 0;
    int okBlue = 0;
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            {
                Snapshot s(box.OKBtn.hwnd());
                okFace = s.at(5, s.height() / 2);
                okBlue = s.count(RGB(0, 0, 255));
            }
            win = windowRect(box.hwnd());
            rule2 = box.Label2.bounds();
            check = box.CheckBox1.bounds();
            ok = box.OKBtn.bounds();
            content = box.lblContent.bounds();
            checkVisible = box.CheckBox1.visible();
            focus = GetFocus() == box.OKBtn.hwnd() ? box.OKBtn.hwnd() : nullptr;
            caption = box.text();
            clickOk(box);
        },
        L"情報！", L"One line of text that is wider than the minimum", -1, -1, true);
    const int w = win.right - win.left, h = win.bottom - win.top;
    const int b = 51 + line;
    EXPECT_EQ(content.bottom - content.top, line);
    EXPECT_EQ(h, b + 25 + 15 + 20) << "line height " << line;
    if (line == 13) {
        EXPECT_EQ(h, 124);
    }
    EXPECT_EQ(w, 2 * 8 + (content.right - content.left));
    EXPECT_EQ(rule2.top, b);
    EXPECT_EQ(rule2.right - rule2.left, w - 11);
    EXPECT_EQ(check.top, b + 8);
    EXPECT_EQ(check.left, 8);
    EXPECT_EQ(ok.top, b + 8 + 15 + 2);
    EXPECT_EQ(ok.left, (w - 65) / 2);
    EXPECT_EQ(ok.right - ok.left, 65);
    EXPECT_TRUE(checkVisible);
    EXPECT_TRUE(focus) << "the OK button is the focused control";
    EXPECT_EQ(okFace, RGB(255, 204, 153));
    EXPECT_GT(okBlue, 10) << "blue caption";
    EXPECT_EQ(caption, L"情報！");
    // Without the x/y: centred on the screen.
    EXPECT_EQ(win.left, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
    EXPECT_EQ(win.top, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    // Destroyed before ShowInfoBox returned.
    EXPECT_EQ(hueloom::dialogs::TfrmMyDlg::current(), nullptr);
    EXPECT_EQ(FindWindowW(L"TfrmMyDlg", nullptr), nullptr);
}

TEST(InfoBox, MovedToA144DpiMonitorItLaysItselfOutAgainAtThatDpi) {
    RECT before{}, after{}, ok{}, shapeBox{}, content{};
    int dpi = 0, lineAt144 = 0;
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            before = windowRect(box.hwnd());
            // The system's message when the window reaches a 150 % monitor,
            // with the rectangle it suggests.
            RECT suggested{before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                           before.top + (before.bottom - before.top) * 3 / 2};
            SendMessageW(box.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
            dpi = box.dpi();
            after = windowRect(box.hwnd());
            ok = box.OKBtn.bounds();
            content = box.lblContent.bounds();
            tk::Region shape = tk::windowRegion(box.hwnd());
            if (shape) GetRgnBox(shape, &shapeBox);
            {
                // The content's font, 13 pixels at 96 dpi, is 20 high now.
                tk::Font f = tk::makeFont(13, 144, FW_NORMAL);
                tk::WindowDC dc(nullptr);
                tk::Select sel(dc, f);
                TEXTMETRICW tm{};
                GetTextMetricsW(dc, &tm);
                lineAt144 = tm.tmHeight;
            }
            clickOk(box);
        },
        L"Hueloom", L"two lines\r\nof text", -1, -1, true);
    EXPECT_EQ(dpi, 144);
    EXPECT_EQ(after.left, before.left) << "at the suggested place";
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(content.bottom - content.top, 2 * lineAt144) << "measured in the new font";
    EXPECT_EQ(content.left, 12);
    EXPECT_EQ(ok.right - ok.left, 98);
    EXPECT_EQ(ok.bottom - ok.top, 38);
    const int h = after.bottom - after.top;
    EXPECT_EQ(h, 76 + 2 * lineAt144 + 38 + 23 + 30);
    EXPECT_EQ(ok.bottom, h - 15) << "the layout of 144 dpi: 10 below the button at 96";
    // The rounded shape is rebuilt at the new size (a round rectangle's
    // region stops one pixel short of its right and bottom edges).
    EXPECT_EQ(shapeBox.right, after.right - after.left - 1);
    EXPECT_EQ(shapeBox.bottom, h - 1);
}

TEST(InfoBox, ShortTextKeepsTheMinimumWidthAndHiddenCheckBoxKeepsItsRoom) {
    const int line = contentLineHeight();
    RECT win{}, ok{};
    bool checkVisible = true;
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            win = windowRect(box.hwnd());
            ok = box.OKBtn.bounds();
            checkVisible = box.CheckBox1.visible();
            clickOk(box);
        },
        L"確認", L"No image!", -1, -1, false);
    const int w = win.right - win.left;
    EXPECT_EQ(w, 121);
    EXPECT_EQ(ok.left, (121 - 65) / 2);
    EXPECT_FALSE(checkVisible);
    EXPECT_EQ(win.bottom - win.top, 51 + line + 60);
}

TEST(InfoBox, PlacedAtTheTargetOrFlushWithTheScreenEdges) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    RECT win{};
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            win = windowRect(box.hwnd());
            clickOk(box);
        },
        L"Hueloom", L"beside the window", 100, 50, true);
    EXPECT_EQ(win.left, 100);
    EXPECT_EQ(win.top, 50);

    RECT moved{}, back{};
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            win = windowRect(box.hwnd());
            // Dragged away, then activated again: it returns to its place.
            SetWindowPos(box.hwnd(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            moved = windowRect(box.hwnd());
            SendMessageW(box.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
            back = windowRect(box.hwnd());
            clickOk(box);
        },
        L"Hueloom", L"at the corner of the screen", sw - 20, sh - 30, true);
    const int w = win.right - win.left, h = win.bottom - win.top;
    EXPECT_EQ(win.left, sw - w);
    EXPECT_EQ(win.top, sh - h);
    EXPECT_EQ(win.right, sw);
    EXPECT_EQ(win.bottom, sh);
    EXPECT_EQ(moved.left, 10);
    EXPECT_EQ(back.left, sw - w);
    EXPECT_EQ(back.top, sh - h);
}

TEST(InfoBox, ReturnsWhetherTheCheckBoxWasTickedAndStartsCleared) {
    bool startedClear = false;
    const bool ticked = runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            startedClear = !box.CheckBox1.checked();
            SendMessageW(box.CheckBox1.hwnd(), BM_CLICK, 0, 0);  // as a click on it does
            clickOk(box);
        },
        L"情報！", L"tick me", -1, -1, true);
    EXPECT_TRUE(startedClear);
    EXPECT_TRUE(ticked);

    bool clearAgain = false;
    const bool untouched = runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            clearAgain = !box.CheckBox1.checked();
            clickOk(box);
        },
        L"情報！", L"leave me", -1, -1, true);
    EXPECT_TRUE(clearAgain);
    EXPECT_FALSE(untouched);

    // Ticked, then closed another way (Alt+F4 / WM_CLOSE): still reported.
    const bool closed = runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            SendMessageW(box.CheckBox1.hwnd(), BM_CLICK, 0, 0);
            PostMessageW(box.hwnd(), WM_CLOSE, 0, 0);
        },
        L"情報！", L"close me", -1, -1, true);
    EXPECT_TRUE(closed);
}

TEST(InfoBox, OnlyOneBoxAtATime) {
    bool second = true;
    int boxes = 0;
    DWORD took = 0;
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            DWORD t = GetTickCount();
            second = hueloom::dialogs::ShowInfoBox(L"second", L"must not show", -1, -1, true);
            took = GetTickCount() - t;
            for (HWND h = FindWindowW(L"TfrmMyDlg", nullptr); h; h = FindWindowExW(nullptr, h, L"TfrmMyDlg", nullptr))
                ++boxes;
            EXPECT_EQ(hueloom::dialogs::TfrmMyDlg::current(), &box);
            clickOk(box);
        },
        L"first", L"open", -1, -1, true);
    EXPECT_FALSE(second);
    EXPECT_LT(took, 500u);
    EXPECT_EQ(boxes, 1);
}

TEST(InfoBox, RoundedShapeFramedInTheActiveColourAndDraggableBackground) {
    const int line = contentLineHeight();
    const COLORREF frame = RGB(200, 0, 100);
    RECT win{};
    bool cornerOut = false, middleIn = false;
    COLORREF edge = 0, inside = 0, topEdge = 0;
    LRESULT bgHit = 0, okHit = 0, checkHit = 0, textHit = 0;
    HWND okAt = nullptr;
    runBox(
        [&](hueloom::dialogs::TfrmMyDlg& box) {
            win = windowRect(box.hwnd());
            const int w = win.right - win.left, h = win.bottom - win.top;
            tk::Region rgn = tk::windowRegion(box.hwnd());
            if (rgn) {
                cornerOut = !PtInRegion(rgn, 1, 1);
                middleIn = PtInRegion(rgn, w / 2, h / 2) != FALSE;
            }
            Snapshot s(box.hwnd());
            edge = s.at(2, h / 2);
            topEdge = s.at(w / 2, 1);
            inside = s.at(3, h / 2);
            auto hit = [&](HWND target, int x, int y) {
                return SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(win.left + x, win.top + y));
            };
            bgHit = hit(box.hwnd(), w - 12, h - 12);
            RECT okb = box.OKBtn.bounds();
            okAt = ChildWindowFromPoint(box.hwnd(), POINT{okb.left + 5, okb.top + 5});
            okHit = hit(box.OKBtn.hwnd(), okb.left + 5, okb.top + 5);
            RECT cb = box.CheckBox1.bounds();
            checkHit = hit(box.CheckBox1.hwnd(), cb.left + 5, cb.top + 5);
            RECT tb = box.lblContent.bounds();
            textHit = hit(box.lblContent.hwnd(), tb.left + 2, tb.top + 2);
            clickOk(box);
        },
        L"Hueloom", L"a framed box\r\nwith\r\n\r\nfour lines", 200, 200, true, 0x6400C8);
    EXPECT_EQ(win.bottom - win.top, 51 + 4 * line + 60) << "one line height per line";
    EXPECT_TRUE(cornerOut);
    EXPECT_TRUE(middleIn);
    EXPECT_EQ(edge, frame);
    EXPECT_EQ(topEdge, frame);
    EXPECT_EQ(inside, GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(bgHit, HTCAPTION);
    EXPECT_EQ(textHit, HTTRANSPARENT) << "the text lets the box be dragged";
    EXPECT_NE(okAt, nullptr);
    EXPECT_EQ(okHit, HTCLIENT);
    EXPECT_EQ(checkHit, HTCLIENT);
}

namespace {

// The start-up hint's box fits its texts in both languages at both scalings.
TEST(InfoBox, TheHintFitsInBothLanguagesAtBothScalings) {
    expectNothingClippedInBothLanguages([] {
        std::vector<std::wstring> clipped;
        runBox(
            [&](hueloom::dialogs::TfrmMyDlg& box) {
                clipped = clippedAtBothScalings(box.hwnd());
                clickOk(box);
            },
            hueloom::wideText("main.2"), L"Hueloom\r\nzlib 1.2.13 (C) 1995-2022 Jean-loup Gailly and Mark Adler.", -1,
            -1, true);
        return clipped;
    });
}

}  // namespace
