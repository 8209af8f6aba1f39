// Grabbing a window from the screen with and without the pointer's cursor.
// The cursor belongs to a window of another thread: under Wine a cursor of
// another process cannot be drawn by anyone, so another thread stands in for
// the other program.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <utility>

#include "win_test_support.h"
#include "capture/grab_win.h"
#include "image/dib.h"

namespace {

using hueloom::image::Dib;

constexpr COLORREF kWindowColour = RGB(10, 200, 30);
constexpr POINT kHot{5, 7};

// A black plus, its crossing at the hot spot.
std::set<std::pair<int, int>> plus() {
    std::set<std::pair<int, int>> s;
    for (int i = -4; i <= 4; ++i) s.insert({kHot.x + i, kHot.y}), s.insert({kHot.x, kHot.y + i});
    return s;
}

// A plain window on a thread of its own, showing the plus as its cursor.
class OtherThreadWindow {
public:
    OtherThreadWindow(int x, int y, int w, int h) {
        thread_ = std::thread([=, this] { run(x, y, w, h); });
        while (!ready_) Sleep(5);
    }
    ~OtherThreadWindow() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND hwnd() const { return hwnd_; }

private:
    void run(int x, int y, int w, int h) {
        threadId_ = GetCurrentThreadId();
        BYTE andMask[32 * 4], xorMask[32 * 4] = {};
        std::fill(std::begin(andMask), std::end(andMask), BYTE(0xFF));
        for (auto [px, py] : plus()) andMask[py * 4 + px / 8] &= static_cast<BYTE>(~(0x80 >> (px % 8)));
        HINSTANCE inst = GetModuleHandleW(nullptr);
        HCURSOR cursor = CreateCursor(inst, kHot.x, kHot.y, 32, 32, andMask, xorMask);
        HBRUSH brush = CreateSolidBrush(kWindowColour);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = inst;
        wc.hCursor = cursor;
        wc.hbrBackground = brush;
        wc.lpszClassName = L"THueloomOtherThreadWindow";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"other", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                                nullptr, inst, nullptr);
        SetCursor(cursor);
        ready_ = true;
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        DestroyWindow(hwnd_);
        UnregisterClassW(wc.lpszClassName, inst);
        DeleteObject(brush);
        DestroyCursor(cursor);
    }

    std::thread thread_;
    std::atomic<bool> ready_{false};
    DWORD threadId_ = 0;
    HWND hwnd_ = nullptr;
};

COLORREF pixel(const Dib& d, int x, int y) {
    const uint8_t* p = d.scanLine(y) + x * 4;
    return RGB(p[2], p[1], p[0]);
}

// The black pixels of the 32 × 32 square whose corner is (x, y), relative to it.
std::set<std::pair<int, int>> blackIn(const Dib& d, int x, int y) {
    std::set<std::pair<int, int>> s;
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i)
            if (pixel(d, x + i, y + j) == RGB(0, 0, 0)) s.insert({i, j});
    return s;
}

TEST(Grab, TheCursorOfAnotherThreadsWindowIsDrawnWithItsHotSpotOnThePointer) {
    OtherThreadWindow other(300, 200, 100, 80);
    SetCursorPos(340, 230);
    pumpFor(400);  // the other window paints

    Dib screen = hueloom::capture::grabWindow(GetDesktopWindow(), true);
    ASSERT_EQ(screen.width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(blackIn(screen, 340 - kHot.x, 230 - kHot.y), plus());
    Dib plain = hueloom::capture::grabWindow(GetDesktopWindow(), false);
    EXPECT_EQ(blackIn(plain, 340 - kHot.x, 230 - kHot.y), (std::set<std::pair<int, int>>{})) << "cursor drawn when off";
    EXPECT_EQ(pixel(plain, 340, 230), kWindowColour);

    // The window itself: the cursor placed relative to its rectangle.
    Dib window = hueloom::capture::grabWindow(other.hwnd(), true);
    ASSERT_EQ(std::make_pair(window.width(), window.height()), std::make_pair(100, 80));
    EXPECT_EQ(blackIn(window, 40 - kHot.x, 30 - kHot.y), plus());
    // The pointer outside the grabbed window: no cursor.
    SetCursorPos(200, 230);
    pumpFor(100);
    window = hueloom::capture::grabWindow(other.hwnd(), true);
    EXPECT_EQ(blackIn(window, 40 - kHot.x, 30 - kHot.y), (std::set<std::pair<int, int>>{}));
    EXPECT_EQ(pixel(window, 40, 30), kWindowColour);
}

TEST(Grab, NoCursorOverTheProgramsOwnWindows) {
    TestForm own;
    ASSERT_TRUE(own.create(300, 400, 100, 80));
    own.show();
    SetCursorPos(340, 430);
    pumpFor(300);
    EXPECT_EQ(hueloom::capture::pointerCursor(), nullptr);
    Dib with = hueloom::capture::grabWindow(own.hwnd(), true);
    Dib without = hueloom::capture::grabWindow(own.hwnd(), false);
    EXPECT_TRUE(with == without);
}

}  // namespace
