// The owner-painted button under Wine: real window messages in, pixels and
// results out.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "win_test_support.h"
#include "toolkit/application_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/menu_win.h"
#include "toolkit/controls/cute_button_win.h"
#include "toolkit/controls/label_win.h"

namespace {

using Bevel = tk::TCuteButton::Bevel;

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

void press(HWND h, int x = 5, int y = 5) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(x, y)); }
void release(HWND h, int x = 5, int y = 5) { SendMessageW(h, WM_LBUTTONUP, 0, at(x, y)); }

using Snapshot = ClientSnapshot;

constexpr COLORREF kFace = RGB(255, 204, 153);
constexpr COLORREF kInk = RGB(0, 0, 255);

// One form for all button tests (showing and hiding a window is slow under
// Wine); a fresh button with a crisp font and distinctive colours per test.
struct ButtonFixture : SharedFormSuite {
    TestForm& form = *sharedForm;
    tk::TCuteButton b;
    tk::Font font{
        CreateFontW(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma")};
    int clicks = 0;

    void SetUp() override {
        ASSERT_TRUE(form.hwnd());
        SetForegroundWindow(form.hwnd());
        SetFocus(form.hwnd());
        ASSERT_TRUE(b.create(form.hwnd(), 10, 10, 75, 25));
        b.setCaption(L"HM");
        b.setFont(font);
        b.setColor(kFace);
        b.setFontColor(kInk);
        b.onClick = [this] { ++clicks; };
        pump();
    }
    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        b.destroy();
        pump();
    }
};

COLORREF sys(int index) { return GetSysColor(index); }

}  // namespace

// ---------------------------------------------------------------- button: input

TEST_F(ButtonFixture, MousePressAndReleaseOverTheButtonClicksOnceAndReleasesTheMouse) {
    press(b.hwnd());
    EXPECT_EQ(b.outerBevel(), Bevel::Lowered);
    EXPECT_EQ(GetCapture(), b.hwnd());
    EXPECT_EQ(GetFocus(), b.hwnd());
    EXPECT_EQ(clicks, 0);
    release(b.hwnd());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    EXPECT_NE(GetCapture(), b.hwnd());

    // Released away from the button: no click; the focused button stays raised.
    press(b.hwnd());
    release(b.hwnd(), 200, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.setTabFocusUp(false);
    press(b.hwnd());
    release(b.hwnd(), -3, 40);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::None);
}

