// TCuteButton's paint arithmetic and its mouse/keyboard state machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/controls/cute_button.h"

using namespace tk;
using hueloom::MouseButton;
using hueloom::Rect;

namespace {

constexpr uint8_t kSpace = 0x20, kReturn = 0x0D, kTab = 0x09;

TEST(CuteButtonPaint, RestingButtonHasOnlyTheInnerBevelAndACentredCaption) {
    CuteButtonLook look;  // 75 x 25, bevel width 1, inner raised
    const CuteButtonPaint p = planCuteButtonPaint(look, Bevel::None, 75, 25, true, false);
    EXPECT_EQ(p.faceColor, hueloom::kClBtnFace);
    ASSERT_EQ(p.frames.size(), 1u);
    EXPECT_EQ(p.frames[0].rect, (Rect{0, 0, 75, 25}));
    EXPECT_EQ(p.frames[0].topLeftColor, hueloom::kClBtnHighlight);
    EXPECT_EQ(p.frames[0].bottomRightColor, hueloom::kClBtnShadow);
    EXPECT_EQ(p.captionRect, (Rect{2, 2, 73, 23}));
    EXPECT_EQ(p.alignment, CaptionAlignment::Center);
    EXPECT_EQ(p.layout, CaptionLayout::Center);
    ASSERT_EQ(p.captionPasses.size(), 1u);
    EXPECT_FALSE(p.captionPasses[0].color.has_value());  // font colour
    EXPECT_FALSE(p.focusRect.has_value());
}

TEST(CuteButtonPaint, OuterBevelsNestAndSwapColoursWhenLowered) {
    CuteButtonLook look;
    look.bevelWidth = 2;
    look.bevelHighlightColor = hueloom::kClAqua;
    look.bevelShadowColor = hueloom::kClNavy;
    const CuteButtonPaint raised = planCuteButtonPaint(look, Bevel::Raised, 65, 25, true, false);
    ASSERT_EQ(raised.frames.size(), 2u);
    EXPECT_EQ(raised.frames[0].rect, (Rect{0, 0, 65, 25}));
    EXPECT_EQ(raised.frames[0].width, 2);
    EXPECT_EQ(raised.frames[0].topLeftColor, hueloom::kClAqua);
    EXPECT_EQ(raised.frames[1].rect, (Rect{2, 2, 63, 23}));  // inner frame inside the outer one
    EXPECT_EQ(raised.captionRect, (Rect{4, 4, 61, 21}));

    const CuteButtonPaint lowered = planCuteButtonPaint(look, Bevel::Lowered, 65, 25, true, false);
    ASSERT_EQ(lowered.frames.size(), 2u);
    EXPECT_EQ(lowered.frames[0].topLeftColor, hueloom::kClNavy);
    EXPECT_EQ(lowered.frames[0].bottomRightColor, hueloom::kClAqua);
    EXPECT_EQ(lowered.frames[1].topLeftColor, hueloom::kClAqua);  // inner bevel stays raised
    // Pressed: left and top move 2 right and down, right and bottom stay.
    EXPECT_EQ(lowered.captionRect, (Rect{6, 6, 61, 21}));
}

TEST(CuteButtonPaint, AtOneAndAHalfTimesTheDpiBevelsShiftAndFocusInsetScale) {
    CuteButtonLook look;
    look.bevelWidth = 2;
    look.showFocusRect = true;
    look.dpi = 144;
    // 98 x 38 is the 65 x 25 button above at 144 dpi; a bevel of 2 is 3 there.
    const CuteButtonPaint lowered = planCuteButtonPaint(look, Bevel::Lowered, 98, 38, true, true);
    ASSERT_EQ(lowered.frames.size(), 2u);
    EXPECT_EQ(lowered.frames[0].width, 3);
    EXPECT_EQ(lowered.frames[1].rect, (Rect{3, 3, 95, 35}));
    EXPECT_EQ(lowered.captionRect, (Rect{9, 9, 92, 32}));  // 2 × 3 of bevels, pressed shift 3
    EXPECT_EQ(lowered.focusRect, (Rect{12, 12, 89, 29}));
    look.dpi = 96;  // and nothing moves at 96 dpi
    EXPECT_EQ(planCuteButtonPaint(look, Bevel::Lowered, 65, 25, true, false).captionRect, (Rect{6, 6, 61, 21}));
}

TEST(CuteButtonPaint, FlatButtonHasNoInnerBevelAndAOneWidthInset) {
    CuteButtonLook look;
    look.flat = true;
    look.bevelWidth = 3;
    const CuteButtonPaint rest = planCuteButtonPaint(look, Bevel::None, 40, 30, true, false);
    EXPECT_TRUE(rest.frames.empty());
    EXPECT_EQ(rest.captionRect, (Rect{3, 3, 37, 27}));
    const CuteButtonPaint hot = planCuteButtonPaint(look, Bevel::Raised, 40, 30, true, false);
    ASSERT_EQ(hot.frames.size(), 1u);
    EXPECT_EQ(hot.frames[0].width, 3);
}

TEST(CuteButtonPaint, MarginsApplyOnlyOnTheAlignedSide) {
    struct Case {
        CaptionAlignment a;
        CaptionLayout l;
        int mx, my;
        Rect want;
    };
    const Case cases[] = {
        {CaptionAlignment::Left, CaptionLayout::Top, 5, 3, {7, 5, 73, 23}},
        {CaptionAlignment::Right, CaptionLayout::Bottom, 5, 3, {2, 2, 68, 20}},
        {CaptionAlignment::Center, CaptionLayout::Center, 5, 3, {2, 2, 73, 23}},
        {CaptionAlignment::Left, CaptionLayout::Bottom, -1, -1, {2, 2, 73, 23}},
        {CaptionAlignment::Left, CaptionLayout::Top, 0, 0, {2, 2, 73, 23}},
        {CaptionAlignment::Right, CaptionLayout::Top, -5, -9, {2, 2, 73, 23}},  // stored as -1: no margin
    };
    for (const auto& c : cases) {
        CuteButtonLook look;
        look.alignment = c.a;
        look.layout = c.l;
        look.marginX = c.mx;
        look.marginY = c.my;
        const CuteButtonPaint p = planCuteButtonPaint(look, Bevel::None, 75, 25, true, false);
        EXPECT_EQ(p.captionRect, c.want) << c.mx << "," << c.my;
        EXPECT_EQ(p.alignment, c.a);
        EXPECT_EQ(p.layout, c.l);
    }
    EXPECT_EQ(normaliseMargin(-5), -1);
    EXPECT_EQ(normaliseMargin(-1), -1);
    EXPECT_EQ(normaliseMargin(0), 0);
    EXPECT_EQ(normaliseMargin(12), 12);
}

TEST(CuteButtonPaint, DisabledCaptionIsEngravedAndFaceFollowsUseDisabledColor) {
    CuteButtonLook look;
    look.color = 0x99CCFF;
    const CuteButtonPaint keep = planCuteButtonPaint(look, Bevel::None, 75, 25, false, false);
    EXPECT_EQ(keep.faceColor, 0x99CCFFu);  // UseDisabledColor false: face unchanged
    ASSERT_EQ(keep.captionPasses.size(), 2u);
    EXPECT_EQ(keep.captionPasses[0].dx, 1);
    EXPECT_EQ(keep.captionPasses[0].dy, 1);
    EXPECT_EQ(keep.captionPasses[0].color, hueloom::kClBtnHighlight);
    EXPECT_EQ(keep.captionPasses[1].dx, 0);
    EXPECT_EQ(keep.captionPasses[1].color, hueloom::kClBtnShadow);

    look.useDisabledColor = true;
    EXPECT_EQ(planCuteButtonPaint(look, Bevel::None, 75, 25, false, false).faceColor, 0x808080u);
    EXPECT_EQ(planCuteButtonPaint(look, Bevel::None, 75, 25, true, false).faceColor, 0x99CCFFu);
}

TEST(CuteButtonPaint, FocusRectangleLiesTwoPixelsInsideTheCaption) {
    CuteButtonLook look;
    look.showFocusRect = true;
    EXPECT_FALSE(planCuteButtonPaint(look, Bevel::Raised, 75, 25, true, false).focusRect.has_value());
    const CuteButtonPaint p = planCuteButtonPaint(look, Bevel::Raised, 75, 25, true, true);
    ASSERT_TRUE(p.focusRect.has_value());
    EXPECT_EQ(*p.focusRect, (Rect{4, 4, 71, 21}));
    look.showFocusRect = false;
    EXPECT_FALSE(planCuteButtonPaint(look, Bevel::Raised, 75, 25, true, true).focusRect.has_value());
}

TEST(CuteButtonAccelerator, MarkedLetter) {
    EXPECT_EQ(acceleratorChar("&OK"), 'O');
    EXPECT_EQ(acceleratorChar("Save && &Close"), 'C');
    EXPECT_EQ(acceleratorChar("A && B"), std::nullopt);
    EXPECT_EQ(acceleratorChar("OK"), std::nullopt);
    EXPECT_EQ(acceleratorChar("OK&"), std::nullopt);
    EXPECT_EQ(acceleratorChar("\x95\x5C\x8E\xA6(&V)"), 'V');  // "表示(&V)"
    EXPECT_EQ(acceleratorChar("\x81\x9A"), std::nullopt);  // "★"
}

// Records what the model asks for; behaviour of the window is scripted.
class FakeHost : public CuteButtonHost {
public:
    std::vector<std::string> log;
    bool enabled = true, focused = false, capture = false;
    int repaints = 0, clicks = 0;
    std::function<void()> onClick, onPump, onMenu;

