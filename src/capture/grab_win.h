// Taking pixels off the screen: a window's (or the desktop's) picture, with
// the pointer's cursor drawn in at its hot spot when asked, and a cursor
// stamped into a picture.
#pragma once
#include <windows.h>

#include "core/geometry.h"
#include "image/dib.h"

namespace hueloom::capture {

// The cursor of the window under the pointer; nullptr over this program's
// own windows (whose cursor is never drawn into a capture).
HCURSOR pointerCursor();

// The picture of `window` (GetDesktopWindow() for the screen) as a 32-bit
// image, its whole window rectangle. With `withCursor`, the pointer's cursor
// is drawn in where it lies over the window. An empty window gives an empty
// image; a picture too large to hold throws ImageError.
image::Dib grabWindow(HWND window, bool withCursor);
// The part `area` of the screen, in screen coordinates (any monitor, also
// left of or above the primary one), with the cursor like grabWindow.
image::Dib grabScreenRect(const Rect& area, bool withCursor);

// `picture` with `cursor` drawn in, its hot spot at (x, y).
image::Dib stampCursor(const image::Dib& picture, HCURSOR cursor, int x, int y);
// Draws `cursor` into the bitmap `target` with its hot spot at (x, y).
void stampCursor(HBITMAP target, HCURSOR cursor, int x, int y);

}  // namespace hueloom::capture
