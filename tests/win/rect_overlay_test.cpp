// The rectangle-capture overlay and its size dialog under Wine: real window
// messages in, pixels, cursors, menu state and results out.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "win_test_support.h"
#include "core/texts.h"
#include "capture/rect_overlay_win.h"
#include "capture/size_dialog_win.h"
#include "image/dib.h"
#include "settings/settings.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/monitors_win.h"
#include "dialogs/infobox/info_box_win.h"

namespace {

using hueloom::Rect;
using hueloom::capture::selEmpty;
using hueloom::capture::selShown;
using hueloom::capture::selTracking;
using hueloom::image::Dib;

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

// Keys held down for the thread while in scope (GetKeyState sees them).
class HeldKeys {
public:
    HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE ks[256];
        std::memcpy(ks, saved_, sizeof ks);
        for (int k : keys) ks[k] = 0x80;
        SetKeyboardState(ks);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

// The frozen screen of the tests: every pixel tells where it is.
COLORREF frozenAt(int x, int y) { return RGB(0xC0 | ((x + y) & 0x3F), y & 0xFF, x & 0xFF); }
// What the red mask leaves of it.
COLORREF maskedAt(int x, int y) { return frozenAt(x, y) & RGB(255, 0, 0); }

Dib frozenPicture(int w, int h) {
    Dib d(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = d.scanLine(y) + x * 4;
            const COLORREF c = frozenAt(x, y);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return d;
}

class Snapshot : public ClientSnapshot {
public:
    using ClientSnapshot::ClientSnapshot;
    // Pixels along the rectangle's border that differ from the frozen screen.
    int changedOnBorder(const hueloom::Rect& r) const {
        int n = 0;
        for (int x = r.left; x < r.right; ++x) {
            n += at(x, r.top) != frozenAt(x, r.top);
            n += at(x, r.bottom - 1) != frozenAt(x, r.bottom - 1);
        }
        for (int y = r.top; y < r.bottom; ++y) {
            n += at(r.left, y) != frozenAt(r.left, y);
            n += at(r.right - 1, y) != frozenAt(r.right - 1, y);
        }
        return n;
    }
};

// A fresh overlay (not shown modally) over a frozen picture, red mask.
struct OverlayFixture : ::testing::Test {
    std::unique_ptr<hueloom::capture::TfrmVirtualDesktop> o = std::make_unique<hueloom::capture::TfrmVirtualDesktop>();
    void SetUp() override {
        ASSERT_TRUE(o->create());
        o->setMaskColor(0x0000FF);
        o->setFrozenScreen(frozenPicture(o->DesktopWidth, o->DesktopHeight));
    }
    HWND h() const { return o->hwnd(); }
    void down(int x, int y, UINT msg = WM_LBUTTONDOWN) { SendMessageW(h(), msg, MK_LBUTTON, at(x, y)); }
    void move(int x, int y) { SendMessageW(h(), WM_MOUSEMOVE, 0, at(x, y)); }
    void up(int x, int y, UINT msg = WM_LBUTTONUP) { SendMessageW(h(), msg, 0, at(x, y)); }
    void draw(int x0, int y0, int x1, int y1) {
        down(x0, y0);
        move((x0 + x1) / 2, (y0 + y1) / 2);
        move(x1, y1);
        up(x1, y1);
    }
    void key(WORD vk) {
        SendMessageW(h(), WM_KEYDOWN, vk, 1);
        SendMessageW(h(), WM_KEYUP, vk, 0xC0000001);
    }
    // A key through the message loop, as typed (menu shortcuts apply).
    void typed(WORD vk) {
        PostMessageW(h(), WM_KEYDOWN, vk, 1);
        PostMessageW(h(), WM_KEYUP, vk, 0xC0000001);
        pump();
    }
    tk::MenuItem* item(const wchar_t* name) { return o->PopupMenu1.find(name); }
};

HCURSOR sysCursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

// Shown, whether or not the overlay itself is on the screen.
bool shownFlag(const tk::Window& w) { return w.hwnd() && (GetWindowLongW(w.hwnd(), GWL_STYLE) & WS_VISIBLE); }

}  // namespace

// ---------------------------------------------------------------- overlay

TEST_F(OverlayFixture, CoversTheDesktopBorderlessOnTopWithTheCrossAndItsMenu) {
    RECT wr;
    GetWindowRect(h(), &wr);
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    EXPECT_EQ(wr.left, x);
    EXPECT_EQ(wr.top, y);
    EXPECT_EQ(wr.right, x + GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(wr.bottom, y + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const LONG style = GetWindowLongW(h(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(GetWindowLongW(h(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(hueloom::capture::TfrmVirtualDesktop::current(), o.get());

    HCURSOR cross = LoadCursorW(tk::app().hinstance(), L"MYCROSS2");
    ASSERT_NE(cross, nullptr) << "the cross cursor is a resource of the program";
    EXPECT_EQ(o->crSelectCross, cross);
    EXPECT_EQ(o->currentCursor(), cross);
    EXPECT_FALSE(shownFlag(o->LabRectSize));
    EXPECT_EQ(o->selection().state(), selEmpty);

    const std::pair<const wchar_t*, const wchar_t*> items[] = {
        {L"pmnuFreeSize", L"自由切抜き（サイズ自由）"},
        {L"pmnu16x16", L"固定切抜き 16x16"},
        {L"pmnu24x24", L"固定切抜き 24x24"},
        {L"pmnu32x32", L"固定切抜き 32x32"},
        {L"pmnu48x48", L"固定切抜き 48x48"},
        {L"pmnuOptSize", L"固定切抜き（サイズ指定）"},
        {L"pmnuRectCut", L"切抜き実行"},
        {L"pmnuCtrl_Z", L"取り消し"},
    };
    for (auto& [name, caption] : items) {
        tk::MenuItem* it = item(name);
        ASSERT_NE(it, nullptr) << tk::narrow(name, CP_UTF8);
        EXPECT_EQ(it->caption, caption);
        EXPECT_EQ(it->checked, std::wstring(name) == L"pmnuFreeSize");
    }
    EXPECT_FALSE(item(L"pmnuCtrl_Z")->visible);
    EXPECT_EQ(item(L"pmnuCtrl_Z")->shortcut, 0x4000 | 'Z');
    EXPECT_TRUE(item(L"pmnu32x32")->radio);
}

TEST_F(OverlayFixture, DragShowsTheFocusRectangleThenTheDropMasksOutsideAndShowsTheLabel) {
    down(300, 200);
    move(200, 150);
    move(100, 80);  // bottom-right to top-left
    {
        Snapshot s(h());
        EXPECT_EQ(s.at(50, 50), frozenAt(50, 50)) << "not masked while drawing";
        EXPECT_EQ(s.at(150, 120), frozenAt(150, 120));
        EXPECT_GT(s.changedOnBorder({100, 80, 300, 200}), 200) << "the focus rectangle is drawn";
    }
    up(100, 80);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{100, 80, 300, 200}));
    EXPECT_EQ(o->selection().state(), selShown);
    EXPECT_EQ(GetCapture(), nullptr);
    Snapshot s(h());
    EXPECT_EQ(s.at(50, 50), maskedAt(50, 50));
    EXPECT_EQ(s.at(350, 150), maskedAt(350, 150));
    EXPECT_EQ(s.at(300, 150), maskedAt(300, 150)) << "right is exclusive";
    EXPECT_EQ(s.at(150, 120), frozenAt(150, 120)) << "unchanged inside";
    EXPECT_EQ(s.at(101, 81), frozenAt(101, 81));
    EXPECT_EQ(s.at(100, 150), RGB(0, 0, 0)) << "black border pixels";
    expectPixels(s, {{299, 150, RGB(0, 0, 0)}, {150, 80, RGB(0, 0, 0)}, {150, 199, RGB(0, 0, 0)}});

    // The label: two lines, above the rectangle, 2 pixels in.
    EXPECT_TRUE(shownFlag(o->LabRectSize));
    EXPECT_EQ(o->LabRectSize.caption(), L"W: 200 x H: 120\r\n左上(100, 80)－右下(300, 200)");
    RECT lb = o->LabRectSize.bounds();
    EXPECT_EQ(lb.left, 102);
    EXPECT_EQ(lb.bottom, 80 - 5);
    EXPECT_GT(lb.bottom - lb.top, 20) << "two lines";
    EXPECT_EQ(o->currentCursor(), sysCursor(IDC_ARROW));

    // A later repaint keeps the masked view.
    Snapshot again(h());
    EXPECT_EQ(again.at(50, 50), maskedAt(50, 50));
}

TEST_F(OverlayFixture, MaskColourComesFromTheSettingsValueAndSystemColoursResolve) {
    o->setMaskColor(0x80000000 | COLOR_HIGHLIGHT);
    draw(10, 10, 60, 60);
    Snapshot s(h());
    EXPECT_EQ(s.at(200, 200), frozenAt(200, 200) & GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(OverlayFixture, LabelGoesBelowNearTheTopAndStaysOnTheDesktopAtTheRight) {
    const int w = o->DesktopWidth;
    draw(w - 60, 3, w - 10, 40);
    RECT lb = o->LabRectSize.bounds();
    EXPECT_EQ(lb.top, 45);
    EXPECT_EQ(lb.right, w);
    EXPECT_LT(lb.left, w - 58);
}

TEST(RectOverlayDesktop, OverANegativeOriginItWorksInClientCoordinatesAndTellsScreenOnes) {
    // Monitors left of and above the primary one put the desktop's corner at (-300, -200).
    const Rect desktop{-300, -200, 700, 600};
    hueloom::capture::TfrmVirtualDesktop o;
    ASSERT_TRUE(o.create(desktop));
    o.setFrozenScreen(frozenPicture(desktop.width(), desktop.height()));
    RECT wr;
    GetWindowRect(o.hwnd(), &wr);
    EXPECT_EQ((Rect{wr.left, wr.top, wr.right, wr.bottom}), desktop);
    EXPECT_EQ(Snapshot(o.hwnd()).at(310, 220), frozenAt(310, 220)) << "the picture starts at the window's corner";

    SendMessageW(o.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(40, 30));
    SendMessageW(o.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(340, 230));
    SendMessageW(o.hwnd(), WM_LBUTTONUP, 0, at(340, 230));
    EXPECT_EQ(o.selRect(), (Rect{40, 30, 340, 230}));
    EXPECT_EQ(o.selScreenRect(), (Rect{-260, -170, 40, 30}));
    EXPECT_EQ(o.LabRectSize.caption(), L"W: 300 x H: 200\r\n左上(-260, -170)－右下(40, 30)");

    // A fixed size starts at the pointer, found in client coordinates.
    o.pmnuCtrl_ZClick();
    ASSERT_TRUE(SetCursorPos(100, 50));
    o.pmnu16x16Click();
    EXPECT_EQ(o.selScreenRect(), (Rect{99, 49, 115, 65}));
}

TEST_F(OverlayFixture, HoverSetsZoneCursorsAndEdgesResize) {
    draw(100, 100, 200, 200);
    move(97, 97);
    EXPECT_EQ(o->currentCursor(), sysCursor(IDC_SIZENWSE));
    move(150, 97);
    EXPECT_EQ(o->currentCursor(), sysCursor(IDC_SIZENS));
    move(150, 150);
    EXPECT_EQ(o->currentCursor(), sysCursor(IDC_SIZEALL));
    move(400, 400);
    EXPECT_EQ(o->currentCursor(), sysCursor(IDC_ARROW));

    // Clicking outside does nothing.
    down(400, 400);
    up(400, 400);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{100, 100, 200, 200}));

    move(202, 150);
    down(202, 150);
    EXPECT_FALSE(shownFlag(o->LabRectSize)) << "hidden while the rectangle is taken";
    {
        Snapshot s(h());
        EXPECT_EQ(s.at(50, 50), frozenAt(50, 50)) << "the plain frozen screen while grabbed";
    }
    move(260, 150);
    up(260, 150);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{100, 100, 260, 200}));
    EXPECT_TRUE(shownFlag(o->LabRectSize));
    EXPECT_EQ(o->LabRectSize.caption().substr(0, 15), L"W: 160 x H: 100");
}

TEST_F(OverlayFixture, ArrowKeysMoveAndResizeEscapeIsIgnoredEnterCloses) {
    key(VK_RIGHT);  // nothing before a rectangle exists
    EXPECT_EQ(o->selection().state(), selEmpty);
    draw(100, 100, 200, 150);
    key(VK_RIGHT);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{101, 100, 201, 150}));
    {
        HeldKeys shift{VK_SHIFT};
        key(VK_RIGHT);
    }
    EXPECT_EQ(o->selRect(), (hueloom::Rect{111, 100, 211, 150}));
    {
        HeldKeys ctrl{VK_CONTROL};
        key(VK_DOWN);
    }
    EXPECT_EQ(o->selRect(), (hueloom::Rect{111, 100, 211, 151}));
    EXPECT_EQ(o->selection().state(), selShown) << "dropped on key up";
    EXPECT_TRUE(shownFlag(o->LabRectSize));

    typed(VK_ESCAPE);
    EXPECT_EQ(o->modalResult(), 0);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{111, 100, 211, 151}));
    typed(VK_RETURN);
    EXPECT_EQ(o->modalResult(), IDOK);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{111, 100, 211, 151}));
}