    void repaint() override { ++repaints; }
    bool isEnabled() override { return enabled; }
    bool isFocused() override { return focused; }
    void takeFocus() override {
        focused = true;
        log.push_back("focus");
    }
    void captureMouse() override {
        capture = true;
        log.push_back("capture");
    }
    bool holdsMouseCapture() override { return capture; }
    void releaseMouseCapture() override {
        capture = false;
        log.push_back("release");
    }
    void startDropDownTimer(int ms) override { log.push_back("timer " + std::to_string(ms)); }
    void stopDropDownTimer() override { log.push_back("stop timer"); }
    void runClickHandler() override {
        ++clicks;
        log.push_back("click");
        if (onClick) onClick();
    }
    void processPendingMessages() override {
        log.push_back("pump");
        if (onPump) onPump();
    }
    void popUpDropDownMenu() override {
        log.push_back("menu");
        if (onMenu) onMenu();
    }
    void fireMouseEnter() override { log.push_back("enter"); }
    void fireMouseLeave() override { log.push_back("leave"); }
};

TEST(CuteButtonMouse, HoverPressAndReleaseOverTheButtonClicks) {
    FakeHost host;
    CuteButtonModel b(host);
    EXPECT_EQ(b.outerBevel(), Bevel::None);
    b.mouseEnter(false, false);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.mouseDown(MouseButton::Left);
    EXPECT_EQ(b.outerBevel(), Bevel::Lowered);
    EXPECT_EQ(host.clicks, 0);
    b.mouseUp(MouseButton::Left, true);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(host.log, (std::vector<std::string>{"enter", "focus", "capture", "release", "click"}));
    b.mouseLeave();
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);  // focused and TabFocusUp
    b.behaviour().tabFocusUp = false;
    b.mouseEnter(false, false);
    b.mouseLeave();
    EXPECT_EQ(b.outerBevel(), Bevel::None);
}

