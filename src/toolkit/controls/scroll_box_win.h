#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "toolkit/controls/control_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

// Holds one child window; scrolls it when scroll bars are on and the child
// is larger than the box.
class ScrollBox : public Control {
public:
    bool create(HWND parent, int x, int y, int w, int h);
    void setScrollBars(bool on);
    void setColour(COLORREF c);
    void setChild(Window* child) { child_ = child; }
    void arrange();
    std::function<void()> onResize;

protected:
    void paint(HDC dc, const RECT& rc) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void scroll(int bar, int code);
    Window* child_ = nullptr;
    bool scrollBars_ = false;
    COLORREF colour_ = RGB(0, 0, 0);
    Brush brush_;
    int posX_ = 0, posY_ = 0;
    // What the bars and the child were last set for: arranging again for the
    // same sizes and position changes nothing (and under Wine each bar set
    // again repaints it).
    struct Arranged {
        int childW, childH, x, y;
        RECT client;
    };
    std::optional<Arranged> arranged_;
};

}  // namespace tk
