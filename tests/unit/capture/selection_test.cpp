// Rectangle selection: zones, the state machine driven by mouse, keys and
// fixed sizes, the size label, the size dialog's fields, the instructions
// text and the cut out of the frozen screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/selection.h"
#include "image/dib.h"
#include "image/image_error.h"

using namespace hueloom;
using namespace hueloom::capture;
using hueloom::image::Dib;

namespace {

// Draws a free rectangle from (x0, y0) to (x1, y1) and drops it.
Selection drawn(int x0, int y0, int x1, int y1) {
    Selection s;
    s.mouseDown(MouseButton::Left, x0, y0);
    s.mouseMove((x0 + x1) / 2, (y0 + y1) / 2);
    s.mouseMove(x1, y1);
    s.mouseUp(x1, y1);
    return s;
}

// Grabs the shown rectangle at (x, y), drags to (tx, ty) and drops it.
void drag(Selection& s, int x, int y, int tx, int ty) {
    s.mouseMove(x, y);
    s.mouseDown(MouseButton::Left, x, y);
    s.mouseMove(tx, ty);
    s.mouseUp(tx, ty);
}

}  // namespace

// ---------------------------------------------------------------- zones

TEST(SelectionZones, NineZonesFiveWideTestedInOrder) {
    const Rect r{100, 200, 300, 400};
    struct Case {
        int x, y, zone;
    } cases[] = {
        {95, 195, 0},  {99, 199, 0},   {100, 195, 1},  {299, 199, 1},  {300, 195, 2}, {304, 199, 2},
        {95, 200, 3},  {99, 399, 3},   {100, 200, 4},  {299, 399, 4},  {300, 200, 5}, {304, 399, 5},
        {95, 400, 6},  {99, 404, 6},   {100, 400, 7},  {299, 404, 7},  {300, 400, 8}, {304, 404, 8},
        {94, 300, -1}, {200, 194, -1}, {305, 300, -1}, {200, 405, -1}, {94, 194, -1}, {305, 405, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(hitZone(r, c.x, c.y), c.zone) << c.x << "," << c.y;
    // An empty rectangle has no inside and no edges: only the corners remain.
    const Rect e{50, 50, 50, 50};
    EXPECT_EQ(hitZone(e, 50, 50), 8);
    EXPECT_EQ(hitZone(e, 47, 47), 0);
    EXPECT_EQ(hitZone(e, 52, 47), 2);
    EXPECT_EQ(hitZone(e, 47, 52), 6);
}

TEST(SelectionZones, PointerShapes) {
    const Pointer expected[] = {Pointer::SizeNWSE, Pointer::SizeNS,  Pointer::SizeNESW,
                                Pointer::SizeWE,   Pointer::SizeAll, Pointer::SizeWE,
                                Pointer::SizeNESW, Pointer::SizeNS,  Pointer::SizeNWSE};
    for (int z = 0; z < 9; ++z) EXPECT_EQ(zonePointer(z), expected[z]) << z;
    EXPECT_EQ(zonePointer(-1), Pointer::Arrow);
}

// ---------------------------------------------------------------- drawing

TEST(SelectionDraw, StartsEmptyWithTheCrossAndFreeSize) {
    Selection s;
    EXPECT_EQ(s.state(), selEmpty);
    EXPECT_EQ(s.rect(), (Rect{}));
    EXPECT_EQ(s.fixedWidth(), -1);
    EXPECT_EQ(s.fixedHeight(), -1);
    EXPECT_EQ(s.grabZone(), -1);
    EXPECT_EQ(s.pointer(), Pointer::SelectCross);
    EXPECT_FALSE(s.focusVisible());
    EXPECT_FALSE(s.labelVisible());
    EXPECT_FALSE(s.dragging());
    EXPECT_EQ(s.view(), View::Plain);
    EXPECT_FALSE(s.closeRequested());
}

TEST(SelectionDraw, DragShowsTheFocusRectangleThenDropsIntoTheMaskedView) {
    Selection s;
    s.mouseDown(MouseButton::Left, 10, 20);
    EXPECT_TRUE(s.dragging());
    EXPECT_TRUE(s.focusVisible());
    EXPECT_EQ(s.rect(), (Rect{10, 20, 10, 20}));
    const unsigned before = s.repaints();
    s.mouseMove(120, 80);
    EXPECT_EQ(s.rect(), (Rect{10, 20, 120, 80}));
    s.mouseMove(210, 320);
    EXPECT_EQ(s.rect(), (Rect{10, 20, 210, 320}));
    EXPECT_EQ(s.repaints(), before) << "moving only redraws the focus rectangle";
    EXPECT_EQ(s.state(), selEmpty);
    EXPECT_EQ(s.view(), View::Plain);
    s.mouseUp(210, 320);
    EXPECT_EQ(s.state(), selShown);
    EXPECT_EQ(s.repaints(), before + 1);
    EXPECT_FALSE(s.focusVisible());
    EXPECT_TRUE(s.labelVisible());
    EXPECT_FALSE(s.dragging());
    EXPECT_EQ(s.pointer(), Pointer::Arrow);
    EXPECT_EQ(s.view(), View::Masked);
}

TEST(SelectionDraw, EitherDirectionGivesTheSameRectangle) {
    EXPECT_EQ(drawn(210, 320, 10, 20).rect(), (Rect{10, 20, 210, 320}));
    EXPECT_EQ(drawn(10, 320, 210, 20).rect(), (Rect{10, 20, 210, 320}));
    EXPECT_EQ(drawn(210, 20, 10, 320).rect(), (Rect{10, 20, 210, 320}));
}

TEST(SelectionDraw, ClickWithoutMovingGivesAnEmptyRectangleAndOtherButtonsDrawNothing) {
    Selection s;
    s.mouseDown(MouseButton::Left, 40, 50);
    s.mouseUp(40, 50);
    EXPECT_EQ(s.state(), selShown);
    EXPECT_EQ(s.rect(), (Rect{40, 50, 40, 50}));
    EXPECT_EQ(sizeLabelText(s.rect()).substr(0, 13), "W: 0 x H: 0\r\n");

    Selection r;
    r.mouseDown(MouseButton::Right, 40, 50);
    r.mouseMove(90, 90);
    r.mouseUp(90, 90);
    EXPECT_EQ(r.state(), selEmpty);
    EXPECT_EQ(r.rect(), (Rect{}));
    EXPECT_FALSE(r.focusVisible());
    r.mouseMove(100, 100);  // no drag without the button
    EXPECT_EQ(r.rect(), (Rect{}));
}

TEST(SelectionDraw, ClickOutsideAShownRectangleDoesNothingUntilStartedOver) {
    Selection s = drawn(100, 100, 200, 200);
    const unsigned n = s.repaints();
    s.mouseMove(400, 400);
    EXPECT_EQ(s.grabZone(), -1);
    s.mouseDown(MouseButton::Left, 400, 400);
    s.mouseMove(500, 500);
    s.mouseUp(500, 500);
    EXPECT_EQ(s.state(), selShown);
    EXPECT_EQ(s.rect(), (Rect{100, 100, 200, 200}));
    EXPECT_EQ(s.repaints(), n);

    s.startOver();
    EXPECT_EQ(s.state(), selEmpty);
    EXPECT_EQ(s.rect(), (Rect{}));
    EXPECT_FALSE(s.labelVisible());
    EXPECT_EQ(s.pointer(), Pointer::SelectCross);
    EXPECT_EQ(s.grabZone(), -1);
    EXPECT_EQ(s.view(), View::Plain);
    s.mouseDown(MouseButton::Left, 400, 400);
    s.mouseMove(500, 450);
    s.mouseUp(500, 450);
    EXPECT_EQ(s.rect(), (Rect{400, 400, 500, 450}));
}

// ---------------------------------------------------------------- moving and resizing

TEST(SelectionTrack, HoverSetsTheZoneAndPointer) {
    Selection s = drawn(100, 100, 200, 200);
    s.mouseMove(97, 97);
    EXPECT_EQ(s.grabZone(), 0);
    EXPECT_EQ(s.pointer(), Pointer::SizeNWSE);
    s.mouseMove(150, 150);
    EXPECT_EQ(s.grabZone(), 4);
    EXPECT_EQ(s.pointer(), Pointer::SizeAll);
    s.mouseMove(202, 150);
    EXPECT_EQ(s.pointer(), Pointer::SizeWE);
    s.mouseMove(150, 300);
    EXPECT_EQ(s.pointer(), Pointer::Arrow);
}

TEST(SelectionTrack, GrabbingShowsThePlainScreenWithTheFocusRectangle) {
    Selection s = drawn(100, 100, 200, 200);
    s.mouseMove(150, 150);
    const unsigned n = s.repaints();
    s.mouseDown(MouseButton::Left, 150, 150);
    EXPECT_EQ(s.state(), selGrabbed);
    EXPECT_EQ(s.anchor(), (Point{150, 150}));
    EXPECT_EQ(s.repaints(), n + 1);
    EXPECT_TRUE(s.focusVisible());
    EXPECT_FALSE(s.labelVisible());
    EXPECT_EQ(s.view(), View::Plain);
    s.mouseMove(160, 170);
    EXPECT_EQ(s.state(), selTracking);
    EXPECT_EQ(s.rect(), (Rect{110, 120, 210, 220}));
    s.mouseMove(150, 150);
    EXPECT_EQ(s.rect(), (Rect{100, 100, 200, 200}));
    s.mouseUp(150, 150);
    EXPECT_EQ(s.state(), selShown);
    EXPECT_TRUE(s.labelVisible());
    EXPECT_EQ(s.view(), View::Masked);
}

TEST(SelectionTrack, EdgesAndCornersResizeButKeepSixPixelsFromTheOppositeSide) {
    Selection s = drawn(100, 100, 200, 200);
    drag(s, 202, 150, 250, 999);  // right edge: only the right side moves
    EXPECT_EQ(s.rect(), (Rect{100, 100, 250, 200}));
    drag(s, 150, 97, 999, 60);  // top edge
    EXPECT_EQ(s.rect(), (Rect{100, 60, 250, 200}));
    drag(s, 97, 150, 244, 150);  // left edge, pushed to 6 pixels of the right side
    EXPECT_EQ(s.rect(), (Rect{244, 60, 250, 200}));
    // The left side refuses to come within 5 pixels of the right one.
    drag(s, 242, 150, 245, 150);
    EXPECT_EQ(s.rect(), (Rect{244, 60, 250, 200}));
    drag(s, 252, 202, 300, 260);  // bottom-right corner
    EXPECT_EQ(s.rect(), (Rect{244, 60, 300, 260}));
    drag(s, 241, 57, 10, 20);  // top-left corner
    EXPECT_EQ(s.rect(), (Rect{10, 20, 300, 260}));
    drag(s, 302, 17, 320, 5);  // top-right corner
    EXPECT_EQ(s.rect(), (Rect{10, 5, 320, 260}));
    drag(s, 7, 262, 0, 280);  // bottom-left corner
    EXPECT_EQ(s.rect(), (Rect{0, 5, 320, 280}));
    drag(s, 100, 282, 100, 11);  // bottom edge: 11 is 6 below the top, allowed
    EXPECT_EQ(s.rect(), (Rect{0, 5, 320, 11}));
    drag(s, 100, 12, 100, 10);  // bottom edge to 5 below the top: refused
    EXPECT_EQ(s.rect(), (Rect{0, 5, 320, 11}));
}

// ---------------------------------------------------------------- keyboard

TEST(SelectionKeys, ArrowsMoveByOneOrTenAndCtrlResizesFromTheRightAndBottom) {
    Selection s = drawn(100, 100, 200, 150);
    const unsigned n = s.repaints();
    s.keyDown(Key::Right, false, false);
    EXPECT_EQ(s.state(), selTracking);
    EXPECT_EQ(s.repaints(), n + 1) << "the first press repaints the plain screen";
    EXPECT_TRUE(s.focusVisible());
    EXPECT_FALSE(s.labelVisible());
    EXPECT_EQ(s.rect(), (Rect{101, 100, 201, 150}));
    s.keyDown(Key::Right, true, false);  // held key repeats without repainting
    EXPECT_EQ(s.repaints(), n + 1);
    EXPECT_EQ(s.rect(), (Rect{111, 100, 211, 150}));
    s.keyDown(Key::Up, false, false);
    s.keyDown(Key::Left, true, false);
    s.keyDown(Key::Down, true, false);
    EXPECT_EQ(s.rect(), (Rect{101, 109, 201, 159}));
    s.keyUp(Key::Down);
    EXPECT_EQ(s.state(), selShown);
    EXPECT_EQ(s.repaints(), n + 2);
    EXPECT_TRUE(s.labelVisible());
    EXPECT_FALSE(s.focusVisible());

    s.keyDown(Key::Right, false, true);
    s.keyDown(Key::Down, true, true);
    EXPECT_EQ(s.rect(), (Rect{101, 109, 202, 169}));
    s.keyDown(Key::Left, true, true);
    s.keyDown(Key::Up, false, true);
    EXPECT_EQ(s.rect(), (Rect{101, 109, 192, 168}));
    // Moving beyond the screen is not limited.
    for (int i = 0; i < 20; ++i) s.keyDown(Key::Left, true, false);
    EXPECT_EQ(s.rect().left, -99);
    EXPECT_EQ(s.rect().width(), 91);
}

TEST(SelectionKeys, KeyboardNeverShrinksBelowOnePixel) {
    Selection s = drawn(0, 0, 10, 3);
    s.keyDown(Key::Left, true, true);  // 10 is not below 10
    EXPECT_EQ(s.rect(), (Rect{0, 0, 10, 3}));
    for (int i = 0; i < 20; ++i) {
        s.keyDown(Key::Left, false, true);
        s.keyDown(Key::Up, false, true);
    }
    EXPECT_EQ(s.rect(), (Rect{0, 0, 1, 1}));
}

TEST(SelectionKeys, NothingHappensBeforeARectangleExistsAndOtherKeysAreIgnored) {
    Selection s;
    const unsigned n = s.repaints();
    s.keyDown(Key::Right, false, false);
    s.keyUp(Key::Right);
    s.keyDown(Key::Other, false, false);
    EXPECT_EQ(s.state(), selEmpty);
    EXPECT_EQ(s.rect(), (Rect{}));
    EXPECT_EQ(s.repaints(), n);
    EXPECT_FALSE(s.closeRequested());

    Selection t = drawn(5, 5, 50, 50);
    t.keyDown(Key::Other, true, true);  // Escape, letters…: no effect, no close
    EXPECT_EQ(t.state(), selShown);
    EXPECT_FALSE(t.closeRequested());
    t.keyUp(Key::Other);
    EXPECT_EQ(t.state(), selShown);
}

TEST(SelectionKeys, ReturnRequestsTheCloseAndKeepsTheRectangle) {
    Selection s;
    s.keyDown(Key::Return, false, false);
    EXPECT_TRUE(s.closeRequested());
    EXPECT_EQ(s.rect(), (Rect{}));

    Selection t = drawn(30, 40, 130, 90);
    t.keyDown(Key::Return, true, true);
    EXPECT_TRUE(t.closeRequested());
    EXPECT_EQ(t.rect(), (Rect{30, 40, 130, 90}));
}

// ---------------------------------------------------------------- fixed sizes

TEST(SelectionFixed, FixedRectangleFollowsThePointerFromOnePixelUpLeft) {
    Selection s;
    s.setFixedSize(32, 32, Point{200, 300});
    EXPECT_EQ(s.state(), selTracking);
    EXPECT_EQ(s.rect(), (Rect{199, 299, 231, 331}));
    EXPECT_TRUE(s.focusVisible());
    EXPECT_FALSE(s.labelVisible());
    EXPECT_EQ(s.pointer(), Pointer::SizeAll);
    EXPECT_EQ(s.grabZone(), 4);
    EXPECT_EQ(s.fixedWidth(), 32);
    s.mouseMove(250, 310);
    EXPECT_EQ(s.rect(), (Rect{249, 309, 281, 341}));
    s.mouseDown(MouseButton::Left, 250, 310);
    EXPECT_EQ(s.state(), selGrabbed);
    s.mouseUp(250, 310);
    EXPECT_EQ(s.state(), selShown);
    EXPECT_EQ(s.rect(), (Rect{249, 309, 281, 341}));
}

TEST(SelectionFixed, EveryZoneMovesAFixedRectangleAndCtrlArrowsKeepItsSize) {
    Selection s;
    s.setFixedSize(32, 32, Point{101, 101});  // (100, 100)-(132, 132)
    s.mouseUp(101, 101);
    drag(s, 134, 134, 144, 144);  // the bottom-right corner moves it
    EXPECT_EQ(s.rect(), (Rect{110, 110, 142, 142}));
    EXPECT_EQ(s.pointer(), Pointer::SizeAll);
    drag(s, 108, 120, 100, 120);  // the left edge moves it
    EXPECT_EQ(s.rect(), (Rect{102, 110, 134, 142}));
    s.keyDown(Key::Right, true, true);
    s.keyDown(Key::Left, false, true);
    EXPECT_EQ(s.rect(), (Rect{102, 110, 134, 142}));
    s.keyDown(Key::Right, true, false);
    EXPECT_EQ(s.rect(), (Rect{112, 110, 144, 142}));
}

TEST(SelectionFixed, FreeSizeStartsOverAndRightClickDropsTheFollowingRectangle) {
    Selection s;
    s.setFixedSize(16, 24, Point{50, 60});
    s.mouseUp(50, 60);  // e.g. the right button released to open the menu
    EXPECT_EQ(s.state(), selShown);
    EXPECT_TRUE(s.labelVisible());
    s.freeSize(Point{70, 80});
    EXPECT_EQ(s.state(), selEmpty);
    EXPECT_EQ(s.fixedWidth(), -1);
    EXPECT_EQ(s.rect(), (Rect{}));
    EXPECT_EQ(s.pointer(), Pointer::SelectCross);
    EXPECT_FALSE(s.focusVisible());
    EXPECT_FALSE(s.labelVisible());
}

// ---------------------------------------------------------------- label

TEST(SelectionLabel, TextOfTwoLines) {
    EXPECT_EQ(sizeLabelText(Rect{10, 20, 210, 320}), "W: 200 x H: 300\r\n左上(10, 20)－右下(210, 320)");
    EXPECT_EQ(sizeLabelText(Rect{-5, 0, 7, 3}), "W: 12 x H: 3\r\n左上(-5, 0)－右下(7, 3)");
}

TEST(SelectionLabel, PlacedAboveOrBelowAndKeptOnTheDesktop) {
    // Room above: 5 pixels above the top, 2 in from the left.
    EXPECT_EQ(placeSizeLabel({100, 200, 300, 400}, 150, 30, 1280, 1024), (Point{102, 165}));
    // Near the top of the screen: below the rectangle.
    EXPECT_EQ(placeSizeLabel({100, 20, 300, 400}, 150, 30, 1280, 1024), (Point{102, 405}));
    // No room above nor below: inside, above the bottom side.
    EXPECT_EQ(placeSizeLabel({100, 20, 300, 1000}, 150, 30, 1280, 1024), (Point{102, 965}));
    // Near the right edge: pushed left to stay on the desktop.
    EXPECT_EQ(placeSizeLabel({1200, 200, 1270, 400}, 150, 30, 1280, 1024), (Point{1130, 165}));
    // Beyond the left edge: at 0.
    EXPECT_EQ(placeSizeLabel({-50, 200, 30, 400}, 150, 30, 1280, 1024), (Point{0, 165}));
}

// ---------------------------------------------------------------- size dialog

TEST(SelectionSizeField, PositiveDecimalIntegersOnly) {
    EXPECT_EQ(parseSizeField("64"), 64);
    EXPECT_EQ(parseSizeField(" 120 "), 120);
    EXPECT_EQ(parseSizeField("+7"), 7);
    EXPECT_EQ(parseSizeField("2147483647"), 2147483647);
    for (const char* bad :
         {"", "  ", "abc", "12px", "1 2", "-5", "0", "-1", "2147483648", "99999999999999999999", "3.5", "$10", "+"})
        EXPECT_EQ(parseSizeField(bad), -1) << bad;
}

// ---------------------------------------------------------------- instructions

TEST(SelectionInstructions, CarryTheDelayInTheFirstLine) {
    const std::string t = rectCaptureInstructions(1000);
    EXPECT_EQ(t.substr(0, t.find("\r\n")), "このメッセージ・ダイアログを閉じると、1000ミリ秒後に画面がフリーズし、");
    std::vector<std::string> lines;
    for (size_t p = 0;;) {
        size_t q = t.find("\r\n", p);
        lines.push_back(t.substr(p, q == std::string::npos ? q : q - p));
        if (q == std::string::npos) break;
        p = q + 2;
    }
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[5], "領域が決まれば、[Enter]キーを押下して下さい。切抜きが実行されます。");
    EXPECT_EQ(lines[11], "【 Ctrl + Z 】を押下して下さい");
    EXPECT_NE(rectCaptureInstructions(250).find("、250ミリ秒後"), std::string::npos);
}

// ---------------------------------------------------------------- cut

namespace {

Dib numbered(int w, int h) {
    Dib d(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = d.scanLine(y) + x * 4;
            p[0] = static_cast<uint8_t>(x + 1);
            p[1] = static_cast<uint8_t>(y + 1);
            p[2] = 200;
        }
    return d;
}

}  // namespace

TEST(SelectionCut, CopiesTheRectangleOfTheScreen) {
    const Dib screen = numbered(40, 30);
    const Dib cut = cutRect(screen, {5, 7, 25, 17});
    ASSERT_EQ(cut.width(), 20);
    ASSERT_EQ(cut.height(), 10);
    EXPECT_EQ(cut.bitsPerPixel(), 32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const uint8_t* p = cut.scanLine(y) + x * 4;
            ASSERT_EQ(p[0], 6 + x);
            ASSERT_EQ(p[1], 8 + y);
            ASSERT_EQ(p[2], 200);
        }
    EXPECT_EQ(cutRect(screen, {0, 0, 40, 30}), screen);
}

TEST(SelectionCut, OutsideTheScreenIsBlackAndEmptyGivesNoImage) {
    const Dib screen = numbered(40, 30);
    const Dib cut = cutRect(screen, {-3, 25, 4, 33});  // 7 x 8, 3 left and 3 below
    ASSERT_EQ(cut.width(), 7);
    ASSERT_EQ(cut.height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint8_t* p = cut.scanLine(y) + x * 4;
            const bool on = x >= 3 && y < 5;
            ASSERT_EQ(p[2], on ? 200 : 0) << x << "," << y;
            if (on) ASSERT_EQ(p[0], x - 3 + 1);
        }
    const Dib off = cutRect(screen, {100, 100, 110, 105});
    EXPECT_EQ(off.width(), 10);
    EXPECT_EQ(off, Dib(10, 5, 32));
    EXPECT_TRUE(cutRect(screen, {0, 0, 0, 0}).isNull());
    EXPECT_TRUE(cutRect(screen, {10, 10, 10, 20}).isNull());
    EXPECT_TRUE(cutRect(screen, {10, 10, 5, 20}).isNull());
    EXPECT_THROW(cutRect(screen, {0, 0, 60000, 60000}), hueloom::image::ImageError);
}

TEST(SelectionCut, KeepsPaletteAndSixteenBitFormats) {
    Dib p8(8, 4, 8);
    std::vector<hueloom::image::RgbQuad> pal(256);
    pal[9] = {1, 2, 3, 0};
    p8.setPalette(pal);
    p8.scanLine(2)[5] = 9;
    const Dib c8 = cutRect(p8, {4, 1, 8, 4});
    EXPECT_EQ(c8.bitsPerPixel(), 8);
    EXPECT_EQ(c8.palette(), p8.palette());
    EXPECT_EQ(c8.scanLine(1)[1], 9);

    Dib p16(6, 2, 16);
    p16.scanLine(1)[4] = 0x34;
    p16.scanLine(1)[5] = 0x12;
    const Dib c16 = cutRect(p16, {2, 1, 4, 2});
    EXPECT_EQ(c16.bitsPerPixel(), 16);
    EXPECT_EQ(c16.scanLine(0)[0], 0x34);
    EXPECT_EQ(c16.scanLine(0)[1], 0x12);

    Dib p1(16, 2, 1);
    const Dib c1 = cutRect(p1, {0, 0, 4, 2});
    EXPECT_EQ(c1.bitsPerPixel(), 24);
    EXPECT_EQ(c1.width(), 4);
}
