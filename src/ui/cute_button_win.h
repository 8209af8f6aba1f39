// TCuteButton: a push button that paints itself (face colour, bevel that
// follows the mouse, caption in its own colour).
#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "toolkit/controls.h"

class TCuteButton : public tk::Control {
public:
    enum Bevel { None, Raised, Lowered };

    bool create(HWND parent, int x, int y, int w, int h);
    void setCaption(const std::wstring& c);
    const std::wstring& caption() const { return caption_; }
    void setColor(COLORREF c);
    COLORREF color() const { return face_; }
    void setFontColor(COLORREF c);
    COLORREF fontColor() const { return fontColour_; }
    void setFont(HFONT f) { font_ = f; invalidate(); }
    void setHint(const std::wstring& h) { hint_ = h; }
    Bevel outerBevel() const { return outer_; }

    std::function<void()> onClick;

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    void paint(HDC dc, const RECT& rc) override;

private:
    void setOuter(Bevel b);
    void click();
    std::wstring caption_, hint_;
    COLORREF face_ = GetSysColor(COLOR_BTNFACE);
    COLORREF fontColour_ = RGB(0, 0, 0);
    HFONT font_ = nullptr;
    Bevel outer_ = None;
    bool tracking_ = false;
    bool pressed_ = false;
};
