// What the Windows-side tests share: running the message loop, a plain
// top-level form, a driver for modal windows and a snapshot of a window's
// client area.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/texts.h"
#include "toolkit/application_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

// Handles the messages waiting for this thread, as the application's loop does.
inline void pump() { tk::app().processMessages(); }

// Pumps until `done` holds or `ms` milliseconds have passed; whether it held.
template <class Pred>
bool pumpUntil(Pred done, DWORD ms = 2000) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        pump();
        if (done()) return true;
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Sleep(5);
    }
}

inline void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}

// A plain borderless top-level window to own or hold what a test makes.
class TestForm : public tk::Form {
public:
    bool create(int x = 10, int y = 10, int w = 120, int h = 80) {
        registerClass(L"THueloomTestForm");
        return createWindow(L"THueloomTestForm", L"test", WS_POPUP, 0, x, y, w, h, tk::app().handle());
    }
};

// A suite whose tests share one shown TestForm at (40, 40), 240 × 160:
// showing and hiding a window is slow under Wine.
struct SharedFormSuite : ::testing::Test {
    static inline TestForm* sharedForm = nullptr;
    static void SetUpTestSuite() {
        sharedForm = new TestForm;
        if (sharedForm->create(40, 40, 240, 160)) sharedForm->show();
    }
    static void TearDownTestSuite() {
        delete sharedForm;
        sharedForm = nullptr;
    }
};

// Acts on a modal window from a thread timer, which keeps ticking inside the
// window's modal loop: `act` runs once `ready` holds, and after `limit`
// ticks `giveUp` ends whatever is still open, so no test can hang. One
// driver runs at a time.
struct ModalDriver {
    static inline std::function<bool()> ready;
    static inline std::function<void()> act, giveUp;
    static inline bool acted = false, timedOut = false;
    static inline int ticks = 0, limit = 250;

    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        if (!acted && ready()) {
            acted = true;
            act();
        }
        if (ticks == limit) {
            timedOut = true;
            giveUp();
        }
    }

    // Runs `body` (which opens the modal window) with the timer armed.
    template <typename Body>
    static auto run(std::function<bool()> r, std::function<void()> a, std::function<void()> g, Body body,
                    int maxTicks = 250) {
        ready = std::move(r);
        act = std::move(a);
        giveUp = std::move(g);
        acted = timedOut = false;
        ticks = 0;
        limit = maxTicks;
        struct Timer {
            UINT_PTR id = SetTimer(nullptr, 0, 20, tick);
            ~Timer() { KillTimer(nullptr, id); }
        } timer;
        return body();
    }

    // The usual case: acts on the window T::current() once it is up and
    // modal, cancels it at the limit, and expects that it showed, closed
    // without the watchdog and is gone when `body` returns.
    template <class T, typename Body>
    static auto runOn(std::function<void(T&)> action, Body body) {
        auto check = [] {
            EXPECT_TRUE(acted) << "the window never showed";
            EXPECT_FALSE(timedOut) << "the window had to be closed by the watchdog";
            EXPECT_EQ(T::current(), nullptr) << "the window outlived its command";
        };
        auto up = [] {
            T* w = T::current();
            return w && w->visible() && w->isModal();
        };
        auto cancel = [] {
            if (T* w = T::current()) w->setModalResult(IDCANCEL);
        };
        auto doIt = [action] { action(*T::current()); };
        if constexpr (std::is_void_v<decltype(body())>) {
            run(up, doIt, cancel, body);
            check();
        } else {
            auto result = run(up, doIt, cancel, body);
            check();
            return result;
        }
    }
};

// Answers every message box of this thread with OK and keeps its text. A
// watchdog thread closes any box still open after a few seconds, so a test
// can fail but never hang.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() : thread_(GetCurrentThreadId()) {
        self_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, cbt, nullptr, thread_);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        watchdog_ = CreateThread(nullptr, 0, watchdog, this, 0, nullptr);
    }
    ~MessageBoxCatcher() {
        SetEvent(stop_);
        WaitForSingleObject(watchdog_, 5000);
        CloseHandle(watchdog_);
        CloseHandle(stop_);
        UnhookWindowsHookEx(hook_);
        self_ = nullptr;
    }
    std::vector<std::wstring> texts;
    bool watchdogFired() const { return fired_ != 0; }