TEST_F(OverlayFixture, CtrlZStartsOverThoughItsItemIsHidden) {
    draw(100, 100, 200, 200);
    {
        HeldKeys ctrl{VK_CONTROL};
        typed('Z');
    }
    EXPECT_EQ(o->selection().state(), selEmpty);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{}));
    EXPECT_FALSE(shownFlag(o->LabRectSize));
    EXPECT_EQ(o->currentCursor(), o->crSelectCross);
    Snapshot s(h());
    EXPECT_EQ(s.at(50, 50), frozenAt(50, 50));
    // A new rectangle can be drawn again.
    draw(300, 300, 350, 320);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{300, 300, 350, 320}));
}

TEST_F(OverlayFixture, FixedSizeFollowsThePointerAndOnlyMoves) {
    ASSERT_TRUE(SetCursorPos(500, 400));
    item(L"pmnu32x32")->click();
    EXPECT_TRUE(item(L"pmnu32x32")->checked);
    EXPECT_FALSE(item(L"pmnuFreeSize")->checked);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{499, 399, 531, 431}));
    EXPECT_EQ(o->selection().state(), selTracking);
    EXPECT_EQ(o->currentCursor(), sysCursor(IDC_SIZEALL));
    move(520, 410);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{519, 409, 551, 441}));
    down(520, 410);
    up(520, 410);
    EXPECT_EQ(o->selection().state(), selShown);
    // The bottom-right corner moves it; Ctrl+arrows keep its size.
    move(553, 443);
    down(553, 443);
    move(563, 453);
    up(563, 453);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{529, 419, 561, 451}));
    {
        HeldKeys ctrl{VK_CONTROL};
        key(VK_RIGHT);
    }
    EXPECT_EQ(o->selRect().width(), 32);

    item(L"pmnuFreeSize")->click();
    EXPECT_TRUE(item(L"pmnuFreeSize")->checked);
    EXPECT_EQ(o->selection().state(), selEmpty);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{}));
}

