#include "capture/selection.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include "core/texts.h"

namespace hueloom::capture {

namespace {

constexpr int kZoneWidth = 5;
// A side dragged with the mouse stays more than this far from the opposite one.
constexpr int kMinSideGap = 5;

bool inside(int x, int y, int l, int t, int r, int b) { return x >= l && x < r && y >= t && y < b; }

}  // namespace

int hitZone(const Rect& s, int x, int y) {
    const int L = s.left, T = s.top, R = s.right, B = s.bottom, z = kZoneWidth;
    // clang-format off
    const int zones[9][4] = {
        {L - z, T - z, L, T}, {L, T - z, R, T}, {R, T - z, R + z, T},
        {L - z, T, L, B},     {L, T, R, B},     {R, T, R + z, B},
        {L - z, B, L, B + z}, {L, B, R, B + z}, {R, B, R + z, B + z},
    };
    // clang-format on
    for (int i = 0; i < 9; ++i)
        if (inside(x, y, zones[i][0], zones[i][1], zones[i][2], zones[i][3])) return i;
    return -1;
}

Pointer zonePointer(int zone) {
    switch (zone) {
    case 0:
    case 8: return Pointer::SizeNWSE;
    case 1:
    case 7: return Pointer::SizeNS;
    case 2:
    case 6: return Pointer::SizeNESW;
    case 3:
    case 5: return Pointer::SizeWE;
    case 4: return Pointer::SizeAll;
    default: return Pointer::Arrow;
    }
}

Key keyOfVirtualKey(unsigned vk) {
    switch (vk) {
    case 0x25: return Key::Left;
    case 0x26: return Key::Up;
    case 0x27: return Key::Right;
    case 0x28: return Key::Down;
    case 0x0D: return Key::Return;
    default: return Key::Other;
    }
}

// ---------------------------------------------------------------- Selection

Selection::Selection() {
    // As the overlay's creation chooses the free size.
    freeSize(Point{});
    repaints_ = 0;
}

View Selection::view() const {
    // The masked view belongs to a dropped rectangle, and stays while it is
    // shown, so that a repaint (after the pop-up menu closed, say) does not
    // leave unmasked patches.
    return state_ == selDropped || state_ == selShown ? View::Masked : View::Plain;
}

void Selection::repaint() {
    // A full repaint wipes the XOR focus rectangle.
    focusVisible_ = false;
    ++repaints_;
}

void Selection::drop() {
    state_ = selDropped;
    repaint();
    labelVisible_ = true;
    state_ = selShown;
}

void Selection::startOver() {
    state_ = selEmpty;
    labelVisible_ = false;
    rect_ = Rect{};
    fixedWidth_ = fixedHeight_ = -1;
    grabZone_ = -1;
    pointer_ = Pointer::SelectCross;
    repaint();
}

void Selection::freeSize(Point pointer) {
    setFixedSize(-1, -1, pointer);
    startOver();
}

void Selection::setFixedSize(int width, int height, Point pointer) {
    state_ = selGrabbed;
    repaint();
    if (width >= 0) {
        rect_ = Rect{pointer.x - 1, pointer.y - 1, pointer.x - 1 + width, pointer.y - 1 + height};
        anchor_ = pointer;
        focusVisible_ = true;
    }
    fixedWidth_ = width;
    fixedHeight_ = height;
    labelVisible_ = false;
    grabZone_ = 4;
    pointer_ = Pointer::SizeAll;
    state_ = selTracking;
}

void Selection::mouseDown(MouseButton button, int x, int y) {
    if (grabZone_ >= 0 && button == MouseButton::Left) state_ = selGrabbed;
    switch (state_) {
    case selEmpty:
        if (button != MouseButton::Left) return;
        anchor_ = Point{x, y};
        rect_ = Rect{x, y, x, y};
        focusVisible_ = true;
        dragging_ = true;
        break;
    case selGrabbed:
        anchor_ = Point{x, y};
        labelVisible_ = false;
        repaint();
        focusVisible_ = true;
        break;
    default: break;
    }
}

void Selection::mouseMove(int x, int y) {
    if (state_ == selGrabbed) state_ = selTracking;
    switch (state_) {
    case selEmpty:
        if (!dragging_) return;
        rect_ = Rect{std::min(anchor_.x, x), std::min(anchor_.y, y), std::max(anchor_.x, x), std::max(anchor_.y, y)};
        focusVisible_ = true;
        break;
    case selShown:
        grabZone_ = hitZone(rect_, x, y);
        pointer_ = zonePointer(grabZone_);
        break;
    case selTracking: {
        if (fixedWidth_ >= 0) {
            // A fixed-size rectangle can only be moved.
            grabZone_ = 4;
            pointer_ = Pointer::SizeAll;
        }
        Rect& r = rect_;
        const bool left = x<r.right - kMinSideGap, right = x> r.left + kMinSideGap;
        const bool top = y<r.bottom - kMinSideGap, bottom = y> r.top + kMinSideGap;
        // clang-format off
        switch (grabZone_) {
        case 0: if (left) r.left = x; if (top) r.top = y; break;
        case 1: if (top) r.top = y; break;
        case 2: if (right) r.right = x; if (top) r.top = y; break;
        case 3: if (left) r.left = x; break;
        case 4:
            r.left += x - anchor_.x;
            r.right += x - anchor_.x;
            r.top += y - anchor_.y;
            r.bottom += y - anchor_.y;
            anchor_ = Point{x, y};
            break;
        case 5: if (right) r.right = x; break;
        case 6: if (left) r.left = x; if (bottom) r.bottom = y; break;
        case 7: if (bottom) r.bottom = y; break;
        case 8: if (right) r.right = x; if (bottom) r.bottom = y; break;
        default: break;
        }
        // clang-format on
        focusVisible_ = true;
        break;
    }
    default: break;
    }
}

void Selection::mouseUp(int, int) {
    if (state_ >= selGrabbed) state_ = selDropped;
    if (state_ == selEmpty && dragging_) {
        focusVisible_ = false;
        dragging_ = false;
        pointer_ = Pointer::Arrow;
        drop();
    } else if (state_ == selDropped) {
        focusVisible_ = false;
        drop();
    }
}

void Selection::keyDown(Key key, bool shift, bool ctrl) {
    if (key == Key::Other) return;
    if (key == Key::Return) closeRequested_ = true;
    if (state_ == selEmpty) return;
    if (state_ != selTracking) {
        state_ = selGrabbed;
        labelVisible_ = false;
        repaint();
    }
    state_ = selTracking;
    int L = rect_.left, T = rect_.top, W = rect_.width(), H = rect_.height();
    const int step = shift ? 10 : 1;
    if (ctrl) {
        switch (key) {
        case Key::Left:
            if (step < W) W -= step;
            break;
        case Key::Up:
            if (step < H) H -= step;
            break;
        case Key::Right: W += step; break;
        case Key::Down: H += step; break;
        default: break;
        }
    } else {
        switch (key) {
        case Key::Left: L -= step; break;
        case Key::Up: T -= step; break;
        case Key::Right: L += step; break;
        case Key::Down: T += step; break;
        default: break;
        }
    }
    if (fixedWidth_ >= 0) {
        W = fixedWidth_;
        H = fixedHeight_;
    }
    rect_ = Rect{L, T, L + W, T + H};
    focusVisible_ = true;
}

void Selection::keyUp(Key key) {
    if (state_ == selEmpty) return;
    if (key != Key::Left && key != Key::Up && key != Key::Right && key != Key::Down) return;
    focusVisible_ = false;
    drop();
}

// ---------------------------------------------------------------- label

std::string sizeLabelText(const Rect& r) {
    auto n = [](int v) { return std::to_string(v); };
    return "W: " + n(r.width()) + " x " + "H: " + n(r.height()) + "\r\n" + hueloom::text("selection.1") + "(" +
           n(r.left) + ", " + n(r.top) + ")" + hueloom::text("selection.2") + "(" + n(r.right) + ", " + n(r.bottom) +
           ")";
}

Point placeSizeLabel(const Rect& r, int w, int h, int desktopWidth, int desktopHeight) {
    Point p{r.left + 2, r.top - h - 5};
    if (p.y < 0) p.y = r.bottom + 5;
    if (p.y + h > desktopHeight) p.y = r.bottom - h - 5;
    if (p.x + w > desktopWidth) p.x = desktopWidth - w;
    if (p.x < 0) p.x = 0;
    return p;
}

// ---------------------------------------------------------------- size dialog

int parseSizeField(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return -1;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
        if (v > 0x7FFFFFFF) return -1;
    }
    return v >= 1 ? static_cast<int>(v) : -1;
}

