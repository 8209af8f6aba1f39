// The about window under Wine: its picture file, ring shape, orbit steps
// sampled from what it paints, the closing iris and the clean-up, and one
// real modal run on its own timers.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/codecs/png_decoder.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "dialogs/about/about.h"
#include "dialogs/about/about_win.h"
#include "win_test_support.h"

namespace dialogs = hueloom::dialogs;
namespace fs = std::filesystem;

namespace {

COLORREF rgb(std::uint32_t v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

bool exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The client area as the window paints it (WM_PRINTCLIENT into a DIB).
class Snapshot {
public:
    explicit Snapshot(HWND h) : dib_(dialogs::kAboutWidth, dialogs::kAboutHeight, 32) {
        tk::MemoryDC mem(nullptr);
        tk::Select sel(mem, dib_.handle());
        SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
        GdiFlush();
    }
    COLORREF at(int x, int y) const {
        const BYTE* p = dib_.row(y) + x * 4;
        return RGB(p[2], p[1], p[0]);
    }

private:
    tk::DibSection dib_;
};

bool inShape(HWND h, int x, int y) {
    tk::Region r = tk::windowRegion(h);
    return r && PtInRegion(r, x, y);
}

// A window created (not shown modally) with its timers left to the test:
// they are stopped at once so each step runs when the test calls it.
struct AboutFixture : ::testing::Test {
    std::unique_ptr<hueloom::dialogs::TfrmVersion> form;
    std::vector<std::wstring> errors;

    void SetUp() override {
        hueloom::dialogs::TfrmVersion::reportError = [this](const std::wstring& t) { errors.push_back(t); };
    }
    void TearDown() override {
        form.reset();
        hueloom::dialogs::TfrmVersion::reportError = nullptr;
        pump();
    }
    void open(const std::wstring& path = {}, bool show = true) {
        form = std::make_unique<hueloom::dialogs::TfrmVersion>();
        ASSERT_TRUE(form->create(path));
        form->Timer1->setInterval(0);
        if (show) {
            ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
            pump();
        }
    }
};

}  // namespace

TEST_F(AboutFixture, OpeningWritesThePictureBesideTheProgramAndClosingDeletesIt) {
    open();
    const std::wstring expected = dialogs::aboutPicturePath(tk::modulePath());
    EXPECT_EQ(form->picturePath(), expected);
    ASSERT_TRUE(exists(expected));
    // The file is the embedded PNG, and it is what the window shows.
    const auto pic = hueloom::codecs::loadPng(fs::path(expected));
    EXPECT_EQ(pic.width(), 365);
    EXPECT_EQ(pic.height(), 364);
    EXPECT_EQ(form->DataBind1.Data().size(), dialogs::aboutPicturePng().size());
    EXPECT_TRUE(form->hasBackground());
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(form->pixelAt(177, 342), RGB(0, 255, 0));
    EXPECT_EQ(form->pixelAt(100, 140), rgb(dialogs::kAboutCardColour));
    EXPECT_NE(form->ImgIcon.icon, nullptr);

    // Borderless 365 x 364, centred on the desktop.
    RECT r;
    GetWindowRect(form->hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 365);
    EXPECT_EQ(r.bottom - r.top, 364);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 365) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 364) / 2);
    EXPECT_EQ(GetWindowLongW(form->hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

    // First close request: the iris starts, the window and file stay.
    SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->visible());
    EXPECT_FALSE(form->closed());
    EXPECT_EQ(form->TimerClose->interval(), 100u);
    EXPECT_TRUE(exists(expected));
    // A second request during the iris closes at once, with the clean-up.
    SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->closed());
    EXPECT_FALSE(form->visible());
    EXPECT_FALSE(exists(expected));
    EXPECT_FALSE(form->hasBackground());
    EXPECT_EQ(form->TimerClose->interval(), 0u);
}

TEST_F(AboutFixture, DestroyedWithoutClosingStillRemovesThePicture) {
    open({}, false);
    const std::wstring path = form->picturePath();
    ASSERT_TRUE(exists(path));
    form.reset();
    EXPECT_FALSE(exists(path));
}

TEST_F(AboutFixture, ShapeIsARingWithTheCardInItsHoleAndDragsByItsClientArea) {
    open();
    ASSERT_NE(form->storedRegion(), nullptr);
    EXPECT_TRUE(inShape(form->hwnd(), 182, 10));  // ring, top
    EXPECT_TRUE(inShape(form->hwnd(), 10, 182));  // ring, left
    EXPECT_TRUE(inShape(form->hwnd(), 182, 350));  // ring, bottom
    EXPECT_TRUE(inShape(form->hwnd(), 183, 180));  // card
    EXPECT_TRUE(inShape(form->hwnd(), 94, 130));  // card corner, inside the hole
    EXPECT_FALSE(inShape(form->hwnd(), 183, 100));  // hole above the card
    EXPECT_FALSE(inShape(form->hwnd(), 80, 183));  // hole left of the card
    EXPECT_FALSE(inShape(form->hwnd(), 1, 1));  // outside the ring
    EXPECT_FALSE(inShape(form->hwnd(), 363, 182));

    RECT r;
    GetWindowRect(form->hwnd(), &r);
    EXPECT_EQ(SendMessageW(form->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 182, r.top + 10)), HTCAPTION);
    EXPECT_EQ(SendMessageW(form->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 183, r.top + 150)), HTCAPTION);
}

