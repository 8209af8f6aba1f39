// Copying a window's pixels from the screen, optionally with the cursor that
// the pointer shows over another program's window drawn in.
#pragma once
#include <windows.h>

#include "image/dib.h"

namespace hueloom::capture {

// The cursor the pointer shows at this moment, read from the input state of
// the thread that owns the window under it; none over the windows of
// `ownThread` (the program's own cursor is never drawn). A shared handle:
// not to be destroyed.
HCURSOR pointerCursor(DWORD ownThread);

// The window's whole rectangle (title bar and frame included) as a 32-bit
// picture; nothing for an empty rectangle. With drawCursor, when the pointer
// lies inside the rectangle, pointerCursor(ownThread) is drawn 32 × 32 with
// its hot spot on the pointer's pixel.
image::Dib grabWindow(HWND window, bool drawCursor, DWORD ownThread);

}  // namespace hueloom::capture