TEST(CuteButtonMouse, ReleaseOutsideDoesNotClick) {
    FakeHost host;
    CuteButtonModel b(host);
    b.mouseDown(MouseButton::Left);
    b.mouseUp(MouseButton::Left, false);
    EXPECT_EQ(host.clicks, 0);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);  // focused with TabFocusUp
    b.behaviour().tabFocusUp = false;
    b.mouseDown(MouseButton::Left);
    b.mouseUp(MouseButton::Left, false);
    EXPECT_EQ(b.outerBevel(), Bevel::None);
    EXPECT_EQ(host.clicks, 0);
    // A release without a press on the button does not click either.
    b.mouseUp(MouseButton::Left, true);
    EXPECT_EQ(host.clicks, 0);
}

TEST(CuteButtonMouse, EnteringWithTheButtonHeldLooksPressedAndDraggingSuppressesEnter) {
    FakeHost host;
    CuteButtonModel b(host);
    b.mouseEnter(true, false);
    EXPECT_EQ(b.outerBevel(), Bevel::Lowered);
    FakeHost host2;
    CuteButtonModel c(host2);
    c.mouseEnter(false, true);
    EXPECT_EQ(c.outerBevel(), Bevel::None);
    EXPECT_TRUE(host2.log.empty());
}

TEST(CuteButtonMouse, RightButtonTakesFocusButDoesNotPress) {
    FakeHost host;
    CuteButtonModel b(host);
    b.mouseDown(MouseButton::Right);
    b.mouseUp(MouseButton::Right, true);
    EXPECT_TRUE(host.focused);
    EXPECT_EQ(host.clicks, 0);
    EXPECT_NE(b.outerBevel(), Bevel::Lowered);
}

