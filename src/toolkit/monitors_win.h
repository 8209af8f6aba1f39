// The monitors the system reports, in screen coordinates (physical pixels:
// the program is per-monitor DPI aware). The primary monitor's top-left
// corner is (0, 0); monitors left of or above it have negative coordinates.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/geometry.h"

namespace tk {

// Every monitor's rectangle, the primary one first.
std::vector<hueloom::Rect> monitorRects();
// Every monitor's work area (without task bars), the primary one first.
std::vector<hueloom::Rect> monitorWorkAreas();
// Every monitor's device name (such as \\.\DISPLAY1), in the same order.
std::vector<std::wstring> monitorDevices();
// The virtual desktop: the rectangle around every monitor. Falls back to the
// primary screen where the system tells no better.
hueloom::Rect virtualScreen();
// The primary screen: (0, 0) to its size.
hueloom::Rect primaryScreen();

}  // namespace tk