TEST_F(ButtonFixture, ReleaseAfterAnotherWindowTookTheMouseDoesNotClick) {
    tk::Label other;
    ASSERT_TRUE(other.create(form.hwnd(), 120, 60, 40, 20));
    press(b.hwnd());
    SetCapture(other.hwnd());  // e.g. a drag started elsewhere
    ReleaseCapture();
    release(b.hwnd());
    EXPECT_EQ(clicks, 0);
    // The next complete press clicks as usual.
    press(b.hwnd());
    release(b.hwnd());
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonFixture, SpaceClicksOnReleaseAndAnotherKeyCancelsIt) {
    SetFocus(b.hwnd());
    PostMessageW(b.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    pump();
    EXPECT_EQ(b.outerBevel(), Bevel::Lowered);
    EXPECT_EQ(clicks, 0);
    PostMessageW(b.hwnd(), WM_KEYUP, VK_SPACE, 0);
    pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);

    // Space down, another key, Space up: the press is cancelled.
    PostMessageW(b.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(b.hwnd(), WM_KEYDOWN, 'A', 0);
    pump();
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    PostMessageW(b.hwnd(), WM_KEYUP, 'A', 0);
    PostMessageW(b.hwnd(), WM_KEYUP, VK_SPACE, 0);
    pump();
    EXPECT_EQ(clicks, 1);

    // A key up that is not Space clicks nothing either.
    PostMessageW(b.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(b.hwnd(), WM_KEYUP, 'A', 0);
    pump();
    EXPECT_EQ(clicks, 1);
    PostMessageW(b.hwnd(), WM_KEYUP, VK_SPACE, 0);
    pump();
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonFixture, EnterClicksAtOnceAndADisabledButtonIgnoresKeys) {
    SetFocus(b.hwnd());
    PostMessageW(b.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);

    b.setEnabled(false);
    EXPECT_FALSE(b.enabled());
    for (WPARAM k : {WPARAM(VK_RETURN), WPARAM(VK_SPACE)}) {
        SendMessageW(b.hwnd(), WM_KEYDOWN, k, 0);
        SendMessageW(b.hwnd(), WM_KEYUP, k, 0);
    }
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonFixture, PointerEnteringAndLeavingFiresTheEventsAndTracksTheBevel) {
    std::vector<std::pair<int, int>> entered, left;
    b.onMouseEnter = [&](tk::TCuteButton& s, unsigned, int x, int y) {
        EXPECT_EQ(&s, &b);
        entered.emplace_back(x, y);
    };
    b.onMouseLeave = [&](tk::TCuteButton&, unsigned, int x, int y) { left.emplace_back(x, y); };
    POINT p{20, 12};
    ClientToScreen(b.hwnd(), &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, at(20, 12));
    pump();
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_EQ(entered[0], std::make_pair(20, 12));
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    // More moves inside are not new entries.
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, at(21, 12));
    EXPECT_EQ(entered.size(), 1u);

    // Moving the pointer away: the system tells us it left.
    SetCursorPos(p.x + 300, p.y + 300);
    EXPECT_TRUE(pumpUntil([&] { return !left.empty(); }, 2000)) << "no WM_MOUSELEAVE";
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].first, 300 + 20);
    EXPECT_EQ(b.outerBevel(), Bevel::None);

    // Pressed on the button and dragged off and back: resting, then pressed.
    SetCursorPos(p.x, p.y);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, at(20, 12));
    press(b.hwnd(), 20, 12);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(120, 12));
    EXPECT_EQ(b.outerBevel(), Bevel::Raised) << "off the button, but it has the focus";
    b.setTabFocusUp(false);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(30, 12));
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(120, 12));
    EXPECT_EQ(b.outerBevel(), Bevel::None);
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(30, 12));
    EXPECT_EQ(b.outerBevel(), Bevel::Lowered);
    release(b.hwnd(), 30, 12);
    EXPECT_EQ(clicks, 1);
    SetCursorPos(0, 0);
    pump();
}

TEST_F(ButtonFixture, EgnoreContClickDropsClicksQueuedWhileTheHandlerRuns) {
    // The handler is "slow": a second click arrives before it returns.
    auto clickTwice = [&](bool egnore) {
        b.setEgnoreContClick(egnore);
        int runs = 0;
        b.onClick = [&] {
            if (++runs == 1) {
                PostMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
                PostMessageW(b.hwnd(), WM_LBUTTONUP, 0, at(5, 5));
            }
        };
        press(b.hwnd());
        release(b.hwnd());
        pump();
        return runs;
    };
    EXPECT_EQ(clickTwice(true), 1);
    EXPECT_EQ(clickTwice(false), 2);
    // With the option on, a click after the handler has returned runs again.
    b.setEgnoreContClick(true);
    int runs = 0;
    b.onClick = [&] { ++runs; };
    press(b.hwnd());
    release(b.hwnd());
    press(b.hwnd());
    release(b.hwnd());
    EXPECT_EQ(runs, 2);
}