TEST_F(AboutFixture, FirstStepAtTheBottomTurnsTheButtonGreenAndFramesTheCard) {
    hueloom::dialogs::TfrmVersion::setOrbitCounter(0);
    open();
    EXPECT_FALSE(form->Shape1.visible);
    EXPECT_EQ(form->CuteButton1.color(), RGB(0, 0, 255));
    EXPECT_EQ(form->CuteButton1.caption(), L"&OK");

    form->Timer1Timer();
    EXPECT_TRUE(form->Shape1.visible);
    EXPECT_EQ(form->Shape1.left, 177);
    EXPECT_EQ(form->Shape1.top, 342);
    EXPECT_EQ(form->CuteButton1.color(), RGB(0, 255, 0));
    EXPECT_EQ(form->CuteButton1.fontColor(), RGB(255, 0, 255));
    EXPECT_EQ(form->ImgIcon.left, 235);
    EXPECT_EQ(hueloom::dialogs::TfrmVersion::orbitCounter(), 1);

    Snapshot s(form->hwnd());
    // Card frame: 5 pixels on the left and right, 4 on top and bottom.
    const COLORREF green = RGB(0, 255, 0), card = rgb(dialogs::kAboutCardColour);
    expectPixels(s, {{93, 150, green},
                     {97, 150, green},
                     {98, 150, card},
                     {272, 150, green},
                     {268, 150, green},
                     {267, 150, card},
                     {120, 129, green},
                     {120, 132, green},
                     {120, 133, card},
                     {120, 234, green},
                     {120, 231, green},
                     {120, 230, card}});
    // The circle: black outline, white inside, drawn where it now is.
    EXPECT_EQ(s.at(182, 347), RGB(255, 255, 255));
    EXPECT_EQ(s.at(177, 347), RGB(0, 0, 0));
    // The program name in red on the card.
    bool red = false;
    for (int y = 170; y < 188 && !red; ++y)
        for (int x = 112; x < 262 && !red; ++x) red = s.at(x, y) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
}

TEST_F(AboutFixture, ACycleOfThirtyStepsTakesEachSegmentsColourAndWraps) {
    hueloom::dialogs::TfrmVersion::setOrbitCounter(0);
    open();
    for (int k = 0; k < 30; ++k) {
        form->Timer1Timer();
        const COLORREF c = rgb(dialogs::wheelColour(k));
        ASSERT_EQ(form->CuteButton1.color(), c) << k;
        EXPECT_EQ(form->CuteButton1.fontColor(), static_cast<COLORREF>(~c & 0xFFFFFF)) << k;
        EXPECT_EQ(form->cardFrameColour(), c) << k;
        EXPECT_EQ(form->ImgIcon.left, k < 10 ? 235 : k < 20 ? 167 : 99) << k;
        const dialogs::OrbitStep st = dialogs::orbitStep(k);
        EXPECT_EQ(form->Shape1.left, st.x);
        EXPECT_EQ(form->Shape1.top, st.y);
    }
    EXPECT_EQ(hueloom::dialogs::TfrmVersion::orbitCounter(), 0);
}

TEST_F(AboutFixture, ASecondWindowResumesAfterTheSegmentWhereTheFirstStopped) {
    hueloom::dialogs::TfrmVersion::setOrbitCounter(0);
    open();
    for (int i = 0; i < 3; ++i) form->Timer1Timer();
    form.reset();
    open();
    form->Timer1Timer();
    EXPECT_EQ(form->CuteButton1.color(), rgb(dialogs::wheelColour(3)));
    EXPECT_EQ(hueloom::dialogs::TfrmVersion::orbitCounter(), 4);
}