TEST_F(OverlayFixture, RightClickDropsAFollowingRectangleBeforeTheMenu) {
    ASSERT_TRUE(SetCursorPos(200, 200));
    item(L"pmnu16x16")->click();
    down(210, 210, WM_RBUTTONDOWN);
    // The up alone (the menu itself needs a real click to go away).
    SendMessageW(h(), WM_MBUTTONUP, 0, at(210, 210));
    EXPECT_EQ(o->selection().state(), selShown);
    EXPECT_EQ(o->selRect(), (hueloom::Rect{199, 199, 215, 215}));
}

// ---------------------------------------------------------------- modal runs

namespace {

bool overlayUp() {
    return hueloom::capture::TfrmVirtualDesktop::current() &&
           hueloom::capture::TfrmVirtualDesktop::current()->visible();
}
void closeOverlay() {
    if (auto* o = hueloom::capture::TfrmVirtualDesktop::current()) o->setModalResult(IDCANCEL);
}
bool dialogUp() {
    return hueloom::capture::TfrmFxRectSize::current() && hueloom::capture::TfrmFxRectSize::current()->visible();
}
void closeDialog() {
    if (auto* d = hueloom::capture::TfrmFxRectSize::current()) d->setModalResult(IDCANCEL);
}

hueloom::settings::Settings testSettings() {
    hueloom::settings::Settings s;
    s.MaskColor = 0x0000FF;
    return s;
}

}  // namespace