TEST_F(ButtonFixture, AcceleratorLetterClicksTheMarkedButtonOfTheForm) {
    tk::TCuteButton cancel;
    ASSERT_TRUE(cancel.create(form.hwnd(), 100, 10, 75, 25));
    cancel.setCaption(L"&Cancel");
    int cancels = 0;
    cancel.onClick = [&] { ++cancels; };
    b.setCaption(L"&OK");

    // Alt+O typed while the other button has the focus.
    SetFocus(cancel.hwnd());
    PostMessageW(cancel.hwnd(), WM_SYSCHAR, 'o', 0x20000000);
    pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cancels, 0);
    // A plain letter on a focused button is a mnemonic too; case does not matter.
    PostMessageW(cancel.hwnd(), WM_CHAR, 'C', 0);
    pump();
    EXPECT_EQ(cancels, 1);
    // Unmarked letters and the letter after "&&" do nothing.
    cancel.setCaption(L"R&&D");
    PostMessageW(cancel.hwnd(), WM_CHAR, 'd', 0);
    PostMessageW(cancel.hwnd(), WM_CHAR, 'k', 0);
    pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cancels, 1);
    // A disabled button does not answer to its letter.
    b.setEnabled(false);
    EXPECT_FALSE(tk::TCuteButton::dispatchAccelerator(form.hwnd(), L'o'));
    b.setEnabled(true);
    EXPECT_TRUE(tk::TCuteButton::dispatchAccelerator(form.hwnd(), L'O'));
    EXPECT_EQ(clicks, 2);
}

namespace {

// Chooses the first item of a pop-up menu once it is on screen.
struct MenuChooser {
    static inline int ticks = 0;
    static inline bool seen = false;
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu) && !seen) {
            seen = true;
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        }
        if (ticks > 100) EndMenu();  // never leave a menu open
    }
    UINT_PTR id;
    MenuChooser() {
        ticks = 0;
        seen = false;
        id = SetTimer(nullptr, 0, 30, tick);
    }
    ~MenuChooser() { KillTimer(nullptr, id); }
};

}  // namespace

