// The progress window: elliptical, centred on its owner, title centred,
// percentage label and bar following setProgress.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "toolkit/gdi_win.h"
#include "editing/progress_win.h"

TEST(ProgressWindow, ShapeTitleAndPercentage) {
    hueloom::editing::TfrmProgress w;
    ASSERT_TRUE(w.create(nullptr, L"反転処理中"));
    RECT r;
    GetWindowRect(w.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 319);
    EXPECT_EQ(r.bottom - r.top, 129);
    // Centred on the screen when it has no owner.
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 319) / 2);
    tk::Region rgn = tk::windowRegion(w.hwnd());
    ASSERT_TRUE(rgn);
    EXPECT_FALSE(PtInRegion(rgn, 2, 2));  // corners are cut away
    EXPECT_TRUE(PtInRegion(rgn, 159, 64));  // the middle is there
    EXPECT_EQ(w.title(), L"反転処理中");
    RECT t = w.Label2.bounds();
    EXPECT_NEAR((t.left + t.right) / 2.0, 319 / 2.0, 1.0);
    EXPECT_EQ(w.Label1.caption(), L"0 %");
    w.setProgress(37);
    EXPECT_EQ(w.Label1.caption(), L"37 %");
    EXPECT_EQ(w.progress(), 37);
    w.setProgress(150);
    EXPECT_EQ(w.Label1.caption(), L"100 %");
}

TEST(ProgressWindow, MovedToA144DpiMonitorItsEllipseBarAndLabelsScale) {
    hueloom::editing::TfrmProgress w;
    ASSERT_TRUE(w.create(nullptr, L"減色処理中"));
    RECT r;
    GetWindowRect(w.hwnd(), &r);
    RECT suggested{r.left, r.top, r.left + 479, r.top + 194};  // 319 × 129 at 150 %
    SendMessageW(w.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(w.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 479);
    EXPECT_EQ(r.bottom - r.top, 194);
    tk::Region rgn = tk::windowRegion(w.hwnd());
    ASSERT_TRUE(rgn);
    RECT box{};
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.right, 478) << "the ellipse fills the new size";
    EXPECT_FALSE(PtInRegion(rgn, 3, 3));
    RECT p = w.Label1.bounds();
    EXPECT_EQ(p.left, 216);  // 144 × 1.5
    EXPECT_EQ(p.top, 140);  // 93 × 1.5, rounded
    w.setProgress(50);
    EXPECT_EQ(w.Label1.caption(), L"50 %");
}
