#pragma once
#include <windows.h>

#include <functional>

#include "toolkit/controls/control_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

// Shows one bitmap at its top-left corner. With autoSize on, the control
// takes the size of its picture.
class ImageControl : public Control {
public:
    bool create(HWND parent, int x, int y, int w, int h);
    void setPicture(Bitmap bmp, int w, int h);
    // A picture of w × h its owner draws at the top-left corner when asked
    // (in client coordinates, only what `clip` needs): the control holds no
    // copy of it.
    using Painter = std::function<void(HDC dc, const RECT& clip)>;
    void setPainter(Painter painter, int w, int h);
    void clear();
    HBITMAP picture() const { return picture_.get(); }
    bool hasPicture() const { return picture_.get() != nullptr || painter_ != nullptr; }
    SIZE pictureSize() const { return size_; }
    void setAutoSize(bool on) { autoSize_ = on; }
    void setBackground(COLORREF c) {
        back_ = c;
        invalidate();
    }
    // Pointer shape over the image (nullptr: the arrow).
    void setCursor(HCURSOR c) { cursor_ = c; }
    HCURSOR cursor() const { return cursor_; }
    // Any mouse button pressed: button (MK_LBUTTON, MK_RBUTTON, MK_MBUTTON),
    // position in image pixels, key state (MK_SHIFT, MK_CONTROL).
    std::function<void(int button, int x, int y, WPARAM keys)> onMouseDown;
    // The pointer moved over the image (or anywhere while it holds the
    // mouse), the left button let go: position in image pixels.
    std::function<void(int x, int y)> onMouseMove, onMouseUp;

protected:
    bool paintsOver(const RECT& clip) const override;
    void paint(HDC dc, const RECT& rc) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Bitmap picture_;
    Painter painter_;
    SIZE size_{0, 0};
    bool autoSize_ = false;
    COLORREF back_ = RGB(0, 0, 0);
    HCURSOR cursor_ = nullptr;
};

}  // namespace tk