TEST(CuteButtonKeys, SpaceClicksOnRelease) {
    FakeHost host;
    host.focused = true;
    CuteButtonModel b(host);
    b.focusEnter();
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.keyDown(kSpace);
    EXPECT_EQ(b.outerBevel(), Bevel::Lowered);
    EXPECT_EQ(host.clicks, 0);
    b.keyUp(kSpace);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.focusExit();
    EXPECT_EQ(b.outerBevel(), Bevel::None);
}

TEST(CuteButtonKeys, AnotherKeyCancelsASpacePress) {
    FakeHost host;
    CuteButtonModel b(host);
    b.keyDown(kSpace);
    b.keyDown(kTab);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.keyUp(kSpace);
    EXPECT_EQ(host.clicks, 0);
}

TEST(CuteButtonKeys, EnterClicksAtOnceAndRestoresTheBevel) {
    FakeHost host;
    CuteButtonModel b(host);
    Bevel duringClick = Bevel::None;
    host.onClick = [&] { duringClick = b.outerBevel(); };
    b.keyDown(kReturn);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(duringClick, Bevel::Lowered);  // pressed look while the handler runs
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.behaviour().tabFocusUp = false;
    b.keyDown(kReturn);
    EXPECT_EQ(b.outerBevel(), Bevel::None);
}

TEST(CuteButtonKeys, DisabledButtonIgnoresKeys) {
    FakeHost host;
    host.enabled = false;
    CuteButtonModel b(host);
    b.keyDown(kSpace);
    b.keyUp(kSpace);
    b.keyDown(kReturn);
    EXPECT_EQ(host.clicks, 0);
    EXPECT_EQ(b.outerBevel(), Bevel::None);
    EXPECT_FALSE(b.accelerator('O', "&OK", true));
    EXPECT_EQ(host.clicks, 0);
}

TEST(CuteButtonKeys, AcceleratorClicksOnlyForTheMarkedLetterWithVisibleParent) {
    FakeHost host;
    CuteButtonModel b(host);
    EXPECT_FALSE(b.accelerator('K', "&OK", true));
    EXPECT_FALSE(b.accelerator('O', "&OK", false));
    EXPECT_EQ(host.clicks, 0);
    EXPECT_TRUE(b.accelerator('o', "&OK", true));
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
}

TEST(CuteButtonKeys, RepaintsOnlyWhenTheBevelChanges) {
    FakeHost host;
    CuteButtonModel b(host);
    b.focusEnter();
    b.focusEnter();
    b.mouseEnter(false, false);  // already raised
    EXPECT_EQ(host.repaints, 1);
    b.focusExit();
    EXPECT_EQ(host.repaints, 2);
}

TEST(CuteButtonClick, EgnoreContClickDropsClicksQueuedDuringTheHandler) {
    FakeHost host;
    CuteButtonModel b(host, {.egnoreContClick = true});
    // While the handler runs, a double click arrives and is processed when the
    // button pumps the queue.
    host.onPump = [&] {
        host.onPump = nullptr;
        b.click();
        b.click();
    };
    b.click();
    EXPECT_EQ(host.clicks, 1);
    b.click();  // later clicks find the handler again
    EXPECT_EQ(host.clicks, 2);
}

TEST(CuteButtonClick, WithoutEgnoreContClickEveryClickRunsTheHandler) {
    FakeHost host;
    CuteButtonModel b(host);
    host.onClick = [&] {
        if (host.clicks == 1) {
            b.click();
            b.click();
        }
    };
    b.click();
    EXPECT_EQ(host.clicks, 3);
}

