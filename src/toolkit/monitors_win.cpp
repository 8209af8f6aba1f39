#include "toolkit/monitors_win.h"

namespace tk {

namespace {

struct Found {
    bool work;
    std::vector<hueloom::Rect> rects;
    std::vector<std::wstring> devices;
};

BOOL CALLBACK addMonitor(HMONITOR m, HDC, LPRECT, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    MONITORINFOEXW mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(m, &mi)) return TRUE;
    const RECT& r = f->work ? mi.rcWork : mi.rcMonitor;
    const hueloom::Rect rect{r.left, r.top, r.right, r.bottom};
    const bool first = mi.dwFlags & MONITORINFOF_PRIMARY;
    f->rects.insert(first ? f->rects.begin() : f->rects.end(), rect);
    f->devices.insert(first ? f->devices.begin() : f->devices.end(), mi.szDevice);
    return TRUE;
}

Found monitors(bool work) {
    Found found{work, {}, {}};
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&found));
    if (found.rects.empty()) found.rects.push_back(primaryScreen()), found.devices.push_back(L"DISPLAY");
    return found;
}

}  // namespace

std::vector<hueloom::Rect> monitorRects() { return monitors(false).rects; }

std::vector<hueloom::Rect> monitorWorkAreas() { return monitors(true).rects; }

std::vector<std::wstring> monitorDevices() { return monitors(false).devices; }

hueloom::Rect virtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (w > 0 && h > 0) return hueloom::Rect{x, y, x + w, y + h};
    return hueloom::virtualDesktop(monitorRects());
}

hueloom::Rect primaryScreen() {
    return hueloom::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace tk
