// A check box: the system's button control with the auto-check style,
// wrapped like our other controls. Its colours are answered by ctlColor(),
// to which its dialog reflects the parent's WM_CTLCOLORSTATIC /
// WM_CTLCOLORBTN.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

namespace tk {

class CheckBox : public Window {
public:
    bool create(HWND parent, int x, int y, int w, int h, const std::wstring& caption, UINT id = 0);
    bool checked() const;
    void setChecked(bool on);
    void setFont(HFONT f);
    void setBackground(COLORREF c);
    COLORREF background() const { return back_; }
    void setTextColour(COLORREF c) {
        text_ = c;
        invalidate();
    }

    // For the parent's WM_CTLCOLORSTATIC / WM_CTLCOLORBTN about this control:
    // sets the DC's colours and returns the background brush.
    HBRUSH ctlColor(HDC dc);
    HBRUSH reflectCtlColor(HDC dc) override { return ctlColor(dc); }

    std::function<void()> onClick;  // the user toggled it

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    COLORREF back_ = GetSysColor(COLOR_BTNFACE);
    COLORREF text_ = GetSysColor(COLOR_BTNTEXT);
    Brush brush_;
};

}  // namespace tk
