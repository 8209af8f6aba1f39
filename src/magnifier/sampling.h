// The sampling step's work on the view bitmap: deciding whether the pointer
// moved, reading the colour from the enlarged 24-bit view, and drawing the
// marks into it. The window code copies the screen into the view and shows
// the result; everything between is here.
#pragma once
#include <cstdint>

#include "magnifier/magnifier.h"

namespace hueloom::magnifier {

// A 24-bit top-down view bitmap: pixels stored B, G, R.
struct ViewBits {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row
    Rgb pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return {};
        const uint8_t* p = bits + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
        return {p[2], p[1], p[0]};
    }
};

// Remembers the last pointer position; a step only works when it changed.
class PointerTracker {
public:
    // True, and remembers p, when p differs from the last position.
    bool moved(Point p) {
        if (p == last_) return false;
        last_ = p;
        return true;
    }
    void reset() { last_ = {0, 0}; }
    Point last() const { return last_; }

private:
    Point last_{0, 0};
};

// Paces the follower: a move of the pointer is shown at once, a stream of
// moves at most once a display frame. Times in milliseconds.
class FramePacer {
public:
    explicit FramePacer(double frameMs = 1000.0 / 60) : frame_(frameMs) {}
    // The monitor's refresh rate in Hz; nothing sensible (0, 1) keeps 60.
    void setRefreshRate(int hz) { frame_ = 1000.0 / (hz > 1 ? hz : 60); }
    double frame() const { return frame_; }
    // True when a sample may be taken at `now`; it is then remembered. A
    // clock that went back counts as a new start.
    bool take(double now) {
        if (wait(now) > 0) return false;
        last_ = now;
        return true;
    }
    // How long until a sample may be taken (0: now).
    double wait(double now) const { return now >= last_ && now - last_ < frame_ ? frame_ - (now - last_) : 0; }

private:
    double frame_;
    double last_ = -1e300;
};

// The colour read from the view and the colour of the marks over it (its
// inverse).
struct Sample {
    Rgb colour;
    Rgb marker;
};

// Averages the N × N cells of the view.
Sample sampleView(const ViewBits& view, int n);

// Draws the four 1-pixel outlines of markRects in the marker colour.
void drawMarks(ViewBits& view, int n, Rgb colour);

// Enlarges a 15 × 15 source (24-bit, B G R) into the view, each pixel
// becoming a cell × cell square: what the screen copy's StretchBlt does.
void enlarge(const uint8_t* src, int srcStride, ViewBits& view);

}  // namespace hueloom::magnifier
