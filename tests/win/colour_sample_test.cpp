// The colour sample window under Wine: real mouse messages on the chart,
// pixels through WM_PRINTCLIENT, a fake main window as host, and the modal
// entry points driven from a thread timer with a watchdog.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "win_test_support.h"
#include "core/texts.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "picking/colour_sample_win.h"

namespace {

using Mode = hueloom::picking::SampleMode;

struct FakeHost : hueloom::picking::ColourSampleHost {
    std::vector<std::pair<std::wstring, uint32_t>> copies;
    std::vector<std::wstring> readouts;
    int clears = 0;
    bool decimal = true;
    POINT origin{60, 50};
    unsigned frame = 0x0000FF;  // red frame
    bool failCopy = false;

    void copyPickedColour(const std::wstring& text, hueloom::Rgb colour) override {
        if (failCopy) throw std::runtime_error("clipboard busy");
        copies.emplace_back(text, hueloom::toColourValue(colour));
    }
    void showReadout(const std::wstring& text) override { readouts.push_back(text); }
    void clearReadout() override { ++clears; }
    bool decimalChosen() const override { return decimal; }
    POINT topLeft() const override { return origin; }
    unsigned activeColor() const override { return frame; }
};

using Snapshot = ClientSnapshot;

void move(hueloom::picking::TfrmColorSample& f, int x, int y) {
    SendMessageW(f.Image1.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}
void press(HWND h, UINT msg = WM_LBUTTONDOWN, int x = 5, int y = 5) {
    SendMessageW(h, msg, msg == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
}

// The form's own hit test at a client point.
LRESULT hitAt(hueloom::picking::TfrmColorSample& f, int x, int y) {
    POINT p{x, y};
    ClientToScreen(f.hwnd(), &p);
    return SendMessageW(f.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

std::wstring title() { return tk::app().title(); }

// A window made the way the entry points make it, but not modal, so the
// test can talk to it directly.
struct SampleFixture : ::testing::Test {
    FakeHost host;
    std::unique_ptr<hueloom::picking::TfrmColorSample> form;

    hueloom::picking::TfrmColorSample& open(Mode mode) {
        form = std::make_unique<hueloom::picking::TfrmColorSample>(host);
        EXPECT_TRUE(form->create(mode));
        // Messages, hit tests and WM_PRINTCLIENT work on the hidden window;
        // showing and hiding a top-most window costs seconds under Wine.
        pump();
        return *form;
    }
    void TearDown() override {
        form.reset();
        pump();
    }
};

}  // namespace

// ---------------------------------------------------------------- layout and chart

TEST_F(SampleFixture, CopyModeWindowLayoutCaptionsAndHints) {
    host.origin = {70, 40};
    host.decimal = false;
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    RECT w;
    GetWindowRect(f.hwnd(), &w);
    EXPECT_EQ(w.left, 70);
    EXPECT_EQ(w.top, 40);
    EXPECT_EQ(w.right - w.left, 439);
    EXPECT_EQ(w.bottom - w.top, 182);
    EXPECT_EQ(f.text(), L"Color Sample（クリックすれば色をコピーします）");
    EXPECT_EQ(f.lblTitle.caption(), f.text());
    EXPECT_EQ(f.hintOf(f.Image1.hwnd()), L"クリックすれば色をコピーします。");
    EXPECT_EQ(f.hintOf(f.BitBtn1.hwnd()), L"詳細なカラー・ダイアログの表示");
    EXPECT_EQ(f.Button1.caption(), L"閉じる(&C)");
    EXPECT_EQ(f.RadioGroup1.itemIndex(), 1) << "hexadecimal, as in the main window";

    const RECT chart = f.Image1.bounds();
    EXPECT_EQ(chart.left, 24);
    EXPECT_EQ(chart.top, 32);
    EXPECT_EQ(chart.right - chart.left, 390);
    EXPECT_EQ(chart.bottom - chart.top, 90);
    const RECT backing = f.Label2.bounds();
    EXPECT_EQ(backing.left, 22);
    EXPECT_EQ(backing.top, 30);
    EXPECT_EQ(backing.right - backing.left, 394);
    EXPECT_EQ(backing.bottom - backing.top, 94);
    EXPECT_EQ(ChildWindowFromPointEx(f.hwnd(), POINT{100, 60}, CWP_SKIPINVISIBLE), f.Image1.hwnd())
        << "the chart lies above its white backing";

    // Rounded shape framed in the active colour over navy.
    tk::Region rgn = tk::windowRegion(f.hwnd());
    ASSERT_TRUE(rgn);
    EXPECT_FALSE(PtInRegion(rgn, 2, 2));
    EXPECT_TRUE(PtInRegion(rgn, 220, 90));
    Snapshot s(f.hwnd());
    expectPixels(s, {{1, 91, RGB(255, 0, 0)}, {219, 1, RGB(255, 0, 0)}, {5, 91, RGB(0, 0, 128)}});
}

TEST_F(SampleFixture, SelectionModeCaptionsAndDecimalFormat) {
    host.decimal = true;
    hueloom::picking::TfrmColorSample& f = open(Mode::Select);
    EXPECT_EQ(f.text(), L"Color選択（クリックすれば色を確定します）");
    EXPECT_EQ(f.lblTitle.caption(), f.text());
    EXPECT_EQ(f.hintOf(f.Image1.hwnd()), L"クリックすれば色を確定します。");
    EXPECT_EQ(f.RadioGroup1.itemIndex(), 0);
    EXPECT_FALSE(f.confirmed());
    EXPECT_EQ(f.confirmedColor(), 0xFFFFFFu);
}

TEST_F(SampleFixture, ChartShowsTheCellsWithBlackGridLines) {
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    Snapshot s(f.Image1.hwnd());
    ASSERT_EQ(s.width(), 390);
    ASSERT_EQ(s.height(), 90);
    expectPixels(s, {{15, 15, RGB(0x99, 0xFF, 0xFF)},
                     {165, 45, RGB(255, 0, 0)},
                     {385, 85, RGB(0xFF, 0x66, 0x33)},
                     {1, 1, RGB(255, 255, 255)}});
    for (int y = 0; y < 90; y += 7) {
        expectPixels(s, {{0, y, RGB(0, 0, 0)}, {19, y, RGB(0, 0, 0)}, {389, y, RGB(0, 0, 0)}});
    }
    for (int x = 0; x < 390; x += 13) {
        expectPixels(s, {{x, 0, RGB(0, 0, 0)}, {x, 9, RGB(0, 0, 0)}, {x, 89, RGB(0, 0, 0)}});
    }
    // Grid lines plus the black cell's interior.
    EXPECT_EQ(s.count(RGB(0, 0, 0)), 10 * 390 + 40 * 90 - 400 + 8 * 9);
    // The white backing frames the chart by two pixels.
    Snapshot backing(f.Label2.hwnd());
    EXPECT_EQ(backing.at(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(backing.at(393, 93), RGB(255, 255, 255));
}

// ---------------------------------------------------------------- hover

TEST_F(SampleFixture, HoverReadsTheCellIntoBothReadoutsAndTheTitle) {
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    EXPECT_TRUE(f.Label1.caption().empty());
    EXPECT_TRUE(f.Label1.transparent());

    move(f, 15, 15);
    EXPECT_EQ(f.Label1.caption(), L"rgb(153,255,255)");
    EXPECT_FALSE(f.Label1.transparent());
    EXPECT_EQ(f.Label1.background(), RGB(153, 255, 255));
    EXPECT_EQ(f.Label1.textColour(), RGB(102, 0, 0));
    ASSERT_EQ(host.readouts.size(), 1u);
    EXPECT_EQ(host.readouts.back(), L"rgb(153,255,255)");
    EXPECT_EQ(title(), L"rgb(153,255,255)");
    {
        Snapshot s(f.Label1.hwnd());
        EXPECT_EQ(s.at(2, 2), RGB(153, 255, 255));
        EXPECT_GT(s.count(RGB(102, 0, 0)), 20) << "the text in the inverse colour";
    }

    // Grid lines and the border keep the value.
    move(f, 19, 5);
    move(f, 5, 9);
    move(f, 0, 40);
    EXPECT_EQ(f.Label1.caption(), L"rgb(153,255,255)");
    EXPECT_EQ(host.readouts.size(), 1u);

    // 16進法 chosen in the window.
    SendMessageW(f.RadioGroup1.button(1), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ(f.RadioGroup1.itemIndex(), 1);
    move(f, 15, 15);
    EXPECT_EQ(f.Label1.caption(), L"#99FFFF");
    EXPECT_EQ(host.readouts.back(), L"#99FFFF");
    EXPECT_EQ(title(), L"#99FFFF");
    move(f, 55, 45);
    EXPECT_EQ(f.Label1.caption(), L"#0000FF");
    EXPECT_EQ(f.Label1.textColour(), RGB(255, 255, 0));
}

TEST_F(SampleFixture, BackgroundDragsTheWindowAndResetsTheReadoutInCopyMode) {
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    move(f, 15, 15);
    ASSERT_FALSE(f.Label1.caption().empty());
    // Over the chart (reached only when the chart does not take the point
    // itself) the form answers client and keeps the value.
    EXPECT_EQ(hitAt(f, 100, 60), HTCLIENT);
    EXPECT_EQ(f.Label1.caption(), L"rgb(153,255,255)");
    EXPECT_EQ(host.clears, 0);
    // The chart's edge pixel counts as outside.
    EXPECT_EQ(hitAt(f, 24, 60), HTCAPTION);
    EXPECT_TRUE(f.Label1.caption().empty());
    EXPECT_TRUE(f.Label1.transparent());
    EXPECT_EQ(host.clears, 1);
    // Background, the read-out label and the title all drag.
    EXPECT_EQ(hitAt(f, 430, 100), HTCAPTION);
    POINT p{30, 140};
    ClientToScreen(f.hwnd(), &p);
    EXPECT_EQ(SendMessageW(f.Label1.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTTRANSPARENT);
    // Controls stay controls.
    POINT b{330, 145};
    ClientToScreen(f.hwnd(), &b);
    EXPECT_EQ(SendMessageW(f.BitBtn1.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(b.x, b.y)), HTCLIENT);
}

// ---------------------------------------------------------------- clicks

TEST_F(SampleFixture, CopyModeClickHandsTheValueToTheMainWindow) {
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    press(f.Image1.hwnd(), WM_LBUTTONDOWN, 15, 15);
    EXPECT_TRUE(host.copies.empty()) << "nothing read yet";

    move(f, 165, 45);
    press(f.Image1.hwnd(), WM_LBUTTONDOWN, 165, 45);
    ASSERT_EQ(host.copies.size(), 1u);
    EXPECT_EQ(host.copies[0].first, L"rgb(255,0,0)");
    EXPECT_EQ(host.copies[0].second, 0x0000FFu);
    // Any button copies.
    move(f, 15, 15);
    press(f.Image1.hwnd(), WM_RBUTTONDOWN, 15, 15);
    ASSERT_EQ(host.copies.size(), 2u);
    EXPECT_EQ(host.copies[1].first, L"rgb(153,255,255)");
    EXPECT_EQ(host.copies[1].second, 0xFFFF99u);
    EXPECT_FALSE(f.confirmed());
    EXPECT_EQ(f.Label1.caption(), L"rgb(153,255,255)");

    // After leaving the chart the read-out is empty: a click copies nothing.
    hitAt(f, 430, 100);
    press(f.Image1.hwnd(), WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(host.copies.size(), 2u);
}

TEST_F(SampleFixture, SelectionModeClickConfirmsAndLeavingShowsTheConfirmation) {
    host.decimal = false;
    hueloom::picking::TfrmColorSample& f = open(Mode::Select);
    move(f, 15, 15);
    press(f.Image1.hwnd(), WM_LBUTTONDOWN, 15, 15);
    EXPECT_TRUE(f.confirmed());
    EXPECT_EQ(f.confirmedColor(), 0xFFFF99u);
    EXPECT_EQ(f.Label1.caption(), L"確定色\r\n#99FFFF");
    EXPECT_TRUE(host.copies.empty()) << "selection mode copies nothing";

    // Moving on shows other colours; leaving brings the confirmation back.
    move(f, 165, 45);
    EXPECT_EQ(f.Label1.caption(), L"#FF0000");
    EXPECT_EQ(hitAt(f, 430, 100), HTCAPTION);
    EXPECT_EQ(f.Label1.caption(), L"確定色\r\n#99FFFF");
    EXPECT_FALSE(f.Label1.transparent());
    EXPECT_EQ(f.Label1.background(), RGB(153, 255, 255));
    EXPECT_EQ(host.clears, 0) << "the main window's read-out is left alone";
    EXPECT_EQ(f.confirmedColor(), 0xFFFF99u);
    {
        Snapshot s(f.Label1.hwnd());
        EXPECT_GT(s.count(RGB(102, 0, 0)), 40) << "two lines of text";
    }

    // A later click replaces the confirmation.
    move(f, 55, 45);
    press(f.Image1.hwnd(), WM_MBUTTONDOWN, 55, 45);
    EXPECT_EQ(f.confirmedColor(), 0xFF0000u);
    EXPECT_EQ(f.Label1.caption(), L"確定色\r\n#0000FF");
}

TEST_F(SampleFixture, ColourDialogCopiesOrConfirmsItsColour) {
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    std::optional<COLORREF> answer = RGB(12, 0, 255);
    int asked = 0;
    f.colourDialog = [&](HWND owner) {
        ++asked;
        EXPECT_EQ(owner, f.hwnd());
        return answer;
    };
    // A real press and release on the picture button.
    press(f.BitBtn1.hwnd());
    EXPECT_TRUE(f.BitBtn1.pressed());
    SendMessageW(f.BitBtn1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(f.BitBtn1.pressed());
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(host.copies.size(), 1u);
    EXPECT_EQ(host.copies[0].first, L"R: 12, G: 0, B: 255");
    EXPECT_EQ(host.copies[0].second, 0xFF000Cu);
    // Released off the button: no click.
    press(f.BitBtn1.hwnd());
    SendMessageW(f.BitBtn1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
    EXPECT_EQ(asked, 1);
    // Cancelled: nothing changes.
    answer.reset();
    f.BitBtn1Click();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(host.copies.size(), 1u);
    // Hexadecimal form.
    answer = RGB(12, 0, 255);
    SendMessageW(f.RadioGroup1.button(1), BM_CLICK, 0, 0);
    f.BitBtn1Click();
    ASSERT_EQ(host.copies.size(), 2u);
    EXPECT_EQ(host.copies[1].first, L"#0C00FF");

    // Selection mode confirms the dialog's colour.
    hueloom::picking::TfrmColorSample& g = open(Mode::Select);
    g.colourDialog = [&](HWND) { return std::optional<COLORREF>(RGB(12, 0, 255)); };
    g.BitBtn1Click();
    EXPECT_TRUE(g.confirmed());
    EXPECT_EQ(g.confirmedColor(), 0xFF000Cu);
    EXPECT_EQ(g.Label1.caption(), L"確定色\r\nR: 12, G: 0, B: 255");
    EXPECT_EQ(g.Label1.background(), RGB(12, 0, 255));
    EXPECT_EQ(g.Label1.textColour(), RGB(243, 255, 0));
    EXPECT_EQ(host.copies.size(), 2u);
}

TEST_F(SampleFixture, FailedCopyIsReportedAndTheWindowCarriesOn) {
    hueloom::picking::TfrmColorSample& f = open(Mode::Copy);
    host.failCopy = true;
    move(f, 15, 15);
    // The error goes to a message box; close it from a timer.
    struct Closer {
        static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    const UINT_PTR id = SetTimer(nullptr, 0, 50, Closer::tick);
    press(f.Image1.hwnd(), WM_LBUTTONDOWN, 15, 15);
    KillTimer(nullptr, id);
    EXPECT_TRUE(host.copies.empty());
    host.failCopy = false;
    press(f.Image1.hwnd(), WM_LBUTTONDOWN, 15, 15);
    EXPECT_EQ(host.copies.size(), 1u);
}

// ---------------------------------------------------------------- modal entry points

namespace {}  // namespace

TEST(ColorSampleModal, ClosingWithoutAClickReturnsFalseAndWhite) {
    FakeHost host;
    const hueloom::picking::SampleColorChoice r = ModalDriver::runOn<hueloom::picking::TfrmColorSample>(
        [](hueloom::picking::TfrmColorSample& f) {
            move(f, 15, 15);  // read, but not clicked
            f.Button1.click();
        },
        [&] { return hueloom::picking::ChooseSampleColor(host); });
    EXPECT_FALSE(r.confirmed);
    EXPECT_EQ(r.colour, 0xFFFFFFu);
}

TEST(ColorSampleModal, ConfirmedColourIsReturnedEvenAfterThePointerMovedOn) {
    FakeHost host;
    bool wasSelection = false;
    const hueloom::picking::SampleColorChoice r = ModalDriver::runOn<hueloom::picking::TfrmColorSample>(
        [&](hueloom::picking::TfrmColorSample& f) {
            wasSelection = f.mode() == Mode::Select;
            move(f, 165, 45);
            press(f.Image1.hwnd(), WM_LBUTTONDOWN, 165, 45);
            move(f, 15, 15);
            hitAt(f, 430, 100);
            // Enter closes through the default button.
            PostMessageW(f.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
        },
        [&] { return hueloom::picking::ChooseSampleColor(host); });
    EXPECT_TRUE(wasSelection);
    EXPECT_TRUE(r.confirmed);
    EXPECT_EQ(r.colour, 0x0000FFu);
    EXPECT_TRUE(host.copies.empty());
}

TEST(ColorSampleModal, CopyModeClosesByItsButtonAndClearsTheChart) {
    FakeHost host;
    bool wasCopy = false, chartCleared = false;
    ModalDriver::runOn<hueloom::picking::TfrmColorSample>(
        [&](hueloom::picking::TfrmColorSample& f) {
            wasCopy = f.mode() == Mode::Copy;
            move(f, 15, 15);
            press(f.Image1.hwnd(), WM_LBUTTONDOWN, 15, 15);
            SendMessageW(f.Button1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(f.Button1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            chartCleared = !f.Image1.hasPicture();
        },
        [&] { hueloom::picking::ShowColorSample(host); });
    EXPECT_TRUE(wasCopy);
    EXPECT_TRUE(chartCleared);
    ASSERT_EQ(host.copies.size(), 1u);
    EXPECT_EQ(host.copies[0].first, L"rgb(153,255,255)");
}

namespace {

// Looks at the system colour dialog once it is open, then cancels it.
struct DialogWatcher {
    static inline HWND owner = nullptr;
    static inline int width = 0;
    static inline bool seen = false;
    static BOOL CALLBACK find(HWND h, LPARAM) {
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        if (std::wstring(cls) == L"#32770" && GetWindow(h, GW_OWNER) == owner && IsWindowVisible(h)) {
            RECT r;
            GetWindowRect(h, &r);
            width = r.right - r.left;
            seen = true;
            PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!seen && owner) EnumThreadWindows(GetCurrentThreadId(), find, 0);
    }
};

}  // namespace

TEST(ColorSampleModal, FullColourDialogOpensExpandedAndCancelChangesNothing) {
    FakeHost host;
    DialogWatcher::seen = false;
    DialogWatcher::width = 0;
    bool confirmedAfter = true;
    std::wstring readout;
    const UINT_PTR watch = SetTimer(nullptr, 0, 50, DialogWatcher::tick);
    const hueloom::picking::SampleColorChoice r = ModalDriver::runOn<hueloom::picking::TfrmColorSample>(
        [&](hueloom::picking::TfrmColorSample& f) {
            DialogWatcher::owner = f.hwnd();
            f.BitBtn1Click();  // the real dialog; the watcher cancels it
            confirmedAfter = f.confirmed();
            readout = f.Label1.caption();
            f.Button1.click();
        },
        [&] { return hueloom::picking::ChooseSampleColor(host); });
    KillTimer(nullptr, watch);
    DialogWatcher::owner = nullptr;
    EXPECT_TRUE(DialogWatcher::seen) << "the colour dialog never showed";
    // Collapsed, the dialog is about 230 pixels wide; expanded, well over 400.
    EXPECT_GT(DialogWatcher::width, 400);
    EXPECT_FALSE(confirmedAfter);
    EXPECT_TRUE(readout.empty());
    EXPECT_FALSE(r.confirmed);
    EXPECT_EQ(r.colour, 0xFFFFFFu);
}

namespace {

TEST(ColorSampleModal, EveryTextFitsInBothLanguagesAtBothScalings) {
    expectNothingClippedInBothLanguages([] {
        FakeHost host;
        std::vector<std::wstring> clipped;
        ModalDriver::runOn<hueloom::picking::TfrmColorSample>(
            [&](hueloom::picking::TfrmColorSample& f) {
                clipped = clippedAtBothScalings(f.hwnd());
                f.Button1.click();
            },
            [&] { return hueloom::picking::ChooseSampleColor(host); });
        return clipped;
    });
}

}  // namespace
