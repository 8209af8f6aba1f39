// Arithmetic of the magnifier: view geometry, averaging, the value texts, the
// marks drawn over the view, the display-mode cycle, the window's layout
// rectangles and the arrow-key nudge. Pure functions, used by the main window.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/colour.h"
#include "core/geometry.h"

namespace hueloom::magnifier {

// The view shows a 15 × 15 square of the screen.
constexpr int kSourceSize = 15;
constexpr int kSourceHalf = kSourceSize / 2;

// Averaging sizes: 1 (standard mode), 3, 5, …, 15.
bool isValidAveragingSize(int n);
// Averaging size chosen in the options list: index i gives 2i + 3; no
// selection (-1) gives 1.
int averagingSizeFromIndex(int index);

struct ViewGeometry {
    int cell = 0;  // size of one enlarged screen pixel: width div 15
    int origin = 0;  // centre of the first averaged cell: width div 2 − (n div 2) × cell
};
ViewGeometry viewGeometry(int viewWidth, int n);

// Screen pixel shown at view cell (k, l) of the averaging square.
Point screenPixelForCell(Point pointer, int n, int k, int l);

// Mean of the N × N cells of the view, read through readPixel(x, y) at the
// centre of each cell; channels truncated by integer division.
Rgb averageColour(const std::function<Rgb(int x, int y)>& readPixel, int viewWidth, int n);

// The four outlines drawn over a W × H view: the whole view, the centre row
// band, the centre column band and the averaging square.
std::vector<Rect> markRects(int viewWidth, int viewHeight, int n);

// Display modes of the magnifier layout.
enum DisplayMode { ImageLayout = -1, Normal = 0, Bar1 = 1, Bar2 = 2 };
int nextDisplayMode(int mode);

// Layout of the borderless magnifier window (client = window coordinates).
namespace layout {
constexpr int kWidth = 177, kHeight = 233;
constexpr Rect kButton1{10, 4, 27, 21};
constexpr Rect kButton2{151, 4, 168, 21};
constexpr Rect kValueLabel{10, 25, 164, 43};
constexpr Rect kScrollBox{10, 47, 164, 201};
constexpr int kViewSize = 150;
constexpr Rect kPickList{8, 208, 170, 228};
constexpr int kCornerEllipse = 15;
// The part cut out of the window while the pointer is over it.
constexpr Rect kViewRect{kValueLabel.left, kValueLabel.top, kScrollBox.right, kScrollBox.bottom};
constexpr Rect kBar1{0, 0, kWidth, kScrollBox.top};
constexpr Rect kBar2{0, 0, kWidth, kValueLabel.top};
}  // namespace layout

// The magnifier layout at a display scaling: every rectangle above scaled on
// its own (scale, core/dpi.h). The view is made of whole cells: each screen
// pixel is shown as a cell × cell square with cell = scaled view side div 15
// (10 at 96 dpi, 12 at 120, 15 at 144, 20 at 192), and the view is 15 cells
// wide, at the top left of the view frame. At 96 dpi it is the table above.
struct WindowLayout {
    int width = 0, height = 0;
    Rect button1, button2, valueLabel, scrollBox, pickList, viewRect, bar1, bar2;
    int cell = 0;
    int viewSize = 0;  // kSourceSize × cell
    int cornerEllipse = 0;
};
WindowLayout windowLayout(int dpi);

// The sampling step's first decision, by where the pointer is. Over the
// window's shape (and no colour sample window open, the program not
// minimised) the view is cut out so the screen beneath shows: SeeThrough.
// Still over the cut-out view, or while the picked-colour list is dropped
// down, nothing changes: Wait. Otherwise the window is whole again and the
// screen is sampled: Sample. `reshape` tells when the Normal mode's window
// shape changes with it (full <-> see-through).
struct PointerPlace {
    bool overWindowShape = false;
    bool overViewRect = false;
    bool colourSampleOpen = false;
    bool minimized = false;
    bool pickListDropped = false;
};
struct SamplingStep {
    enum Action { SeeThrough, Wait, Sample } action = Sample;
    bool reshape = false;
    friend bool operator==(const SamplingStep&, const SamplingStep&) = default;
};
SamplingStep samplingStep(int displayMode, bool seeThrough, const PointerPlace& place);

// Arrow-key nudge: the new pointer position for an arrow key, or nothing for
// any other key. Shift makes the step 10 pixels.
enum class Arrow { Left, Up, Right, Down };
Point nudge(Point p, Arrow key, bool shift);

// The skin painted behind the magnifier's controls, as top-down 32-bit BGRX
// pixels of the layout's width × height, drawn afresh at the given dpi.
std::vector<uint32_t> drawSkin(int dpi = 96);

// Texts of the start-up hint (UTF-8): the description, then the version and
// the credits, which name the libraries of the build (`libraries`, one line
// each, codecs::libraryNotices()).
std::string descriptionText();
std::string versionText(const std::string& libraries);
std::string hintText(const std::string& libraries);

}  // namespace hueloom::magnifier