private:
    static bool isDialog(HWND w) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        return std::wstring(cls) == L"#32770";
    }
    static LRESULT CALLBACK cbt(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_DESTROYWND && self_) self_->seen_.erase(reinterpret_cast<HWND>(wp));
        if (code == HCBT_ACTIVATE && self_) {
            HWND box = reinterpret_cast<HWND>(wp);
            if (isDialog(box) && self_->seen_.insert(box).second) {
                wchar_t buf[512] = {};
                GetDlgItemTextW(box, 0xFFFF, buf, 512);  // the message text of a message box
                self_->texts.emplace_back(buf);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    // Closes boxes that have stayed open for several seconds: the hook did
    // not get to them.
    struct Watch {
        MessageBoxCatcher* self;
        std::map<HWND, DWORD> firstSeen;
        std::set<HWND> present;
    };
    static BOOL CALLBACK closeStuckBox(HWND w, LPARAM lp) {
        auto* watch = reinterpret_cast<Watch*>(lp);
        if (!isDialog(w)) return TRUE;
        watch->present.insert(w);
        const DWORD now = GetTickCount();
        auto [it, added] = watch->firstSeen.emplace(w, now);
        if (!added && now - it->second > 5000) {
            PostMessageW(w, WM_COMMAND, IDOK, 0);
            InterlockedExchange(&watch->self->fired_, 1);
        }
        return TRUE;
    }
    static DWORD WINAPI watchdog(void* p) {
        Watch watch{static_cast<MessageBoxCatcher*>(p), {}, {}};
        while (WaitForSingleObject(watch.self->stop_, 500) == WAIT_TIMEOUT) {
            watch.present.clear();
            EnumThreadWindows(watch.self->thread_, closeStuckBox, reinterpret_cast<LPARAM>(&watch));
            std::erase_if(watch.firstSeen, [&](const auto& e) { return !watch.present.count(e.first); });
        }
        return 0;
    }

    static inline MessageBoxCatcher* self_ = nullptr;
    DWORD thread_;
    HHOOK hook_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE watchdog_ = nullptr;
    LONG fired_ = 0;
    std::set<HWND> seen_;
};

class ClientSnapshot {
public:
    explicit ClientSnapshot(HWND h) {
        RECT rc;
        GetClientRect(h, &rc);
        dib_ = tk::DibSection(rc.right, rc.bottom, 32);
        tk::MemoryDC mem(nullptr);
        tk::Select sel(mem, dib_.handle());
        SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
        GdiFlush();
    }
    int width() const { return dib_.width(); }
    int height() const { return dib_.height(); }
    COLORREF at(int x, int y) const {
        const BYTE* p = dib_.row(y) + x * 4;
        return RGB(p[2], p[1], p[0]);
    }
    // Pixels of one colour, in the whole picture or inside r.
    int count(COLORREF c) const { return count(c, RECT{0, 0, width(), height()}); }
    int count(COLORREF c, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
        return n;
    }
    // Smallest and largest x and y of the pixels of one colour (inclusive);
    // {width, height, -1, -1} when there are none.
    RECT box(COLORREF c) const {
        RECT r{width(), height(), -1, -1};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (at(x, y) == c) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x);
                    r.bottom = std::max<LONG>(r.bottom, y);
                }
        return r;
    }

private:
    tk::DibSection dib_;
};

struct PixelAt {
    int x, y;
    COLORREF colour;
};

// Expects each pixel of a snapshot (anything with at(x, y)) to have its colour.
template <class Snapshot>
void expectPixels(const Snapshot& s, std::initializer_list<PixelAt> pixels) {
    for (const PixelAt& p : pixels) EXPECT_EQ(s.at(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
}

// One child window for clippedTexts (a callback of the system's calling
// convention, which a lambda is not on 32-bit Windows).
inline BOOL CALLBACK addIfClipped(HWND w, LPARAM lp) {
    wchar_t cls[32] = {}, text[512] = {};
    GetClassNameW(w, cls, 32);
    const bool box = std::wstring(cls) == L"Button";
    if ((std::wstring(cls) != L"TLabel" && !box) || !IsWindowVisible(GetParent(w)) || !GetWindowTextW(w, text, 512))
        return TRUE;
    auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    if (!font) return TRUE;
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, font);
    RECT need{0, 0, 0, 0}, have{};
    DrawTextW(dc, text, -1, &need, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    GetClientRect(w, &have);
    const int mark = box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0;
    if (need.right + mark > have.right + 1 || need.bottom > have.bottom + 1)
        reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(text);
    return TRUE;
}

// The texts of `window`'s labels and check boxes that need more room than
// their controls give them, measured in their own fonts.
inline std::vector<std::wstring> clippedTexts(HWND window) {
    std::vector<std::wstring> clipped;
    EnumChildWindows(window, addIfClipped, reinterpret_cast<LPARAM>(&clipped));
    return clipped;
}

// The texts clipped at the window's dpi and after its move to a 150 %
// monitor (moveToDpi, below).
inline void moveToDpi(HWND w, int dpi);
inline std::vector<std::wstring> clippedAtBothScalings(HWND window) {
    std::vector<std::wstring> clipped = clippedTexts(window);
    moveToDpi(window, 144);
    for (const std::wstring& t : clippedTexts(window)) clipped.push_back(t);
    return clipped;
}

// Runs `open` (which shows a window and returns what clippedAtBothScalings
// found in it) in Japanese and in English; expects nothing clipped in either.
inline void expectNothingClippedInBothLanguages(const std::function<std::vector<std::wstring>()>& open) {
    for (hueloom::Language l : {hueloom::Language::Japanese, hueloom::Language::English}) {
        hueloom::setLanguage(l);
        const std::vector<std::wstring> clipped = open();
        EXPECT_TRUE(clipped.empty()) << (l == hueloom::Language::English ? "English: " : "Japanese: ")
                                     << tk::narrow(clipped.empty() ? L"" : clipped.front(), CP_UTF8);
    }
    hueloom::setLanguage(hueloom::Language::Japanese);
}

// The system's message of a move to a monitor of `dpi`, with the rectangle
// it suggests (the window grown in proportion).
inline void moveToDpi(HWND w, int dpi) {
    RECT r{};
    GetWindowRect(w, &r);
    RECT suggested{r.left, r.top, r.left + (r.right - r.left) * dpi / 96, r.top + (r.bottom - r.top) * dpi / 96};
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}
