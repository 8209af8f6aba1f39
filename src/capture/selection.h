// The rectangle selection of the rectangle capture: the selection's state
// machine (mouse, arrow keys, fixed sizes), the zones around the rectangle
// that pick what a drag does, the size label's text and place, the parsing of
// the size dialog's fields, and the cut of the selection out of the frozen
// screen.
//
// The state machine is declarative: after each event it tells what should be
// on the screen (the focus rectangle around Rect or not, the plain or the
// masked frozen screen, the size label, the pointer shape) and counts the
// full repaints it asked for. The overlay window applies that after each call:
// a full repaint when the count moved, otherwise it only moves the XOR focus
// rectangle.
#pragma once

#include <string>
#include <string_view>

#include "image/dib.h"
#include "core/geometry.h"
#include "core/texts.h"

namespace hueloom::capture {

enum SelState { selEmpty = 0, selShown = 1, selGrabbed = 2, selTracking = 3, selDropped = 4 };

// Pointer shapes the overlay shows. SelectCross is the program's own cross
// cursor; the others are the system's cursors of the same names.
enum class Pointer { SelectCross, Arrow, SizeNWSE, SizeNS, SizeNESW, SizeWE, SizeAll };

enum class Key { Left, Up, Right, Down, Return, Other };
// The key of a Windows virtual-key code (VK_LEFT ... VK_DOWN, VK_RETURN).
Key keyOfVirtualKey(unsigned vk);

// What the overlay shows under the focus rectangle.
enum class View { Plain, Masked };

// Zones around a rectangle, tested in order 0..8 (corners and edges 5 pixels
// wide outside it, 4 the inside); -1 when the point is in none of them.
int hitZone(const Rect& r, int x, int y);
Pointer zonePointer(int zone);

class Selection {
public:
    // The state right after the overlay is created: free size, nothing drawn.
    Selection();

    // Window events; coordinates are overlay client coordinates.
    void mouseDown(MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int x, int y);
    void keyDown(Key key, bool shift, bool ctrl);
    void keyUp(Key key);

    // Menu commands: start over (Ctrl+Z), free size, a fixed size that then
    // follows the pointer (at `pointer`). A negative width means free size.
    void startOver();
    void freeSize(Point pointer);
    void setFixedSize(int width, int height, Point pointer);
    // The rectangle replaced, as its owner keeps it within bounds.
    void setRect(const Rect& r) { rect_ = r; }

    SelState state() const { return state_; }
    const Rect& rect() const { return rect_; }
    bool dragging() const { return dragging_; }
    Point anchor() const { return anchor_; }
    int fixedWidth() const { return fixedWidth_; }
    int fixedHeight() const { return fixedHeight_; }
    int grabZone() const { return grabZone_; }

    // What should be on the screen now.
    bool focusVisible() const { return focusVisible_; }  // the focus rectangle around rect()
    View view() const;
    bool labelVisible() const { return labelVisible_; }
    Pointer pointer() const { return pointer_; }
    unsigned repaints() const { return repaints_; }
    bool closeRequested() const { return closeRequested_; }

private:
    void repaint();
    void drop();

    SelState state_ = selEmpty;
    Rect rect_;
    bool dragging_ = false;
    Point anchor_;
    int fixedWidth_ = -1, fixedHeight_ = -1;
    int grabZone_ = -1;
    bool focusVisible_ = false;
    bool labelVisible_ = false;
    Pointer pointer_ = Pointer::SelectCross;
    unsigned repaints_ = 0;
    bool closeRequested_ = false;
};

// The size label: "W: 200 x H: 300" CR LF "左上(10, 20)－右下(210, 320)" (UTF-8).
std::string sizeLabelText(const Rect& r);

// Where the label of the given size goes: above the rectangle's top-left
// corner, below it when there is no room above, kept on the desktop.
Point placeSizeLabel(const Rect& r, int labelWidth, int labelHeight, int desktopWidth, int desktopHeight);

// A field of the size dialog as a size: a decimal integer (surrounding blanks
// allowed) from 1 up; -1 for anything else (empty, not a number, out of the
// 32-bit range, zero or negative).
int parseSizeField(std::string_view text);

// The rectangle-capture instructions shown before the screen freezes, with
// the current delay (UTF-8, CR LF line ends).
std::string rectCaptureInstructions(int sleepTime);
inline const char* rectCaptureInstructionsTitle() { return hueloom::text("selection.h.1"); }

// The part of `screen` under `r` as a new image of r's size and the screen's
// format (1- and 4-bit screens are cut at 24 bits); where r reaches beyond
// the screen the pixels are black (palette index 0 at 8 bits). An empty or inverted rectangle gives no image
// (isNull). Throws image::ImageError when the result would be too large.
image::Dib cutRect(const image::Dib& screen, const Rect& r);

}  // namespace hueloom::capture