TEST(CuteButtonClick, HandlerIsReattachedWhenItThrows) {
    FakeHost host;
    CuteButtonModel b(host, {.egnoreContClick = true});
    host.onClick = [] { throw std::runtime_error("boom"); };
    EXPECT_THROW(b.click(), std::runtime_error);
    host.onClick = nullptr;
    b.click();
    EXPECT_EQ(host.clicks, 2);
}

TEST(CuteButtonDropDown, ImmediateMenuOnMousePressSwallowsTheClosingClick) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true});
    b.mouseDown(MouseButton::Left);
    EXPECT_EQ(host.clicks, 0);  // the simulated release after the menu is swallowed
    EXPECT_EQ(host.log, (std::vector<std::string>{"focus", "capture", "pump", "menu", "release"}));
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.click();  // the flag was cleared: a later click is a click
    EXPECT_EQ(host.clicks, 1);
}

TEST(CuteButtonDropDown, EnterOpensTheMenuWhenTheDelayIsZeroAndClicksOtherwise) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true});
    b.keyDown(kReturn);
    EXPECT_EQ(host.clicks, 0);
    EXPECT_NE(std::find(host.log.begin(), host.log.end(), "menu"), host.log.end());
    b.behaviour().dropDownDelay = 300;
    host.log.clear();
    b.keyDown(kReturn);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(std::find(host.log.begin(), host.log.end(), "menu"), host.log.end());
}

TEST(CuteButtonDropDown, DelayedMenuOpensWhenTheMouseIsStillHeld) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true, .dropDownDelay = 400});
    b.mouseDown(MouseButton::Left);
    EXPECT_TRUE(b.dropDownTimerPending());
    b.mouseDown(MouseButton::Left);  // a second press does not start a second timer
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "timer 400"), 1);
    b.dropDownTimerFired();
    EXPECT_FALSE(b.dropDownTimerPending());
    EXPECT_EQ(host.clicks, 0);
    const auto menu = std::find(host.log.begin(), host.log.end(), "menu");
    ASSERT_NE(menu, host.log.end());
    // The capture was given up before the menu opened.
    EXPECT_EQ(*(menu - 2), "release");
}

TEST(CuteButtonDropDown, ReleaseBeforeTheDelayClicksAndDiscardsTheTimer) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true, .dropDownDelay = 400});
    b.mouseDown(MouseButton::Left);
    b.mouseUp(MouseButton::Left, true);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(b.dropDownTimerPending());
    EXPECT_EQ(host.log.back(), "stop timer");
    b.dropDownTimerFired();  // a stale tick does nothing
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "menu"), 0);
}

TEST(CuteButtonDropDown, MouseTimerWithoutCaptureShowsNothing) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true, .dropDownDelay = 400});
    b.mouseDown(MouseButton::Left);
    host.capture = false;  // capture lost to another window
    b.dropDownTimerFired();
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "menu"), 0);
}

TEST(CuteButtonDropDown, SpaceHeldOpensTheMenuAfterTheDelay) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true, .dropDownDelay = 250});
    b.keyDown(kSpace);
    EXPECT_TRUE(b.dropDownTimerPending());
    b.dropDownTimerFired();
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "menu"), 1);
    EXPECT_EQ(host.clicks, 0);  // the simulated Space release is swallowed
    EXPECT_EQ(b.outerBevel(), Bevel::Raised);
    b.keyUp(kSpace);  // the real release afterwards: the press is over already
    EXPECT_EQ(host.clicks, 0);
}

TEST(CuteButtonDropDown, SpaceReleasedBeforeTheDelayClicks) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true, .dropDownDelay = 250});
    b.keyDown(kSpace);
    b.keyUp(kSpace);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(b.dropDownTimerPending());
}

TEST(CuteButtonDropDown, NoMenuNoDropDown) {
    FakeHost host;
    CuteButtonModel b(host);
    b.showDropDownMenu();
    b.startDropDown();
    EXPECT_TRUE(host.log.empty());
}

TEST(CuteButtonDropDown, MenuFlagIsClearedWhenTheMenuThrows) {
    FakeHost host;
    CuteButtonModel b(host, {.hasDropDownMenu = true});
    host.onMenu = [] { throw std::runtime_error("menu failed"); };
    EXPECT_THROW(b.showDropDownMenu(), std::runtime_error);
    b.click();
    EXPECT_EQ(host.clicks, 1);
}

}  // namespace