TEST(RectOverlayModal, ReturnsTheSelectionWhenEnterIsPressedAndOnlyOneOverlayAtATime) {
    const Dib frozen = frozenPicture(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::optional<Rect> second{Rect{}};
    bool wasModal = false;
    // A pointer move that the system may send lands where the drag ends.
    SetCursorPos(140, 90);
    const std::optional<Rect> r = ModalDriver::run(
        overlayUp,
        [&] {
            auto* o = hueloom::capture::TfrmVirtualDesktop::current();
            wasModal = o->isModal();
            second = hueloom::capture::SelectRectangle(frozen, tk::primaryScreen(), testSettings());
            HWND h = o->hwnd();
            PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(40, 30));
            PostMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, at(140, 90));
            PostMessageW(h, WM_LBUTTONUP, 0, at(140, 90));
            PostMessageW(h, WM_KEYDOWN, VK_RETURN, 1);
        },
        closeOverlay, [&] { return hueloom::capture::SelectRectangle(frozen, tk::primaryScreen(), testSettings()); });
    EXPECT_TRUE(ModalDriver::acted);
    EXPECT_FALSE(ModalDriver::timedOut);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(second.has_value()) << "a second overlay is refused";
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(*r, (Rect{40, 30, 140, 90}));
    EXPECT_EQ(hueloom::capture::TfrmVirtualDesktop::current(), nullptr);
    EXPECT_EQ(FindWindowW(L"TfrmVirtualDesktop", nullptr), nullptr) << "released";
}