// ---------------------------------------------------------------- instructions

std::string rectCaptureInstructions(int sleepTime) {
    const char* const lines[] = {
        nullptr,  // the first line carries the delay
        hueloom::text("selection.3"),
        "",
        hueloom::text("selection.4"),
        hueloom::text("selection.5"),
        hueloom::text("selection.6"),
        "",
        hueloom::text("selection.7"),
        hueloom::text("selection.8"),
        "",
        hueloom::text("selection.9"),
        hueloom::text("selection.10"),
    };
    std::string text = hueloom::text("selection.11") + std::to_string(sleepTime) + hueloom::text("selection.12");
    for (const char* line : lines) {
        if (!line) continue;
        text += "\r\n";
        text += line;
    }
    return text;
}

// ---------------------------------------------------------------- cut

image::Dib cutRect(const image::Dib& screen, const Rect& r) {
    if (r.width() <= 0 || r.height() <= 0) return {};
    if (screen.isNull()) {
        image::Dib out(r.width(), r.height(), 32);
        return out;
    }
    if (screen.bitsPerPixel() < 8) return cutRect(image::toBpp24(screen), r);
    const int bpp = screen.bitsPerPixel();
    const int bytes = bpp == 15 ? 2 : bpp / 8;
    image::Dib out(r.width(), r.height(), bpp);
    if (screen.hasPalette()) out.setPalette(screen.palette());
    // The part that lies on the screen; the rest stays zero (black).
    const int x0 = std::max(r.left, 0), x1 = std::min(r.right, screen.width());
    const int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, screen.height());
    if (x0 >= x1 || y0 >= y1) return out;
    const std::size_t n = static_cast<std::size_t>(x1 - x0) * bytes;
    for (int y = y0; y < y1; ++y)
        std::memcpy(out.scanLine(y - r.top) + static_cast<std::size_t>(x0 - r.left) * bytes,
                    screen.scanLine(y) + static_cast<std::size_t>(x0) * bytes, n);
    return out;
}

}  // namespace hueloom::capture
