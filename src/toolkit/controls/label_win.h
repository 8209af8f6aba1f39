#pragma once
#include <windows.h>

#include <string>

#include "toolkit/controls/control_win.h"

namespace tk {

// Text of the program's own kind: never '&'-prefixed, see-through or on its
// own colour, and transparent to the mouse, so a label drags its window too.
class Label : public Control {
public:
    // One line centred vertically (aligned by setAlignment), a paragraph
    // from the top-left corner, or lines centred both ways.
    enum class Layout { Line, Paragraph, CentredLines };

    bool create(HWND parent, int x, int y, int w, int h);
    void setCaption(const std::wstring& text);
    const std::wstring& caption() const { return caption_; }
    void setColours(COLORREF text, COLORREF background);
    COLORREF textColour() const { return text_; }
    COLORREF background() const { return back_; }
    void setTransparent(bool t);
    bool transparent() const { return transparent_; }
    void setFont(HFONT font) {
        font_ = font;
        invalidate();
    }
    void replaceFont(HFONT from, HFONT to) override {
        if (font_ == from) setFont(to);
    }
    void setAlignment(UINT dtFlags) {
        align_ = dtFlags;
        invalidate();
    }
    void setLayout(Layout layout) {
        layout_ = layout;
        invalidate();
    }

protected:
    void paint(HDC dc, const RECT& rc) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::wstring caption_;
    COLORREF text_ = RGB(0, 0, 0), back_ = RGB(255, 255, 255);
    bool transparent_ = false;
    HFONT font_ = nullptr;
    UINT align_ = DT_CENTER;
    Layout layout_ = Layout::Line;
};

}  // namespace tk