TEST(RectOverlayModal, ClosingBeforeAnyRectangleGivesAnEmptySelection) {
    const Dib frozen = frozenPicture(64, 64);
    const std::optional<Rect> r = ModalDriver::run(
        overlayUp, [] { PostMessageW(hueloom::capture::TfrmVirtualDesktop::current()->hwnd(), WM_CLOSE, 0, 0); },
        closeOverlay, [&] { return hueloom::capture::SelectRectangle(frozen, tk::primaryScreen(), testSettings()); });
    EXPECT_TRUE(ModalDriver::acted);
    EXPECT_FALSE(ModalDriver::timedOut);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->width(), 0);
    EXPECT_EQ(r->height(), 0);
}

TEST(RectOverlayModal, OwnSizeFromTheDialogOrStartOverWhenCancelled) {
    hueloom::capture::TfrmVirtualDesktop o;
    ASSERT_TRUE(o.create());
    ASSERT_TRUE(SetCursorPos(300, 250));
    // Types a size into the dialog that pmnuOptSize opens and presses OK.
    auto typeSize = [&](const wchar_t* width, const wchar_t* height) {
        ModalDriver::run(
            dialogUp,
            [width, height] {
                auto* d = hueloom::capture::TfrmFxRectSize::current();
                d->Edit1.setText(width);
                d->Edit2.setText(height);
                d->OKBtn.click();
            },
            closeDialog,
            [&] {
                o.pmnuOptSizeClick();
                return 0;
            });
        EXPECT_TRUE(ModalDriver::acted);
        EXPECT_FALSE(ModalDriver::timedOut);
    };
    typeSize(L"40", L" 30");
    EXPECT_TRUE(o.PopupMenu1.find(L"pmnuOptSize")->checked);
    EXPECT_EQ(o.selRect(), (hueloom::Rect{299, 249, 339, 279}));
    EXPECT_EQ(o.selection().state(), selTracking);

    // Zero, or text that is not a number: treated as cancelled, free size again.
    for (const wchar_t* bad : {L"0", L"abc"}) {
        typeSize(L"20", bad);
        EXPECT_EQ(o.selection().state(), selEmpty) << tk::narrow(bad, CP_UTF8);
        EXPECT_EQ(o.selection().fixedWidth(), -1);
        EXPECT_TRUE(o.PopupMenu1.find(L"pmnuFreeSize")->checked);
    }
}