TEST_F(AboutFixture, IrisShrinksTheShapeAndClosesAfterFiftyNineSteps) {
    open();
    form->Timer1->setInterval(200);  // running, as after creation
    const std::wstring path = form->picturePath();
    form->CuteButton1Click();
    EXPECT_EQ(form->TimerClose->interval(), 100u);
    KillTimer(form->hwnd(), form->TimerClose->id());  // the test drives the ticks

    form->TimerCloseTimer();  // s = 0
    EXPECT_EQ(form->Timer1->interval(), 0u);
    EXPECT_EQ(form->CuteButton1.caption(), L"消滅");
    EXPECT_EQ(form->CuteButton1.color(), RGB(0, 0, 0));
    EXPECT_EQ(form->CuteButton1.fontColor(), RGB(255, 255, 0));
    EXPECT_EQ(form->ImgIcon.left, 167);
    EXPECT_TRUE(inShape(form->hwnd(), 182, 10));
    EXPECT_FALSE(inShape(form->hwnd(), 183, 100));  // still the ring's shape

    int ticks = 1;
    while (form->irisStep() < 90) form->TimerCloseTimer(), ++ticks;
    // s = 87 applied: the ellipse (89, 89)-(276, 275) cuts the ring away.
    EXPECT_FALSE(inShape(form->hwnd(), 182, 10));
    EXPECT_FALSE(inShape(form->hwnd(), 10, 182));
    EXPECT_TRUE(inShape(form->hwnd(), 183, 180));
    EXPECT_EQ(form->CuteButton1.fontColor(), RGB(255, 0, 0));  // red after s = 60
    EXPECT_TRUE(form->Label1.visible);

    while (form->irisStep() <= 141) form->TimerCloseTimer(), ++ticks;
    EXPECT_FALSE(form->Label1.visible);
    EXPECT_FALSE(form->Label2.visible);
    EXPECT_EQ(form->ImgIcon.left, 163);
    EXPECT_EQ(form->ImgIcon.top, 157);
    EXPECT_TRUE(exists(path));

    while (!form->closed() && ticks < 200) form->TimerCloseTimer(), ++ticks;
    EXPECT_TRUE(form->closed());
    EXPECT_EQ(ticks, 60);  // 59 shrinking steps and the closing one
    EXPECT_FALSE(form->visible());
    EXPECT_FALSE(exists(path));
    // Clicking OK after the end changes nothing.
    form->CuteButton1Click();
    EXPECT_TRUE(form->closed());
}

TEST_F(AboutFixture, UnwritablePictureIsReportedAndTheWindowWorksWithoutIt) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring path = std::wstring(tmp) + L"hueloom-no-such-folder\\Hueloom.png";
    hueloom::dialogs::TfrmVersion::setOrbitCounter(0);
    open(path);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(form->hasBackground());
    EXPECT_EQ(form->ImgIcon.icon, nullptr);
    EXPECT_TRUE(form->visible());
    // The orbit takes the plain face colour the window now shows.
    form->Timer1Timer();
    EXPECT_EQ(form->CuteButton1.color(), GetSysColor(COLOR_BTNFACE));
    // Closing still works and leaves nothing behind.
    SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->closed());
    EXPECT_FALSE(exists(path));
}

TEST(AboutModal, OkPlaysTheIrisForAboutSixSecondsThenTheWindowIsGone) {
    std::vector<std::wstring> errors;
    hueloom::dialogs::TfrmVersion::reportError = [&](const std::wstring& t) { errors.push_back(t); };
    const std::wstring path = dialogs::aboutPicturePath(tk::modulePath());
    // Once the window shows, wait a little, then press OK; cancel it after
    // about 20 s whatever happens.
    DWORD shownAt = 0, clickedAt = 0;
    bool sawFile = false, sawOrbit = false;
    auto shownAWhile = [&] {
        hueloom::dialogs::TfrmVersion* f = hueloom::dialogs::TfrmVersion::current();
        if (!f || !f->visible()) return false;
        if (!shownAt) {
            shownAt = GetTickCount();
            sawFile = GetFileAttributesW(f->picturePath().c_str()) != INVALID_FILE_ATTRIBUTES;
        }
        return GetTickCount() - shownAt > 700;
    };
    auto pressOk = [&] {
        hueloom::dialogs::TfrmVersion* f = hueloom::dialogs::TfrmVersion::current();
        sawOrbit = f->Shape1.visible;
        SendMessageW(f->CuteButton1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(f->CuteButton1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        clickedAt = GetTickCount();
    };
    auto cancel = [] {
        if (hueloom::dialogs::TfrmVersion* f = hueloom::dialogs::TfrmVersion::current()) f->setModalResult(IDCANCEL);
    };
    const int r = ModalDriver::run(
        shownAWhile, pressOk, cancel, [] { return hueloom::dialogs::ShowAboutWindow(); }, 1000);
    const DWORD end = GetTickCount();
    hueloom::dialogs::TfrmVersion::reportError = nullptr;
    EXPECT_EQ(r, IDOK);
    EXPECT_FALSE(ModalDriver::timedOut);
    EXPECT_TRUE(sawFile);
    EXPECT_TRUE(sawOrbit);
    EXPECT_TRUE(errors.empty());
    ASSERT_NE(clickedAt, 0u);
    // 60 ticks of 100 ms; timers under Wine may run late, never early.
    const DWORD took = end - clickedAt;
    EXPECT_GE(took, 5500u);
    EXPECT_LT(took, 15000u);
    EXPECT_EQ(hueloom::dialogs::TfrmVersion::current(), nullptr);
    EXPECT_FALSE(exists(path));
}
