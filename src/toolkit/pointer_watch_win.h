// Watches the pointer from a thread of its own: it asks where the pointer is
// and, when that changed, posts a message with the new position (wParam x,
// lParam y) to a window, at most once a frame and once until the window has
// taken it (done()). It asks every `fast` milliseconds while the pointer
// moves and for `burst` milliseconds after, every `slow` milliseconds once
// the pointer has been still longer; nothing is posted while paused. A
// thread that only sleeps between two questions costs next to nothing, where
// a timer of the same rate would wake the message loop.
#pragma once
#include <windows.h>

#include <atomic>
#include <thread>

namespace tk {

class PointerWatch {
public:
    struct Rates {
        DWORD fast, slow, burst;
        double frame;  // the display's frame, ms
    };
    PointerWatch(HWND target, UINT message, Rates rates);
    ~PointerWatch();
    PointerWatch(const PointerWatch&) = delete;
    PointerWatch& operator=(const PointerWatch&) = delete;

    void setActive(bool on) { active_ = on; }
    // The window has taken the message: the next change posts again.
    void done() { posted_ = false; }
    // For a caller that posts the same message itself (a mouse hook): true
    // when it may, and then the watch waits for done() too.
    bool claim() { return !posted_.exchange(true); }

private:
    void run();

    HWND target_;
    UINT message_;
    Rates rates_;
    std::atomic<bool> active_{false}, posted_{false}, stop_{false};
    std::thread thread_;
};

}  // namespace tk