// ---------------------------------------------------------------- size dialog

TEST(SizeDialog, OvalGreenHatchedFramedAndDraggableWithEmptyFieldsAndTheFirstFocused) {
    RECT win{};
    bool cornerOut = false, centreIn = false;
    COLORREF edge = 0;
    int green = 0, aqua = 0;
    LRESULT freeHit = 0, editHit = 0;
    HWND focus = nullptr, edit1 = nullptr;
    std::wstring caption, e1 = L"x", e2 = L"x";
    const std::optional<SIZE> r = ModalDriver::run(
        dialogUp,
        [&] {
            auto* d = hueloom::capture::TfrmFxRectSize::current();
            GetWindowRect(d->hwnd(), &win);
            tk::Region rgn = tk::windowRegion(d->hwnd());
            if (rgn) {
                cornerOut = !PtInRegion(rgn, 2, 2);
                centreIn = PtInRegion(rgn, 170, 85) != FALSE;
            }
            Snapshot s(d->hwnd());
            edge = s.at(1, 85);
            green = s.count(hueloom::capture::TfrmFxRectSize::kBackground);
            aqua = s.count(RGB(0, 255, 255));
            freeHit = SendMessageW(d->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(win.left + 30, win.top + 85));
            RECT eb = d->Edit1.bounds();
            editHit = SendMessageW(d->Edit1.hwnd(), WM_NCHITTEST, 0,
                                   MAKELPARAM(win.left + eb.left + 5, win.top + eb.top + 5));
            focus = GetFocus();
            edit1 = d->Edit1.hwnd();
            caption = d->text();
            e1 = d->Edit1.text();
            e2 = d->Edit2.text();
            PostMessageW(d->Edit1.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
        },
        closeDialog, [] { return hueloom::capture::AskFixedSize(nullptr, 0x6400C8); });
    EXPECT_TRUE(ModalDriver::acted);
    EXPECT_FALSE(ModalDriver::timedOut);
    EXPECT_FALSE(r.has_value()) << "Escape cancels";
    EXPECT_EQ(win.right - win.left, 341);
    EXPECT_EQ(win.bottom - win.top, 170);
    EXPECT_EQ(win.left, (GetSystemMetrics(SM_CXSCREEN) - 341) / 2);
    EXPECT_EQ(win.top, (GetSystemMetrics(SM_CYSCREEN) - 170) / 2);
    EXPECT_TRUE(cornerOut);
    EXPECT_TRUE(centreIn);
    EXPECT_EQ(edge, RGB(200, 0, 100)) << "framed in the active colour";
    EXPECT_GT(green, 1000);
    EXPECT_GT(aqua, 1000) << "aqua hatching";
    EXPECT_EQ(freeHit, HTCAPTION);
    EXPECT_EQ(editHit, HTCLIENT);
    EXPECT_EQ(focus, edit1);
    EXPECT_EQ(caption, L"固定切抜きサイズ");
    EXPECT_EQ(e1, L"");
    EXPECT_EQ(e2, L"");
    EXPECT_EQ(hueloom::capture::TfrmFxRectSize::current(), nullptr);
}

namespace {
// Each step runs from its own tick, so the keys posted before have been
// handled by the dialog's loop.
struct Steps {
    static inline std::function<void()> next;
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        if (next) next();
    }
};
}  // namespace

