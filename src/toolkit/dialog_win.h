// Dialog: the part every borderless window of the program shares. It paints
// through one routine for WM_PAINT and WM_PRINTCLIENT, is dragged by any
// point of its background, keeps a copy of its shaped region to frame it,
// gives the focus back to the control that had it when it is activated
// again, reflects WM_CTLCOLOR… to the control it is about, hands Alt + letter
// to the controls' accelerators, and destroys its window while it still
// stands. SingleInstance remembers the one live window of a class.
#pragma once
#include <windows.h>

#include <vector>

#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

template <class T>
class SingleInstance {
public:
    // The window of this class that exists right now, if any.
    static T* current() { return static_cast<T*>(current_); }

protected:
    SingleInstance() {
        if (!current_) current_ = this;
    }
    ~SingleInstance() {
        if (current_ == this) current_ = nullptr;
    }

private:
    static inline SingleInstance* current_ = nullptr;
};

class Dialog : public Form {
public:
    ~Dialog() override;

    // The window's region as last set (null before).
    HRGN shape() const { return shape_.get(); }

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    // Applies the window's region and keeps a copy of it for frameShape.
    void setShape(Region region, bool redraw = true);
    // Frames the region with a `width` × `width` brush of `colour`.
    void frameShape(HDC dc, COLORREF colour, int width) const;

    // The control that takes the focus when the dialog is first activated;
    // later activations give it back to the control that had it last. Without
    // one, activation is left to the window.
    void setFocusControl(HWND control) { focusControl_ = activeControl_ = control; }
    // Called when the dialog becomes active, before the focus is set.
    virtual void FormActivate() {}
    // Called each time the window is shown.
    virtual void FormShow() {}
    // The pointer over the background, which drags the window (the window
    // class's cursor when none is set).
    void setDragCursor(HCURSOR cursor) { dragCursor_ = cursor; }

    // The background is a drag handle: HTCLIENT becomes HTCAPTION.
    LRESULT hitTest(int x, int y) override;

    // Makes `font` the program's font `pixels` high at 96 dpi (tk::makeFont)
    // at the window's dpi, and makes it again whenever the dpi changes.
    void keepFont(Font& font, int pixels, int weight, bool underline = false);
    // Gives the window its region for the current dpi (none by default).
    virtual void buildShape() {}
    // At another dpi: every child keeps its place and size relative to the
    // window, scaled by new dpi / old dpi; the kept fonts are made again and
    // the controls take them; the shape is built again. A window with more
    // to redo (a picture, text-sized labels) adds it after calling this.
    void FormDpiChanged() override;

private:
    struct KeptFont {
        Font* font;
        int pixels, weight;
        bool underline;
    };
    std::vector<KeptFont> fonts_;
    int laidOutDpi_ = 0;  // the dpi the children were placed for
    Region shape_;
    HWND focusControl_ = nullptr;
    HWND activeControl_ = nullptr;
    HCURSOR dragCursor_ = nullptr;
};

}  // namespace tk