TEST_F(ButtonFixture, DropDownMenuOpensBelowTheButtonAndSwallowsTheClick) {
    tk::Menu menu(tk::Menu::Popup);
    int chosen = 0;
    menu.root().add(L"pmnuItem", L"Item", [&] { ++chosen; });
    b.setDropDownMenu(&menu);
    {
        MenuChooser chooser;
        press(b.hwnd());  // returns when the menu has closed
        EXPECT_TRUE(MenuChooser::seen);
    }
    EXPECT_EQ(chosen, 1);
    release(b.hwnd());
    EXPECT_EQ(clicks, 0);

    // Enter opens the menu too while the delay is 0.
    SetFocus(b.hwnd());
    {
        MenuChooser chooser;
        SendMessageW(b.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    }
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(clicks, 0);

    // With a delay, Enter clicks instead.
    b.setDropDownDelay(100);
    SendMessageW(b.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chosen, 2);
}

TEST_F(ButtonFixture, DelayedDropDownOpensOnlyWhileTheButtonIsHeld) {
    tk::Menu menu(tk::Menu::Popup);
    int chosen = 0;
    menu.root().add(L"pmnuItem", L"Item", [&] { ++chosen; });
    b.setDropDownMenu(&menu);
    b.setDropDownDelay(80);

    // Released before the delay: a click, and the menu never opens.
    {
        MenuChooser chooser;
        press(b.hwnd());
        release(b.hwnd());
        DWORD end = GetTickCount() + 300;
        while (GetTickCount() < end) {
            pump();
            Sleep(10);
        }
        EXPECT_FALSE(MenuChooser::seen);
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chosen, 0);

    // Held: after the delay the menu opens; the release clicks nothing.
    {
        MenuChooser chooser;
        press(b.hwnd());
        EXPECT_TRUE(pumpUntil([&] { return chosen == 1; }, 3000)) << "menu did not open after the delay";
    }
    release(b.hwnd());
    pump();
    EXPECT_EQ(clicks, 1);

    // Space held opens it as well.
    SetFocus(b.hwnd());
    {
        MenuChooser chooser;
        SendMessageW(b.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_TRUE(pumpUntil([&] { return chosen == 2; }, 3000)) << "menu did not open for Space";
    }
    SendMessageW(b.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(clicks, 1);
}

namespace {

BOOL CALLBACK collectTooltip(HWND h, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (std::wstring(cls) == TOOLTIPS_CLASSW) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

// The text that a tooltip control of this thread shows for the button; empty
// when no tooltip knows the button.
std::wstring tooltipFor(HWND button) {
    std::vector<HWND> tips;
    EnumThreadWindows(GetCurrentThreadId(), collectTooltip, reinterpret_cast<LPARAM>(&tips));
    for (HWND t : tips) {
        wchar_t buf[256] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = GetParent(button);
        ti.uId = reinterpret_cast<UINT_PTR>(button);
        ti.lpszText = buf;
        if (!SendMessageW(t, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) continue;
        ti.lpszText = buf;
        SendMessageW(t, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
        return buf;
    }
    return {};
}

}  // namespace

TEST_F(ButtonFixture, HintIsShownByATooltipAndCanBeChangedOrRemoved) {
    EXPECT_EQ(tooltipFor(b.hwnd()), L"");
    b.setHint(L"メニューを表示");
    EXPECT_EQ(tooltipFor(b.hwnd()), L"メニューを表示");
    b.setHint(L"表示状態の変更");
    EXPECT_EQ(tooltipFor(b.hwnd()), L"表示状態の変更");
    b.setHint(L"");
    EXPECT_EQ(tooltipFor(b.hwnd()), L"");
    // A hint given before the window exists is attached when it is created.
    tk::TCuteButton later;
    later.setHint(L"later");
    ASSERT_TRUE(later.create(form.hwnd(), 100, 40, 30, 20));
    EXPECT_EQ(tooltipFor(later.hwnd()), L"later");
}

// ---------------------------------------------------------------- button: painting

TEST_F(ButtonFixture, RestingHotAndPressedBevelsAndTheFace) {
    const COLORREF hi = sys(COLOR_BTNHIGHLIGHT), sh = sys(COLOR_BTNSHADOW);
    ASSERT_NE(hi, sh);
    {
        Snapshot s(b.hwnd());  // resting: the inner raised bevel only
        expectPixels(s, {{0, 0, hi}, {0, 12, hi}, {74, 24, sh}, {74, 12, sh}, {3, 3, kFace}, {1, 1, kFace}});
    }
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, at(5, 5));
    ASSERT_EQ(b.outerBevel(), Bevel::Raised);
    {
        Snapshot s(b.hwnd());  // hot: outer raised around inner raised
        expectPixels(s, {{0, 0, hi}, {1, 1, hi}, {74, 24, sh}, {73, 23, sh}, {2, 2, kFace}});
    }
    press(b.hwnd());
    {
        Snapshot s(b.hwnd());  // pressed: outer lowered (colours swapped)
        expectPixels(s, {{0, 0, sh}, {74, 24, hi}, {1, 1, hi}, {73, 23, sh}});
    }
    release(b.hwnd());
}

TEST_F(ButtonFixture, PressedCaptionMovesOnePixelRightAndDown) {
    SendMessageW(b.hwnd(), WM_MOUSEMOVE, 0, at(5, 5));
    Snapshot up(b.hwnd());
    press(b.hwnd());
    Snapshot down(b.hwnd());
    release(b.hwnd());
    RECT a = up.box(kInk), c = down.box(kInk);
    ASSERT_GT(up.count(kInk), 10) << "caption not drawn in the font colour";
    EXPECT_EQ(up.count(kInk), down.count(kInk));
    EXPECT_EQ(c.left - a.left, 1);
    EXPECT_EQ(c.top - a.top, 1);
    EXPECT_EQ(c.right - a.right, 1);
    EXPECT_EQ(c.bottom - a.bottom, 1);
}

TEST_F(ButtonFixture, CustomBevelColoursWidthAndFlat) {
    b.setBevelHighlightColor(0xFFFF00);  // aqua
    b.setBevelShadowColor(0x800000);  // navy
    b.setBevelWidth(2);
    const COLORREF aqua = RGB(0, 255, 255), navy = RGB(0, 0, 128);
    {
        Snapshot s(b.hwnd());
        expectPixels(s, {{0, 0, aqua}, {1, 1, aqua}, {2, 2, kFace}, {74, 24, navy}, {73, 23, navy}});
    }
    b.setFlat(true);
    {
        Snapshot s(b.hwnd());  // no inner bevel, nothing drawn at rest
        EXPECT_EQ(s.at(0, 0), kFace);
        EXPECT_EQ(s.at(74, 24), kFace);
        EXPECT_EQ(s.count(aqua) + s.count(navy), 0);
    }
}

TEST_F(ButtonFixture, DisabledCaptionIsEngravedAndDisabledColorAppliesOnlyWhenAsked) {
    const COLORREF hi = sys(COLOR_BTNHIGHLIGHT), sh = sys(COLOR_BTNSHADOW);
    b.setFlat(true);  // no bevel pixels in the way of the colour counts
    b.setEnabled(false);
    {
        Snapshot s(b.hwnd());
        EXPECT_EQ(s.count(kInk), 0);
        EXPECT_EQ(s.at(37, 1), kFace) << "UseDisabledColor is off: the face keeps its colour";
        ASSERT_GT(s.count(hi), 5);
        ASSERT_GT(s.count(sh), 5);
        RECT light = s.box(hi), dark = s.box(sh);
        // The light copy lies one pixel right and down of the dark one.
        EXPECT_EQ(light.right - dark.right, 1);
        EXPECT_EQ(light.bottom - dark.bottom, 1);
        EXPECT_EQ(light.left - dark.left, 1);
        EXPECT_EQ(light.top - dark.top, 1);
    }
    const COLORREF green = RGB(0, 128, 0);
    b.setDisabledColor(green);
    b.setUseDisabledColor(true);
    EXPECT_EQ(Snapshot(b.hwnd()).at(37, 1), green);
    b.setEnabled(true);
    {
        Snapshot s(b.hwnd());
        EXPECT_EQ(s.at(37, 1), kFace);
        EXPECT_GT(s.count(kInk), 10);
    }
}

TEST_F(ButtonFixture, FocusRectangleOnlyWhenAskedAndFocused) {
    b.setBounds(10, 10, 100, 40);
    b.setShowFocusRect(true);
    SetFocus(b.hwnd());
    ASSERT_EQ(GetFocus(), b.hwnd());
    auto marked = [&](const Snapshot& s) {
        int n = 0;  // the focus rectangle's top edge, 2 pixels inside the caption rectangle
        for (int x = 4; x < 96; ++x) n += s.at(x, 4) != kFace;
        return n;
    };
    EXPECT_GT(marked(Snapshot(b.hwnd())), 10);
    b.setShowFocusRect(false);
    EXPECT_EQ(marked(Snapshot(b.hwnd())), 0);
    b.setShowFocusRect(true);
    SetFocus(form.hwnd());
    EXPECT_EQ(marked(Snapshot(b.hwnd())), 0);
}

TEST_F(ButtonFixture, MarginsAndAlignmentPlaceTheCaption) {
    b.setBounds(10, 10, 120, 40);
    b.setAlignment(tk::TCuteButton::Alignment::Left);
    b.setMarginX(-5);
    EXPECT_EQ(b.marginX(), -1);
    const LONG noMargin = Snapshot(b.hwnd()).box(kInk).left;
    b.setMarginX(10);
    const LONG withMargin = Snapshot(b.hwnd()).box(kInk).left;
    EXPECT_EQ(withMargin - noMargin, 10);
    b.setLayout(tk::TCuteButton::Layout::Top);
    b.setMarginY(-1);
    const LONG top = Snapshot(b.hwnd()).box(kInk).top;
    b.setMarginY(6);
    EXPECT_EQ(Snapshot(b.hwnd()).box(kInk).top - top, 6);
    b.setLayout(tk::TCuteButton::Layout::Bottom);
    Snapshot s(b.hwnd());
    EXPECT_GT(s.box(kInk).top, top + 6);
}