TEST(SizeDialog, EnterMovesBetweenFieldsAndNeverPressesAButton) {
    HWND afterEnter = nullptr, afterSecond = nullptr, afterShiftEnter = nullptr, edit1 = nullptr, edit2 = nullptr,
         ok = nullptr;
    int step = 0;
    BYTE saved[256];
    UINT_PTR stepTimer = 0;
    const std::optional<SIZE> r = ModalDriver::run(
        dialogUp,
        [&] {
            auto* d = hueloom::capture::TfrmFxRectSize::current();
            edit1 = d->Edit1.hwnd();
            edit2 = d->Edit2.hwnd();
            ok = d->OKBtn.hwnd();
            d->Edit1.setText(L"64");
            d->Edit2.setText(L"48");
            Steps::next = [&] {
                auto* dd = hueloom::capture::TfrmFxRectSize::current();
                if (!dd) return;
                switch (step++) {
                case 0: PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); break;
                case 2:
                    afterEnter = GetFocus();
                    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
                    break;
                case 4: {
                    afterSecond = GetFocus();
                    // On the OK button Enter still only moves on; Shift+Enter goes back.
                    GetKeyboardState(saved);
                    BYTE ks[256];
                    std::memcpy(ks, saved, sizeof ks);
                    ks[VK_SHIFT] = 0x80;
                    SetKeyboardState(ks);
                    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
                    break;
                }
                case 6:
                    SetKeyboardState(saved);
                    afterShiftEnter = GetFocus();
                    break;
                case 8: dd->OKBtn.click(); break;
                }
            };
            stepTimer = SetTimer(nullptr, 0, 30, Steps::tick);
        },
        closeDialog, [] { return hueloom::capture::AskFixedSize(nullptr, 0xFFFF00); });
    KillTimer(nullptr, stepTimer);
    Steps::next = nullptr;
    EXPECT_TRUE(ModalDriver::acted);
    EXPECT_FALSE(ModalDriver::timedOut);
    EXPECT_EQ(afterEnter, edit2);
    EXPECT_EQ(afterSecond, ok);
    EXPECT_EQ(afterShiftEnter, edit2);
    ASSERT_TRUE(r.has_value()) << "OK with two numbers";
    EXPECT_EQ(r->cx, 64);
    EXPECT_EQ(r->cy, 48);
}

// ---------------------------------------------------------------- instructions

TEST(RectCaptureInstructions, ShownUntilTickedWithTheDelayInTheText) {
    hueloom::settings::Settings s;
    s.SleepTime = 750;
    std::wstring title, text;
    RECT win{};
    ModalDriver::run(
        [] { return hueloom::dialogs::TfrmMyDlg::current() && hueloom::dialogs::TfrmMyDlg::current()->visible(); },
        [&] {
            auto* box = hueloom::dialogs::TfrmMyDlg::current();
            title = box->text();
            text = box->lblContent.caption();
            GetWindowRect(box->hwnd(), &win);
            SendMessageW(box->CheckBox1.hwnd(), BM_CLICK, 0, 0);
            box->OKBtnClick();
        },
        [] {
            if (auto* b = hueloom::dialogs::TfrmMyDlg::current()) b->setModalResult(IDCANCEL);
        },
        [&] {
            hueloom::capture::ShowRectCaptureInstructions(s, 120, 60);
            return 0;
        });
    EXPECT_TRUE(ModalDriver::acted);
    EXPECT_FALSE(ModalDriver::timedOut);
    EXPECT_EQ(title, L"矩形領域・キャプチャの操作方法！");
    EXPECT_EQ(text.substr(0, text.find(L"\r\n")),
              L"このメッセージ・ダイアログを閉じると、750ミリ秒後に画面がフリーズし、");
    EXPECT_EQ(win.left, 120);
    EXPECT_EQ(win.top, 60);
    EXPECT_TRUE(s.Msg_ID[4]) << "ticked: Msg_ID5 is set";

    // Once set, nothing shows.
    ModalDriver::run([] { return hueloom::dialogs::TfrmMyDlg::current() != nullptr; },
                     [] { hueloom::dialogs::TfrmMyDlg::current()->OKBtnClick(); }, [] {},
                     [&] {
                         hueloom::capture::ShowRectCaptureInstructions(s, 120, 60);
                         return 0;
                     });
    EXPECT_FALSE(ModalDriver::acted);
}

namespace {

TEST(SizeDialog, EveryTextFitsInBothLanguagesAtBothScalings) {
    expectNothingClippedInBothLanguages([] {
        std::vector<std::wstring> clipped;
        ModalDriver::run(
            dialogUp, [&] { clipped = clippedAtBothScalings(hueloom::capture::TfrmFxRectSize::current()->hwnd()); },
            closeDialog, [] { return hueloom::capture::AskFixedSize(nullptr, 0x6400C8); });
        return clipped;
    });
}

}  // namespace
