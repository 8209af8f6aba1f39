#include "toolkit/pointer_watch_win.h"

namespace tk {

PointerWatch::PointerWatch(HWND target, UINT message, Rates rates)
    : target_(target), message_(message), rates_(rates), thread_([this] { run(); }) {}

PointerWatch::~PointerWatch() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PointerWatch::run() {
    POINT last{LONG_MIN, LONG_MIN};  // the position last posted
    ULONGLONG moved = 0, posted = 0;
    while (!stop_) {
        // Paused: a slow beat, only to notice the stop. Just after a post,
        // nothing can be posted before the frame is over.
        const ULONGLONG t = GetTickCount64();
        DWORD beat = !active_ ? 50 : t - moved < rates_.burst ? rates_.fast : rates_.slow;
        const double frameLeft = rates_.frame - static_cast<double>(t - posted);
        if (active_ && frameLeft > beat) beat = static_cast<DWORD>(frameLeft);
        Sleep(beat);
        if (!active_) {
            last = {LONG_MIN, LONG_MIN};
            continue;
        }
        POINT p;
        if (!GetCursorPos(&p) || (p.x == last.x && p.y == last.y)) continue;
        const ULONGLONG now = GetTickCount64();
        moved = now;
        // Within a frame of the last post (less half a beat, so that a beat
        // that ends the frame posts): asked again at the next beat.
        if (static_cast<double>(now - posted) < rates_.frame - rates_.fast / 2.0) continue;
        if (!claim()) continue;
        if (!PostMessageW(target_, message_, static_cast<WPARAM>(p.x), static_cast<LPARAM>(p.y))) {
            done();
            continue;
        }
        last = p;
        posted = now;
    }
}

}  // namespace tk
