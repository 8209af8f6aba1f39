// The dots per inch a window is drawn at. The program is per-monitor aware:
// each window asks for the dpi of the monitor it is on and scales its layout,
// fonts and shapes by it (hueloom::scale, core/dpi.h).
#pragma once
#include <windows.h>

namespace tk {

// The dpi of `hwnd` (GetDpiForWindow), or the system's (GetDpiForSystem) for
// no window. Windows before 10 1607 lack both: they are looked up at run time,
// and without them the screen's LOGPIXELSY answers. Never 0.
int windowDpi(HWND hwnd);

}  // namespace tk
