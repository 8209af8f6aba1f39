// The few child controls the program needs: a label, an image control, a
// scroll box that holds it, and a drop-down list.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

// A child window of our own class that paints itself.
class Control : public Window {
public:
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    bool create(const wchar_t* cls, HWND parent, int x, int y, int w, int h, DWORD style = 0, DWORD exStyle = 0);
    virtual void paint(HDC dc, const RECT& client) {
        (void)dc;
        (void)client;
    }
    bool doubleBuffered_ = false;

public:
    void setDoubleBuffered(bool on) { doubleBuffered_ = on; }
};

// Paints the parent's background behind a see-through child.
void paintParentBehind(HWND child, HDC dc);

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

// Shows one bitmap at its top-left corner. With autoSize on, the control
// takes the size of its picture.
class ImageControl : public Control {
public:
    bool create(HWND parent, int x, int y, int w, int h);
    void setPicture(Bitmap bmp, int w, int h);
    void clear();
    HBITMAP picture() const { return picture_.get(); }
    bool hasPicture() const { return picture_.get() != nullptr; }
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

protected:
    void paint(HDC dc, const RECT& rc) override;
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Bitmap picture_;
    SIZE size_{0, 0};
    bool autoSize_ = false;
    COLORREF back_ = RGB(0, 0, 0);
    HCURSOR cursor_ = nullptr;
};

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
};

// A drop-down list whose text cannot be edited.
class ComboBox : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, UINT id);
    void add(const std::wstring& s);
    void clear();
    int count() const;
    void select(int index);
    int selected() const;
    std::wstring item(int index) const;
    bool droppedDown() const;
    void setFont(HFONT f);
    // Pointer shape over the list (nullptr: the class's arrow).
    void setCursor(HCURSOR c) { cursor_ = c; }
    // Background of the field and of the drop-down list.
    void setBackground(COLORREF c);
    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Answers the parent's WM_CTLCOLOR* for this control; nullptr when the
    // message is not about it.
    HBRUSH controlColour(HDC dc);

private:
    HCURSOR cursor_ = nullptr;
    COLORREF background_ = 0;
    Brush brush_;
};

}  // namespace tk
